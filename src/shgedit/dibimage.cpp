#include "shgedit/dibimage.h"

namespace qm::shgedit {

QImage DibToImage(const TDib& dib) {
    if (dib.Width <= 0 || dib.Height <= 0 || dib.Bits.size() < dib.ImageSize()) return {};
    QImage image(dib.Width, dib.Height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int y = 0; y < dib.Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dib.Width; ++x) line[x] = 0xFF000000u | dib.PixelRgb(x, y);
    }
    return image;
}

}  // namespace qm::shgedit

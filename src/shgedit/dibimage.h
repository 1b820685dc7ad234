#pragma once
// A picture of the model as the toolkit draws it.
#include <QImage>

#include "shg/dib.h"

namespace qm::shgedit {

// `dib` as a 32-bit image, one image pixel per picture pixel; a null image
// for a picture without size.
QImage DibToImage(const TDib& dib);

}  // namespace qm::shgedit

#pragma once
// The picture information dialog (Properties): the active picture's file
// type, colours, bit depth, size in pixels and bytes of pixel data.
#include <QString>

#include "shg/dib.h"
#include "widgets/qmdialog.h"

class QLabel;

namespace qm::shgedit {

// The texts of the dialog's figures, digits grouped with blanks.
struct TPictureFigures {
    QString PicType;     // "Segmented Hypergraphic" or "Bitmap"
    QString Colors;      // "16 777 216 colors": 2 to the power of the bit count
    QString BitsPerPix;  // "24 bits"
    QString Width;       // "640 pixels"
    QString Height;
    QString Size;  // "921 600 bytes"

    // Figures of `dib`, computed in 64 bits, so 32 bits give 4 294 967 296 colours.
    static TPictureFigures Of(const TDib& dib, bool isShg);
    bool operator==(const TPictureFigures&) const = default;
};

class TfrmProperties : public QmDialog {
    Q_OBJECT
public:
    explicit TfrmProperties(UiServices& ui, QWidget* parent = nullptr);

    void SetFigures(const TPictureFigures& figures);

    QLabel* lblPicType;
    QLabel* lblColors;
    QLabel* lblBitsPerPix;
    QLabel* lblWidth;
    QLabel* lblHeight;
    QLabel* lblSize;
};

}  // namespace qm::shgedit

#include "shgedit/picpropsdlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "platform/qtcp1252.h"
#include "util/qorstring.h"

namespace qm::shgedit {

namespace {

QString Grouped(std::uint64_t n, const char* unit) { return FromCp1252(GroupDigits(std::to_string(n), " ") + unit); }

}  // namespace

TPictureFigures TPictureFigures::Of(const TDib& dib, bool isShg) {
    TPictureFigures f;
    const std::uint64_t bits = dib.BitsPerPixel;
    f.PicType = isShg ? QStringLiteral("Segmented Hypergraphic") : QStringLiteral("Bitmap");
    // A bit count beyond 63 is no picture we read; it would not fit the shift.
    f.Colors = bits < 64 ? Grouped(std::uint64_t{1} << bits, " colors") : QStringLiteral("-");
    f.BitsPerPix = Grouped(bits, " bits");
    f.Width = Grouped(static_cast<std::uint64_t>(dib.Width < 0 ? 0 : dib.Width), " pixels");
    f.Height = Grouped(static_cast<std::uint64_t>(dib.Height < 0 ? 0 : dib.Height), " pixels");
    f.Size = Grouped(dib.ImageSize(), " bytes");
    return f;
}

TfrmProperties::TfrmProperties(UiServices& ui, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmProperties"), parent) {
    setWindowTitle(QStringLiteral("Properties"));
    auto* group = new QGroupBox(QStringLiteral(" Picture informations "), this);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(16);
    int row = 0;
    auto add = [&](const char* caption, const char* name) {
        auto* value = new QLabel(group);
        value->setObjectName(QString::fromLatin1(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(new QLabel(QString::fromLatin1(caption), group), row, 0);
        grid->addWidget(value, row, 1);
        ++row;
        return value;
    };
    lblPicType = add("File Type:", "lblPicType");
    lblColors = add("Colors:", "lblColors");
    lblBitsPerPix = add("Bits per pixels:", "lblBitsPerPix");
    lblWidth = add("Width:", "lblWidth");
    lblHeight = add("Height:", "lblHeight");
    lblSize = add("Size:", "lblSize");
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 160);

    cmdOk = MakeButton(QStringLiteral("cmdOk"), QStringLiteral("OK"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QmDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmProperties::SetFigures(const TPictureFigures& f) {
    lblPicType->setText(f.PicType);
    lblColors->setText(f.Colors);
    lblBitsPerPix->setText(f.BitsPerPix);
    lblWidth->setText(f.Width);
    lblHeight->setText(f.Height);
    lblSize->setText(f.Size);
}

}  // namespace qm::shgedit

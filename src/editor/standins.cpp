#include "editor/standins.h"

#include <QColor>
#include <QPixmap>
#include <array>

namespace qm {

namespace {

struct NamedColor {
    const char* name;
    std::uint32_t bgr;
};

constexpr std::array<NamedColor, 16> kColors{{
    {"Aqua", 0xFFFF00},
    {"Black", 0x000000},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
    {"Gray", 0x808080},
    {"Green", 0x008000},
    {"Lime", 0x00FF00},
    {"Maroon", 0x000080},
    {"Navy", 0x800000},
    {"Olive", 0x008080},
    {"Purple", 0x800080},
    {"Red", 0x0000FF},
    {"Silver", 0xC0C0C0},
    {"Teal", 0x808000},
    {"White", 0xFFFFFF},
    {"Yellow", 0x00FFFF},
}};

}  // namespace

TColorCombo::TColorCombo(QWidget* parent) : QComboBox(parent) {
    for (const NamedColor& c : kColors) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.bgr & 0xFF, (c.bgr >> 8) & 0xFF, (c.bgr >> 16) & 0xFF));
        addItem(QIcon(swatch), QString::fromLatin1(c.name), QVariant::fromValue<uint>(c.bgr));
    }
    setCurrentIndex(-1);
}

std::uint32_t TColorCombo::GetSelectedColor() const {
    const int i = currentIndex();
    return i >= 0 ? itemData(i).value<uint>() : given_;
}

void TColorCombo::SetSelectedColor(std::uint32_t bgr) {
    given_ = bgr;
    setCurrentIndex(findData(QVariant::fromValue<uint>(bgr)));
}

}  // namespace qm

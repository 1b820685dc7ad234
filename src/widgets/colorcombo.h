#pragma once
// The 16 named colours, and TColorCombo, a drop-down list that picks one of
// them with a swatch beside each name. Colours are kept as the settings and
// styles store them, 0x00BBGGRR: "Blue" is 0xFF0000, "Red" 0x0000FF.
#include <QComboBox>
#include <array>
#include <cstdint>

namespace qm {

struct TNamedColor {
    const char* Name;
    std::uint32_t Value;  // 0x00BBGGRR
};

inline constexpr int kNamedColorCount = 16;
// In the order the lists and the colour menu show them.
inline constexpr std::array<TNamedColor, kNamedColorCount> kNamedColors{{
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

// The index of the first table colour with this value; -1 when none.
int NamedColorIndex(std::uint32_t bgr);
// A 0x00BBGGRR value as a toolkit colour, and back (the high byte is dropped).
QColor QColorFromBgr(std::uint32_t bgr);
std::uint32_t BgrFromQColor(const QColor& color);

class TColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TColorCombo(QWidget* parent = nullptr);

    // The chosen colour; with nothing chosen, the value last given to
    // SetSelectedColor (0 when none), so a colour the table lacks survives.
    std::uint32_t GetSelectedColor() const;
    // Chooses the first entry with this value; a value the table lacks
    // leaves nothing chosen.
    void SetSelectedColor(std::uint32_t bgr);

private:
    std::uint32_t given_ = 0;
};

}  // namespace qm

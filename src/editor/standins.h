#pragma once
// Stand-ins of controls whose full version comes later. Each has the name
// and the interface its users need, and nothing more.
#include <QComboBox>
#include <cstdint>

namespace qm {

// A drop-down list of the 16 named colours. Colours are 0x00BBGGRR, as the
// settings keep them.
class TColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TColorCombo(QWidget* parent = nullptr);

    // The chosen colour; with nothing chosen, the value last given to
    // SetSelectedColor, so a colour the list lacks survives.
    std::uint32_t GetSelectedColor() const;
    // Chooses the first entry with this value; another value leaves nothing chosen.
    void SetSelectedColor(std::uint32_t bgr);

private:
    std::uint32_t given_ = 0;
};

}  // namespace qm

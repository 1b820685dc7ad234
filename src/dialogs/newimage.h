#pragma once
// The image form: `<IMAGEC "file">`, `<IMAGEL "file">` or `<IMAGER "file">`
// (an edited image left in place keeps the name it came with), the file
// without its folder.
#include "dialogs/tagform.h"

namespace qm {

inline constexpr int kImageHelpContext = 175;

class TfrmNewImage : public TTagForm {
    Q_OBJECT
public:
    // The project gives the image browser its first folder.
    TfrmNewImage(UiServices& ui, const TProject& project, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;
    // txtImage as typed or chosen, folder included.
    std::string ImageFile() const override;

    QLineEdit* txtImage = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QComboBox* cboAlign = nullptr;

protected:
    bool okRule() const override;

private:
    const TProject& project_;
    std::string tagName_;  // the name of the edited image tag; empty: a new image
};

}  // namespace qm

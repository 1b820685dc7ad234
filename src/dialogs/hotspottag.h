#pragma once
// What the topic-link, popup-link and macro forms share: the hotspot, either
// text (txtHotSpot, with the user-defined look) or an image (txtBmp and its
// placement), and the rule that enables one side and disables the other.
#include <string>

#include "dialogs/tagform.h"

class QCheckBox;
class QRadioButton;

namespace qm {

class TfrmHotspotTag : public TTagForm {
    Q_OBJECT
public:
    // The image of an image hotspot (txtBmp as typed); empty for a text hotspot.
    std::string ImageFile() const override;

    QRadioButton* optTxtHotSpot = nullptr;
    QLineEdit* txtHotSpot = nullptr;
    QRadioButton* optImgHotSpot = nullptr;
    QLineEdit* txtBmp = nullptr;
    QPushButton* cmdBrowseBmp = nullptr;
    QCheckBox* chkUserDefined = nullptr;
    QLabel* lblAlign = nullptr;
    QComboBox* cboAlign = nullptr;

protected:
    TfrmHotspotTag(UiServices& ui, const QString& formName, const QString& caption, int helpContext,
                   const TProject& project, QWidget* parent);

    // Adds the hotspot rows to grid_ from `row` on; returns the next free row.
    int AddHotspotRows(int row);
    // The text hotspot with `hotspot`, or the image hotspot when `hotspot` is
    // exactly one image tag; "User defined appearance" from `userDefined`
    // with a text hotspot.
    void PresetHotspot(const std::string& hotspot, bool userDefined);

    // The chosen hotspot field is not empty.
    bool HotspotFilled() const;
    // The hotspot as it goes between the tags: the text, or the image tag.
    std::string HotspotText() const;
    // The user-defined look applies: text hotspot and the box ticked.
    bool UserDefinedLook() const;

    void updateEnabling() override;

private:
    const TProject& project_;
    std::string imageTagName_;  // the name the preset image hotspot came with
};

}  // namespace qm

#pragma once
// The topic-link form: `<LINK TOPIC="topic[:anchor]"[ WINDOW=w][ FILE=f]>hotspot</LINK>`
// (ULINK with the user-defined look).
#include "dialogs/hotspottag.h"

namespace qm {

inline constexpr int kTopicLinkHelpContext = 115;

class TfrmNewTopicLink : public TfrmHotspotTag {
    Q_OBJECT
public:
    // The topic box lists the project's topics, the window box its windows;
    // the first of each is selected.
    TfrmNewTopicLink(UiServices& ui, const TProject& project, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;

    QComboBox* cboTopics = nullptr;
    QLineEdit* txtAnchor = nullptr;
    QComboBox* cboWindows = nullptr;
    QLineEdit* txtFile = nullptr;
    QPushButton* cmdBrowseFile = nullptr;

protected:
    bool okRule() const override { return HotspotFilled(); }
    // An anchor with a quote or an angle bracket would break the tag.
    bool extraChecks() override;
};

}  // namespace qm

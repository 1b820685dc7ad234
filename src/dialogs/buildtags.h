#pragma once
// Build Tags: picks or types one build tag for the project settings' Build
// page. Made, preset and run by TDialogFactory::RunBuildTags.
#include <string>

#include "util/qorstring.h"
#include "widgets/qmdialog.h"

class QLineEdit;
class QListWidget;

namespace qm {

inline constexpr const char* kMsgBuildTagSpaces = "Spaces are not allowed in build tags.";

class TfrmBuildTags : public QmDialog {
    Q_OBJECT
public:
    explicit TfrmBuildTags(UiServices& ui, QWidget* parent = nullptr);

    // Offers `tags`; the first is selected and copied into txtTag.
    void SetTags(const StringList& tags);
    // The tag, trimmed; set by OK.
    const std::string& Tag() const { return tag_; }

    // The row a list box's own prefix search finds for `text`: the first row
    // after row 0 whose text starts with it (ignoring case), wrapping back
    // to row 0; -1 when none.
    static int FindPrefix(const QListWidget* list, const QString& text);

    QLineEdit* txtTag = nullptr;
    QListWidget* lstTags = nullptr;

protected:
    bool validate() override;
    void store() override;
    void updateEnabling() override;

private:
    std::string tag_;
};

}  // namespace qm

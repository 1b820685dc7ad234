#pragma once
// The comment entry of a contents file: a text typed on as many lines as the
// author likes, kept as one line (the line breaks are dropped).
#include "dialogs/cntdialog.h"

class QPlainTextEdit;

namespace qm {

inline constexpr int kNewCommentHelpContext = 310;

class TfrmNewComment : public TCntEntryDialog {
    Q_OBJECT
public:
    explicit TfrmNewComment(UiServices& ui, QWidget* parent = nullptr);

    void LoadEntry(const TCntNode& entry) override;
    void SaveEntry(TCntNode& entry) const override;
    // The memo's lines joined with nothing between them.
    QString CommentText() const;

    QPlainTextEdit* txtComment = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;
};

}  // namespace qm

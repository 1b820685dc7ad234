#pragma once
// The modeless replace form: the find form's controls and layout with a
// replace text and its own history, and the Replace and Replace All buttons.
#include "dialogs/findform.h"

namespace qm {

class TfrmReplace : public TSearchForm {
    Q_OBJECT
public:
    TfrmReplace(UiServices& ui, QWidget* owner);

    QString GetReplaceText() const;
    // As SetFindText, for the replace text's history.
    void SetReplaceText(const QString& text);
    bool IsInReplaceHistory(const QString& text) const { return InHistory(cboReplace, text); }
    // 1 after Replace All, 0 after Replace.
    int ReplaceAll() const { return replaceAll_; }

    QLabel* lblReplace = nullptr;
    QComboBox* cboReplace = nullptr;
    QPushButton* cmdReplace = nullptr;
    QPushButton* cmdReplaceAll = nullptr;

signals:
    // Replace and Replace All; ReplaceAll() tells which.
    void OnReplace();

protected:
    void UpdateButtons() override;

private:
    void ReplaceClicked(int all);

    int replaceAll_ = 0;
};

}  // namespace qm

#pragma once
// Renumber Context IDs: the increment and the two start values with which
// every topic and popup gets a new context ID. Topics and popups form two
// series that must not overlap; the dialog proposes and enforces the lowest
// start of the second group. It changes nothing itself. Made and run by
// TDialogFactory::RunRenumberIds.
#include <cstdint>

#include "widgets/qmdialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace qm {

class TfrmRenumberIds : public QmDialog {
    Q_OBJECT
public:
    TfrmRenumberIds(UiServices& ui, int topicCount, int popupCount, QWidget* parent = nullptr);

    // The lowest start of the second group for the values shown.
    std::int64_t SuggestSecondStart() const;
    // Raises the second start to the suggestion when it is lower.
    void AdjustSecondStart();
    // The OK checks, with their warnings.
    bool ValidateFields();
    // Steps the increment by `by` within 1 to 9999.
    void StepIncrement(int by);

    // Read after OK.
    bool TopicsFirst() const;
    std::int64_t Increment() const;
    std::int64_t FirstStart() const;
    std::int64_t SecondStart() const;

    QRadioButton* optTopicsFirst = nullptr;
    QRadioButton* optPopupsFirst = nullptr;
    QLineEdit* txtIncrement = nullptr;
    QToolButton* udIncrementUp = nullptr;
    QToolButton* udIncrementDown = nullptr;
    QLabel* lblFirstStart = nullptr;
    QLineEdit* txtFirstStart = nullptr;
    QLabel* lblSecondStart = nullptr;
    QLineEdit* txtSecondStart = nullptr;
    QPushButton* cmdSuggest = nullptr;

protected:
    bool validate() override { return ValidateFields(); }
    void updateEnabling() override;
    int helpContext() const override { return 110; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OrderChosen();

    int topics_;
    int popups_;
};

}  // namespace qm

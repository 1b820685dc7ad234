#include "dialogs/renumberids.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "model/renumber.h"
#include "platform/uiservices.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

constexpr int kMinIncrement = 1;
constexpr int kMaxIncrement = 9999;

// The value of a digits-only edit; 0 when empty.
std::int64_t ValueOf(const QLineEdit* edit) { return edit->text().toLongLong(); }

QLineEdit* MakeDigits(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    DigitsOnly(edit);
    return edit;
}

}  // namespace

TfrmRenumberIds::TfrmRenumberIds(UiServices& ui, int topicCount, int popupCount, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmRenumberIds"), parent), topics_(topicCount), popups_(popupCount) {
    setWindowTitle(QStringLiteral("Renumber Context IDs"));
    optTopicsFirst = new QRadioButton(QStringLiteral("&Topics first"), this);
    optTopicsFirst->setObjectName(QStringLiteral("optTopicsFirst"));
    optPopupsFirst = new QRadioButton(QStringLiteral("&Popups first"), this);
    optPopupsFirst->setObjectName(QStringLiteral("optPopupsFirst"));
    txtIncrement = MakeDigits(this, "txtIncrement", 4);
    txtIncrement->setText(QStringLiteral("1"));
    txtIncrement->installEventFilter(this);
    udIncrementUp = new QToolButton(this);
    udIncrementUp->setObjectName(QStringLiteral("udIncrementUp"));
    udIncrementUp->setArrowType(Qt::UpArrow);
    udIncrementDown = new QToolButton(this);
    udIncrementDown->setObjectName(QStringLiteral("udIncrementDown"));
    udIncrementDown->setArrowType(Qt::DownArrow);
    txtFirstStart = MakeDigits(this, "txtFirstStart", 6);
    txtFirstStart->setText(QStringLiteral("5"));
    // Six digits are typed; a suggestion may be longer and is shown whole.
    txtSecondStart = MakeDigits(this, "txtSecondStart", 12);
    lblFirstStart = new QLabel(this);
    lblFirstStart->setObjectName(QStringLiteral("lblFirstStart"));
    lblFirstStart->setBuddy(txtFirstStart);
    lblSecondStart = new QLabel(this);
    lblSecondStart->setObjectName(QStringLiteral("lblSecondStart"));
    lblSecondStart->setBuddy(txtSecondStart);
    cmdSuggest = MakeButton(QStringLiteral("cmdSuggest"), QStringLiteral("&Suggest"));

    auto* lblIncrement = new QLabel(QStringLiteral("&Incrementation:"), this);
    lblIncrement->setBuddy(txtIncrement);
    auto* incRow = new QHBoxLayout;
    incRow->setSpacing(0);
    incRow->addWidget(txtIncrement);
    incRow->addWidget(udIncrementUp);
    incRow->addWidget(udIncrementDown);
    incRow->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(optTopicsFirst, 0, 0);
    grid->addWidget(optPopupsFirst, 0, 1);
    grid->addWidget(lblIncrement, 1, 0);
    grid->addLayout(incRow, 1, 1);
    grid->addWidget(lblFirstStart, 2, 0);
    grid->addWidget(txtFirstStart, 2, 1);
    grid->addWidget(lblSecondStart, 3, 0);
    grid->addWidget(txtSecondStart, 3, 1);
    grid->addWidget(cmdSuggest, 3, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(MakeStandardButtons());

    for (QRadioButton* r : {optTopicsFirst, optPopupsFirst})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) OrderChosen();
        });
    for (QLineEdit* e : {txtIncrement, txtFirstStart})
        connect(e, &QLineEdit::textChanged, this, [this] { AdjustSecondStart(); });
    connect(cmdSuggest, &QPushButton::clicked, this,
            [this] { txtSecondStart->setText(QString::number(SuggestSecondStart())); });
    connect(udIncrementUp, &QToolButton::clicked, this, [this] { StepIncrement(1); });
    connect(udIncrementDown, &QToolButton::clicked, this, [this] { StepIncrement(-1); });
    Watch(txtIncrement);
    Watch(txtFirstStart);
    Watch(txtSecondStart);
    optTopicsFirst->setChecked(true);
}

bool TfrmRenumberIds::TopicsFirst() const { return optTopicsFirst->isChecked(); }
std::int64_t TfrmRenumberIds::Increment() const { return ValueOf(txtIncrement); }
std::int64_t TfrmRenumberIds::FirstStart() const { return ValueOf(txtFirstStart); }
std::int64_t TfrmRenumberIds::SecondStart() const { return ValueOf(txtSecondStart); }

std::int64_t TfrmRenumberIds::SuggestSecondStart() const {
    return qm::SuggestSecondStart(TopicsFirst() ? topics_ : popups_, Increment(), FirstStart());
}

void TfrmRenumberIds::AdjustSecondStart() {
    const std::int64_t suggestion = SuggestSecondStart();
    if (SecondStart() < suggestion) txtSecondStart->setText(QString::number(suggestion));
}

void TfrmRenumberIds::OrderChosen() {
    const QString topics = QStringLiteral("Topi&cs start index:");
    const QString popups = QStringLiteral("P&opups start index:");
    lblFirstStart->setText(TopicsFirst() ? topics : popups);
    lblSecondStart->setText(TopicsFirst() ? popups : topics);
    txtSecondStart->setText(QString::number(SuggestSecondStart()));
}

void TfrmRenumberIds::StepIncrement(int by) {
    const std::int64_t next = std::clamp<std::int64_t>(Increment() + by, kMinIncrement, kMaxIncrement);
    txtIncrement->setText(QString::number(next));
}

bool TfrmRenumberIds::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtIncrement && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepIncrement(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QmDialog::eventFilter(watched, event);
}

void TfrmRenumberIds::updateEnabling() {
    cmdOk->setEnabled(!txtIncrement->text().isEmpty() && !txtFirstStart->text().isEmpty() &&
                      !txtSecondStart->text().isEmpty());
}

bool TfrmRenumberIds::ValidateFields() {
    const bool topicsFirst = TopicsFirst();
    if (Increment() == 0) {
        Ui().Warning(QStringLiteral("Incrementation value must be at least 1."));
        return false;
    }
    if (SecondStart() <= FirstStart()) {
        Ui().Warning(topicsFirst ? QStringLiteral("Topics start index must be lower than popups start index. Please "
                                                  "enter a valid topic start index.")
                                 : QStringLiteral("Popups start index must be lower than topics start index. Please "
                                                  "enter a valid popup start index."));
        txtFirstStart->setFocus();
        return false;
    }
    if (SecondStart() < SuggestSecondStart()) {
        Ui().Warning(topicsFirst
                         ? QStringLiteral("Topics would overlap popups with the given values. Correct the start "
                                          "index or the incrementation values.")
                         : QStringLiteral("Popups would overlap topics with the given values. Correct the start "
                                          "index or the incrementation values."));
        txtSecondStart->setFocus();
        return false;
    }
    return true;
}

}  // namespace qm

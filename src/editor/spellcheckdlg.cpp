#include "editor/spellcheckdlg.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "spell/spellengine.h"

namespace qm {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, parent);
    l->setBuddy(buddy);
    return l;
}

}  // namespace

TQorSpellCheckDlg::TQorSpellCheckDlg(UiServices& ui, QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowStaysOnTopHint), ui_(ui) {
    setObjectName(QStringLiteral("QorSpellCheckDlg"));
    setWindowTitle(QString::fromLatin1(kSpellCaptionVerifying));
    setModal(false);

    txtMisspelled = new QLineEdit(this);
    txtMisspelled->setObjectName(QStringLiteral("txtMisspelled"));
    txtMisspelled->setReadOnly(true);
    txtSuggestions = new QLineEdit(this);
    txtSuggestions->setObjectName(QStringLiteral("txtSuggestions"));
    lstSuggestions = new QListWidget(this);
    lstSuggestions->setObjectName(QStringLiteral("lstSuggestions"));
    lstSuggestions->setSelectionMode(QAbstractItemView::SingleSelection);

    cmdIgnore = MakeButton(this, "cmdIgnore", QStringLiteral("&Ignore"));
    cmdIgnoreAll = MakeButton(this, "cmdIgnoreAll", QStringLiteral("Ignore &All"));
    cmdAdd = MakeButton(this, "cmdAdd", QStringLiteral("A&dd"));
    cmdChange = MakeButton(this, "cmdChange", QStringLiteral("Cha&nge"));
    cmdChangeAll = MakeButton(this, "cmdChangeAll", QStringLiteral("Chan&ge All"));
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("Cancel"));
    cmdHelp = MakeButton(this, "cmdHelp", QStringLiteral("&Help"));
    cmdIgnore->setDefault(true);
    for (QPushButton* b : {cmdIgnoreAll, cmdAdd, cmdChange, cmdChangeAll, cmdCancel, cmdHelp}) b->setAutoDefault(false);

    auto* left = new QVBoxLayout();
    left->setSpacing(2);
    left->addWidget(MakeLabel(this, QStringLiteral("&Misspelled :"), txtMisspelled));
    left->addWidget(txtMisspelled);
    left->addSpacing(6);
    left->addWidget(MakeLabel(this, QStringLiteral("&Change to :"), txtSuggestions));
    left->addWidget(txtSuggestions);
    left->addSpacing(6);
    left->addWidget(MakeLabel(this, QStringLiteral("&Suggestions"), lstSuggestions));
    left->addWidget(lstSuggestions, 1);

    auto* right = new QVBoxLayout();
    right->setSpacing(4);
    // Aligned with the first edit box, below its label.
    right->addSpacing(txtMisspelled->fontMetrics().height() + 2);
    for (QPushButton* b : {cmdIgnore, cmdIgnoreAll, cmdAdd}) right->addWidget(b);
    right->addSpacing(12);
    for (QPushButton* b : {cmdChange, cmdChangeAll}) right->addWidget(b);
    right->addSpacing(12);
    right->addStretch(1);
    for (QPushButton* b : {cmdCancel, cmdHelp}) right->addWidget(b);

    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(10, 10, 10, 10);
    box->setSpacing(12);
    box->addLayout(left, 1);
    box->addLayout(right);
    lstSuggestions->setMinimumHeight(lstSuggestions->fontMetrics().height() * 6);
    txtMisspelled->setMinimumWidth(txtMisspelled->fontMetrics().averageCharWidth() * 28);

    // As small as the buttons allow: the list need not be taller.
    resize(sizeHint().width(), minimumSizeHint().height());

    setTabOrder(txtMisspelled, txtSuggestions);
    setTabOrder(txtSuggestions, lstSuggestions);
    setTabOrder(lstSuggestions, cmdIgnore);
    setTabOrder(cmdIgnore, cmdIgnoreAll);
    setTabOrder(cmdIgnoreAll, cmdAdd);
    setTabOrder(cmdAdd, cmdChange);
    setTabOrder(cmdChange, cmdChangeAll);
    setTabOrder(cmdChangeAll, cmdCancel);
    setTabOrder(cmdCancel, cmdHelp);

    connect(cmdIgnore, &QPushButton::clicked, this, [this] { answer(TSpellAction::Ignore, cmdIgnore, false); });
    connect(cmdIgnoreAll, &QPushButton::clicked, this, [this] { answer(TSpellAction::IgnoreAll, cmdIgnoreAll, true); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { answer(TSpellAction::Add, cmdAdd, true); });
    connect(cmdChange, &QPushButton::clicked, this, [this] { answer(TSpellAction::Change, cmdChange, true); });
    connect(cmdChangeAll, &QPushButton::clicked, this, [this] { answer(TSpellAction::ChangeAll, cmdChangeAll, true); });
    connect(cmdCancel, &QPushButton::clicked, this, &TQorSpellCheckDlg::reject);
    connect(cmdHelp, &QPushButton::clicked, this, [this] { ui_.ShowHelp(kHelpContextSpelling); });
    connect(lstSuggestions, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) txtSuggestions->setText(item->text());
    });
    connect(lstSuggestions, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { txtSuggestions->setText(item->text()); });
    connect(lstSuggestions, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        txtSuggestions->setText(item->text());
        answer(TSpellAction::Change, lstSuggestions, true);
    });
}

TQorSpellCheckDlg::~TQorSpellCheckDlg() {
    if (loop_) loop_->quit();
}

void TQorSpellCheckDlg::answer(TSpellAction action, QWidget* pressed, bool focusIgnore) {
    action_ = action;
    lastPressed_ = pressed;
    if (focusIgnore) cmdIgnore->setFocus();
    if (loop_) loop_->quit();
}

void TQorSpellCheckDlg::reject() {
    action_ = TSpellAction::Cancel;
    if (loop_) loop_->quit();
    QDialog::reject();
}

void TQorSpellCheckDlg::CancelWait() {
    if (waiting_) reject();
}

TSpellAnswer TQorSpellCheckDlg::Ask(const TSpellQuestion& q) {
    txtMisspelled->setText(FromCp1252(q.Word));
    {
        const QSignalBlocker block(lstSuggestions);
        lstSuggestions->clear();
        if (q.Suggestions)
            for (const std::string& s : *q.Suggestions) lstSuggestions->addItem(FromCp1252(s));
    }
    if (lstSuggestions->count() > 0) {
        const QSignalBlocker block(lstSuggestions);
        lstSuggestions->setCurrentRow(0);
        txtSuggestions->setText(lstSuggestions->item(0)->text());
    } else {
        txtSuggestions->clear();
    }
    cmdAdd->setEnabled(q.AddEnabled);
    if (isHidden()) {
        lastPressed_ = nullptr;
        show();
        cmdIgnore->setFocus();
    }
    if (q.MoveDialog) place(q.WordBox);

    action_ = TSpellAction::None;
    waiting_ = true;
    emit waitStarted();
    if (action_ == TSpellAction::None) {
        QEventLoop loop;
        loop_ = &loop;
        QTimer limit;
        limit.setSingleShot(true);
        if (waitLimit_ > 0) {
            connect(&limit, &QTimer::timeout, this, &TQorSpellCheckDlg::CancelWait);
            limit.start(waitLimit_);
        }
        loop.exec();
        loop_ = nullptr;
    }
    waiting_ = false;
    if (action_ == TSpellAction::None) action_ = TSpellAction::Cancel;
    return TSpellAnswer{action_, ToCp1252(txtSuggestions->text())};
}

void TQorSpellCheckDlg::place(const TSpellBox& word) {
    // The desktop may refuse to move windows or the pointer (Wayland does):
    // both are attempts, and nothing relies on them.
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect area = s->geometry();
    const QRect frame = frameGeometry();
    const TSpellBox dialog{frame.left() - area.left(), frame.top() - area.top(), frame.right() + 1 - area.left(),
                           frame.bottom() + 1 - area.top()};
    const TSpellBox box{word.Left - area.left(), word.Top - area.top(), word.Right - area.left(),
                        word.Bottom - area.top()};
    const auto at = PlaceSpellDialog(area.width(), area.height(), dialog, box);
    if (!at) return;
    move(at->X + area.left(), at->Y + area.top());
    QWidget* target = lastPressed_ ? lastPressed_.data() : cmdIgnore;
    QCursor::setPos(target->mapToGlobal(target->rect().center()));
}

// --- the engine's user interface -----------------------------------------------------------

TSpellDialogUi::TSpellDialogUi(UiServices& ui, QWidget* owner) : ui_(ui), owner_(owner) {}

TSpellDialogUi::~TSpellDialogUi() { delete dialog_.data(); }

void TSpellDialogUi::SetCaption(std::string_view caption) {
    caption_ = FromCp1252(caption);
    if (dialog_) dialog_->setWindowTitle(caption_);
}

TSpellAnswer TSpellDialogUi::Ask(const TSpellQuestion& question) {
    if (!dialog_) {
        dialog_ = new TQorSpellCheckDlg(ui_, owner_);
        dialog_->SetWaitLimit(WaitLimit);
        if (!caption_.isEmpty()) dialog_->setWindowTitle(caption_);
        connect(dialog_, &TQorSpellCheckDlg::waitStarted, this, [this] { emit waitStarted(dialog_); });
    }
    const QPointer<TQorSpellCheckDlg> dialog = dialog_;
    TSpellAnswer answer = dialog->Ask(question);
    emit waitEnded();
    return answer;
}

void TSpellDialogUi::Discard() {
    if (dialog_) {
        dialog_->hide();
        delete dialog_.data();
    }
}

void TSpellDialogUi::Finish() {
    Discard();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        QCursor::setPos(s, area.left() + area.width() / 2, area.top() + area.height() / 2 + 31);
    }
    ui_.Information(QString::fromLatin1(kMsgSpellCheckCompleted));
}

void TSpellDialogUi::CancelWait() {
    if (dialog_) dialog_->CancelWait();
}

}  // namespace qm

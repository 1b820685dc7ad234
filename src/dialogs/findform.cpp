#include "dialogs/findform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "platform/uiservices.h"

namespace qm {

namespace {

QPushButton* MakePushButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QRadioButton* MakeOption(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

TSearchForm::TSearchForm(UiServices& ui, const QString& name, const QString& caption, int helpContext, QWidget* owner)
    : QDialog(owner), ui_(ui) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    cboFind = new QComboBox(this);
    cboFind->setObjectName(QStringLiteral("cboFind"));
    cboFind->setEditable(true);
    // Only Find Next and Replace fill the history, never the Enter key.
    cboFind->setInsertPolicy(QComboBox::NoInsert);
    cboFind->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboFind->setMinimumContentsLength(30);
    lblFind = new QLabel(QStringLiteral("Fin&d:"), this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    lblFind->setBuddy(cboFind);

    cboDirection = new QComboBox(this);
    cboDirection->setObjectName(QStringLiteral("cboDirection"));
    cboDirection->addItems({QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("All")});
    lblDirection = new QLabel(QStringLiteral("D&irection:"), this);
    lblDirection->setObjectName(QStringLiteral("lblDirection"));
    lblDirection->setBuddy(cboDirection);
    chkMatchCase = new QCheckBox(QStringLiteral("&Match case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWords = new QCheckBox(QStringLiteral("&Whole words"), this);
    chkWholeWords->setObjectName(QStringLiteral("chkWholeWords"));

    grpScope = new QGroupBox(QStringLiteral(" Scope "), this);
    grpScope->setObjectName(QStringLiteral("grpScope"));
    optCurText = MakeOption(grpScope, "optCurText", QStringLiteral("Current &text"));
    optTopics = MakeOption(grpScope, "optTopics", QStringLiteral("To&pics"));
    optPopups = MakeOption(grpScope, "optPopups", QStringLiteral("Pop&ups"));
    optProject = MakeOption(grpScope, "optProject", QStringLiteral("Pro&ject"));
    auto* scopeGrid = new QGridLayout(grpScope);
    scopeGrid->addWidget(optCurText, 0, 0);
    scopeGrid->addWidget(optTopics, 0, 1);
    scopeGrid->addWidget(optPopups, 1, 0);
    scopeGrid->addWidget(optProject, 1, 1);

    cmdFind = MakePushButton(this, "cmdFind", QStringLiteral("&Find Next"));
    cmdFind->setDefault(true);
    cmdCancel = MakePushButton(this, "cmdCancel", QStringLiteral("Cancel"));
    cmdHelp = MakePushButton(this, "cmdHelp", QStringLiteral("&Help"));
    for (QPushButton* b : {cmdCancel, cmdHelp}) b->setAutoDefault(false);

    // Texts and their labels above, direction and checks below, the scope
    // at the bottom; the buttons in a column at the right.
    fields_ = new QGridLayout;
    fields_->addWidget(lblFind, 0, 0);
    fields_->addWidget(cboFind, 0, 1, 1, 2);
    fields_->addWidget(lblDirection, 2, 0);
    fields_->addWidget(cboDirection, 2, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(chkMatchCase);
    checks->addWidget(chkWholeWords);
    fields_->addLayout(checks, 2, 2, 2, 1);
    fields_->setColumnStretch(2, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(fields_);
    left->addWidget(grpScope);
    left->addStretch(1);
    buttons_ = new QVBoxLayout;
    buttons_->addWidget(cmdFind);
    buttons_->addWidget(cmdCancel);
    buttons_->addWidget(cmdHelp);
    buttons_->addStretch(1);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(buttons_);
    // A fixed dialog border: the size the controls need.
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(cboFind, &QComboBox::editTextChanged, this, [this] { UpdateButtons(); });
    connect(cboDirection, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { DirectionChanged(index); });
    connect(chkMatchCase, &QCheckBox::toggled, this,
            [this](bool on) { options_ = on ? options_ | kOptMatchCase : options_ & ~kOptMatchCase; });
    connect(chkWholeWords, &QCheckBox::toggled, this,
            [this](bool on) { options_ = on ? options_ | kOptWholeWords : options_ & ~kOptWholeWords; });
    const std::pair<QRadioButton*, int> scopes[] = {{optCurText, kScopeCurrentText},
                                                    {optTopics, kScopeTopics},
                                                    {optPopups, kScopePopups},
                                                    {optProject, kScopeProject}};
    for (const auto& [button, value] : scopes)
        connect(button, &QRadioButton::toggled, this, [this, value = value](bool on) {
            if (on) ScopeChosen(value);
        });
    connect(cmdFind, &QPushButton::clicked, this, [this] { FindClicked(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, [this, helpContext] { ui_.ShowHelp(helpContext); });
    ShowState();
}

QString TSearchForm::GetFindText() const { return cboFind->currentText(); }

void TSearchForm::SetFindText(const QString& text) {
    AddToHistory(cboFind, text);
    cboFind->setEditText(text);
}

bool TSearchForm::IsInFindHistory(const QString& text) const { return InHistory(cboFind, text); }

bool TSearchForm::InHistory(const QComboBox* box, const QString& text) {
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i) == text) return true;
    return false;
}

void TSearchForm::AddToHistory(QComboBox* box, const QString& text) {
    if (text.isEmpty() || InHistory(box, text)) return;
    // Inserting may change the shown entry; the typed text stays.
    const QString shown = box->currentText();
    box->insertItem(0, text);
    box->setEditText(shown);
}

void TSearchForm::showEvent(QShowEvent* event) {
    if (!placed_ && !event->spontaneous()) {
        // Centred on the screen the first time; afterwards where the user left it.
        adjustSize();
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        placed_ = true;
    }
    ShowState();
    QDialog::showEvent(event);
    cboFind->setFocus();
    cboFind->lineEdit()->selectAll();
}

void TSearchForm::ShowState() {
    const int options = options_;
    cboDirection->setCurrentIndex(options & kOptUp ? 0 : options & kOptDown ? 1 : 2);
    const int scope =
        scope_ == kScopeCurrentText || scope_ == kScopeTopics || scope_ == kScopePopups ? scope_ : kScopeProject;
    QRadioButton* button = scope == kScopeCurrentText ? optCurText
                           : scope == kScopeTopics    ? optTopics
                           : scope == kScopePopups    ? optPopups
                                                      : optProject;
    button->setChecked(true);
    // Switching the button on runs its handler; an already checked one not.
    ScopeChosen(scope);
    chkMatchCase->setChecked(options & kOptMatchCase);
    chkWholeWords->setChecked(options & kOptWholeWords);
    UpdateButtons();
}

void TSearchForm::DirectionChanged(int index) {
    static constexpr int kBits[] = {kOptUp, kOptDown, kOptAll};
    if (index < 0 || index > 2) return;
    options_ = (options_ & ~(kOptUp | kOptDown | kOptAll)) | kBits[index];
}

void TSearchForm::ScopeChosen(int scope) {
    scope_ = scope;
    // Only the current text is searched in a direction; the module scopes
    // run forward through each module, so the direction waits unchanged.
    const bool current = scope == kScopeCurrentText;
    lblDirection->setEnabled(current);
    cboDirection->setEnabled(current);
    QPalette palette = cboDirection->palette();
    const QColor field = current ? QColor(Qt::white) : QColor(0xC0, 0xC0, 0xC0);
    palette.setColor(QPalette::Base, field);
    palette.setColor(QPalette::Button, field);
    cboDirection->setPalette(palette);
    UpdateButtons();
}

void TSearchForm::UpdateButtons() { cmdFind->setEnabled(!GetFindText().isEmpty()); }

void TSearchForm::FindClicked() {
    if (GetFindText().isEmpty()) return;
    AddToHistory(cboFind, GetFindText());
    emit OnFind();
}

TfrmFind::TfrmFind(UiServices& ui, QWidget* owner)
    : TSearchForm(ui, QStringLiteral("frmFind"), QStringLiteral("Find"), kHelpFind, owner) {}

}  // namespace qm

#include "dialogs/macroedit.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "dialogs/dialogfactory.h"
#include "model/macros.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"
#include "widgets/icons.h"

namespace qm {

namespace {

constexpr int kMacroLineHeight = 17;

int ParamCountOf(const TMacroInfo& m) {
    return m.ParamCount < 0 ? 0 : (m.ParamCount > kMaxMacroParams ? kMaxMacroParams : m.ParamCount);
}

// "folder" + separator + "name", with the folder's own separator.
std::string InFolder(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (folder.back() == '/' || folder.back() == '\\') return folder + std::string(name);
    const char sep = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos ? '\\' : '/';
    return folder + sep + std::string(name);
}

}  // namespace

TfrmMacroEdit::TfrmMacroEdit(TDialogFactory& factory, const TMacros& macros, QWidget* parent)
    : QmDialog(factory.Ui(), QStringLiteral("frmMacroEdit"), parent), factory_(factory), macros_(macros) {
    setWindowTitle(QStringLiteral("Macro Expression Builder"));

    lstMacros = new QListWidget(this);
    lstMacros->setObjectName(QStringLiteral("lstMacros"));
    lstMacros->setUniformItemSizes(true);
    lstMacros->setIconSize(QSize(16, 16));
    lstMacros->setMinimumWidth(200);
    // Macros that take parameters carry a mark; the others an empty one of
    // the same size, so that every name starts at the same place.
    const QIcon mark = QmIcon(QStringLiteral("go-next"));
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    const QIcon none(blank);
    for (int i = 0; i < macros_.Count(); ++i) {
        const TMacroInfo& m = *macros_.GetMacro(i);
        auto* item = new QListWidgetItem(ParamCountOf(m) > 0 ? mark : none, FromCp1252(m.Name + "()"), lstMacros);
        item->setSizeHint(QSize(0, kMacroLineHeight + 2));
    }

    lblDisplay = new QLabel(this);
    lblDisplay->setObjectName(QStringLiteral("lblDisplay"));
    lblDisplay->setWordWrap(true);
    lblDisplay->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblDisplay->setMinimumHeight(40);
    lblDisplay->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDisplay->setTextFormat(Qt::PlainText);
    lblDisplay->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* grpParams = new QGroupBox(QStringLiteral(" Parameters "), this);
    grpParams->setObjectName(QStringLiteral("grpParams"));
    auto* paramGrid = new QGridLayout(grpParams);
    cmdBrowseMacro = MakeButton(QStringLiteral("cmdBrowseMacro"), QStringLiteral("&..."), grpParams);
    cmdBrowseMacro->setFixedWidth(cmdBrowseMacro->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    for (int i = 0; i < kMaxMacroParams; ++i) {
        lblarg[i] = new QLabel(grpParams);
        lblarg[i]->setObjectName(QStringLiteral("lblarg%1").arg(i + 1));
        txtarg[i] = new QLineEdit(grpParams);
        txtarg[i]->setObjectName(QStringLiteral("txtarg%1").arg(i + 1));
        txtarg[i]->setMinimumWidth(225);
        lblarg[i]->setBuddy(txtarg[i]);
        argRows_[i] = new QHBoxLayout;
        argRows_[i]->addWidget(txtarg[i], 1);
        paramGrid->addWidget(lblarg[i], i, 0);
        paramGrid->addLayout(argRows_[i], i, 1);
    }
    lblNoParams = new QLabel(QStringLiteral("No parameters expected."), grpParams);
    lblNoParams->setObjectName(QStringLiteral("lblNoParams"));
    paramGrid->addWidget(lblNoParams, kMaxMacroParams, 0, 1, 2);
    paramGrid->setColumnStretch(1, 1);
    paramGrid->setRowStretch(kMaxMacroParams + 1, 1);
    argRows_[0]->addWidget(cmdBrowseMacro);
    // The group keeps the height of all six rows, so the dialog does not
    // jump as macros with more or fewer parameters are shown.
    grpParams->setMinimumHeight(grpParams->sizeHint().height());

    lstExpression = new QListWidget(this);
    lstExpression->setObjectName(QStringLiteral("lstExpression"));
    lstExpression->setMinimumHeight(90);
    expressionList_ = new ListEditor(lstExpression, this);

    cmdAdd = MakeButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add"));
    cmdUpdate = MakeButton(QStringLiteral("cmdUpdate"), QStringLiteral("&Update"));
    cmdRemove = MakeButton(QStringLiteral("cmdRemove"), QStringLiteral("&Remove"));
    cmdMacroHelp = MakeButton(QStringLiteral("cmdMacroHelp"), QStringLiteral("&Macro Help..."));

    auto* lblMacros = new QLabel(QStringLiteral("Macros"), this);
    auto* lblExpression = new QLabel(QStringLiteral("Expression"), this);
    lblMacros->setBuddy(lstMacros);
    lblExpression->setBuddy(lstExpression);

    auto* right = new QVBoxLayout;
    right->addWidget(lblDisplay);
    right->addWidget(grpParams, 1);
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(lblMacros);
    left->addWidget(lstMacros, 1);
    top->addLayout(left, 2);
    top->addLayout(right, 3);

    auto* commands = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdUpdate, cmdRemove, cmdMacroHelp}) commands->addWidget(b);
    commands->addStretch(1);
    auto* bottom = new QHBoxLayout;
    auto* exprColumn = new QVBoxLayout;
    exprColumn->addWidget(lblExpression);
    exprColumn->addWidget(lstExpression, 1);
    bottom->addLayout(exprColumn, 1);
    bottom->addLayout(commands);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addLayout(bottom, 2);
    layout->addWidget(MakeStandardButtons());

    // The tab order follows the work: pick, fill, add, then the list.
    QWidget* order[] = {lstMacros,     txtarg[0],      txtarg[1], txtarg[2], txtarg[3], txtarg[4],
                        txtarg[5],     cmdBrowseMacro, cmdAdd,    cmdUpdate, cmdRemove, cmdMacroHelp,
                        lstExpression, cmdOk,          cmdCancel, cmdHelp};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    // A click shows the macro again (emptying the edits), so it listens to
    // clicks as well as to moves of the current row.
    connect(lstMacros, &QListWidget::currentRowChanged, this,
            [this](int row) { runCommand(Ui(), [&] { ShowMacro(row); }); });
    connect(lstMacros, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { runCommand(Ui(), [&] { ShowMacro(lstMacros->row(item)); }); });
    connect(lstExpression, &QListWidget::currentRowChanged, this,
            [this](int row) { runCommand(Ui(), [&] { LoadMacroCall(row); }); });
    connect(lstExpression, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { runCommand(Ui(), [&] { LoadMacroCall(lstExpression->row(item)); }); });
    connect(cmdAdd, &QPushButton::clicked, this, guarded(Ui(), [this] { AddClick(); }));
    connect(cmdUpdate, &QPushButton::clicked, this, guarded(Ui(), [this] { UpdateClick(); }));
    connect(cmdRemove, &QPushButton::clicked, this, guarded(Ui(), [this] { RemoveClick(); }));
    connect(cmdMacroHelp, &QPushButton::clicked, this, guarded(Ui(), [this] { MacroHelpClick(); }));
    connect(cmdBrowseMacro, &QPushButton::clicked, this, guarded(Ui(), [this] { BrowseMacroClick(); }));
    Watch(lstMacros);
    Watch(lstExpression);

    // Nothing shown until a macro is: every row hidden, the label empty.
    ShowMacro(-1);
    if (lstMacros->count() > 0) {
        const QSignalBlocker block(lstMacros);
        lstMacros->setCurrentRow(0);
        ShowMacro(0);
    }
    cmdOk->setEnabled(false);
    cmdRemove->setEnabled(false);
    cmdUpdate->setEnabled(false);
}

const TMacroInfo* TfrmMacroEdit::SelectedMacro() const { return macros_.GetMacro(lstMacros->currentRow()); }

void TfrmMacroEdit::ShowMacro(int row) {
    const TMacroInfo* m = macros_.GetMacro(row);
    const int count = m ? ParamCountOf(*m) : 0;
    lblNoParams->setVisible(m && count == 0);
    lblDisplay->setText(m ? FromCp1252(m->Syntax) : QString());
    cmdBrowseMacro->hide();
    macroParam_ = 0;
    for (int i = 1; i <= kMaxMacroParams; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        lblarg[k]->setVisible(i <= count);
        txtarg[k]->setVisible(i <= count);
        if (m) {
            lblarg[k]->setText(FromCp1252(m->Param(i)));
            if (i <= count && m->Param(i) == "macro") {
                // The browse button moves beside this edit.
                for (QHBoxLayout* r : argRows_) r->removeWidget(cmdBrowseMacro);
                argRows_[k]->addWidget(cmdBrowseMacro);
                cmdBrowseMacro->show();
                macroParam_ = i;
            }
        }
        txtarg[k]->clear();
    }
}

QString TfrmMacroEdit::BuildCall() const {
    const TMacroInfo* m = SelectedMacro();
    if (!m) return {};
    QStringList args;
    for (int i = 0; i < ParamCountOf(*m); ++i) args << txtarg[static_cast<std::size_t>(i)]->text();
    return FromCp1252(m->Name) + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')');
}

void TfrmMacroEdit::SetExpression(const std::string& expression) {
    StringList calls;
    SplitToStrings(expression, ';', calls);
    {
        const QSignalBlocker block(lstExpression);
        for (const std::string& call : calls) lstExpression->addItem(FromCp1252(call));
        if (lstExpression->count() > 0) lstExpression->setCurrentRow(0);
    }
    if (lstExpression->count() > 0) LoadMacroCall(0);
    Activate();
}

void TfrmMacroEdit::LoadMacroCall(int row) {
    QListWidgetItem* item = lstExpression->item(row);
    if (!item) return;
    const std::string line = ToCp1252(item->text());
    const std::size_t open = line.find('(');
    if (open == std::string::npos) return;
    const std::string name = Trim(std::string_view(line).substr(0, open));
    int found = -1;
    for (int i = 0; i < macros_.Count() && found < 0; ++i)
        if (SameText(macros_.GetMacro(i)->Name, name)) found = i;
    if (found < 0) return;
    {
        const QSignalBlocker block(lstMacros);
        lstMacros->setCurrentRow(found);
    }
    // Shown here, not by the list's signal: re-selecting the same row sends
    // none, and the edits must empty all the same.
    ShowMacro(found);
    // The arguments run to the last ")" after the "(", or to the end of a call
    // that lacks it, so "Foo(" has none and no argument loses a character.
    const std::size_t close = line.rfind(')');
    const std::size_t end = close != std::string::npos && close > open ? close : line.size();
    StringList args;
    SplitToStrings(std::string_view(line).substr(open + 1, end - open - 1), ',', args);
    const int count = ParamCountOf(*macros_.GetMacro(found));
    for (int k = 0; k < count && k < static_cast<int>(args.size()); ++k)
        txtarg[static_cast<std::size_t>(k)]->setText(FromCp1252(args[static_cast<std::size_t>(k)]));
    Activate();
}

void TfrmMacroEdit::AddClick() {
    if (!SelectedMacro()) return;
    {
        const QSignalBlocker block(lstExpression);
        expressionList_->Add(BuildCall());
    }
    Activate();
}

void TfrmMacroEdit::UpdateClick() {
    if (!SelectedMacro()) return;
    expressionList_->Update(BuildCall());
    Activate();
}

void TfrmMacroEdit::RemoveClick() {
    {
        const QSignalBlocker block(lstExpression);
        expressionList_->Remove();
    }
    Activate();
}

void TfrmMacroEdit::MacroHelpClick() {
    const TMacroInfo* m = SelectedMacro();
    if (!m) return;
    Ui().Viewer().ShowContext(InFolder(factory_.ProgramFolder(), kMacrosHelpFile), m->HelpContext);
}

void TfrmMacroEdit::BrowseMacroClick() {
    if (macroParam_ < 1) return;
    QLineEdit* edit = txtarg[static_cast<std::size_t>(macroParam_ - 1)];
    if (const auto expression = factory_.RunMacroBuilder(macros_, Trim(ToCp1252(edit->text())), this))
        edit->setText(FromCp1252(*expression));
}

bool TfrmMacroEdit::validate() {
    // OK is off while the list is empty; an empty expression is never handed back.
    return lstExpression->count() > 0;
}

void TfrmMacroEdit::store() {
    QStringList lines;
    for (int i = 0; i < lstExpression->count(); ++i) lines << lstExpression->item(i)->text();
    expression_ = ToCp1252(lines.join(QLatin1Char(';')));
}

void TfrmMacroEdit::updateEnabling() {
    const bool macro = SelectedMacro() != nullptr;
    const bool lines = lstExpression->count() > 0;
    const bool current = lstExpression->currentRow() >= 0;
    cmdAdd->setEnabled(macro);
    cmdUpdate->setEnabled(macro && lines && current);
    cmdRemove->setEnabled(lines && current);
    cmdMacroHelp->setEnabled(macro);
    cmdOk->setEnabled(lines);
}

}  // namespace qm

#include "dialogs/topicprops.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <charconv>

#include "dialogs/dialogfactory.h"
#include "dialogs/modulechecks.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

constexpr int kNameLimit = 255;
constexpr int kTitleLimit = 255;
constexpr int kBuildTagLimit = 50;
// The node's browse field holds 50 characters: the edit never takes more, so
// nothing is ever cut on the way in.
constexpr int kBrowseLimit = 50;
constexpr int kKeywordLimit = 255;

QLineEdit* MakeEdit(QWidget* parent, const char* name, int limit = 0) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (limit > 0) edit->setMaxLength(limit);
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
    label->setBuddy(buddy);
    return label;
}

// A small key, the mark of the default contents page.
QPixmap KeyPixmap() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(128, 96, 0), 1.5));
    p.setBrush(QColor(230, 190, 40));
    p.drawEllipse(QRectF(1.5, 4.5, 7, 7));
    p.drawLine(QPointF(8.5, 8), QPointF(15, 8));
    p.drawLine(QPointF(13, 8), QPointF(13, 11));
    p.drawLine(QPointF(11, 8), QPointF(11, 10.5));
    return pixmap;
}

// The texts of a list's rows, in order.
StringList Rows(const QListWidget* list) {
    StringList out;
    for (int i = 0; i < list->count(); ++i) out.push_back(ToCp1252(list->item(i)->text()));
    return out;
}

void Fill(QListWidget* list, const StringList& rows) {
    for (const std::string& row : rows) list->addItem(FromCp1252(row));
    if (list->count() > 0) list->setCurrentRow(0);
}

}  // namespace

TfrmTopicProps::TfrmTopicProps(TDialogFactory& factory, const TProject& project, const TMacros& macros, QWidget* parent)
    : QmDialog(factory.Ui(), QStringLiteral("frmTopicProps"), parent),
      factory_(factory),
      project_(project),
      macros_(macros) {
    setWindowTitle(QStringLiteral("Topic Properties"));

    tbsProperties = new QTabWidget(this);
    tbsProperties->setObjectName(QStringLiteral("tbsProperties"));
    tsGeneral = MakeGeneralPage();
    tbsProperties->addTab(tsGeneral, QStringLiteral("General"));

    keywords_.edit = MakeEdit(this, "txtKeyword", kKeywordLimit);
    keywords_.list = new QListWidget(this);
    keywords_.list->setObjectName(QStringLiteral("lstKeywords"));
    keywords_.add = MakeButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add"));
    keywords_.remove = MakeButton(QStringLiteral("cmdRemove"), QStringLiteral("&Remove"));
    keywords_.clear = MakeButton(QStringLiteral("cmdClear"), QStringLiteral("&Clear"));
    keywords_.duplicate = "This keyword is already in the list.";
    tsKeywords = MakeListPage(QStringLiteral("Enter the keywords you  wish to include to relate to this topic."),
                              keywords_, nullptr);
    tsKeywords->setObjectName(QStringLiteral("tsKeywords"));
    tbsProperties->addTab(tsKeywords, QStringLiteral("Keywords"));

    akeys_.edit = MakeEdit(this, "txtAKey", kKeywordLimit);
    akeys_.list = new QListWidget(this);
    akeys_.list->setObjectName(QStringLiteral("lstAKey"));
    akeys_.add = MakeButton(QStringLiteral("cmdAddAkey"), QStringLiteral("&Add"));
    akeys_.remove = MakeButton(QStringLiteral("cmdRemoveAKey"), QStringLiteral("&Remove"));
    akeys_.clear = MakeButton(QStringLiteral("cmdClearAKey"), QStringLiteral("&Clear"));
    akeys_.duplicate = "This A-Keyword is already in the list.";
    tsAKey = MakeListPage(QStringLiteral("Enter the A-Keywords for this topic for use with the ALink macro."), akeys_,
                          nullptr);
    tsAKey->setObjectName(QStringLiteral("tsAKey"));
    tbsProperties->addTab(tsAKey, QStringLiteral("A-Keywords"));

    macroList_.edit = MakeEdit(this, "txtMacro");
    macroList_.list = new QListWidget(this);
    macroList_.list->setObjectName(QStringLiteral("lstMacros"));
    macroList_.add = MakeButton(QStringLiteral("cmdAddMacro"), QStringLiteral("&Add"));
    macroList_.remove = MakeButton(QStringLiteral("cmdRemoveMacro"), QStringLiteral("&Remove"));
    macroList_.clear = MakeButton(QStringLiteral("cmdClearMacros"), QStringLiteral("&Clear"));
    cmdMacroEdit = MakeButton(QStringLiteral("cmdMacroEdit"), QStringLiteral("&..."));
    cmdMacroEdit->setFixedWidth(cmdMacroEdit->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    tsMacros = MakeListPage(QStringLiteral("Macros that will be executed when this topic is displayed:"), macroList_,
                            cmdMacroEdit);
    tsMacros->setObjectName(QStringLiteral("tsMacros"));
    tbsProperties->addTab(tsMacros, QStringLiteral("Macros"));

    txtKeyword = keywords_.edit;
    lstKeywords = keywords_.list;
    cmdAdd = keywords_.add;
    cmdRemove = keywords_.remove;
    cmdClear = keywords_.clear;
    txtAKey = akeys_.edit;
    lstAKey = akeys_.list;
    cmdAddAkey = akeys_.add;
    cmdRemoveAKey = akeys_.remove;
    cmdClearAKey = akeys_.clear;
    txtMacro = macroList_.edit;
    lstMacros = macroList_.list;
    cmdAddMacro = macroList_.add;
    cmdRemoveMacro = macroList_.remove;
    cmdClearMacros = macroList_.clear;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsProperties, 1);
    layout->addWidget(MakeStandardButtons());

    for (ListPage* page : {&keywords_, &akeys_, &macroList_}) {
        connect(page->add, &QPushButton::clicked, this, guarded(Ui(), [this, page] { AddClick(*page); }));
        connect(page->remove, &QPushButton::clicked, this, guarded(Ui(), [this, page] { RemoveClick(*page); }));
        connect(page->clear, &QPushButton::clicked, this, guarded(Ui(), [this, page] { ClearClick(*page); }));
        Watch(page->edit);
        Watch(page->list);
        page->add->setEnabled(false);
    }
    connect(cmdMacroEdit, &QPushButton::clicked, this, guarded(Ui(), [this] { MacroEditClick(); }));
    connect(tbsProperties, &QTabWidget::currentChanged, this, [this](int index) { PageChange(index); });
    Watch(tbsProperties);
}

QWidget* TfrmTopicProps::MakeGeneralPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsGeneral"));
    txtTopicName = MakeEdit(page, "txtTopicName", kNameLimit);
    txtTitle = MakeEdit(page, "txtTitle", kTitleLimit);
    txtContext = MakeEdit(page, "txtContext");
    // Digits only, and no length limit: an ID of more digits (renumbered or
    // imported) shows whole and is kept.
    DigitsOnly(txtContext);
    txtBuildTag = MakeEdit(page, "txtBuildTag", kBuildTagLimit);
    txtBrowse = MakeEdit(page, "txtBrowse", kBrowseLimit);
    cboWindows = new QComboBox(page);
    cboWindows->setObjectName(QStringLiteral("cboWindows"));
    for (int i = 1; i <= project_.Windows.Count(); ++i)
        cboWindows->addItem(FromCp1252(project_.Windows.GetWindow(i).GetName()));
    cboWindows->setCurrentIndex(-1);
    cboState = new QComboBox(page);
    cboState->setObjectName(QStringLiteral("cboState"));
    cboState->addItems({QStringLiteral("Done"), QStringLiteral("Editing")});
    cboState->setCurrentIndex(-1);
    lblContents = new QLabel(QStringLiteral("Default contents page"), page);
    lblContents->setObjectName(QStringLiteral("lblContents"));
    QFont bold = lblContents->font();
    bold.setBold(true);
    lblContents->setFont(bold);
    imgKey = new QLabel(page);
    imgKey->setObjectName(QStringLiteral("imgKey"));
    imgKey->setPixmap(KeyPixmap());
    lblContents->hide();
    imgKey->hide();

    auto* grid = new QGridLayout(page);
    grid->addWidget(MakeLabel(page, QStringLiteral("Topic &name"), txtTopicName), 0, 0);
    grid->addWidget(txtTopicName, 0, 1, 1, 3);
    grid->addWidget(MakeLabel(page, QStringLiteral("Topic &title"), txtTitle), 1, 0);
    grid->addWidget(txtTitle, 1, 1, 1, 3);
    grid->addWidget(MakeLabel(page, QStringLiteral("&Context ID"), txtContext), 2, 0);
    grid->addWidget(txtContext, 2, 1);
    grid->addWidget(MakeLabel(page, QStringLiteral("&Window"), cboWindows), 2, 2);
    grid->addWidget(cboWindows, 2, 3);
    grid->addWidget(MakeLabel(page, QStringLiteral("Build ta&g"), txtBuildTag), 3, 0);
    grid->addWidget(txtBuildTag, 3, 1);
    grid->addWidget(MakeLabel(page, QStringLiteral("&Development state"), cboState), 3, 2);
    grid->addWidget(cboState, 3, 3);
    grid->addWidget(MakeLabel(page, QStringLiteral("&Browse sequence"), txtBrowse), 4, 0);
    grid->addWidget(txtBrowse, 4, 1);
    auto* contents = new QHBoxLayout;
    contents->addWidget(imgKey);
    contents->addWidget(lblContents);
    contents->addStretch(1);
    grid->addLayout(contents, 5, 0, 1, 4);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(1, 140);
    grid->setColumnMinimumWidth(3, 140);
    txtTopicName->setMinimumWidth(360);
    return page;
}

QWidget* TfrmTopicProps::MakeListPage(const QString& intro, ListPage& page, QPushButton* browse) {
    auto* widget = new QWidget(this);
    auto* label = new QLabel(intro, widget);
    label->setWordWrap(true);
    label->setBuddy(page.edit);
    page.editor = new ListEditor(page.list, this);
    auto* entry = new QHBoxLayout;
    entry->addWidget(page.edit, 1);
    if (browse) entry->addWidget(browse);
    entry->addWidget(page.add);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(page.remove);
    buttons->addWidget(page.clear);
    buttons->addStretch(1);
    auto* rows = new QHBoxLayout;
    rows->addWidget(page.list, 1);
    rows->addLayout(buttons);
    auto* layout = new QVBoxLayout(widget);
    layout->addWidget(label);
    layout->addLayout(entry);
    layout->addLayout(rows, 1);
    // Remove and Clear line up under Add.
    const int width =
        std::max({page.add->sizeHint().width(), page.remove->sizeHint().width(), page.clear->sizeHint().width()});
    for (QPushButton* b : {page.add, page.remove, page.clear}) b->setFixedWidth(width);
    return widget;
}

void TfrmTopicProps::LoadTopic(TTopicNode& node) {
    node_ = &node;
    txtTopicName->setText(FromCp1252(node.GetName()));
    txtTitle->setText(FromCp1252(node.GetTitle()));
    txtContext->setText(QString::number(node.ContextId));
    txtBrowse->setText(FromCp1252(node.GetBrowse()));
    txtBuildTag->setText(FromCp1252(node.GetBuildTag()));
    const std::string window = node.GetWindow();
    int found = -1;
    for (int i = 0; i < cboWindows->count() && found < 0; ++i)
        if (SameText(ToCp1252(cboWindows->itemText(i)), window)) found = i;
    cboWindows->setCurrentIndex(found);
    // A state byte other than done or editing (kept as read from a file)
    // shows no state, and OK keeps it unless one is chosen.
    const auto state = static_cast<int>(node.State);
    cboState->setCurrentIndex(state == 0 || state == 1 ? state : -1);
    Fill(lstKeywords, node.Keywords);
    Fill(lstAKey, node.AKeywords);
    Fill(lstMacros, node.Macros);
    lblContents->setVisible(node.IsContents);
    imgKey->setVisible(node.IsContents);
    Activate();
}

void TfrmTopicProps::StoreTopic() {
    if (!node_) return;
    TTopicNode& node = *node_;
    node.Keywords = Rows(lstKeywords);
    node.AKeywords = Rows(lstAKey);
    node.Macros = Rows(lstMacros);
    node.SetTitle(ToCp1252(txtTitle->text()));
    node.SetName(ToCp1252(txtTopicName->text()));
    const std::string context = ToCp1252(txtContext->text());
    std::int32_t id = 0;
    const auto [end, error] = std::from_chars(context.data(), context.data() + context.size(), id);
    if (error == std::errc() && end == context.data() + context.size()) node.ContextId = id;
    node.SetBrowse(ToCp1252(txtBrowse->text()));
    node.SetWindow(cboWindows->currentIndex() >= 0 ? ToCp1252(cboWindows->currentText()) : std::string());
    if (cboState->currentIndex() == 0 || cboState->currentIndex() == 1)
        node.State = static_cast<TopicState>(cboState->currentIndex());
    node.SetBuildTag(ToCp1252(txtBuildTag->text()));
}

bool TfrmTopicProps::validate() {
    if (!node_) return false;
    // Every text first, so that what the checks below read is what is stored.
    const std::pair<QLineEdit*, const char*> edits[] = {{txtTopicName, "Topic name"},
                                                        {txtTitle, "Topic title"},
                                                        {txtContext, "Context ID"},
                                                        {txtBrowse, "Browse sequence"},
                                                        {txtBuildTag, "Build tag"}};
    for (const auto& [edit, field] : edits)
        if (!CheckCp1252(edit->text(), QString::fromLatin1(field))) return false;
    const std::pair<QListWidget*, const char*> lists[] = {
        {lstKeywords, "Keywords"}, {lstAKey, "A-Keywords"}, {lstMacros, "Macros"}};
    for (const auto& [list, field] : lists)
        for (int i = 0; i < list->count(); ++i)
            if (!CheckCp1252(list->item(i)->text(), QString::fromLatin1(field))) return false;

    for (const auto& [edit, field] : edits) edit->setText(FromCp1252(Trim(ToCp1252(edit->text()))));
    auto refuse = [this](const std::string& text) {
        Refuse(FromCp1252(text));
        return false;
    };
    if (auto refusal = ModuleNameRefusal(ToCp1252(txtTopicName->text()), *node_, project_.Topics, kTopicNameTexts))
        return refuse(*refusal);
    if (txtTitle->text().isEmpty() && lstKeywords->count() > 0)
        return refuse("Keywords have been defined and no topic title has been entered.");
    if (const TContextIdCheck id = CheckContextId(ToCp1252(txtContext->text()), *node_, project_.Topics); id.refusal)
        return refuse(*id.refusal);
    const std::string browse = ToCp1252(txtBrowse->text());
    if (browse.find(' ') != std::string::npos) return refuse("Spaces are not allowed in browse sequence strings.");
    if (!IsBrowseSequence(browse)) return refuse("Invalid browse sequence string.");
    if (txtBuildTag->text().contains(QLatin1Char(' '))) return refuse("Spaces are not allowed in build tags.");
    return true;
}

void TfrmTopicProps::updateEnabling() {
    for (ListPage* page : {&keywords_, &akeys_, &macroList_}) {
        const bool rows = page->list->count() > 0;
        page->add->setEnabled(!page->edit->text().isEmpty());
        page->remove->setEnabled(rows);
        page->clear->setEnabled(rows);
    }
}

int TfrmTopicProps::helpContext() const {
    const int page = tbsProperties->currentIndex();
    return page >= 0 && page < static_cast<int>(std::size(kTopicPropsHelpContexts)) ? kTopicPropsHelpContexts[page]
                                                                                    : kTopicPropsHelpContexts[0];
}

void TfrmTopicProps::showEvent(QShowEvent* event) {
    QmDialog::showEvent(event);
    // Once, as the dialog appears: a dialog it opens (the macro builder)
    // closing again must not pull the focus away from where the user was.
    if (node_) {
        lblContents->setVisible(node_->IsContents);
        imgKey->setVisible(node_->IsContents);
    }
    if (tbsProperties->currentIndex() == 0) txtTopicName->setFocus();
}

void TfrmTopicProps::PageChange(int index) {
    ListPage* pages[] = {nullptr, &keywords_, &akeys_, &macroList_};
    ListPage* page = index > 0 && index < 4 ? pages[index] : nullptr;
    // Enter adds the typed entry on a list page, and confirms on General.
    for (ListPage* p : {&keywords_, &akeys_, &macroList_}) p->add->setDefault(p == page);
    cmdOk->setDefault(page == nullptr);
    if (page)
        page->edit->setFocus();
    else
        txtTopicName->setFocus();
}

void TfrmTopicProps::AddClick(ListPage& page) {
    const QString text = page.edit->text();
    if (text.isEmpty()) return;
    if (page.duplicate) {
        const std::string trimmed = Trim(ToCp1252(text));
        for (int i = 0; i < page.list->count(); ++i)
            if (SameText(ToCp1252(page.list->item(i)->text()), trimmed)) {
                Refuse(QString::fromLatin1(page.duplicate));
                return;
            }
    }
    page.editor->Add(text);
    page.edit->clear();
    page.edit->setFocus();
    Activate();
}

void TfrmTopicProps::RemoveClick(ListPage& page) {
    page.editor->Remove();
    Activate();
}

void TfrmTopicProps::ClearClick(ListPage& page) {
    page.list->clear();
    Activate();
}

void TfrmTopicProps::MacroEditClick() {
    if (const auto expression = factory_.RunMacroBuilder(macros_, {}, this)) {
        txtMacro->setText(FromCp1252(*expression));
        txtMacro->setFocus();
    }
}

}  // namespace qm

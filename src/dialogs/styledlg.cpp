#include "dialogs/styledlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "dialogs/dialogfactory.h"
#include "dialogs/styleglyphs.h"
#include "editor/qtfont.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

constexpr int kStyleLineHeight = 18;
constexpr int kTypeRole = Qt::UserRole + 1;

// The kind's glyph at x 1, a pixel below the line's top, and the name from x 18.
class TStyleLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int text = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return {18 + text + 4, kStyleLineHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString name = opt.text;
        opt.text.clear();
        opt.features &= ~QStyleOptionViewItem::HasDecoration;
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        const QRect r = option.rect;
        p->drawImage(QPoint(r.left() + 1, r.top() + 1), StyleGlyph(KindGlyph(index.data(kTypeRole).toInt())));
        p->save();
        const bool selected = option.state & QStyle::State_Selected;
        p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(r.adjusted(18, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        p->restore();
    }
};

}  // namespace

TfrmStyles::TfrmStyles(TDialogFactory& factory, TStyles& styles, QWidget* parent)
    : QmDialog(factory.Ui(), QStringLiteral("frmStyles"), parent), factory_(factory), styles_(styles) {
    setWindowTitle(QStringLiteral("Styles"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* lblStyles = new QLabel(QStringLiteral("&Styles"), this);
    lstStyles = new QListWidget(this);
    lstStyles->setObjectName(QStringLiteral("lstStyles"));
    lstStyles->setItemDelegate(new TStyleLineDelegate(lstStyles));
    lstStyles->setUniformItemSizes(true);
    lstStyles->setMinimumWidth(170);
    lblStyles->setBuddy(lstStyles);
    left->addWidget(lblStyles);
    left->addWidget(lstStyles, 1);

    auto* grpPreview = new QGroupBox(QStringLiteral("Preview"), this);
    auto* previewLayout = new QVBoxLayout(grpPreview);
    auto* pnlFontPreview = new QFrame(grpPreview);
    pnlFontPreview->setObjectName(QStringLiteral("pnlFontPreview"));
    pnlFontPreview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(pnlFontPreview);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    pbSample = new QLabel(pnlFontPreview);
    pbSample->setObjectName(QStringLiteral("pbSample"));
    pbSample->setAlignment(Qt::AlignCenter);
    pbSample->setTextFormat(Qt::PlainText);
    pbSample->setMinimumSize(260, 56);
    pbSample->setAutoFillBackground(true);
    pbSample->setBackgroundRole(QPalette::Base);
    panelLayout->addWidget(pbSample);
    previewLayout->addWidget(pnlFontPreview);

    auto* grpDescription = new QGroupBox(QStringLiteral("Description"), this);
    auto* descriptionLayout = new QVBoxLayout(grpDescription);
    pbDescription = new QLabel(grpDescription);
    pbDescription->setObjectName(QStringLiteral("pbDescription"));
    pbDescription->setWordWrap(true);
    pbDescription->setMargin(4);
    pbDescription->setTextFormat(Qt::PlainText);
    pbDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pbDescription->setMinimumHeight(80);
    descriptionLayout->addWidget(pbDescription);
    left->addWidget(grpPreview);
    left->addWidget(grpDescription);
    layout->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    cmdNewStyle = MakeButton(QStringLiteral("cmdNewStyle"), QStringLiteral("&New..."));
    cmdModifyStyle = MakeButton(QStringLiteral("cmdModifyStyle"), QStringLiteral("&Modify..."));
    cmdRemoveStyle = MakeButton(QStringLiteral("cmdRemoveStyle"), QStringLiteral("&Remove"));
    cmdReorganize = MakeButton(QStringLiteral("cmdReorganize"), QStringLiteral("Reor&ganize..."));
    cmdApply = MakeButton(QStringLiteral("cmdApply"), QStringLiteral("&Apply"));
    cmdDone = MakeButton(QStringLiteral("cmdDone"), QStringLiteral("&Done"));
    cmdHelp = MakeButton(QStringLiteral("cmdHelp"), QStringLiteral("&Help"));
    for (QPushButton* b : {cmdNewStyle, cmdModifyStyle, cmdRemoveStyle, cmdReorganize}) buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(cmdApply);
    buttons->addStretch(1);
    buttons->addWidget(cmdDone);
    buttons->addWidget(cmdHelp);
    layout->addLayout(buttons);

    connect(cmdNewStyle, &QPushButton::clicked, this, &TfrmStyles::cmdNewStyleClick);
    connect(cmdModifyStyle, &QPushButton::clicked, this, &TfrmStyles::cmdModifyStyleClick);
    connect(cmdRemoveStyle, &QPushButton::clicked, this, &TfrmStyles::cmdRemoveStyleClick);
    connect(cmdReorganize, &QPushButton::clicked, this, &TfrmStyles::cmdReorganizeClick);
    connect(cmdApply, &QPushButton::clicked, this, &QmDialog::accept);
    connect(cmdDone, &QPushButton::clicked, this, &QmDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, [this] { Ui().ShowHelp(helpContext()); });
    connect(lstStyles, &QListWidget::itemDoubleClicked, this, [this] { cmdModifyStyleClick(); });
    connect(lstStyles, &QListWidget::currentRowChanged, this, [this] { showSelected(); });
    Watch(lstStyles);

    fillList();
    SelectLine(0);
}

void TfrmStyles::addLine(const TStyle& style) {
    auto* item = new QListWidgetItem(FromCp1252(style.Name), lstStyles);
    item->setData(kTypeRole, style.StyleType);
}

void TfrmStyles::setLine(int line, const TStyle& style) {
    QListWidgetItem* item = lstStyles->item(line);
    if (!item) return;
    item->setText(FromCp1252(style.Name));
    item->setData(kTypeRole, style.StyleType);
}

void TfrmStyles::fillList() {
    lstStyles->clear();
    for (int i = 1; i <= styles_.Count(); ++i) addLine(*styles_.GetStyle(i));
}

void TfrmStyles::SelectLine(int line) {
    if (lstStyles->count() == 0) return;
    lstStyles->setCurrentRow(line >= 0 && line < lstStyles->count() ? line : 0);
    showSelected();
}

int TfrmStyles::SelectedLine() const { return lstStyles->currentRow(); }

void TfrmStyles::showSelected() {
    const TStyle* style = styles_.GetStyle(SelectedLine() + 1);
    if (!style) {
        pbSample->clear();
        pbDescription->clear();
        return;
    }
    pbSample->setFont(ToQFont(style->Font));
    QPalette p = pbSample->palette();
    p.setColor(QPalette::WindowText, ColorFromBgr(style->Font.Color));
    pbSample->setPalette(p);
    pbSample->setText(FromCp1252(style->Name));
    pbDescription->setText(FromCp1252(style->Describe()));
}

void TfrmStyles::updateEnabling() {
    // The last style can be neither removed nor reordered.
    const bool several = styles_.Count() >= 2;
    cmdRemoveStyle->setEnabled(several);
    cmdReorganize->setEnabled(several);
}

void TfrmStyles::cmdNewStyleClick() {
    if (styles_.Count() >= kMaxStyles) {
        Refuse(QString::fromLatin1(kMsgTooManyStyles));
        return;
    }
    TStyle style;
    if (!DefaultFont.Name.empty()) style.Font = DefaultFont;
    const std::optional<TStyle> made = factory_.RunStyleProperties(styles_, style, -1, kNewStyleName, this);
    if (made && styles_.Add(*made)) addLine(*made);
    Activate();
}

void TfrmStyles::cmdModifyStyleClick() {
    const int line = SelectedLine();
    TStyle* style = styles_.GetStyle(line + 1);
    if (!style) return;
    const std::optional<TStyle> changed = factory_.RunStyleProperties(styles_, *style, line + 1, style->Name, this);
    if (changed) {
        // Everything the dialog edits; the bullet is not among it.
        const bool bullet = style->Bullet;
        *style = *changed;
        style->Bullet = bullet;
        setLine(line, *style);
        showSelected();
    }
    Activate();
}

void TfrmStyles::cmdRemoveStyleClick() {
    const int line = SelectedLine();
    const TStyle* style = styles_.GetStyle(line + 1);
    if (!style || styles_.Count() < 2) return;
    const QString question = QStringLiteral("Remove the style \"") + FromCp1252(style->Name) + QStringLiteral("\" ?");
    if (Ui().Confirm(question) != MsgResult::Yes) return;
    styles_.Delete(line + 1);
    delete lstStyles->takeItem(line);
    lstStyles->setCurrentRow(SelectAfterRemoval(line, lstStyles->count()));
    showSelected();
    Activate();
}

void TfrmStyles::cmdReorganizeClick() {
    if (styles_.Count() < 2) return;
    const int line = SelectedLine();
    const TStyle* selected = styles_.GetStyle(line + 1);
    const std::string remembered = selected ? selected->Name : std::string();
    const std::optional<TStyles> reordered = factory_.RunReorganizeStyles(styles_, line, this);
    if (reordered) {
        styles_.Assign(*reordered);
        fillList();
        SelectLine(styles_.IndexOfName(remembered) - 1);
    }
    Activate();
}

}  // namespace qm

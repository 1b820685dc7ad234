// The formatting commands, the style box and the ruler link.
#include "mainwindow/formatcommands.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextFrameFormat>
#include <cmath>

#include "dialogs/dialogfactory.h"
#include "editor/qtfont.h"
#include "editor/richtext2.h"
#include "editor/ruler.h"
#include "mainwindow/maincontext.h"
#include "mainwindow/stylecombo.h"
#include "model/options.h"
#include "model/styles.h"
#include "widgets/actiontable.h"
#include "widgets/commandguard.h"

namespace qm {

namespace {

TAlignment StyleAlignment(int alignment) {
    if (alignment == 1) return TAlignment::taRightJustify;
    if (alignment == 2) return TAlignment::taCenter;
    return TAlignment::taLeftJustify;
}

// x of `widget`'s point `p` on `target` (both in one window).
int MapX(const QWidget& widget, QPoint p, const QWidget& target) {
    return target.mapFrom(target.window(), widget.mapTo(widget.window(), p)).x();
}

}  // namespace

TFormatCommands::TFormatCommands(TMainContext& context) : TCommandHandler(context) {}

TFormatCommands::~TFormatCommands() = default;

void TFormatCommands::CreateActions(ActionTable& table) {
    actParagraph = table.Add({"actParagraph", "&Paragraph...", "",
                              "Paragraph|Changes the indents, spacing and tab stops of the paragraph.",
                              "format-indent-more", [this] { actParagraphExecute(); }});
    actStyles = table.Add({"actStyles", "&Styles...", "", "Styles|Creates, changes, orders and applies the styles.", "styles",
                           [this] { actStylesExecute(); }});

    TRuler& ruler = ctx_.RulerControl();
    TRichText2* editor = ctx_.Editor();
    connect(&ruler, &TRuler::markerMove, this, [this](int x) { runCommand(ctx_.Ui(), [&] { RulerMarkerMove(x); }); });
    connect(&ruler, &TRuler::changed, this, [this] { runCommand(ctx_.Ui(), [this] { RulerChange(); }); });
    if (QComboBox* box = ctx_.StyleBox())
        connect(box, &QComboBox::activated, this, [this] { runCommand(ctx_.Ui(), [this] { cboStylesChange(); }); });

    // The guide: a line over the editor that the mouse goes through.
    guide_ = new QWidget(editor->viewport());
    guide_->setObjectName(QStringLiteral("RulerGuide"));
    guide_->setAttribute(Qt::WA_TransparentForMouseEvents);
    guide_->setAutoFillBackground(true);
    QPalette p = guide_->palette();
    p.setColor(QPalette::Window, Qt::black);
    guide_->setPalette(p);
    guide_->hide();

    // The scale menu is the ruler's context menu.
    mnuPopScaleMode = new QMenu(&ctx_.Window());
    mnuPopScaleMode->setObjectName(QStringLiteral("mnuPopScaleMode"));
    auto* modes = new QActionGroup(mnuPopScaleMode);
    auto addMode = [&](const char* name, const QString& caption, int mode) {
        QAction* a = mnuPopScaleMode->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        modes->addAction(a);
        connect(a, &QAction::triggered, this, [this, mode] { runCommand(ctx_.Ui(), [&] { SetScaleMode(mode); }); });
        return a;
    };
    mnuPopScalePixels = addMode("mnuPopScalePixels", QStringLiteral("&Pixels"), 0);
    mnuPopScaleInches = addMode("mnuPopScaleInches", QStringLiteral("&Inches"), 1);
    mnuPopScaleCentimeters = addMode("mnuPopScaleCentimeters", QStringLiteral("&Centimeters"), 2);
    connect(mnuPopScaleMode, &QMenu::aboutToShow, this, [this] { mnuPopScaleModePopup(); });
    ruler.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&ruler, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuPopScaleMode->popup(ctx_.RulerControl().mapToGlobal(at)); });

    // The zero follows the text wherever the editor's frame puts it.
    for (QObject* watched :
         {static_cast<QObject*>(&ruler), static_cast<QObject*>(editor), static_cast<QObject*>(editor->viewport())})
        watched->installEventFilter(this);
    // ... and the text's own margins (the gutter moves the text, not the editor).
    connect(editor->document()->documentLayout(), &QAbstractTextDocumentLayout::update, this,
            [this] { UpdateRulerOrigin(); });
}

bool TFormatCommands::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::LayoutRequest: UpdateRulerOrigin(); break;
        default: break;
    }
    return QObject::eventFilter(watched, e);
}

// --- the ruler link -----------------------------------------------------------------

void TFormatCommands::SetParagraphIndents(int startIndent, int offset, int rightIndent) {
    TRichText2* editor = ctx_.Editor();
    editor->Paragraph.SetFirstIndent(startIndent);
    editor->Paragraph.SetLeftIndent(offset);
    editor->Paragraph.SetRightIndent(rightIndent);
}

void TFormatCommands::RulerMarkerMove(int x) {
    QWidget* viewport = ctx_.Editor()->viewport();
    const int at = MapX(ctx_.RulerControl(), QPoint(x, 0), *viewport);
    guide_->setGeometry(at, 0, 1, viewport->height());
    guide_->show();
    guide_->raise();
}

void TFormatCommands::RulerChange() {
    guide_->hide();
    const TRuler& ruler = ctx_.RulerControl();
    SetParagraphIndents(ruler.GetLeftIndent(), ruler.GetFirstIndent(), ruler.GetRightIndent());
}

void TFormatCommands::UpdateRulerOrigin() {
    TRuler& ruler = ctx_.RulerControl();
    TRichText2* editor = ctx_.Editor();
    if (!editor || ruler.window() != editor->window()) return;
    const QWidget& viewport = *editor->viewport();
    // The text lies inside the document's root frame: its margin, border
    // and padding on each side.
    const QTextFrameFormat frame = editor->document()->rootFrame()->frameFormat();
    const int scroll = editor->horizontalScrollBar() ? editor->horizontalScrollBar()->value() : 0;
    const int left = static_cast<int>(std::lround(frame.leftMargin() + frame.border() + frame.padding())) - scroll;
    const int right = viewport.width() -
                      static_cast<int>(std::lround(frame.rightMargin() + frame.border() + frame.padding())) - scroll;
    const int origin = MapX(viewport, QPoint(left, 0), ruler);
    const int end = MapX(viewport, QPoint(right, 0), ruler);
    const int rightMargin = ruler.width() - end;
    if (origin == ruler.Origin() && rightMargin == ruler.RightMargin) return;
    ruler.RightMargin = rightMargin;
    ruler.SetOrigin(origin);
}

void TFormatCommands::mnuPopScaleModePopup() {
    const int mode = ctx_.RulerControl().ScaleMode();
    mnuPopScalePixels->setChecked(mode == 0);
    mnuPopScaleInches->setChecked(mode == 1);
    mnuPopScaleCentimeters->setChecked(mode == 2);
}

void TFormatCommands::SetScaleMode(int mode) {
    ctx_.RulerControl().SetScaleMode(mode);
    ctx_.Options().ScaleMode = static_cast<std::uint8_t>(mode);
}

// --- the style box --------------------------------------------------------------------

void TFormatCommands::MatchStyleToSelection() {
    QComboBox* box = ctx_.StyleBox();
    TRichText2* editor = ctx_.Editor();
    if (!box || !editor || !ctx_.StyleCombo()) return;
    const TTextAttributes2& sel = editor->SelAttributes;
    const std::string name = sel.GetName();
    const int size = sel.GetSize();
    const unsigned style = sel.GetStyle();
    // A style holds a plain colour: the text's automatic colour is compared
    // as the colour it shows.
    const TColor color = ColorToRGB(sel.GetColor());
    const TStyles& styles = ctx_.Styles();
    for (int i = 1; i <= styles.Count() && i <= box->count(); ++i) {
        const TFontInfo& f = styles.GetStyle(i)->Font;
        if (f.Name == name && f.Size == size && f.Style == style &&
            (static_cast<TColor>(f.Color) & 0xFFFFFF) == color) {
            box->setCurrentIndex(i - 1);
            return;
        }
    }
    box->setCurrentIndex(-1);
}

void TFormatCommands::cboStylesChange() {
    QComboBox* box = ctx_.StyleBox();
    TRichText2* editor = ctx_.Editor();
    if (!box || !editor || box->currentIndex() < 0) return;
    const TStyle* style = ctx_.Styles().GetStyle(box->currentIndex() + 1);
    if (!style) return;
    TTextAttributes2& sel = editor->SelAttributes;
    sel.SetName(style->Font.Name);
    sel.SetSize(style->Font.Size);
    sel.SetStyle(style->Font.Style);
    sel.SetColor(static_cast<TColor>(style->Font.Color) & 0xFFFFFF);
    if (style->StyleType == 1) {
        ctx_.RulerControl().SetIndents(style->StartIndent, style->Offset, style->RightIndent);
        SetParagraphIndents(style->StartIndent, style->Offset, style->RightIndent);
        // The paragraph's line-spacing rule stays as it is.
        editor->Paragraph.SetAlignment(StyleAlignment(style->Alignment));
        editor->Paragraph.SetSpaceBefore(style->SpaceBefore);
        editor->Paragraph.SetSpaceAfter(style->SpaceAfter);
        editor->Paragraph.SetLineSpacing(style->LineSpacing);
        if (style->Bullet) editor->Paragraph.SetNumbering(TNumberingStyle::nsBullet);
    }
    ctx_.EditorSelectionChanged();
    editor->setFocus();
}

// --- the commands ---------------------------------------------------------------------

void TFormatCommands::actParagraphExecute() {
    TRichText2* editor = ctx_.Editor();
    TParaAttributes2& para = editor->Paragraph;
    TParagraphRequest request;
    request.ScaleMode = ctx_.RulerControl().ScaleMode();
    TParagraphFormat& before = request.Format;
    before.StartIndent = para.GetFirstIndent();
    before.Offset = para.GetLeftIndent();
    before.RightIndent = para.GetRightIndent();
    before.Alignment = static_cast<int>(para.GetAlignment());
    before.SpaceBefore = para.GetSpaceBefore();
    before.SpaceAfter = para.GetSpaceAfter();
    before.LineSpacingRule = para.GetLineSpacingRule();
    before.LineSpacing = para.GetLineSpacing();
    for (int i = 0; i < para.GetTabCount(); ++i) before.Tabs.push_back(para.GetTab(i));

    const std::optional<TParagraphFormat> after = ctx_.Dialogs().RunParagraph(request);
    if (!after) return;
    // Only what the dialog changed is set: the editor keeps its values finer
    // than a pixel, and what the dialog cannot show, where nothing changed.
    if (after->StartIndent != before.StartIndent || after->Offset != before.Offset ||
        after->RightIndent != before.RightIndent) {
        ctx_.RulerControl().SetIndents(after->StartIndent, after->Offset, after->RightIndent);
        SetParagraphIndents(after->StartIndent, after->Offset, after->RightIndent);
    }
    if (after->Alignment != before.Alignment) para.SetAlignment(static_cast<TAlignment>(after->Alignment));
    if (after->LineSpacingRule != before.LineSpacingRule || after->LineSpacing != before.LineSpacing) {
        para.SetLineSpacingRule(after->LineSpacingRule);
        para.SetLineSpacing(after->LineSpacing);
    }
    if (after->SpaceBefore != before.SpaceBefore) para.SetSpaceBefore(after->SpaceBefore);
    if (after->SpaceAfter != before.SpaceAfter) para.SetSpaceAfter(after->SpaceAfter);
    if (after->Tabs != before.Tabs) {
        // The count first: a stop set at or past the count is dropped.
        para.SetTabCount(static_cast<int>(after->Tabs.size()));
        for (std::size_t i = 0; i < after->Tabs.size(); ++i) para.SetTab(static_cast<int>(i), after->Tabs[i]);
    }
    editor->setFocus();
}

void TFormatCommands::actStylesExecute() {
    QComboBox* box = ctx_.StyleBox();
    TRichText2* editor = ctx_.Editor();
    const TFontInfo font = FontInfoOf(editor->SelAttributes);
    const int line = box && box->currentIndex() >= 0 ? box->currentIndex() : 0;

    const std::optional<int> apply = ctx_.Dialogs().RunStyles(ctx_.Styles(), line, font);
    // The dialog changed the list as it went, whichever button closed it.
    if (TStyleCombo* combo = ctx_.StyleCombo()) combo->FillList(ctx_.Styles());
    ctx_.EditorSelectionChanged();
    if (apply && box && *apply >= 0 && *apply < box->count()) {
        box->setCurrentIndex(*apply);
        cboStylesChange();
    }
}

}  // namespace qm

#include "mainwindow/charformatcommands.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <vector>

#include "editor/qtfont.h"
#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "mainwindow/charpane.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"
#include "widgets/colorcombo.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

// The sizes the font-size box offers.
constexpr int kFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// A colour item's picture: the colour in a black frame.
QIcon Swatch(std::uint32_t bgr) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(QRect(2, 3, 12, 10), QColorFromBgr(bgr));
    p.setPen(Qt::black);
    p.drawRect(QRect(1, 2, 13, 11));
    return QIcon(pixmap);
}

// Several changes of the editor's text as one undo step.
class EditBlock {
public:
    explicit EditBlock(QTextDocument* doc) : cursor_(doc) { cursor_.beginEditBlock(); }
    ~EditBlock() { cursor_.endEditBlock(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

private:
    QTextCursor cursor_;
};

char16_t AsciiCase(char16_t c, bool upper) {
    if (upper && c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
    if (!upper && c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
    return c;
}

}  // namespace

TFontSizeInput ReadFontSize(const QString& text) {
    TFontSizeInput in;
    bool ok = false;
    const int points = text.toInt(&ok);
    if (!ok) {
        in.Kind = MsgKind::Error;
        in.Refusal = QStringLiteral("'%1' is not a valid integer value.").arg(text);
    } else if (points < kMinFontPoints || points > kMaxFontPoints) {
        in.Refusal = QString::fromLatin1(kMsgFontSizeRange);
    } else {
        in.Points = points;
    }
    return in;
}

void TCharFormatCommands::CreateActions(ActionTable& table) {
    actBold = table.Add({"actBold", "&Bold", "Ctrl+B", "Bold|Makes the selection bold.", "format-text-bold",
                         [this] { actBoldExecute(); }, true});
    actItalic = table.Add({"actItalic", "&Italic", "Ctrl+I", "Italic|Makes the selection italic.", "format-text-italic",
                           [this] { actItalicExecute(); }, true});
    actUnderline = table.Add({"actUnderline", "&Underline", "Ctrl+U", "Underline|Underlines the selection.",
                              "format-text-underline", [this] { actUnderlineExecute(); }, true});
    actStrikeout = table.Add({"actStrikeout", "Stri&ke Out", "", "Strike Out|Strikes the selection out.",
                              "format-text-strikethrough", [this] { actStrikeoutExecute(); }, true});
    actAlignLeft = table.Add({"actAlignLeft", "Align &Left", "Ctrl+L", "Align Left|Aligns the paragraph left.",
                              "format-justify-left", [this] { actAlignLeftExecute(); }, true});
    actAlignCenter = table.Add({"actAlignCenter", "C&entre", "Ctrl+E", "Centre|Centres the paragraph.",
                                "format-justify-center", [this] { actAlignCenterExecute(); }, true});
    actAlignRight =
        table.Add({"actAlignRight", "Align &Right", "Ctrl+Shift+R", "Align Right|Aligns the paragraph right.",
                   "format-justify-right", [this] { actAlignRightExecute(); }, true});
    actBulletIndent = table.Add({"actBulletIndent", "Bulle&ts", "", "Bullets|Puts a bullet before the paragraph.",
                                 "list-bullets", [this] { actBulletIndentExecute(); }, true});
    // Numbered paragraphs are not made: the command stays off.
    actNumberingIndent =
        table.Add({"actNumberingIndent", "&Numbering", "", "Numbering|Numbers the paragraphs.", "list-numbers", [] {}});
    actNumberingIndent->setEnabled(false);
    actFont = table.Add({"actFont", "&Font...", "", "Font|Changes the font of the selection.",
                         "preferences-desktop-font", [this] { actFontExecute(); }});
    actSetTextColor =
        table.Add({"actSetTextColor", "Text &Colour", "", "Text Colour|Changes the colour of the selection.",
                   "text-colour", [this] { tbbColorsClick(); }});
    actConvertLower = table.Add({"actConvertLower", "Convert To Lo&wercase", "",
                                 "Convert To Lowercase|Turns the selection's capital letters into small ones.",
                                 "case-lower", [this] { actConvertLowerExecute(); }});
    actConvertUpper = table.Add({"actConvertUpper", "Convert To Upperc&ase", "",
                                 "Convert To Uppercase|Turns the selection's small letters into capitals.",
                                 "case-upper", [this] { actConvertUpperExecute(); }});

    // The colour menu: one checked item at a time, set as it opens.
    QMainWindow& window = ctx_.Window();
    ColorPopMenu = new QMenu(QStringLiteral("Text &Colour"), &window);
    ColorPopMenu->setObjectName(QStringLiteral("ColorPopMenu"));
    ColorPopMenu->setIcon(actSetTextColor->icon());
    colorGroup_ = new QActionGroup(ColorPopMenu);
    colorGroup_->setExclusive(true);
    auto addItem = [this](const QString& caption, const QString& statusTip, int tag, const QIcon& icon) {
        QAction* item = ColorPopMenu->addAction(icon, caption);
        item->setObjectName(QStringLiteral("mnuColor%1").arg(tag));
        item->setStatusTip(statusTip);
        item->setData(tag);
        item->setCheckable(true);
        colorGroup_->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, tag] { runCommand(ctx_.Ui(), [this, tag] { actSetTextColorExecute(tag); }); });
    };
    addItem(QStringLiteral("&Automatic"), QStringLiteral("Automatic color value."), kColorTagAutomatic, QIcon());
    addItem(QStringLiteral("&Custom..."), QStringLiteral("Displays the Color dialog."), kColorTagCustom, QIcon());
    ColorPopMenu->addSeparator();
    for (int i = 0; i < kNamedColorCount; ++i) {
        const TNamedColor& c = kNamedColors[static_cast<std::size_t>(i)];
        addItem(QString::fromLatin1(c.Name), QString::fromLatin1(c.Name), i, Swatch(c.Value));
    }
    connect(ColorPopMenu, &QMenu::aboutToShow, this, [this] { UpdateColorMenuChecks(); });

    tbbColors = new QToolButton(&window);
    tbbColors->setObjectName(QStringLiteral("tbbColors"));
    tbbColors->setDefaultAction(actSetTextColor);

    // The font boxes: a choice or Enter applies what they show.
    QComboBox* fonts = ctx_.FontNameBox();
    QComboBox* sizes = ctx_.FontSizeBox();
    for (QComboBox* box : {fonts, sizes}) {
        box->setEditable(true);
        // Enter applies the text; it never adds an item.
        box->setInsertPolicy(QComboBox::NoInsert);
        box->lineEdit()->installEventFilter(this);
    }
    fonts->setMinimumContentsLength(16);
    for (int size : kFontSizes) sizes->addItem(QString::number(size));
    sizes->setMinimumContentsLength(3);
    DigitsOnly(sizes->lineEdit());
    connect(fonts, &QComboBox::activated, this, [this] { runCommand(ctx_.Ui(), [this] { cboFontsClick(); }); });
    connect(sizes, &QComboBox::activated, this, [this] { runCommand(ctx_.Ui(), [this] { cboFontSizeClick(); }); });

    if (TSpecCharGrid* grid = ctx_.SpecCharGrid())
        connect(grid, &TSpecCharGrid::cellClicked, this,
                [this](int index) { runCommand(ctx_.Ui(), [this, index] { sgSpecCharsClick(index); }); });
}

bool TCharFormatCommands::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QComboBox* fonts = ctx_.FontNameBox();
            QComboBox* sizes = ctx_.FontSizeBox();
            if (fonts && watched == fonts->lineEdit()) {
                runCommand(ctx_.Ui(), [this] { cboFontsClick(); });
                return true;
            }
            if (sizes && watched == sizes->lineEdit()) {
                runCommand(ctx_.Ui(), [this] { cboFontSizeClick(); });
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, e);
}

void TCharFormatCommands::UpdateActions() {
    TRichText2* editor = ctx_.Editor();
    if (!editor) return;
    const bool selected = editor->GetSelLength() > 0;
    actConvertLower->setEnabled(selected);
    actConvertUpper->setEnabled(selected);
    const TFontStyles style = editor->SelAttributes.GetStyle();
    actBold->setChecked(style & fsBold);
    actItalic->setChecked(style & fsItalic);
    actUnderline->setChecked(style & fsUnderline);
    actStrikeout->setChecked(style & fsStrikeOut);
    actBulletIndent->setChecked(editor->Paragraph.GetNumbering() == TNumberingStyle::nsBullet);
    CheckAlignment(editor->Paragraph.GetAlignment());
    actNumberingIndent->setEnabled(false);
}

// --- the style bits, alignment and bullets ---------------------------------------------

void TCharFormatCommands::ToggleStyleBit(QAction* action, unsigned bit) {
    TRichText2* editor = ctx_.Editor();
    // The check shows the selection's first character: the new state is its
    // opposite, also where the check has not caught up with the caret yet.
    const bool on = !(editor->SelAttributes.GetStyle() & bit);
    action->setChecked(on);
    editor->SelAttributes.SetStyleBits(bit, on);
    ctx_.EditorSelectionChanged();
    editor->setFocus();
    ctx_.Actions().RequestUpdate();
}

void TCharFormatCommands::actBoldExecute() { ToggleStyleBit(actBold, fsBold); }
void TCharFormatCommands::actItalicExecute() { ToggleStyleBit(actItalic, fsItalic); }
void TCharFormatCommands::actUnderlineExecute() { ToggleStyleBit(actUnderline, fsUnderline); }
void TCharFormatCommands::actStrikeoutExecute() { ToggleStyleBit(actStrikeout, fsStrikeOut); }

void TCharFormatCommands::CheckAlignment(TAlignment alignment) {
    actAlignLeft->setChecked(alignment == TAlignment::taLeftJustify);
    actAlignCenter->setChecked(alignment == TAlignment::taCenter);
    actAlignRight->setChecked(alignment == TAlignment::taRightJustify);
}

void TCharFormatCommands::SetAlignment(int alignment) {
    TRichText2* editor = ctx_.Editor();
    const auto a = static_cast<TAlignment>(alignment);
    editor->Paragraph.SetAlignment(a);
    // A click on the checked command leaves it checked.
    CheckAlignment(a);
    editor->setFocus();
    ctx_.Actions().RequestUpdate();
}

void TCharFormatCommands::actAlignLeftExecute() { SetAlignment(static_cast<int>(TAlignment::taLeftJustify)); }
void TCharFormatCommands::actAlignCenterExecute() { SetAlignment(static_cast<int>(TAlignment::taCenter)); }
void TCharFormatCommands::actAlignRightExecute() { SetAlignment(static_cast<int>(TAlignment::taRightJustify)); }

void TCharFormatCommands::actBulletIndentExecute() {
    TRichText2* editor = ctx_.Editor();
    const bool on = editor->Paragraph.GetNumbering() != TNumberingStyle::nsBullet;
    actBulletIndent->setChecked(on);
    editor->Paragraph.SetNumbering(on ? TNumberingStyle::nsBullet : TNumberingStyle::nsNone);
    ctx_.EditorSelectionChanged();
    editor->setFocus();
    ctx_.Actions().RequestUpdate();
}

// --- the font dialog ----------------------------------------------------------------------

void TCharFormatCommands::actFontExecute() {
    TRichText2* editor = ctx_.Editor();
    TTextAttributes2& sel = editor->SelAttributes;
    const TFontInfo before = FontInfoOf(sel);
    const std::optional<FontChoice> choice =
        ctx_.Ui().ChooseFont(FontChoice{ToQFont(before), ColorFromBgr(before.Color)});
    if (!choice) return;
    const TFontInfo after = FromQFont(choice->font, choice->color);
    {
        // Only what the dialog changed is set, in one undo step: the rest of
        // each fragment stays, its colour (automatic or not) included.
        const EditBlock step(editor->document());
        if (after.Name != before.Name) sel.SetName(after.Name);
        if (after.Size != before.Size) sel.SetSize(after.Size);
        for (unsigned bit : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
            if ((after.Style ^ before.Style) & bit) sel.SetStyleBits(bit, after.Style & bit);
        if ((after.Color & 0xFFFFFF) != (before.Color & 0xFFFFFF))
            sel.SetColor(static_cast<TColor>(after.Color) & 0xFFFFFF);
    }
    ctx_.EditorSelectionChanged();
    editor->setFocus();
    ctx_.Actions().RequestUpdate();
}

// --- the text colour -----------------------------------------------------------------------

QAction* TCharFormatCommands::ColorItem(int tag) const {
    for (QAction* a : colorGroup_->actions())
        if (a->data().toInt() == tag) return a;
    return nullptr;
}

void TCharFormatCommands::UpdateColorMenuChecks() {
    for (QAction* a : colorGroup_->actions()) a->setChecked(false);
    const TColor c = ColorToRGB(ctx_.Editor()->SelAttributes.GetColor());
    int tag = kColorTagCustom;
    if (c == ColorToRGB(clWindowText))
        tag = kColorTagAutomatic;
    else if (const int index = NamedColorIndex(c); index >= 0)
        tag = index;
    if (QAction* item = ColorItem(tag)) item->setChecked(true);
}

void TCharFormatCommands::tbbColorsClick() {
    UpdateColorMenuChecks();
    if (tbbColors && tbbColors->isVisible()) {
        ColorPopMenu->popup(tbbColors->mapToGlobal(QPoint(0, tbbColors->height() + 1)));
        return;
    }
    // From the menu or a key: under the caret.
    TRichText2* editor = ctx_.Editor();
    ColorPopMenu->popup(editor->viewport()->mapToGlobal(editor->cursorRect().bottomLeft()));
}

void TCharFormatCommands::actSetTextColorExecute(int tag) {
    TRichText2* editor = ctx_.Editor();
    TTextAttributes2& sel = editor->SelAttributes;
    if (tag == kColorTagAutomatic) {
        sel.SetColor(clWindowText);
    } else if (tag == kColorTagCustom) {
        const std::optional<QColor> chosen = ctx_.Ui().ChooseColor(QColorFromBgr(ColorToRGB(sel.GetColor())));
        if (!chosen) return;
        sel.SetColor(BgrFromQColor(*chosen));
    } else if (tag >= 0 && tag < kNamedColorCount) {
        sel.SetColor(kNamedColors[static_cast<std::size_t>(tag)].Value);
    } else {
        return;
    }
    ctx_.EditorSelectionChanged();
    editor->setFocus();
}

// --- the font boxes ----------------------------------------------------------------------

void TCharFormatCommands::cboFontsClick() {
    TRichText2* editor = ctx_.Editor();
    const QString name = ctx_.FontNameBox()->currentText().trimmed();
    editor->setFocus();
    // An empty box names no font: the selection keeps its own.
    if (!name.isEmpty()) editor->SelAttributes.SetName(ToCp1252(name));
    ctx_.EditorSelectionChanged();
}

void TCharFormatCommands::cboFontSizeClick() {
    TRichText2* editor = ctx_.Editor();
    const TFontSizeInput in = ReadFontSize(ctx_.FontSizeBox()->currentText());
    if (!in.Points) {
        ctx_.Ui().Message(in.Kind, in.Refusal, MsgButtons::Ok);
        return;
    }
    editor->setFocus();
    editor->SelAttributes.SetSize(*in.Points);
    ctx_.EditorSelectionChanged();
}

void TCharFormatCommands::EditorSelectionChange() {
    TRichText2* editor = ctx_.Editor();
    if (!editor) return;
    const TTextAttributes2& sel = editor->SelAttributes;
    const QString name = FromCp1252(sel.GetName());
    if (QComboBox* fonts = ctx_.FontNameBox()) {
        const int at = fonts->findText(name, Qt::MatchFixedString);
        if (at >= 0)
            fonts->setCurrentIndex(at);
        else
            fonts->setEditText(name);
    }
    if (QComboBox* sizes = ctx_.FontSizeBox()) {
        const QString size = QString::number(sel.GetSize());
        const int at = sizes->findText(size, Qt::MatchExactly);
        if (at >= 0)
            sizes->setCurrentIndex(at);
        else
            sizes->setEditText(size);
    }
    if (TSpecCharGrid* grid = ctx_.SpecCharGrid()) grid->SetFontName(name);
}

// --- case conversion ----------------------------------------------------------------------

void TCharFormatCommands::ConvertCase(bool upper) {
    TRichText2* editor = ctx_.Editor();
    const QTextCursor selection = editor->textCursor();
    if (!selection.hasSelection()) return;
    // As numbers: a cursor would move with the edits.
    const int anchor = selection.anchor(), position = selection.position();
    const int start = selection.selectionStart(), end = selection.selectionEnd();
    struct Piece {
        int at;
        QString text;
        QTextCharFormat format;
    };
    // Gathered first: each piece goes back in the format of the fragment it
    // came from, and a rewrite can merge fragments under an iterator.
    std::vector<Piece> pieces;
    QTextDocument* doc = editor->document();
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int a = std::max(frag.position(), start);
            const int z = std::min(frag.position() + frag.length(), end);
            if (a >= z) continue;
            QString text = frag.text().mid(a - frag.position(), z - a);
            bool changed = false;
            for (QChar& ch : text) {
                const char16_t mapped = AsciiCase(ch.unicode(), upper);
                if (mapped != ch.unicode()) {
                    ch = QChar(mapped);
                    changed = true;
                }
            }
            if (changed) pieces.push_back({a, std::move(text), frag.charFormat()});
        }
    }
    if (pieces.empty()) return;
    {
        QTextCursor w(doc);
        w.beginEditBlock();
        // The same number of characters goes back: every place stays valid.
        for (const Piece& piece : pieces) {
            w.setPosition(piece.at);
            w.setPosition(piece.at + static_cast<int>(piece.text.size()), QTextCursor::KeepAnchor);
            w.insertText(piece.text, piece.format);
        }
        w.endEditBlock();
    }
    QTextCursor restored(doc);
    restored.setPosition(anchor);
    restored.setPosition(position, QTextCursor::KeepAnchor);
    editor->setTextCursor(restored);
}

void TCharFormatCommands::actConvertLowerExecute() { ConvertCase(false); }
void TCharFormatCommands::actConvertUpperExecute() { ConvertCase(true); }

void TCharFormatCommands::EditorButtonClick(int tag) {
    if (tag == 4) actConvertLower->trigger();
    if (tag == 5) actConvertUpper->trigger();
}

// --- the special characters ------------------------------------------------------------

void TCharFormatCommands::sgSpecCharsClick(int index) {
    if (index < 0 || index >= kSpecCharCount) return;
    TRichText2* editor = ctx_.Editor();
    editor->SetSelText(SpecCharInsertion(SpecialCharacters()[static_cast<std::size_t>(index)]));
    editor->setFocus();
}

}  // namespace qm

#include "editor/richtext2.h"

#include <QAbstractTextDocumentLayout>
#include <QAbstractUndoItem>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/qtrichdoc.h"
#include "platform/qtcp1252.h"
#include "util/cp1252.h"
#include "util/fileio.h"

namespace qm {
namespace {

constexpr int kTwipsPerPixel = 15;
const char* const kRtfMime = "text/rtf";
const char* const kRtfMimeWindows = "application/x-qt-windows-mime;value=\"Rich Text Format\"";

// Colours of the system palette for the system colour indexes that matter.
QColor SystemColor(TColor c) {
    QPalette pal = QApplication::palette();
    switch (c & 0xFF) {
        case 5: return pal.color(QPalette::Base);        // window
        case 8: return pal.color(QPalette::Text);        // window text
        case 13: return pal.color(QPalette::Highlight);  // highlight
        case 14: return pal.color(QPalette::HighlightedText);
        case 15: return pal.color(QPalette::Button);  // button face
        case 18: return pal.color(QPalette::ButtonText);
        case 1: return pal.color(QPalette::Window);  // background
        default: return pal.color(QPalette::WindowText);
    }
}

RtfColor ToRtfColor(TColor c) {
    TColor rgb = ColorToRGB(c);
    return {false, rgb & 0xFFFFFF};
}

TColor FromRtfColor(const RtfColor& c) { return c.automatic ? clWindowText : TColor(c.rgb); }

int ToPixels(int twips) { return twips / kTwipsPerPixel; }
int ToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// The control's text: line ends as the model has them.
std::u16string FromCp1252Text(std::string_view s) {
    std::u16string u = Cp1252ToUtf16(s);
    std::u16string out;
    out.reserve(u.size());
    for (std::size_t i = 0; i < u.size(); ++i) {
        char16_t c = u[i];
        if (c == u'\r') {
            if (i + 1 < u.size() && u[i + 1] == u'\n') ++i;
            out.push_back(u'\n');
        } else if (c != 0) {
            out.push_back(c);
        }
    }
    return out;
}

// Text to insert: CR LF, CR and LF are one paragraph break each, and NUL is
// no character of the control's text.
QString InsertableText(std::u16string_view text) {
    QString s = ToQtText(text);
    s.remove(QChar(0));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

}  // namespace

TColor ColorToRGB(TColor c) {
    if ((c & 0xFF000000) == 0x80000000) {
        QColor q = SystemColor(c);
        return TColor(q.red()) | (TColor(q.green()) << 8) | (TColor(q.blue()) << 16);
    }
    return c & 0xFFFFFF;
}

// ---------------------------------------------------------------- attributes

CharFormat TTextAttributes2::get() const {
    return kind_ == TAttributeType::atSelected ? owner_.selectionCharFormat() : owner_.defaultCharFormat();
}

void TTextAttributes2::change(const std::function<void(CharFormat&)>& f) {
    if (kind_ == TAttributeType::atSelected) {
        owner_.changeSelectionCharFormat(f);
    } else {
        CharFormat d = owner_.defaultCharFormat();
        f(d);
        owner_.setDefaultCharFormat(d);
    }
}

TColor TTextAttributes2::GetColor() const { return FromRtfColor(get().color); }
void TTextAttributes2::SetColor(TColor c) {
    RtfColor v = c == clWindowText ? RtfColor::Auto() : ToRtfColor(c);
    change([&](CharFormat& f) { f.color = v; });
}
std::string TTextAttributes2::GetName() const { return get().font.face; }
void TTextAttributes2::SetName(std::string_view name) {
    // The platform's face field holds 31 characters and a terminator.
    std::string face(name.substr(0, 31));
    change([&](CharFormat& f) { f.font.face = face; });
}
int TTextAttributes2::GetCharset() const { return get().font.charset; }
void TTextAttributes2::SetCharset(int charset) {
    change([&](CharFormat& f) { f.font.charset = std::clamp(charset, 0, 255); });
}
TFontStyles TTextAttributes2::GetStyle() const {
    CharFormat f = get();
    TFontStyles s = 0;
    if (f.bold) s |= fsBold;
    if (f.italic) s |= fsItalic;
    if (f.underline != Underline::None) s |= fsUnderline;
    if (f.strikeOut) s |= fsStrikeOut;
    return s;
}
void TTextAttributes2::SetStyle(TFontStyles s) {
    change([&](CharFormat& f) {
        f.bold = s & fsBold;
        f.italic = s & fsItalic;
        // Switching underline on keeps a double underline double.
        if (!(s & fsUnderline))
            f.underline = Underline::None;
        else if (f.underline == Underline::None)
            f.underline = Underline::Single;
        f.strikeOut = s & fsStrikeOut;
    });
}
void TTextAttributes2::SetStyleBits(TFontStyles bits, bool on) {
    change([&](CharFormat& f) {
        if (bits & fsBold) f.bold = on;
        if (bits & fsItalic) f.italic = on;
        if (bits & fsUnderline) {
            if (!on)
                f.underline = Underline::None;
            else if (f.underline == Underline::None)
                f.underline = Underline::Single;
        }
        if (bits & fsStrikeOut) f.strikeOut = on;
    });
}
int TTextAttributes2::GetSize() const { return get().sizeHalfPoints / 2; }
void TTextAttributes2::SetSize(int points) {
    change([&](CharFormat& f) { f.sizeHalfPoints = std::clamp(points, 1, 1638) * 2; });
}
TFontPitch TTextAttributes2::GetPitch() const {
    switch (get().font.pitch) {
        case FontPitch::Fixed: return TFontPitch::fpFixed;
        case FontPitch::Variable: return TFontPitch::fpVariable;
        case FontPitch::Default: break;
    }
    return TFontPitch::fpDefault;
}
void TTextAttributes2::SetPitch(TFontPitch pitch) {
    FontPitch p = pitch == TFontPitch::fpFixed      ? FontPitch::Fixed
                  : pitch == TFontPitch::fpVariable ? FontPitch::Variable
                                                    : FontPitch::Default;
    change([&](CharFormat& f) { f.font.pitch = p; });
}
void TTextAttributes2::SetBackColor(TColor c) {
    // The platform keeps a character's back colour as its highlight.
    RtfColor v = ToRtfColor(c);
    change([&](CharFormat& f) { f.highlight = v; });
}

void TTextAttributes2::Assign(const TTextAttributes2& source) {
    TFontSpec spec;
    source.AssignTo(spec);
    Assign(spec);
}

void TTextAttributes2::Assign(const TFontSpec& font) {
    SetColor(font.Color);
    SetName(font.Name);
    SetCharset(font.Charset);
    SetStyle(font.Style);
    SetSize(font.Size);
    SetPitch(font.Pitch);
}

void TTextAttributes2::AssignTo(TFontSpec& font) const {
    font.Color = GetColor();
    font.Name = GetName();
    font.Charset = GetCharset();
    font.Style = GetStyle();
    font.Size = GetSize();
    font.Pitch = GetPitch();
}

ParaFormat TParaAttributes2::get() const { return owner_.selectionParaFormat(); }
void TParaAttributes2::change(const std::function<void(ParaFormat&)>& f) { owner_.changeSelectionParaFormat(f); }

TAlignment TParaAttributes2::GetAlignment() const {
    switch (get().alignment) {
        case ParaAlignment::Right: return TAlignment::taRightJustify;
        case ParaAlignment::Center: return TAlignment::taCenter;
        case ParaAlignment::Justify: return TAlignment::taJustify;
        case ParaAlignment::Left: break;
    }
    return TAlignment::taLeftJustify;
}
void TParaAttributes2::SetAlignment(TAlignment a) {
    // A right-to-left control swaps left and right.
    if (owner_.layoutDirection() == Qt::RightToLeft) {
        if (a == TAlignment::taLeftJustify)
            a = TAlignment::taRightJustify;
        else if (a == TAlignment::taRightJustify)
            a = TAlignment::taLeftJustify;
    }
    ParaAlignment v = a == TAlignment::taRightJustify ? ParaAlignment::Right
                      : a == TAlignment::taCenter     ? ParaAlignment::Center
                      : a == TAlignment::taJustify    ? ParaAlignment::Justify
                                                      : ParaAlignment::Left;
    change([&](ParaFormat& p) { p.alignment = v; });
}
// The model keeps RTF's indents: li for the other lines, fi for the first
// line relative to li. The control's first indent is li + fi, its left indent
// (the offset of the other lines from the first) is -fi.
int TParaAttributes2::GetFirstIndent() const {
    ParaFormat p = get();
    return ToPixels(p.leftIndent + p.firstIndent);
}
void TParaAttributes2::SetFirstIndent(int px) {
    change([&](ParaFormat& p) { p.leftIndent = ToTwips(px) - p.firstIndent; });
}
int TParaAttributes2::GetLeftIndent() const { return ToPixels(-get().firstIndent); }
void TParaAttributes2::SetLeftIndent(int px) {
    change([&](ParaFormat& p) {
        int start = p.leftIndent + p.firstIndent;
        p.firstIndent = -ToTwips(px);
        p.leftIndent = start - p.firstIndent;
    });
}
int TParaAttributes2::GetRightIndent() const { return ToPixels(get().rightIndent); }
void TParaAttributes2::SetRightIndent(int px) {
    change([&](ParaFormat& p) { p.rightIndent = ToTwips(px); });
}
TNumberingStyle TParaAttributes2::GetNumbering() const {
    return get().numbering == ParaNumbering::Bullet ? TNumberingStyle::nsBullet : TNumberingStyle::nsNone;
}
void TParaAttributes2::SetNumbering(TNumberingStyle n) {
    if (n == TNumberingStyle::nsNone) {
        SetFirstIndent(0);
    } else if (GetFirstIndent() < 10) {
        SetFirstIndent(10);
    }
    ParaNumbering v = n == TNumberingStyle::nsBullet ? ParaNumbering::Bullet : ParaNumbering::None;
    change([&](ParaFormat& p) { p.numbering = v; });
}
int TParaAttributes2::GetTab(int i) const {
    ParaFormat p = get();
    if (i < 0 || std::size_t(i) >= p.tabs.size()) return 0;
    return ToPixels(p.tabs[std::size_t(i)]);
}
void TParaAttributes2::SetTab(int i, int px) {
    if (i < 0 || std::size_t(i) >= kMaxTabStops) return;
    change([&](ParaFormat& p) {
        // As the platform does: the count is raised to i, so a stop written
        // at the count itself lies beyond it.
        if (p.tabs.size() < std::size_t(i)) p.tabs.resize(std::size_t(i), 0);
        if (std::size_t(i) < p.tabs.size()) p.tabs[std::size_t(i)] = ToTwips(px);
    });
}
int TParaAttributes2::GetTabCount() const { return int(get().tabs.size()); }
void TParaAttributes2::SetTabCount(int n) {
    std::size_t count = std::size_t(std::clamp(n, 0, int(kMaxTabStops)));
    change([&](ParaFormat& p) { p.tabs.resize(count, 0); });
}
int TParaAttributes2::GetSpaceBefore() const { return ToPixels(get().spaceBefore); }
void TParaAttributes2::SetSpaceBefore(int px) {
    change([&](ParaFormat& p) { p.spaceBefore = ToTwips(px); });
}
int TParaAttributes2::GetSpaceAfter() const { return ToPixels(get().spaceAfter); }
void TParaAttributes2::SetSpaceAfter(int px) {
    change([&](ParaFormat& p) { p.spaceAfter = ToTwips(px); });
}

namespace {
// The platform's spacing value for a rule: twips for at-least and exactly,
// twentieths of a line for multiple (the model keeps 240 per line).
int PlatformSpacing(const ParaFormat& p) {
    switch (p.lineSpacingRule) {
        case LineSpacingRule::AtLeast:
        case LineSpacingRule::Exactly: return p.lineSpacing;
        case LineSpacingRule::Multiple: return p.lineSpacing / 12;
        default: return 0;
    }
}
void SetPlatformSpacing(ParaFormat& p, int rule, int dy) {
    p.lineSpacingRule = LineSpacingRule(std::clamp(rule, 0, 5));
    switch (p.lineSpacingRule) {
        case LineSpacingRule::AtLeast:
        case LineSpacingRule::Exactly: p.lineSpacing = std::max(dy, 0); break;
        case LineSpacingRule::Multiple: p.lineSpacing = std::max(dy, 0) * 12; break;
        default: p.lineSpacing = 0; break;
    }
}
}  // namespace

int TParaAttributes2::GetLineSpacing() const { return ToPixels(PlatformSpacing(get())); }
void TParaAttributes2::SetLineSpacing(int px) {
    change([&](ParaFormat& p) { SetPlatformSpacing(p, int(p.lineSpacingRule), ToTwips(px)); });
}
int TParaAttributes2::GetLineSpacingRule() const { return int(get().lineSpacingRule); }
void TParaAttributes2::SetLineSpacingRule(int rule) {
    change([&](ParaFormat& p) { SetPlatformSpacing(p, rule, PlatformSpacing(p)); });
}

void TParaAttributes2::Assign(const TParaAttributes2& source) {
    ParaFormat s = source.get();
    // The numbering goes first: it resets the first indent, which must end
    // as the source's. Only the source's own tab stops are copied.
    change([&](ParaFormat& p) {
        p.numbering = s.numbering;
        p.alignment = s.alignment;
        p.firstIndent = s.firstIndent;
        p.leftIndent = s.leftIndent;
        p.rightIndent = s.rightIndent;
        p.tabs = s.tabs;
    });
}

// ---------------------------------------------------------------- lines

int TRichEditStrings::Count() const {
    const QTextDocument* d = owner_.document();
    int n = d->blockCount();
    if (d->lastBlock().length() <= 1) --n;  // an empty last line does not count
    return std::max(n, 0);
}

std::string TRichEditStrings::Get(int i) const {
    QTextBlock b = owner_.document()->findBlockByNumber(i);
    if (!b.isValid()) return {};
    return Utf16ToCp1252(FromQtText(b.text()));
}

void TRichEditStrings::Put(int i, std::string_view s) {
    QTextBlock b = owner_.document()->findBlockByNumber(i);
    if (!b.isValid()) return;
    owner_.SetSelStart(b.position());
    owner_.SetSelLength(b.length() - 1);
    owner_.SetSelText(s);
}

void TRichEditStrings::Insert(int i, std::string_view s) {
    if (i < 0) return;
    QTextDocument* d = owner_.document();
    QTextBlock b = d->findBlockByNumber(i);
    if (b.isValid()) {
        owner_.SetSelStart(b.position());
        owner_.SetSelText(std::string(s) + "\r\n");
        return;
    }
    QTextBlock prev = d->findBlockByNumber(i - 1);
    if (!prev.isValid() || prev.length() <= 1) return;
    owner_.SetSelStart(prev.position() + prev.length() - 1);
    owner_.SetSelText("\r\n" + std::string(s));
}

void TRichEditStrings::Delete(int i) {
    QTextDocument* d = owner_.document();
    QTextBlock b = d->findBlockByNumber(i);
    if (!b.isValid()) return;
    QTextCursor c(d);
    c.setPosition(b.position());
    QTextBlock next = b.next();
    if (next.isValid()) {
        c.setPosition(next.position(), QTextCursor::KeepAnchor);
    } else {
        // The last line: its text and the break before it.
        if (b.position() > 0) c.setPosition(b.position() - 1);
        c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
}

void TRichEditStrings::Clear() { owner_.Clear(); }

std::string TRichEditStrings::GetTextStr() const {
    std::string s;
    int n = Count();
    for (int i = 0; i < n; ++i) {
        s += Get(i);
        s += "\r\n";
    }
    return s;
}

void TRichEditStrings::SetTextStr(std::string_view text) {
    owner_.setChangeNotify(false);
    owner_.SetDocument(ReadPlainText(text, owner_.defaultCharFormat()));
    owner_.setChangeNotify(true);
}

void TRichEditStrings::AddStrings(const StringList& lines) {
    owner_.setSelectionNotify(false);
    BeginUpdate();
    for (const std::string& s : lines) Add(s);
    EndUpdate();
    owner_.setSelectionNotify(true);
}

void TRichEditStrings::BeginUpdate() {
    if (updateCount_++ == 0 && owner_.isVisible()) owner_.setUpdatesEnabled(false);
}

void TRichEditStrings::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    owner_.setUpdatesEnabled(true);
    owner_.viewport()->update();
    if (owner_.OnChange) owner_.OnChange();
}

void TRichEditStrings::LoadFromStream(std::string_view data) {
    const CharFormat& def = owner_.defaultCharFormat();
    RichDocument doc;
    if (plainText_) {
        doc = ReadPlainText(data, def);
    } else {
        try {
            doc = LoadRtfOrText(data, def);
        } catch (const ERtfError&) {
            // What cannot be read as RTF is shown as the text it is.
            doc = ReadPlainText(data, def);
        }
    }
    owner_.SetDocument(doc);
}

std::string TRichEditStrings::SaveToStream() const {
    RichDocument doc = owner_.GetDocument();
    return plainText_ ? WritePlainText(doc) : WriteRtf(doc);
}

void TRichEditStrings::LoadFromFile(std::string_view fileName) {
    LoadFromStream(ReadWholeFile(fileName, kMaxRtfBytes));
    owner_.DoSetMaxLength(2147483632);
}

void TRichEditStrings::SaveToFile(std::string_view fileName) const { WriteFileAtomic(fileName, SaveToStream()); }

// ---------------------------------------------------------------- control

TCustomRichText2::TCustomRichText2(QWidget* parent)
    : QTextEdit(parent),
      SelAttributes(*this, TAttributeType::atSelected),
      DefAttributes(*this, TAttributeType::atDefaultText),
      Paragraph(*this),
      Lines(*this) {
    setFocusPolicy(Qt::StrongFocus);
    resize(185, 89);
    setLineWrapMode(QTextEdit::WidgetWidth);
    QFont f = font();
    defaultFormat_.font.face = ToCp1252(f.family());
    defaultFormat_.sizeHalfPoints = 20;
    document()->setDocumentMargin(2);
    Clear();
    applySelectionPalette();
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (changeNotify_ && OnChange) OnChange();
        // A held layout has no size yet: it is asked for on release.
        if (!layoutHeld_) requestContentSize();
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { notifySelection(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { notifySelection(); });
}

TCustomRichText2::~TCustomRichText2() = default;

void TCustomRichText2::requestContentSize() {
    if (!OnResizeRequest) return;
    // The size the content asks for, also while the control is hidden (Qt
    // lays a hidden editor out only when it is shown).
    if (!isVisible()) document()->setTextWidth(viewport()->width());
    int h = int(std::ceil(document()->size().height()));
    if (h != lastRequestedHeight_) {
        lastRequestedHeight_ = h;
        RequestSize(QRect(0, 0, width(), h));
    }
}

void TCustomRichText2::HoldLayout() {
    if (layoutHeld_) return;
    layoutHeld_ = true;
    heldPageSize_ = document()->pageSize();
    document()->setPageSize(QSizeF(0, 0));
}

void TCustomRichText2::restorePage() {
    layoutHeld_ = false;
    // A resize while held gave the document the new width already.
    if (document()->pageSize().isNull()) document()->setPageSize(heldPageSize_);
    requestContentSize();
}

void TCustomRichText2::ReleaseLayout() {
    if (!layoutHeld_) return;
    restorePage();
    // The caret moves made while held could not scroll.
    ensureCursorVisible();
}

void TCustomRichText2::notifySelection() {
    QTextCursor c = textCursor();
    int s = c.selectionStart(), e = c.selectionEnd();
    if (s == lastSelStart_ && e == lastSelEnd_) return;
    lastSelStart_ = s;
    lastSelEnd_ = e;
    if (selectionNotify_ && OnSelectionChange) OnSelectionChange();
}

int TCustomRichText2::GetSelStart() const { return textCursor().selectionStart(); }
int TCustomRichText2::GetSelLength() const {
    QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}
std::string TCustomRichText2::GetSelText() const { return Utf16ToCp1252(FromQtText(textCursor().selectedText())); }
int TCustomRichText2::GetTextLen() const { return document()->characterCount() - 1; }

void TCustomRichText2::SetSelStart(int pos) {
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(pos, 0, GetTextLen()));
    setTextCursor(c);
}

void TCustomRichText2::SetSelLength(int length) {
    QTextCursor c = textCursor();
    int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + length, 0, GetTextLen()), QTextCursor::KeepAnchor);
    setTextCursor(c);
    ensureCursorVisible();
}

QTextCharFormat TCustomRichText2::replacedFormat(const QTextCursor& c) const {
    if (!c.hasSelection()) return c.charFormat();
    // The format of the first replaced character, as the platform does.
    const QTextBlock b = document()->findBlock(c.selectionStart());
    if (c.selectionStart() == b.position() + b.length() - 1) return b.charFormat();  // a paragraph mark
    QTextCursor probe(document());
    probe.setPosition(c.selectionStart());
    probe.setPosition(c.selectionStart() + 1, QTextCursor::KeepAnchor);
    return probe.charFormat();
}

void TCustomRichText2::SetSelText(std::string_view text) { SetSelText(std::u16string_view(FromCp1252Text(text))); }

void TCustomRichText2::SetSelText(std::u16string_view text) {
    QTextCursor c = textCursor();
    const QTextCharFormat fmt = replacedFormat(c);
    c.beginEditBlock();
    c.insertText(InsertableText(text), fmt);
    c.endEditBlock();
    setTextCursor(c);
}

void TCustomRichText2::ApplyEdits(const std::vector<TTextEdit>& edits) {
    if (edits.empty()) return;
    const int len = GetTextLen();
    QTextCursor c(document());
    c.beginEditBlock();
    // From the last to the first, so the offsets before each edit hold.
    for (auto it = edits.rbegin(); it != edits.rend(); ++it) {
        const int from = std::clamp(it->Offset, 0, len);
        const int to = std::clamp(it->Offset + std::max(it->Length, 0), from, len);
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        const QTextCharFormat fmt = replacedFormat(c);
        c.insertText(InsertableText(it->Text), fmt);
    }
    c.endEditBlock();
}

std::string TCustomRichText2::GetTextRange(int start, int length) const {
    int len = GetTextLen();
    int a = std::clamp(start, 0, len);
    int b = length < 0 ? len : std::clamp(start + length, a, len);
    QTextCursor c(document());
    c.setPosition(a);
    c.setPosition(b, QTextCursor::KeepAnchor);
    return Utf16ToCp1252(FromQtText(c.selectedText()));
}

int TCustomRichText2::FindText(std::string_view text, int start, int length, int options) const {
    return FindText(std::u16string_view(Cp1252ToUtf16(text)), start, length, options);
}

int TCustomRichText2::FindText(std::u16string_view text, int start, int length, int options) const {
    return FindInText(GetCharText(), text, start, length, options);
}

std::u16string TCustomRichText2::GetCharText() const { return FromQtText(document()->toRawText()); }

std::string TCustomRichText2::GetRtfText() const {
    // The platform's stream ends with a terminator that is dropped here; the
    // text ends with the root group's "}".
    return Lines.SaveToStream();
}

void TCustomRichText2::SetRtfText(std::string_view text) { Lines.LoadFromStream(text); }

namespace {

// Puts the first paragraph's mark format back on undo and forward on redo:
// the document records no change to that one format.
class FirstMarkUndo : public QAbstractUndoItem {
public:
    FirstMarkUndo(QTextDocument* doc, QTextCharFormat before, QTextCharFormat after)
        : doc_(doc), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { QTextCursor(doc_).setBlockCharFormat(before_); }
    void redo() override { QTextCursor(doc_).setBlockCharFormat(after_); }

private:
    QTextDocument* doc_;
    QTextCharFormat before_, after_;
};

}  // namespace

void TCustomRichText2::ReplaceRtfText(std::string_view text) {
    const CharFormat& def = defaultCharFormat();
    RichDocument doc;
    try {
        doc = LoadRtfOrText(text, def);
    } catch (const ERtfError&) {
        doc = ReadPlainText(text, def);
    }
    QTextDocument* d = document();
    const QTextCharFormat markBefore = d->firstBlock().charFormat();
    QTextCursor c(d);
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    InsertQtDocument(c, doc);
    // The first paragraph's mark format has no undo record of its own.
    d->appendUndoItem(new FirstMarkUndo(d, markBefore, d->firstBlock().charFormat()));
    c.endEditBlock();
    setTextCursor(QTextCursor(document()));
}

void TCustomRichText2::applyTextMargins() {
    if (!textMargins_) return;
    QTextFrame* root = document()->rootFrame();
    QTextFrameFormat f = root->frameFormat();
    f.setLeftMargin(textMargins_->left());
    f.setTopMargin(textMargins_->top());
    f.setRightMargin(textMargins_->right());
    f.setBottomMargin(textMargins_->bottom());
    root->setFrameFormat(f);
}

void TCustomRichText2::SetTextMargins(const QMargins& margins) {
    textMargins_ = margins;
    QTextDocument* d = document();
    const bool notify = changeNotify_;
    changeNotify_ = false;
    d->setUndoRedoEnabled(false);
    applyTextMargins();
    d->setUndoRedoEnabled(undoEnabled_);
    changeNotify_ = notify;
}

void TCustomRichText2::SetLeftViewportMargin(int px) {
    QMargins m = viewportMargins();
    m.setLeft(px);
    setViewportMargins(m);
}

RichDocument TCustomRichText2::GetDocument() const { return GetQtDocument(*document()); }

void TCustomRichText2::SetDocument(const RichDocument& doc) {
    QTextDocument* d = document();
    // Laid out once, with its margins: emptying the document and filling it
    // reported sizes that showed and hid the scroll bar, each time laying the
    // text out for the new width, and the margins laid it all out again.
    const bool held = layoutHeld_;
    HoldLayout();
    d->setUndoRedoEnabled(false);
    SetQtDocument(*d, doc);
    // A cleared document has a new root frame.
    applyTextMargins();
    d->setUndoRedoEnabled(undoEnabled_);
    d->setModified(false);
    if (!held) restorePage();
    QTextCursor c(d);
    setTextCursor(c);
}

void TCustomRichText2::Undo() { undo(); }
void TCustomRichText2::Redo() { redo(); }
bool TCustomRichText2::CanUndo() const { return document()->isUndoAvailable(); }
bool TCustomRichText2::CanRedo() const { return document()->isRedoAvailable(); }
void TCustomRichText2::ClearUndo() { document()->clearUndoRedoStacks(); }

// The line where the selection begins, as the platform's line-from-char with -1.
int TCustomRichText2::GetCurrentLine() const {
    return document()->findBlock(textCursor().selectionStart()).blockNumber();
}

void TCustomRichText2::GotoLine(int line) {
    QTextBlock b = document()->findBlockByNumber(std::max(line, 0));
    if (!b.isValid()) b = document()->lastBlock();
    SetSelStart(b.position());
}

TCaretPos TCustomRichText2::GetCaretPos() const {
    int end = textCursor().selectionEnd();
    QTextBlock b = document()->findBlock(end);
    return {end - b.position(), b.blockNumber()};
}

void TCustomRichText2::Clear() {
    RichDocument empty;
    empty.paragraphs[0].markFormat = defaultFormat_;
    SetDocument(empty);
    setCurrentCharFormat(ToQtFormat(defaultFormat_));
    SetModified(false);
}

int TCustomRichText2::GetSelTextBuf(char* buffer, int bufSize) const {
    if (!buffer || bufSize <= 0) return 0;
    std::string s = GetSelText();
    int n = std::min(int(s.size()), bufSize - 1);
    std::memcpy(buffer, s.data(), std::size_t(n));
    buffer[n] = '\0';
    return n;
}

void TCustomRichText2::DoSetMaxLength(int value) { maxLength_ = value; }

bool TCustomRichText2::roomFor(int count) const {
    if (maxLength_ <= 0) return true;
    long long after = (long long)GetTextLen() - GetSelLength() + count;
    return after <= maxLength_;
}

void TCustomRichText2::keyPressEvent(QKeyEvent* e) {
    // The maximum length limits what the user types and pastes; text set by
    // the program is not limited.
    const QString t = e->text();
    bool typing = !t.isEmpty() && (t.at(0).isPrint() || t.at(0) == QLatin1Char('\r') || t.at(0) == QLatin1Char('\t'));
    if (typing && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !roomFor(int(t.size()))) {
        QApplication::beep();
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}

void TCustomRichText2::Print(std::string_view title) {
    QPrinter printer(QPrinter::HighResolution);
    PrintTo(printer, title);
}

bool TCustomRichText2::PrintTo(QPrinter& printer, std::string_view title) {
    printer.setDocName(FromCp1252(title));
    if (!PageRect.isEmpty()) {
        // Screen pixels to points for the page margins.
        const double toPt = 72.0 / std::max(logicalDpiX(), 1);
        QRectF full = printer.pageLayout().fullRectPoints();
        QMarginsF m(PageRect.left() * toPt, PageRect.top() * toPt,
                    std::max(0.0, full.width() - PageRect.right() * toPt),
                    std::max(0.0, full.height() - PageRect.bottom() * toPt));
        printer.setFullPage(true);
        printer.setPageMargins(m, QPageLayout::Point);
    }
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const bool printed = PrintPages(painter, printer);
    return painter.end() && printed;
}

namespace {

// Where a page's text goes, in the painter's device pixels: inside the
// printer's margins, or 2 cm in from the paper's edge when it has none.
QRectF PrintBody(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    QRectF body = printer.fullPage() ? QRectF(layout.fullRectPixels(dpi).marginsRemoved(layout.marginsPixels(dpi)))
                                     : QRectF(0, 0, printer.width(), printer.height());
    if (layout.margins().isNull()) {
        const double edge = 2.0 / 2.54 * dpi;
        body = body.marginsRemoved(QMarginsF(edge, edge, edge, edge));
    }
    return body;
}

}  // namespace

bool TCustomRichText2::PrintPages(QPainter& painter, QPrinter& printer) const {
    const QRectF body = PrintBody(printer);
    if (body.width() < 1 || body.height() < 1) return false;
    // A copy laid out on the printer's pages; the editor's own margins are
    // the screen's.
    std::unique_ptr<QTextDocument> doc(document()->clone());
    QTextFrameFormat root = doc->rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    doc->rootFrame()->setFrameFormat(root);
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    layout->setPaintDevice(painter.device());
    doc->setPageSize(body.size());
    const int pages = std::max(doc->pageCount(), 1);
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage()) return false;
        painter.save();
        const QRectF view(0, i * body.height(), body.width(), body.height());
        painter.translate(body.left(), body.top() - view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        // Paper is white whatever the screen's colours are.
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
    }
    return true;
}

void TCustomRichText2::RequestSize(const QRect& rect) {
    if (OnResizeRequest) OnResizeRequest(rect);
}

bool TCustomRichText2::GetModified() const { return document()->isModified(); }
void TCustomRichText2::SetModified(bool on) { document()->setModified(on); }

void TCustomRichText2::SetHideScrollBars(bool on) {
    hideScrollBars_ = on;
    // Shown scroll bars stay even when nothing scrolls, disabled.
    Qt::ScrollBarPolicy p = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    setVerticalScrollBarPolicy(p);
}

void TCustomRichText2::SetHideSelection(bool on) {
    hideSelection_ = on;
    applySelectionPalette();
}

void TCustomRichText2::applySelectionPalette() {
    QPalette pal = palette();
    if (hideSelection_) {
        // Not drawn at all, so what lies under it (text backgrounds, search
        // marks) still shows.
        pal.setColor(QPalette::Inactive, QPalette::Highlight, QColor(Qt::transparent));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::Text));
    } else {
        pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     pal.color(QPalette::Active, QPalette::HighlightedText));
    }
    setPalette(pal);
}

void TCustomRichText2::changeEvent(QEvent* e) {
    QTextEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        // A font given to the control becomes its default character format.
        QFont f = font();
        defaultFormat_.font.face = ToCp1252(f.family());
        if (f.pointSizeF() > 0) defaultFormat_.sizeHalfPoints = int(std::lround(f.pointSizeF() * 2));
        defaultFormat_.bold = f.bold();
        defaultFormat_.italic = f.italic();
        defaultFormat_.strikeOut = f.strikeOut();
        defaultFormat_.underline = f.underline() ? Underline::Single : Underline::None;
    }
}

void TCustomRichText2::setDefaultCharFormat(const CharFormat& f) {
    defaultFormat_ = f;
    // An empty control shows and types in the default format.
    if (GetTextLen() == 0) {
        QTextCursor c(document());
        c.setBlockCharFormat(ToQtFormat(f));
        setCurrentCharFormat(ToQtFormat(f));
    }
}

CharFormat TCustomRichText2::selectionCharFormat() const {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) return FromQtFormat(c.charFormat());
    // A paragraph mark has its paragraph's format, as SetSelText takes it.
    QTextBlock b = document()->findBlock(c.selectionStart());
    if (c.selectionStart() == b.position() + b.length() - 1) return FromQtFormat(b.charFormat());
    QTextCursor probe(document());
    probe.setPosition(c.selectionStart());
    probe.setPosition(c.selectionStart() + 1, QTextCursor::KeepAnchor);
    return FromQtFormat(probe.charFormat());
}

void TCustomRichText2::changeSelectionCharFormat(const std::function<void(CharFormat&)>& f) {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        CharFormat cf = FromQtFormat(c.charFormat());
        f(cf);
        setCurrentCharFormat(ToQtFormat(cf));
        return;
    }
    const int start = c.selectionStart(), end = c.selectionEnd();
    QTextCursor w(document());
    w.beginEditBlock();
    // Fragment by fragment, so that what the change does not touch stays.
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            QTextFragment frag = it.fragment();
            int a = std::max(frag.position(), start);
            int z = std::min(frag.position() + frag.length(), end);
            if (a >= z) continue;
            CharFormat cf = FromQtFormat(frag.charFormat());
            f(cf);
            w.setPosition(a);
            w.setPosition(z, QTextCursor::KeepAnchor);
            w.setCharFormat(ToQtFormat(cf));
        }
        // A paragraph mark inside the selection changes with it.
        int mark = b.position() + b.length() - 1;
        if (mark >= start && mark < end) {
            CharFormat cf = FromQtFormat(b.charFormat());
            f(cf);
            QTextCursor m(b);
            m.setBlockCharFormat(ToQtFormat(cf));
        }
    }
    w.endEditBlock();
}

ParaFormat TCustomRichText2::selectionParaFormat() const {
    QTextBlock b = document()->findBlock(textCursor().selectionStart());
    ParaFormat p = FromQtFormat(b.blockFormat());
    if (b.textList() && !b.blockFormat().hasProperty(textprop::Numbering)) p.numbering = ParaNumbering::Bullet;
    return p;
}

void TCustomRichText2::changeSelectionParaFormat(const std::function<void(ParaFormat&)>& f) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    QTextCursor w(document());
    w.beginEditBlock();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && (b.position() <= end); b = b.next()) {
        ParaFormat p = FromQtFormat(b.blockFormat());
        f(p);
        QTextCursor bc(b);
        QTextList* list = b.textList();
        QTextBlockFormat bf = ToQtFormat(p);
        if (list && p.numbering == ParaNumbering::Bullet) bf.setObjectIndex(b.blockFormat().objectIndex());
        if (list && p.numbering != ParaNumbering::Bullet) list->remove(b);
        bc.setBlockFormat(bf);
        if (!list && p.numbering == ParaNumbering::Bullet) {
            QTextBlock prev = b.previous();
            if (prev.isValid() && prev.textList()) {
                prev.textList()->add(b);
            } else {
                QTextListFormat lf;
                lf.setStyle(QTextListFormat::ListDisc);
                lf.setIndent(0);
                bc.createList(lf);
            }
        }
        if (b.position() + b.length() > end) break;
    }
    w.endEditBlock();
}

void TCustomRichText2::paintEvent(QPaintEvent* e) {
    // What is shown must be laid out (the holder should have released it).
    ReleaseLayout();
    QTextEdit::paintEvent(e);
    QPainter p(viewport());
    paintDoubleUnderlines(p, e->rect());
}

// Qt draws one line under double-underlined text; the second is drawn here.
void TCustomRichText2::paintDoubleUnderlines(QPainter& p, const QRect& clip) {
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    // From the first block in view, not the document's start.
    QTextBlock first = cursorForPosition(QPoint(0, clip.top())).block();
    for (QTextBlock b = first.isValid() ? first : document()->begin(); b.isValid(); b = b.next()) {
        QRectF br = layout->blockBoundingRect(b).translated(offset);
        if (br.bottom() < clip.top()) continue;
        if (br.top() > clip.bottom()) break;
        QTextLayout* tl = b.layout();
        if (!tl) continue;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            QTextFragment frag = it.fragment();
            QTextCharFormat cf = frag.charFormat();
            if (cf.intProperty(textprop::Underline) != int(Underline::Double)) continue;
            int from = frag.position() - b.position();
            int to = from + frag.length();
            QFontMetricsF fm(cf.font());
            QColor color =
                cf.foreground().style() != Qt::NoBrush ? cf.foreground().color() : palette().color(QPalette::Text);
            p.setPen(QPen(color, std::max(1.0, fm.lineWidth())));
            for (int i = 0; i < tl->lineCount(); ++i) {
                QTextLine line = tl->lineAt(i);
                int ls = line.textStart(), le = ls + line.textLength();
                int a = std::max(from, ls), z = std::min(to, le);
                if (a >= z) continue;
                double x1 = line.cursorToX(a), x2 = line.cursorToX(z);
                double y = line.y() + line.ascent() + fm.underlinePos() + 2 * std::max(1.0, fm.lineWidth()) + 0.5;
                QPointF origin = tl->position() + offset;
                p.drawLine(QPointF(origin.x() + x1, origin.y() + y), QPointF(origin.x() + x2, origin.y() + y));
            }
        }
    }
}

QMimeData* TCustomRichText2::createMimeDataFromSelection() const {
    // The selection travels as the editor's RTF, so that hidden text and
    // double underline survive a copy between editors.
    QTextCursor c = textCursor();
    QTextDocument tmp;
    QTextCursor tc(&tmp);
    tc.insertFragment(c.selection());
    auto* mime = new QMimeData;
    QByteArray rtf = QByteArray::fromStdString(WriteRtf(GetQtDocument(tmp)));
    mime->setData(kRtfMime, rtf);
    mime->setData(kRtfMimeWindows, rtf);
    mime->setText(c.selectedText().replace(QChar::ParagraphSeparator, QChar('\n')));
    return mime;
}

bool TCustomRichText2::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeWindows) || source->hasText();
}

void TCustomRichText2::insertFromMimeData(const QMimeData* source) {
    if (!roomFor(int(source->text().size()))) {
        QApplication::beep();
        return;
    }
    QByteArray rtf = source->hasFormat(kRtfMime) ? source->data(kRtfMime) : source->data(kRtfMimeWindows);
    QTextCursor c = textCursor();
    if (!rtf.isEmpty()) {
        RichDocument doc;
        try {
            doc = LoadRtfOrText(std::string_view(rtf.constData(), std::size_t(rtf.size())), defaultFormat_);
        } catch (const ERtfError&) {
            doc = ReadPlainText(std::string_view(rtf.constData(), std::size_t(rtf.size())), defaultFormat_);
        }
        QTextDocument tmp;
        SetQtDocument(tmp, doc);
        c.beginEditBlock();
        c.insertFragment(QTextDocumentFragment(&tmp));
        c.endEditBlock();
        setTextCursor(c);
        return;
    }
    // Plain text takes the format at the caret.
    c.beginEditBlock();
    c.insertText(source->text(), c.charFormat());
    c.endEditBlock();
    setTextCursor(c);
}

void TRichText2::SetUndoLimit(int limit) {
    undoLimit_ = limit;
    undoEnabled_ = limit > 0;
    document()->setUndoRedoEnabled(undoEnabled_);
}

}  // namespace qm

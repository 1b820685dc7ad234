#pragma once
// The rich-text editor control of the topic editor, and of the hidden scratch
// editor through which other modules' RTF is searched, edited and normalised.
//
// It is a QTextEdit whose content is the rich-text document model: its RTF is
// read and written by the model's reader and writer, so GetRtfText gives the
// editor's dialect exactly. Character positions are 0-based plain-text indexes
// in which a paragraph break counts as one character; hidden text counts too.
// A "line" is a paragraph everywhere (GetCurrentLine, GotoLine, GetCaretPos,
// Lines): display lines depend on the window's width, paragraphs do not.
//
// Hidden text stays in the document and is shown muted (grey, dotted line
// under it). Double underline is drawn as two lines.
#include <QMargins>
#include <QRect>
#include <QSizeF>
#include <QTextEdit>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/richdoc.h"
#include "richtext/textsearch.h"
#include "util/qorstring.h"

class QPainter;
class QPrinter;

namespace qm {

// Colours as the platform gives them: 0x00BBGGRR, or a system colour with the
// high byte 0x80 and the system colour index below.
using TColor = std::uint32_t;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clBlack = 0x000000;
// A system colour resolved to its RGB value (other colours unchanged).
TColor ColorToRGB(TColor c);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
enum class TAttributeType { atSelected, atDefaultText };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter, taJustify };
enum class TNumberingStyle { nsNone, nsBullet };

// A font description, for Assign and AssignTo.
struct TFontSpec {
    TColor Color = clWindowText;
    std::string Name;
    int Charset = 0;
    TFontStyles Style = 0;
    int Size = 0;
    TFontPitch Pitch = TFontPitch::fpDefault;
};

class TCustomRichText2;

// Character attributes of the selection (atSelected) or the control's default
// (atDefaultText).
class TTextAttributes2 {
public:
    TTextAttributes2(TCustomRichText2& owner, TAttributeType kind) : owner_(owner), kind_(kind) {}

    TColor GetColor() const;
    void SetColor(TColor c);
    std::string GetName() const;
    void SetName(std::string_view name);
    int GetCharset() const;
    void SetCharset(int charset);
    TFontStyles GetStyle() const;
    void SetStyle(TFontStyles style);
    // Sets or clears the style bits `bits` of every fragment, leaving its
    // other bits as they are (SetStyle gives every fragment the same set).
    void SetStyleBits(TFontStyles bits, bool on);
    int GetSize() const;  // points
    void SetSize(int points);
    TFontPitch GetPitch() const;
    void SetPitch(TFontPitch pitch);
    void SetBackColor(TColor c);

    void Assign(const TTextAttributes2& source);
    void Assign(const TFontSpec& font);
    void AssignTo(TFontSpec& font) const;

private:
    CharFormat get() const;
    void change(const std::function<void(CharFormat&)>& f);
    TCustomRichText2& owner_;
    TAttributeType kind_;
};

// Paragraph attributes of the paragraphs the selection touches. Lengths are
// screen pixels: twips / 15 when read, pixels x 15 when written. FirstIndent
// is the first line's indent, LeftIndent the offset of the other lines from it.
class TParaAttributes2 {
public:
    explicit TParaAttributes2(TCustomRichText2& owner) : owner_(owner) {}

    TAlignment GetAlignment() const;
    void SetAlignment(TAlignment a);
    int GetFirstIndent() const;
    void SetFirstIndent(int px);
    int GetLeftIndent() const;
    void SetLeftIndent(int px);
    int GetRightIndent() const;
    void SetRightIndent(int px);
    TNumberingStyle GetNumbering() const;
    void SetNumbering(TNumberingStyle n);
    int GetTab(int i) const;
    // Raises the tab count to i when it is smaller.
    void SetTab(int i, int px);
    int GetTabCount() const;
    void SetTabCount(int n);
    int GetSpaceBefore() const;
    void SetSpaceBefore(int px);
    int GetSpaceAfter() const;
    void SetSpaceAfter(int px);
    int GetLineSpacing() const;
    void SetLineSpacing(int px);
    int GetLineSpacingRule() const;  // 0..5
    void SetLineSpacingRule(int rule);

    // Copies alignment, indents, numbering and exactly the source's tab stops.
    void Assign(const TParaAttributes2& source);

private:
    ParaFormat get() const;
    void change(const std::function<void(ParaFormat&)>& f);
    TCustomRichText2& owner_;
};

// The control's content as a list of lines (paragraphs), with streaming in RTF
// or, while the plain-text flag is set, in plain text.
class TRichEditStrings {
public:
    explicit TRichEditStrings(TCustomRichText2& owner) : owner_(owner) {}

    int Count() const;
    std::string Get(int i) const;
    void Put(int i, std::string_view s);
    void Insert(int i, std::string_view s);
    void Add(std::string_view s) { Insert(Count(), s); }
    void Delete(int i);
    void Clear();
    // All lines, each followed by CR LF.
    std::string GetTextStr() const;
    // Replaces the content as plain text without a change notification.
    void SetTextStr(std::string_view text);
    // Adds lines without selection-change notifications.
    void AddStrings(const StringList& lines);
    void BeginUpdate();
    void EndUpdate();

    bool PlainText() const { return plainText_; }
    void SetPlainText(bool on) { plainText_ = on; }

    // RTF (or plain text while the flag is set); an RTF text that cannot be
    // read loads as plain text.
    void LoadFromStream(std::string_view data);
    std::string SaveToStream() const;
    void LoadFromFile(std::string_view fileName);
    void SaveToFile(std::string_view fileName) const;

private:
    TCustomRichText2& owner_;
    bool plainText_ = false;
    int updateCount_ = 0;
};

struct TCaretPos {
    int X = 0;  // column
    int Y = 0;  // line (paragraph)
};

// FindText option bits (those of the one text matcher, textsearch.h).
inline constexpr int kFindWholeWord = kSearchWholeWord;
inline constexpr int kFindMatchCase = kSearchMatchCase;
inline constexpr int kFindDown = kSearchDown;

class TCustomRichText2 : public QTextEdit {
    Q_OBJECT
public:
    explicit TCustomRichText2(QWidget* parent = nullptr);
    ~TCustomRichText2() override;

    TTextAttributes2 SelAttributes;
    TTextAttributes2 DefAttributes;
    TParaAttributes2 Paragraph;
    TRichEditStrings Lines;

    virtual int GetSelStart() const;
    virtual int GetSelLength() const;
    virtual std::string GetSelText() const;
    virtual void SetSelStart(int pos);
    virtual void SetSelLength(int length);
    // Replaces the selection by `text` as one undoable step; the text takes
    // the format of the first replaced character.
    void SetSelText(std::string_view text);
    // The same with text that has not passed through Windows-1252.
    void SetSelText(std::u16string_view text);
    void SetSelText(const char* text) { SetSelText(std::string_view(text)); }
    // The same with text as the control holds it, so characters outside
    // Windows-1252 survive an edit.
    void SetSelText(const QString& text) {
        SetSelText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                       static_cast<std::size_t>(text.size())));
    }
    std::string GetTextRange(int start, int length) const;
    // The position of `text` in start .. start + length, or -1. Upward (no
    // kFindDown) the search goes back from start; a range that ends after
    // start reaches back to the beginning. A negative length: no limit.
    int FindText(std::string_view text, int start, int length, int options) const;
    // The same for a search text as the user typed it (FindInText).
    int FindText(std::u16string_view text, int start, int length, int options) const;
    // The text as positions count its characters: a paragraph break is
    // kParagraphSeparator, a line break kLineBreakChar.
    std::u16string GetCharText() const;
    // Applies edits of the plain text (ascending, not overlapping) as one
    // undoable step; each inserted text takes the format of the first
    // character it replaces, as SetSelText does. The selection is kept
    // where the edits leave it.
    void ApplyEdits(const std::vector<TTextEdit>& edits);
    std::string GetRtfText() const;
    void SetRtfText(std::string_view text);
    // Replaces the whole text by `text` (RTF, or plain text when it is none)
    // as one edit: one Undo brings the old text back, where SetRtfText
    // starts the history afresh.
    void ReplaceRtfText(std::string_view text);

    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void ClearUndo();

    int GetCurrentLine() const;
    void GotoLine(int line);
    virtual TCaretPos GetCaretPos() const;
    virtual void Clear();
    virtual int GetSelTextBuf(char* buffer, int bufSize) const;
    virtual void DoSetMaxLength(int value);
    int MaxLength() const { return maxLength_; }
    virtual void Print(std::string_view title);
    // Prints on a printer the caller has set up (a PDF file, say), as a job
    // of its own; false when the printer could not be started.
    bool PrintTo(QPrinter& printer, std::string_view title);
    // Prints the text with `painter`, which is open on `printer`, from the
    // page the printer stands on; the text's further pages follow on new
    // pages. The text fills the page inside the printer's margins (2 cm when
    // it has none). Several texts make one job when the caller starts a new
    // page between them. False when the printer could not start a page.
    bool PrintPages(QPainter& painter, QPrinter& printer) const;
    virtual void RequestSize(const QRect& rect);

    int GetTextLen() const;
    bool GetModified() const;
    void SetModified(bool on);

    bool HideScrollBars() const { return hideScrollBars_; }
    void SetHideScrollBars(bool on);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool on);

    // The printing rectangle in screen pixels; empty = the whole printable page.
    QRect PageRect;

    std::function<void()> OnChange;
    std::function<void()> OnSelectionChange;
    std::function<void(const QRect&)> OnResizeRequest;
    // Kept for the interface; the control has no protected text.
    std::function<void(int, int, bool&)> OnProtectChange;
    std::function<void(int, int, bool&)> OnSaveClipboard;

    // The text's margins inside the viewport (those of the document's root
    // frame), kept over every load. Setting them clears the undo history (a
    // frame's format is an undoable edit): set them before editing starts.
    void SetTextMargins(const QMargins& margins);
    // Room left of the viewport for a strip beside the text (a gutter); the
    // text keeps its margins inside the viewport.
    void SetLeftViewportMargin(int px);
    int LeftViewportMargin() const { return viewportMargins().left(); }

    // The content as a document model, and back.
    RichDocument GetDocument() const;
    void SetDocument(const RichDocument& doc);

    // While the layout is held the text is not laid out: loads and edits
    // cost no layout, but nothing may be shown or measured (cursor
    // rectangles mean nothing). Every load holds it while the text and its
    // margins go in. Spell Check All holds it while it walks the modules,
    // when nothing is painted between them. Released, the text is laid out
    // as after any change of the whole text, and the view shows the caret;
    // a paint releases it too.
    void HoldLayout();
    void ReleaseLayout();
    bool LayoutHeld() const { return layoutHeld_; }

    // Internal helpers of the attribute classes.
    CharFormat selectionCharFormat() const;
    void changeSelectionCharFormat(const std::function<void(CharFormat&)>& f);
    const CharFormat& defaultCharFormat() const { return defaultFormat_; }
    void setDefaultCharFormat(const CharFormat& f);
    ParaFormat selectionParaFormat() const;
    void changeSelectionParaFormat(const std::function<void(ParaFormat&)>& f);
    void setChangeNotify(bool on) { changeNotify_ = on; }
    void setSelectionNotify(bool on) { selectionNotify_ = on; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

    bool undoEnabled_ = true;

private:
    void notifySelection();
    // False when inserting `count` characters over the selection would pass
    // the maximum length.
    bool roomFor(int count) const;
    void applySelectionPalette();
    void paintDoubleUnderlines(QPainter& p, const QRect& clip);
    // What SetSelText inserts over cursor `c`'s selection: the format of the
    // first replaced character (at a paragraph mark: the paragraph's).
    QTextCharFormat replacedFormat(const QTextCursor& c) const;

    CharFormat defaultFormat_;
    int maxLength_ = 0;
    bool hideScrollBars_ = true;
    bool hideSelection_ = true;
    bool changeNotify_ = true;
    bool selectionNotify_ = true;
    int lastSelStart_ = 0;
    int lastSelEnd_ = 0;
    int lastRequestedHeight_ = -1;
    std::optional<QMargins> textMargins_;
    void applyTextMargins();
    // The size the content asks for, reported through OnResizeRequest.
    void requestContentSize();
    // Gives the document its page again: Qt lays out nothing for a null one.
    void restorePage();
    bool layoutHeld_ = false;
    QSizeF heldPageSize_;
};

class TRichText2 : public TCustomRichText2 {
    Q_OBJECT
public:
    explicit TRichText2(QWidget* parent = nullptr) : TCustomRichText2(parent) {}

    // The document keeps every step; a limit of 0 switches undo off, any
    // other value switches it on again.
    void SetUndoLimit(int limit);
    int UndoLimit() const { return undoLimit_; }
    bool PlainText() const { return Lines.PlainText(); }
    void SetPlainText(bool on) { Lines.SetPlainText(on); }

private:
    int undoLimit_ = 100;
};

}  // namespace qm

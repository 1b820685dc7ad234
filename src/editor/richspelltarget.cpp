#include "editor/richspelltarget.h"

#include <QAbstractScrollArea>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>

#include "editor/richtext2.h"
#include "util/cp1252.h"

namespace qm {

namespace {

// One byte per UTF-16 unit, built once: the scan reads whole topics.
const std::array<char, 0x10000>& SpellByteTable() {
    static const std::array<char, 0x10000> table = [] {
        std::array<char, 0x10000> t{};
        for (char32_t u = 0; u < 0x10000; ++u) {
            char b = '?';
            if (u < 0x80)
                b = static_cast<char>(u);
            else if (u == 0x2028 || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1)
                b = '\n';  // line, paragraph and frame breaks
            else if (u < 0xD800 || u > 0xDFFF)
                b = CodePointToCp1252(u);
            t[u] = b;
        }
        return t;
    }();
    return table;
}

}  // namespace

std::string SpellBytesOf(const QString& text) {
    const auto& table = SpellByteTable();
    std::string out(static_cast<std::size_t>(text.size()), '\0');
    const QChar* p = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) out[static_cast<std::size_t>(i)] = table[p[i].unicode()];
    return out;
}

TRichTextSpellTarget::TRichTextSpellTarget(TCustomRichText2& editor)
    : editor_(editor), hideSelection_(editor.HideSelection()) {
    // Changing it sets the control's palette: Spell Check All shows the
    // selection once for all its modules.
    if (hideSelection_) editor_.SetHideSelection(false);
    connect(editor_.document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) { ReportEdit(position, removed, range(position, added)); });
}

TRichTextSpellTarget::~TRichTextSpellTarget() {
    if (hideSelection_) editor_.SetHideSelection(true);
}

std::string TRichTextSpellTarget::range(int start, int length) const {
    const int len = Length();
    const int a = std::clamp(start, 0, len);
    const int b = std::clamp(start + length, a, len);
    QTextCursor c(editor_.document());
    c.setPosition(a);
    c.setPosition(b, QTextCursor::KeepAnchor);
    return SpellBytesOf(c.selectedText());
}

int TRichTextSpellTarget::Length() const { return editor_.GetTextLen(); }

std::string TRichTextSpellTarget::Text() const {
    std::string text = SpellBytesOf(editor_.document()->toRawText());
    // The raw text may carry the document's closing paragraph mark.
    text.resize(static_cast<std::size_t>(std::max(0, Length())), '\n');
    return text;
}

int TRichTextSpellTarget::SelStart() const { return editor_.GetSelStart(); }
int TRichTextSpellTarget::SelLength() const { return editor_.GetSelLength(); }

void TRichTextSpellTarget::Select(int start, int length) {
    editor_.SetSelStart(start);
    editor_.SetSelLength(length);
}

void TRichTextSpellTarget::ReplaceSelection(std::string_view text) { editor_.SetSelText(text); }

TSpellBox TRichTextSpellTarget::ScreenBox(int start, int length) const {
    // Measured on the text as shown, scrolled to the word just selected.
    editor_.ReleaseLayout();
    QTextCursor c(editor_.document());
    const int len = Length();
    c.setPosition(std::clamp(start, 0, len));
    const QRect first = editor_.cursorRect(c);
    c.setPosition(std::clamp(start + length, 0, len));
    const QRect after = editor_.cursorRect(c);
    QWidget* view = editor_.viewport();
    const QPoint topLeft = view->mapToGlobal(first.topLeft());
    const QPoint end = view->mapToGlobal(after.topLeft());
    return TSpellBox{topLeft.x(), topLeft.y(), end.x(), topLeft.y() + std::max(first.height(), 18)};
}

void TRichTextSpellTarget::Focus() { editor_.setFocus(); }

}  // namespace qm

#pragma once
// The bridge between the rich-text document model and QTextDocument. The
// editor shows the model in a QTextDocument; the formats carry the model's
// exact values in user properties where Qt has no field of its own (hidden
// text, double underline, automatic colours, charsets, line-spacing rules).
//
// Positions agree on both sides: a paragraph break is one character, and the
// model's line-break character is Qt's line separator.
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "richtext/richdoc.h"

namespace qm {

namespace textprop {
enum : int {
    Underline = QTextFormat::UserProperty + 1,  // int: qm::Underline
    Hidden,                                     // bool
    Color,                                      // qint64: -1 automatic, else 0x00BBGGRR
    BackColor,
    Highlight,
    Charset,
    Pitch,
    Family,
    Face,                                        // QString: the face exactly as the model holds it
    SizeHalfPoints,                              // int
    Numbering = QTextFormat::UserProperty + 40,  // int: qm::ParaNumbering
    LineSpacingRule,                             // int
    LineSpacing,                                 // int twips (as the model)
    KeepWithNext,                                // bool
};
}  // namespace textprop

// Character formats.
QTextCharFormat ToQtFormat(const CharFormat& f);
CharFormat FromQtFormat(const QTextCharFormat& f);
// Recomputes the visible attributes (colours, underline) from the properties.
void ApplyVisuals(QTextCharFormat& f);

// Paragraph formats.
QTextBlockFormat ToQtFormat(const ParaFormat& p);
ParaFormat FromQtFormat(const QTextBlockFormat& f);

// Model text <-> Qt text: the line break differs.
QString ToQtText(std::u16string_view text);
std::u16string FromQtText(const QString& text);

// Replaces the whole content of `qdoc` by `doc`.
void SetQtDocument(QTextDocument& qdoc, const RichDocument& doc);
// Writes `doc` at `cursor`, which stands in an empty paragraph: that
// paragraph takes the first one's formats. Every step is an ordinary edit,
// so inside an edit block the whole insertion is one undo step.
void InsertQtDocument(QTextCursor& cursor, const RichDocument& doc);
RichDocument GetQtDocument(const QTextDocument& qdoc);

}  // namespace qm

#include "editor/qtrichdoc.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <algorithm>
#include <cmath>

#include "platform/qtcp1252.h"
#include "util/cp1252.h"

namespace qm {
namespace {

constexpr double kTwipsPerPixel = 15.0;

int Twips(double pixels) { return int(std::lround(pixels * kTwipsPerPixel)); }
double Pixels(int twips) { return twips / kTwipsPerPixel; }

qint64 ColorValue(const RtfColor& c) { return c.automatic ? -1 : qint64(c.rgb); }
RtfColor ColorFrom(const QVariant& v) {
    qint64 x = v.toLongLong();
    if (x < 0) return RtfColor::Auto();
    return {false, std::uint32_t(x) & 0xFFFFFF};
}
QColor ToQColor(const RtfColor& c) { return QColor(c.red(), c.green(), c.blue()); }
RtfColor FromQColor(const QColor& c) {
    return RtfColor::Rgb(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

const QColor kHiddenColor(128, 128, 128);

}  // namespace

QString ToQtText(std::u16string_view text) {
    QString s = QString::fromUtf16(text.data(), qsizetype(text.size()));
    s.replace(QChar(kLineBreakChar), QChar::LineSeparator);
    return s;
}

std::u16string FromQtText(const QString& text) {
    std::u16string s = text.toStdU16String();
    for (char16_t& c : s) {
        if (c == char16_t(QChar::LineSeparator))
            c = kLineBreakChar;
        else if (c == char16_t(QChar::ParagraphSeparator))
            c = kParagraphSeparator;
    }
    return s;
}

void ApplyVisuals(QTextCharFormat& f) {
    auto underline = Underline(f.intProperty(textprop::Underline));
    bool hidden = f.boolProperty(textprop::Hidden);
    RtfColor color = f.hasProperty(textprop::Color) ? ColorFrom(f.property(textprop::Color)) : RtfColor::Auto();
    RtfColor back = f.hasProperty(textprop::BackColor) ? ColorFrom(f.property(textprop::BackColor)) : RtfColor::Auto();
    RtfColor high = f.hasProperty(textprop::Highlight) ? ColorFrom(f.property(textprop::Highlight)) : RtfColor::Auto();
    // Hidden text stays visible, muted: grey with a dotted line under it.
    if (hidden) {
        f.setForeground(kHiddenColor);
    } else if (color.automatic) {
        f.clearForeground();
    } else {
        f.setForeground(ToQColor(color));
    }
    if (underline != Underline::None) {
        // The second line of a double underline is painted by the control.
        f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        f.clearProperty(QTextFormat::TextUnderlineColor);
    } else if (hidden) {
        f.setUnderlineStyle(QTextCharFormat::DotLine);
        f.setUnderlineColor(kHiddenColor);
    } else {
        f.setUnderlineStyle(QTextCharFormat::NoUnderline);
        f.clearProperty(QTextFormat::TextUnderlineColor);
    }
    if (!high.automatic)
        f.setBackground(ToQColor(high));
    else if (!back.automatic)
        f.setBackground(ToQColor(back));
    else
        f.clearBackground();
}

QTextCharFormat ToQtFormat(const CharFormat& c) {
    QTextCharFormat f;
    QString face = FromCp1252(c.font.face);
    if (!face.isEmpty()) f.setFontFamilies(QStringList{face});
    f.setProperty(textprop::Face, face);
    f.setFontPointSize(c.sizeHalfPoints / 2.0);
    f.setProperty(textprop::SizeHalfPoints, c.sizeHalfPoints);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontStrikeOut(c.strikeOut);
    f.setProperty(textprop::Underline, int(c.underline));
    f.setProperty(textprop::Hidden, c.hidden);
    f.setProperty(textprop::Color, ColorValue(c.color));
    f.setProperty(textprop::BackColor, ColorValue(c.backColor));
    f.setProperty(textprop::Highlight, ColorValue(c.highlight));
    f.setProperty(textprop::Charset, c.font.charset);
    f.setProperty(textprop::Pitch, int(c.font.pitch));
    f.setProperty(textprop::Family, int(c.font.family));
    ApplyVisuals(f);
    return f;
}

CharFormat FromQtFormat(const QTextCharFormat& f) {
    CharFormat c;
    if (f.hasProperty(textprop::Face)) {
        c.font.face = ToCp1252(f.stringProperty(textprop::Face));
    } else {
        QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty()) c.font.face = ToCp1252(families.front());
    }
    // Text formatted by Qt itself (a paste) has no property; its visible
    // attributes are all there is.
    double pt = f.fontPointSize();
    if (f.hasProperty(textprop::SizeHalfPoints) && std::lround(pt * 2) == f.intProperty(textprop::SizeHalfPoints))
        c.sizeHalfPoints = f.intProperty(textprop::SizeHalfPoints);
    else if (pt > 0)
        c.sizeHalfPoints = int(std::lround(pt * 2));
    c.bold = f.fontWeight() > QFont::Medium;
    c.italic = f.fontItalic();
    c.strikeOut = f.fontStrikeOut();
    if (f.hasProperty(textprop::Underline))
        c.underline = Underline(std::clamp(f.intProperty(textprop::Underline), 0, 2));
    else
        c.underline = f.fontUnderline() ? Underline::Single : Underline::None;
    c.hidden = f.boolProperty(textprop::Hidden);
    if (f.hasProperty(textprop::Color))
        c.color = ColorFrom(f.property(textprop::Color));
    else if (f.foreground().style() != Qt::NoBrush)
        c.color = FromQColor(f.foreground().color());
    if (f.hasProperty(textprop::BackColor)) c.backColor = ColorFrom(f.property(textprop::BackColor));
    if (f.hasProperty(textprop::Highlight))
        c.highlight = ColorFrom(f.property(textprop::Highlight));
    else if (!f.hasProperty(textprop::BackColor) && f.background().style() != Qt::NoBrush)
        c.highlight = FromQColor(f.background().color());
    c.font.charset = f.intProperty(textprop::Charset);
    c.font.pitch = FontPitch(std::clamp(f.intProperty(textprop::Pitch), 0, 2));
    c.font.family = FontFamily(std::clamp(f.intProperty(textprop::Family), 0, 7));
    return c;
}

QTextBlockFormat ToQtFormat(const ParaFormat& p) {
    // Only what differs from a plain paragraph is set: an absent property
    // reads as the default on both sides, and the layout looks its
    // properties up one by one, several times for each line of every
    // paragraph an edit above it moves. The numbering is always there: a
    // list item without it is a bullet Qt made (a paste).
    const ParaFormat plain;
    QTextBlockFormat f;
    switch (p.alignment) {
        case ParaAlignment::Left: break;
        case ParaAlignment::Right: f.setAlignment(Qt::AlignRight); break;
        case ParaAlignment::Center: f.setAlignment(Qt::AlignHCenter); break;
        case ParaAlignment::Justify: f.setAlignment(Qt::AlignJustify); break;
    }
    if (p.firstIndent != plain.firstIndent) f.setTextIndent(Pixels(p.firstIndent));
    if (p.leftIndent != plain.leftIndent) f.setLeftMargin(Pixels(p.leftIndent));
    if (p.rightIndent != plain.rightIndent) f.setRightMargin(Pixels(p.rightIndent));
    if (p.spaceBefore != plain.spaceBefore) f.setTopMargin(Pixels(p.spaceBefore));
    if (p.spaceAfter != plain.spaceAfter) f.setBottomMargin(Pixels(p.spaceAfter));
    if (!p.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (std::size_t i = 0; i < p.tabs.size() && i < kMaxTabStops; ++i)
            tabs.append(QTextOption::Tab(Pixels(p.tabs[i]), QTextOption::LeftTab));
        f.setTabPositions(tabs);
    }
    f.setProperty(textprop::Numbering, int(p.numbering));
    if (p.lineSpacingRule != plain.lineSpacingRule || p.lineSpacing != plain.lineSpacing) {
        f.setProperty(textprop::LineSpacingRule, int(p.lineSpacingRule));
        f.setProperty(textprop::LineSpacing, p.lineSpacing);
    }
    if (p.keepWithNext) f.setProperty(textprop::KeepWithNext, true);
    // Single spacing is Qt's own line height.
    switch (p.lineSpacingRule) {
        case LineSpacingRule::Single: break;
        case LineSpacingRule::OneAndHalf: f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); break;
        case LineSpacingRule::Double: f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); break;
        case LineSpacingRule::AtLeast: f.setLineHeight(Pixels(p.lineSpacing), QTextBlockFormat::MinimumHeight); break;
        case LineSpacingRule::Exactly: f.setLineHeight(Pixels(p.lineSpacing), QTextBlockFormat::FixedHeight); break;
        case LineSpacingRule::Multiple:
            f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
            break;
    }
    return f;
}

ParaFormat FromQtFormat(const QTextBlockFormat& f) {
    ParaFormat p;
    Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        p.alignment = ParaAlignment::Justify;
    else if (a & Qt::AlignHCenter)
        p.alignment = ParaAlignment::Center;
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        p.alignment = ParaAlignment::Right;
    p.firstIndent = Twips(f.textIndent());
    p.leftIndent = Twips(f.leftMargin());
    p.rightIndent = Twips(f.rightMargin());
    p.spaceBefore = Twips(f.topMargin());
    p.spaceAfter = Twips(f.bottomMargin());
    for (const QTextOption::Tab& t : f.tabPositions()) {
        if (p.tabs.size() >= kMaxTabStops) break;
        p.tabs.push_back(Twips(t.position));
    }
    p.numbering = ParaNumbering(std::clamp(f.intProperty(textprop::Numbering), 0, 1));
    if (f.hasProperty(textprop::LineSpacingRule)) {
        p.lineSpacingRule = LineSpacingRule(std::clamp(f.intProperty(textprop::LineSpacingRule), 0, 5));
        p.lineSpacing = f.intProperty(textprop::LineSpacing);
    }
    p.keepWithNext = f.boolProperty(textprop::KeepWithNext);
    return p;
}

namespace {
// Documents use few distinct formats; building each Qt format once saves most
// of the time of a load.
class FormatCache {
public:
    const QTextCharFormat& get(const CharFormat& f) {
        for (std::size_t i = 0; i < chars_.size(); ++i) {
            std::size_t k = (last_ + i) % chars_.size();
            if (chars_[k].first == f) {
                last_ = k;
                return chars_[k].second;
            }
        }
        if (chars_.size() >= 64) chars_.erase(chars_.begin());
        chars_.emplace_back(f, ToQtFormat(f));
        last_ = chars_.size() - 1;
        return chars_.back().second;
    }

private:
    std::vector<std::pair<CharFormat, QTextCharFormat>> chars_;
    std::size_t last_ = 0;
};
}  // namespace

void SetQtDocument(QTextDocument& qdoc, const RichDocument& doc) {
    qdoc.clear();
    QTextCursor cursor(&qdoc);
    cursor.beginEditBlock();
    InsertQtDocument(cursor, doc);
    cursor.endEditBlock();
}

void InsertQtDocument(QTextCursor& cursor, const RichDocument& doc) {
    FormatCache formats;
    QTextList* list = nullptr;
    bool first = true;
    for (const Paragraph& p : doc.paragraphs) {
        QTextBlockFormat bf = ToQtFormat(p.format);
        QTextCharFormat mark = formats.get(p.markFormat);
        if (first) {
            cursor.setBlockFormat(bf);
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(bf, mark);
        }
        if (p.format.numbering == ParaNumbering::Bullet) {
            if (list) {
                list->add(cursor.block());
            } else {
                QTextListFormat lf;
                lf.setStyle(QTextListFormat::ListDisc);
                lf.setIndent(0);
                list = cursor.createList(lf);
            }
        } else {
            list = nullptr;
        }
        for (const TextRun& r : p.runs()) cursor.insertText(ToQtText(r.text), formats.get(r.format));
    }
}

RichDocument GetQtDocument(const QTextDocument& qdoc) {
    RichDocument doc;
    doc.paragraphs.clear();
    // The formats met last, shared by the paragraphs that have them.
    std::vector<SharedCharFormat> recent;
    const auto shared = [&recent](CharFormat f) -> const SharedCharFormat& {
        for (std::size_t i = recent.size(); i-- > 0;)
            if (*recent[i] == f) return recent[i];
        if (recent.size() >= 16) recent.erase(recent.begin());
        recent.push_back(std::make_shared<const CharFormat>(std::move(f)));
        return recent.back();
    };
    for (QTextBlock b = qdoc.begin(); b.isValid(); b = b.next()) {
        Paragraph p;
        p.format = FromQtFormat(b.blockFormat());
        if (b.textList() && !b.blockFormat().hasProperty(textprop::Numbering))
            p.format.numbering = ParaNumbering::Bullet;
        p.markFormat = FromQtFormat(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            std::u16string text = FromQtText(frag.text());
            // Objects (U+FFFC) have no place in the model.
            std::erase(text, char16_t(QChar::ObjectReplacementCharacter));
            if (text.empty()) continue;
            p.append(text, shared(FromQtFormat(frag.charFormat())));
        }
        doc.paragraphs.push_back(std::move(p));
    }
    if (doc.paragraphs.empty()) doc.paragraphs.emplace_back();
    return doc;
}

}  // namespace qm

#include "richtext/modulesearch.h"

#include <algorithm>
#include <unordered_set>

namespace qm {

bool InModuleScope(const TTopicNode& node, TModuleScope scope) {
    switch (scope) {
        case TModuleScope::Topics: return node.IsTopic();
        case TModuleScope::Popups: return node.IsPopup();
        case TModuleScope::All: return true;
    }
    return true;
}

RichDocument ReadModuleText(std::string_view text, const CharFormat& plainFormat) {
    try {
        return LoadRtfOrText(text, plainFormat);
    } catch (const ERtfError&) {
        return ReadPlainText(text, plainFormat);
    }
}

// --- the cache ----------------------------------------------------------------------------

std::u16string_view TModuleTextCache::SearchText(const TTopicNode& node, int options) {
    const bool folded = SearchNeedsFolding(options);
    Entry& e = entries_[node.Id()];
    if (e.source != node.Text) {
        e = Entry();
        e.source = node.Text;
    }
    if (folded ? e.hasFolded : e.hasPlain) return folded ? e.folded : e.plain;
    if (folded && e.hasPlain) {
        e.folded = FoldSearchText(e.plain);
        e.hasFolded = true;
        return e.folded;
    }
    ++reads_;
    std::u16string plain = ReadModuleText(e.source).plainText();
    if (folded) {
        // Only what the search asked for is kept: a case-sensitive search
        // of the same text later reads it again.
        for (char16_t& c : plain) c = FoldSearchChar(c);
        e.folded = std::move(plain);
        e.hasFolded = true;
        return e.folded;
    }
    e.plain = std::move(plain);
    e.hasPlain = true;
    return e.plain;
}

void TModuleTextCache::Prune(const TTopics& topics) {
    std::unordered_set<TNodeId> alive;
    alive.reserve(static_cast<std::size_t>(topics.Count()));
    for (const auto& node : topics) alive.insert(node->Id());
    std::erase_if(entries_, [&](const auto& kv) { return !alive.contains(kv.first); });
}

std::vector<TSearchHit> FindInModules(const TTopics& topics, TModuleScope scope, std::u16string_view needle,
                                      int options, TModuleTextCache& cache) {
    std::vector<TSearchHit> hits;
    if (needle.empty()) return hits;
    const int length = static_cast<int>(needle.size());
    for (const auto& node : topics) {
        if (!InModuleScope(*node, scope)) continue;
        for (int pos : FindAllHits(cache.SearchText(*node, options), needle, options))
            hits.push_back({node->Id(), pos, length});
    }
    if (cache.Size() > static_cast<std::size_t>(topics.Count())) cache.Prune(topics);
    return hits;
}

// --- edits ------------------------------------------------------------------------------------

namespace {

// Walks the runs of one paragraph from its start, copying what it passes.
class RunWalker {
public:
    explicit RunWalker(const Paragraph& p) : p_(p) {}

    // Moves to `to` (a position in the paragraph); what lies between goes
    // to `into` when it is given.
    void advanceTo(std::size_t to, Paragraph* into) {
        while (at_ < to && run_ < p_.runs.size()) {
            const TextRun& r = p_.runs[run_];
            const std::size_t take = std::min(r.text.size() - off_, to - at_);
            if (into && take > 0) appendRun(*into, r.format, std::u16string_view(r.text).substr(off_, take));
            off_ += take;
            at_ += take;
            if (off_ == r.text.size()) {
                ++run_;
                off_ = 0;
            }
        }
    }

    // The format of the character at the walker, or the paragraph mark's at
    // the end of the paragraph.
    const CharFormat& formatHere() {
        while (run_ < p_.runs.size() && off_ >= p_.runs[run_].text.size()) {
            ++run_;
            off_ = 0;
        }
        return run_ < p_.runs.size() ? p_.runs[run_].format : p_.markFormat;
    }

    static void appendRun(Paragraph& into, const CharFormat& format, std::u16string_view text) {
        if (text.empty()) return;
        if (!into.runs.empty() && into.runs.back().format == format)
            into.runs.back().text += text;
        else
            into.runs.push_back({format, std::u16string(text)});
    }

private:
    const Paragraph& p_;
    std::size_t run_ = 0;
    std::size_t off_ = 0;
    std::size_t at_ = 0;
};

}  // namespace

void ApplyEdits(RichDocument& doc, const std::vector<TTextEdit>& edits) {
    if (edits.empty()) return;
    const std::vector<Paragraph>& src = doc.paragraphs;
    std::vector<Paragraph> out;
    out.reserve(src.size());
    Paragraph cur;
    bool open = false;  // `cur` holds the start of a paragraph that goes on
    std::size_t e = 0;
    std::size_t pos = 0;   // the next source position to copy
    std::size_t base = 0;  // the source position of paragraph i's first character

    // Inserted text; a paragraph break in it ends `cur`.
    auto insert = [&](std::u16string_view text, const CharFormat& format) {
        std::size_t start = 0;
        for (std::size_t k = 0; k < text.size(); ++k) {
            const char16_t c = text[k];
            if (c != u'\r' && c != u'\n') continue;
            RunWalker::appendRun(cur, format, text.substr(start, k - start));
            if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n') ++k;
            start = k + 1;
            // The new break is the new paragraph's mark, as the editor has it.
            Paragraph next;
            next.format = cur.format;
            next.markFormat = format;
            out.push_back(std::move(cur));
            cur = std::move(next);
        }
        RunWalker::appendRun(cur, format, text.substr(start));
    };

    for (std::size_t i = 0; i < src.size(); ++i) {
        const Paragraph& p = src[i];
        const std::size_t len = p.length();
        const std::size_t end = base + len;  // the position of its paragraph break
        const bool last = i + 1 == src.size();
        if (!open) {
            // A paragraph joined to the next keeps its own format and mark.
            cur = Paragraph();
            cur.format = p.format;
            cur.markFormat = p.markFormat;
            open = true;
        }
        if (pos > end) {
            // Removed with its paragraph break by an edit that began earlier.
            base = end + 1;
            continue;
        }
        RunWalker walker(p);
        walker.advanceTo(pos - base, nullptr);
        bool pastEnd = false;  // an edit took the paragraph break too
        while (e < edits.size() && static_cast<std::size_t>(edits[e].Offset) <= end) {
            const TTextEdit& edit = edits[e++];
            const std::size_t at = std::max<std::size_t>(static_cast<std::size_t>(edit.Offset), pos);
            walker.advanceTo(at - base, &cur);
            const CharFormat format = walker.formatHere();
            insert(edit.Text, format);
            pos = at + static_cast<std::size_t>(std::max(edit.Length, 0));
            if (pos > end) {
                pastEnd = true;
                break;
            }
            walker.advanceTo(pos - base, nullptr);
        }
        if (pastEnd && !last) {
            // The next paragraph goes on in `cur`.
            base = end + 1;
            continue;
        }
        if (!pastEnd) walker.advanceTo(len, &cur);
        out.push_back(std::move(cur));
        open = false;
        pos = end + 1;
        base = end + 1;
    }
    if (open) out.push_back(std::move(cur));  // an edit ran past the end
    doc.paragraphs = std::move(out);
    doc.normalize();
}

int ReplaceAllInRtf(std::string& rtf, std::u16string_view needle, int options, std::u16string_view replacement,
                    const CharFormat& plainFormat) {
    if (needle.empty()) return 0;
    RichDocument doc = ReadModuleText(rtf, plainFormat);
    std::u16string text = doc.plainText();
    if (SearchNeedsFolding(options))
        for (char16_t& c : text) c = FoldSearchChar(c);
    const std::vector<TTextEdit> edits = ReplaceAllEdits(text, needle, options, replacement);
    if (edits.empty()) return 0;
    ApplyEdits(doc, edits);
    rtf = WriteRtf(doc);
    return static_cast<int>(edits.size());
}

// --- the link rule ----------------------------------------------------------------------------

TLinkRule::TLinkRule(std::u16string_view oldText, std::u16string_view newText) : old_(oldText), new_(newText) {
    if (!old_.empty() && !new_.empty() && old_.back() == u'"' && new_.back() == u'"') {
        oldAnchor_ = old_.substr(0, old_.size() - 1) + u':';
        newAnchor_ = new_.substr(0, new_.size() - 1) + u':';
    }
}

std::vector<TTextEdit> TLinkRule::Edits(std::u16string_view folded) const {
    struct Candidate {
        int pos;
        int length;
        std::u16string_view text;
    };
    std::vector<Candidate> found;
    for (int p : FindAllHits(folded, old_, 0)) found.push_back({p, static_cast<int>(old_.size()), new_});
    if (!oldAnchor_.empty())
        for (int p : FindAllHits(folded, oldAnchor_, 0))
            found.push_back({p, static_cast<int>(oldAnchor_.size()), newAnchor_});
    std::vector<TTextEdit> edits;
    if (found.empty()) return edits;
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) { return a.pos < b.pos; });

    // The places of "file=" (the text is folded), to test a tag in one look.
    const std::vector<int> files = FindAllHits(folded, u"file=", 0);
    auto holdsFile = [&](std::size_t from, std::size_t to) {
        auto it = std::lower_bound(files.begin(), files.end(), static_cast<int>(from));
        return it != files.end() && static_cast<std::size_t>(*it) + 5 <= to;
    };
    // The last "<" and ">" before the candidate, found by one scan forward.
    constexpr std::size_t npos = std::u16string_view::npos;
    std::size_t scanned = 0, lastOpen = npos, lastClose = npos, nextClose = npos;
    bool closeKnown = false;  // nextClose is the first ">" after some earlier place
    int taken = 0;            // the end of the last accepted edit
    for (const Candidate& c : found) {
        const std::size_t p = static_cast<std::size_t>(c.pos);
        for (; scanned < p; ++scanned) {
            if (folded[scanned] == u'<') lastOpen = scanned;
            if (folded[scanned] == u'>') lastClose = scanned;
        }
        if (c.pos < taken) continue;
        const bool inTag = lastOpen != npos && (lastClose == npos || lastClose < lastOpen);
        if (inTag) {
            const std::size_t after = p + static_cast<std::size_t>(c.length);
            // Each new look starts past the last ">" found, so the looks
            // together read the text once.
            if (!closeKnown || (nextClose != npos && nextClose < after)) {
                nextClose = folded.find(u'>', after);
                closeKnown = true;
            }
            const std::size_t tagEnd = nextClose == npos ? folded.size() : nextClose;
            if (holdsFile(lastOpen, tagEnd)) continue;
        }
        edits.push_back({c.pos, c.length, c.text});
        taken = c.pos + c.length;
    }
    return edits;
}

int TLinkRule::ApplyToRtf(std::string& rtf, const CharFormat& plainFormat) const {
    if (old_.empty()) return 0;
    RichDocument doc = ReadModuleText(rtf, plainFormat);
    const std::vector<TTextEdit> edits = Edits(FoldSearchText(doc.plainText()));
    if (edits.empty()) return 0;
    ApplyEdits(doc, edits);
    rtf = WriteRtf(doc);
    return static_cast<int>(edits.size());
}

}  // namespace qm

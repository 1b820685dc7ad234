#include "search/modulesearch.h"

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

void ModulePlainText(std::string_view text, std::u16string& out) {
    if (LooksLikeRtf(text)) {
        try {
            ReadRtfPlainText(text, out);
            return;
        } catch (const ERtfError&) {
            // shown as the text it is, below
        }
    }
    out = ReadPlainText(text).plainText();
}

std::u16string ModulePlainText(std::string_view text) {
    std::u16string out;
    ModulePlainText(text, out);
    return out;
}

// --- the cache ----------------------------------------------------------------------------

namespace {

constexpr std::size_t kCacheBlock = 1u << 20;

}  // namespace

char* TModuleTextCache::allocate(std::size_t bytes) {
    alignas(char16_t) static char none[2];
    if (bytes == 0) return none;
    bytes = (bytes + 1) & ~std::size_t(1);  // char16_t stays aligned
    if (bytes > left_) {
        const std::size_t size = std::max(bytes, kCacheBlock);
        blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
        next_ = blocks_.back().get();
        left_ = size;
    }
    char* p = next_;
    next_ += bytes;
    left_ -= bytes;
    storedBytes_ += bytes;
    liveBytes_ += bytes;
    return p;
}

std::string_view TModuleTextCache::store(std::string_view text) {
    char* p = allocate(text.size());
    std::copy(text.begin(), text.end(), p);
    return {p, text.size()};
}

std::u16string_view TModuleTextCache::store(std::u16string_view text, bool fold) {
    auto* p = reinterpret_cast<char16_t*>(allocate(text.size() * sizeof(char16_t)));
    if (fold)
        std::transform(text.begin(), text.end(), p, FoldSearchChar);
    else
        std::copy(text.begin(), text.end(), p);
    return {p, text.size()};
}

std::size_t TModuleTextCache::bytesOf(const Entry& e) {
    auto rounded = [](std::size_t n) { return (n + 1) & ~std::size_t(1); };
    return rounded(e.source.size()) + rounded(e.plain.size() * 2) + rounded(e.folded.size() * 2);
}

void TModuleTextCache::compactIfWasteful() {
    if (storedBytes_ < 8 * kCacheBlock || storedBytes_ < 2 * liveBytes_) return;
    std::vector<std::unique_ptr<char[]>> old = std::move(blocks_);
    blocks_.clear();
    next_ = nullptr;
    left_ = storedBytes_ = liveBytes_ = 0;
    for (auto& [id, e] : entries_) {
        e.source = store(e.source);
        if (e.hasPlain) e.plain = store(e.plain, false);
        if (e.hasFolded) e.folded = store(e.folded, false);
    }
}

void TModuleTextCache::Clear() {
    entries_.clear();
    blocks_.clear();
    next_ = nullptr;
    left_ = liveBytes_ = storedBytes_ = 0;
}

std::u16string_view TModuleTextCache::SearchText(const TTopicNode& node, int options) {
    const bool folded = SearchNeedsFolding(options);
    auto found = entries_.find(node.Id());
    if (found == entries_.end() || found->second.source != node.Text) {
        if (found != entries_.end()) {
            liveBytes_ -= bytesOf(found->second);
            entries_.erase(found);
        }
        compactIfWasteful();
        Entry e;
        e.source = store(node.Text);
        found = entries_.emplace(node.Id(), e).first;
    }
    Entry& e = found->second;
    if (folded ? e.hasFolded : e.hasPlain) return folded ? e.folded : e.plain;
    if (folded && e.hasPlain) {
        e.folded = store(e.plain, true);
        e.hasFolded = true;
        return e.folded;
    }
    ++reads_;
    // Only what the search asked for is kept: a case-sensitive search of a
    // text kept folded reads it again.
    ModulePlainText(e.source, scratch_);
    if (folded) {
        e.folded = store(scratch_, true);
        e.hasFolded = true;
        return e.folded;
    }
    e.plain = store(scratch_, false);
    e.hasPlain = true;
    return e.plain;
}

void TModuleTextCache::Prune(const TTopics& topics) {
    std::unordered_set<TNodeId> alive;
    alive.reserve(static_cast<std::size_t>(topics.Count()));
    for (const auto& node : topics) alive.insert(node->Id());
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (alive.contains(it->first)) {
            ++it;
        } else {
            liveBytes_ -= bytesOf(it->second);
            it = entries_.erase(it);
        }
    }
}

std::vector<TSearchHit> FindInModules(const TTopics& topics, TModuleScope scope, std::u16string_view needle,
                                      int options, TModuleTextCache& cache) {
    std::vector<TSearchHit> hits;
    if (needle.empty()) return hits;
    const TTextMatcher matcher(needle, options);
    for (const auto& node : topics) {
        if (!InModuleScope(*node, scope)) continue;
        for (int pos : matcher.FindAll(cache.SearchText(*node, options)))
            hits.push_back({node->Id(), pos, matcher.Length()});
    }
    if (cache.Size() > static_cast<std::size_t>(topics.Count())) cache.Prune(topics);
    return hits;
}

// --- edits ------------------------------------------------------------------------------------

void ApplyEdits(RichDocument& doc, const std::vector<TTextEdit>& edits) {
    if (edits.empty()) return;
    std::vector<Paragraph> src = std::move(doc.paragraphs);
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
            cur.append(text.substr(start, k - start), format);
            if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n') ++k;
            start = k + 1;
            // The new break is the new paragraph's mark, as the editor has it.
            Paragraph next;
            next.format = cur.format;
            next.markFormat = format;
            out.push_back(std::move(cur));
            cur = std::move(next);
        }
        cur.append(text.substr(start), format);
    };

    for (std::size_t i = 0; i < src.size(); ++i) {
        Paragraph& p = src[i];
        const std::size_t len = p.length();
        const std::size_t end = base + len;  // the position of its paragraph break
        const bool last = i + 1 == src.size();
        if (!open && pos == base && (e == edits.size() || static_cast<std::size_t>(edits[e].Offset) > end)) {
            // No edit touches it: it moves as it is.
            out.push_back(std::move(p));
            pos = base = end + 1;
            continue;
        }
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
        // `pos` - `base`: where the copy of this paragraph's characters goes on.
        bool pastEnd = false;  // an edit took the paragraph break too
        while (e < edits.size() && static_cast<std::size_t>(edits[e].Offset) <= end) {
            const TTextEdit& edit = edits[e++];
            const std::size_t at = std::max<std::size_t>(static_cast<std::size_t>(edit.Offset), pos);
            cur.append(p, pos - base, at - base);
            insert(edit.Text, p.formatAt(at - base));
            pos = at + static_cast<std::size_t>(std::max(edit.Length, 0));
            if (pos > end) {
                pastEnd = true;
                break;
            }
        }
        if (pastEnd && !last) {
            // The next paragraph goes on in `cur`.
            base = end + 1;
            continue;
        }
        if (!pastEnd) cur.append(p, pos - base, len);
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

namespace {

// The anchor form of a quoted link text: `="Name"` gives `="Name:`.
std::u16string AnchorForm(std::u16string_view text, std::u16string_view other) {
    if (text.empty() || other.empty() || text.back() != u'"' || other.back() != u'"') return {};
    return std::u16string(text.substr(0, text.size() - 1)) + u':';
}

}  // namespace

TLinkRule::TLinkRule(std::u16string_view oldText, std::u16string_view newText)
    : old_(oldText),
      new_(newText),
      oldAnchor_(AnchorForm(oldText, newText)),
      newAnchor_(AnchorForm(newText, oldText)),
      oldMatch_(old_, 0),
      anchorMatch_(oldAnchor_, 0),
      fileMatch_(u"file=", 0) {}

std::vector<TTextEdit> TLinkRule::Edits(std::u16string_view folded) const {
    struct Candidate {
        int pos;
        int length;
        std::u16string_view text;
    };
    std::vector<Candidate> found;
    if (oldMatch_.Empty()) return {};
    for (int p : oldMatch_.FindAll(folded)) found.push_back({p, oldMatch_.Length(), new_});
    if (!anchorMatch_.Empty())
        for (int p : anchorMatch_.FindAll(folded)) found.push_back({p, anchorMatch_.Length(), newAnchor_});
    std::vector<TTextEdit> edits;
    if (found.empty()) return edits;
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) { return a.pos < b.pos; });

    // The places of "file=" (the text is folded), to test a tag in one look.
    const std::vector<int> files = fileMatch_.FindAll(folded);
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

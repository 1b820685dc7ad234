#include "preprocess/topicwriter.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "preprocess/tablerows.h"
#include "preprocess/tagtext.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"

namespace qm {

// ---------------------------------------------------------------------------
// Tables

void TAnchorTable::Add(std::string_view name) {
    names_.emplace_back(name);
    set_.emplace(name);
}

bool TAnchorTable::Exists(std::string_view name) const { return set_.count(std::string(name)) != 0; }

void TAnchorTable::Clear() {
    names_.clear();
    set_.clear();
}

void TUnresolvedAnchorTable::Add(const TTopicNode& linking, const TTopicNode* target, std::string_view anchor) {
    TUnresolvedAnchorInfo info;
    info.LinkingTopic = linking.Id();
    info.LinkingName = linking.GetName();
    info.TargetTopic = target ? target->Id() : 0;
    info.Anchor.assign(anchor);
    items_.push_back(std::move(info));
}

const TTopicNode* TPassContext::FindModule(std::string_view name) const {
    return Index ? Index->Find(name) : Project.Topics.FindByName(name);
}

void TPassContext::Report(int code, std::string_view text) const {
    if (!Checks.GetError(code)) return;
    Log.AddNext(Checks.GetErrorType(code), code, text, Topic.Id(), Topic.Name.View());
}

namespace {

// The tags of one name in `text`, from its groups when they were found for
// this very text.
std::vector<TTagSpan> ScanIn(std::string_view text, const TTagGroups* groups, std::string_view name) {
    if (groups && groups->Text().data() == text.data() && groups->Text().size() == text.size())
        return ScanTags(*groups, name);
    return ScanTags(text, name);
}

// ---------------------------------------------------------------------------
// Passes that read the text as it stood when they began.
//
// Written out, such a pass replaces, for each tag it converts, every
// occurrence of the tag's raw string in a working copy, one tag after the
// other. That costs a sweep of the whole text per tag. When the tags of the
// pass do not overlap one another and no replacement brings a "<" into the
// text, no replacement can create or break an occurrence of another tag's
// string (every such string starts with "<" and its first piece would itself
// have been found as a tag), so replacing each tag where it stands gives the
// same bytes in one sweep. A "<" that comes with a hotspot is harmless too
// when a ">" follows it within the hotspot: any tag string starting there
// would end inside the hotspot and so would have been found inside the
// replaced span. Anything else takes the written-out road.
// Asks for the text at `p` ahead of its use: the tags of a large topic lie
// far apart, and the work between two of them pushes the text out of the
// cache.
inline void Prefetch(const char* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// How many tags ahead a pass asks for the text of a tag.
constexpr std::size_t kPrefetchAhead = 8;

// The "<" in `s` (few, in a long text: memchr finds them).
std::size_t CountLessThan(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t p = s.find('<'); p != std::string_view::npos; p = s.find('<', p + 1)) ++n;
    return n;
}

class SnapshotPass {
public:
    // The pass takes the text over and gives it back (changed) in Finish, or
    // unchanged when it ends without Finish. `groups`, when given, are those
    // of `text`.
    SnapshotPass(std::string& text, std::string_view name, std::string_view closeName = {},
                 const TTagGroups* groups = nullptr)
        : text_(text), owned_(std::move(text)), owns_(true), source_(owned_) {
        Scan(name, closeName, groups);
    }
    // The pass reads `source`, which it leaves alone and which must outlive
    // it. Finish writes the result into `out` when it differs, with `room`
    // bytes to spare, and says whether it did; otherwise `out` is not touched.
    // `groups`, when given, are those of `source`.
    SnapshotPass(std::string& out, std::string_view source, const TTagGroups* groups, std::size_t room,
                 std::string_view name, std::string_view closeName)
        : text_(out), owns_(false), source_(source), room_(room) {
        Scan(name, closeName, groups);
    }
    ~SnapshotPass() {
        if (!finished_ && owns_) text_ = std::move(owned_);
    }
    SnapshotPass(const SnapshotPass&) = delete;
    SnapshotPass& operator=(const SnapshotPass&) = delete;

    std::size_t Count() const { return hits_.size(); }
    // Asks for the text of tag k (when there is one) ahead of its use.
    void PrefetchTag(std::size_t k) const {
        if (k < hits_.size()) Prefetch(source_.data() + hits_[k].begin);
    }
    std::string_view Raw(std::size_t k) const { return Piece(hits_[k]); }
    bool Plain(std::size_t k) const { return hits_[k].plain; }
    // Tag k without RTF codes, in `buffer` when it holds any.
    std::string_view Stripped(std::size_t k, std::string& buffer) const {
        return hits_[k].plain ? Raw(k) : StripRtfView(Raw(k), buffer);
    }

    // The first closing tag that starts one character after opening tag k.
    std::optional<TTagSpan> Close(std::size_t k) {
        const std::size_t from = hits_[k].begin + 1;
        // The passes ask in the order of the tags: the answer is at or after
        // the last one.
        if (nextClose_ > 0 && closes_[nextClose_ - 1].begin >= from)
            nextClose_ = static_cast<std::size_t>(
                std::lower_bound(closes_.begin(), closes_.end(), from,
                                 [](const TTagSpan& t, std::size_t v) { return t.begin < v; }) -
                closes_.begin());
        while (nextClose_ < closes_.size() && closes_[nextClose_].begin < from) ++nextClose_;
        if (nextClose_ == closes_.size()) return std::nullopt;
        return closes_[nextClose_];
    }

    // The raw text between opening tag k and its closing tag.
    std::string Hotspot(std::size_t k, const TTagSpan& close) const { return std::string(HotspotView(k, close)); }
    std::string_view HotspotView(std::size_t k, const TTagSpan& close) const {
        const TTagSpan& open = hits_[k];
        if (close.begin < open.end) return {};
        return source_.substr(open.end, close.begin - open.end);
    }

    void ReplaceTag(std::size_t k, std::string_view newText) {
        Item item;
        item.hit = k;
        item.begin = hits_[k].begin;
        item.end = hits_[k].end;
        item.safe = newText.find('<') == std::string_view::npos;
        Keep(item, newText);
        items_.push_back(item);
    }

    // `hotspotLtOnly`: the caller knows that every "<" of the new text is one
    // of the hotspot's.
    void ReplacePaired(std::size_t k, const TTagSpan& close, std::string_view newText, bool hotspotLtOnly = false) {
        Item item;
        item.hit = k;
        item.begin = hits_[k].begin;
        const std::string_view hotspot = HotspotView(k, close);
        item.close = close;
        // Every "<" of the new text must be one of the hotspot's, and the
        // hotspot's last "<" must be followed by a ">" inside it.
        const std::size_t lastLt = hotspot.rfind('<');
        if (lastLt == std::string_view::npos)
            item.safe = hotspotLtOnly || newText.find('<') == std::string_view::npos;
        else
            item.safe = (hotspotLtOnly || CountLessThan(newText) == CountLessThan(hotspot)) &&
                        hotspot.find('>', lastLt) != std::string_view::npos;
        // A closing tag that starts inside the opening one makes a string
        // that does not stand in the text as such.
        item.isSpan = close.begin >= hits_[k].end;
        item.end = item.isSpan ? close.end : hits_[k].end;
        Keep(item, newText);
        items_.push_back(item);
    }

    // True when the text was replaced (a pass that reads a view leaves its
    // output alone when nothing changes).
    bool Finish(const TPassContext& ctx) {
        const bool literal = ctx.LiteralReplace;
        finished_ = true;
        if (items_.empty()) {
            if (owns_) text_ = std::move(owned_);
            return false;
        }
        if (!literal && PlanSweep()) {
            // The sweep's text was written as the tags came.
            swept_.append(source_.substr(done_));
            if (StraddlesAreHarmless(swept_)) {
                text_.swap(swept_);
                return true;
            }
        }
        ctx.NoteTagByTag();
        std::vector<std::string> olds;
        olds.reserve(items_.size());
        for (const Item& item : items_) olds.push_back(OldText(item));
        std::string work = owns_ ? std::move(owned_) : std::string(source_);
        for (std::size_t i = 0; i < items_.size(); ++i) ReplaceAllFrom(work, olds[i], NewText(items_[i]), 0);
        text_.swap(work);
        return true;
    }

private:
    struct Item {
        std::size_t hit = 0;
        std::size_t begin = 0;
        std::size_t end = 0;
        bool isSpan = true;
        bool safe = false;       // the new text brings no "<" that could start a tag string
        bool swept = true;       // replaced by the sweep (else it lies in an earlier item's span)
        bool inSwept = false;    // the new text stands in swept_ (else in texts_)
        TTagSpan close{0, 0};    // of a paired tag whose closing tag starts inside the opening one
        std::size_t textAt = 0;  // the new text, in texts_
        std::size_t textSize = 0;
    };

    // The new text of an item that starts where the last one written ended
    // or later goes where the sweep puts it: the text before it and the new
    // text are written at once, so the sweep, when it may be taken, is done
    // by then. These are the items PlanSweep marks as swept. The new texts of
    // the others stand one after the other in texts_.
    void Keep(Item& item, std::string_view newText) {
        item.textSize = newText.size();
        if (item.begin >= done_) {
            if (items_.empty())
                // Replacements are about as long as their tags; pages reserved
                // and never written cost nothing.
                swept_.reserve(std::max(source_.size() + room_ + hits_.size() * 16, owns_ ? owned_.capacity() : 0));
            swept_.append(source_.substr(done_, item.begin - done_));
            item.inSwept = true;
            item.textAt = swept_.size();
            swept_.append(newText);
            done_ = item.end;
            return;
        }
        item.textAt = texts_.size();
        texts_.append(newText);
    }
    std::string_view NewText(const Item& item) const {
        return std::string_view(item.inSwept ? swept_ : texts_).substr(item.textAt, item.textSize);
    }

    // The string the written-out replacement looks for: the raw span, or, for
    // a closing tag inside the opening one, the two tags one after the other.
    std::string OldText(const Item& item) const {
        if (item.isSpan) return std::string(source_.substr(item.begin, item.end - item.begin));
        return std::string(Raw(item.hit)) + std::string(Piece(item.close));
    }
    std::size_t OldSize(const Item& item) const {
        if (item.isSpan) return item.end - item.begin;
        return Raw(item.hit).size() + (item.close.end - item.close.begin);
    }

    std::string_view Piece(const TTagSpan& t) const { return source_.substr(t.begin, t.end - t.begin); }

    // Whether the sweep gives the written-out bytes, marking the items it
    // replaces. Several "<" sharing one ">" are all found as tags. The first
    // of them that is converted replaces a span holding the others (as in
    // "a < b <LINK ...>x</LINK>", where the stray "<" is a tag too), so the
    // written-out road no longer finds theirs, unless another item has the
    // very same string: then it would replace it inside that span first.
    bool PlanSweep() {
        const Item* last = nullptr;  // the last item the sweep replaces
        bool covers = false;
        for (Item& item : items_) {
            if (!item.isSpan || !item.safe) return false;
            if (last && item.begin < last->end) {
                if (hits_[item.hit].end != hits_[last->hit].end || item.end != last->end) return false;
                item.swept = false;
                covers = true;
                continue;
            }
            item.swept = true;
            // No tag but the later ones of its own group may start in its span.
            std::size_t next = item.hit + 1;
            while (next < hits_.size() && hits_[next].end == hits_[item.hit].end) ++next;
            if (next < hits_.size() && hits_[next].begin < item.end) return false;
            last = &item;
        }
        if (!covers) return true;
        // Only the strings of the covered items are counted, over all items;
        // a length they all lack spares the look-up.
        std::unordered_map<std::string_view, int> covered;
        std::vector<bool> lengths;
        for (const Item& item : items_)
            if (!item.swept) {
                covered.emplace(source_.substr(item.begin, item.end - item.begin), 0);
                if (lengths.size() <= item.end - item.begin) lengths.resize(item.end - item.begin + 1);
                lengths[item.end - item.begin] = true;
            }
        for (const Item& item : items_) {
            const std::size_t size = item.end - item.begin;
            if (size >= lengths.size() || !lengths[size]) continue;
            const auto it = covered.find(source_.substr(item.begin, size));
            if (it != covered.end() && ++it->second > 1) return false;
        }
        return true;
    }

    // A stray "<" that shares its ">" with a converted tag (as in "a < b
    // <LINK ...>") stays while the tag after it is replaced. The piece from
    // that "<" to the next ">" of the swept text is what the written-out
    // replacements would meet there; it is harmless unless it is the raw
    // string of a converted tag. A later replacement cannot end that piece
    // earlier: before it is made, the piece runs on into its raw tag and so is
    // longer than that tag. A "<" inside a replaced span is gone on both roads.
    bool StraddlesAreHarmless(std::string_view out) const {
        std::unordered_set<std::string_view> raws;
        std::size_t longest = 0;
        std::ptrdiff_t shift = 0;
        std::size_t next = 0;  // first item not yet passed
        // The "<" of one group have no ">" between them, so they share the
        // next ">" of the swept text as well.
        std::size_t groupEnd = std::string_view::npos;
        std::size_t gt = std::string_view::npos;
        for (std::size_t k = 0; k + 1 < hits_.size(); ++k) {
            if (hits_[k + 1].begin >= hits_[k].end) continue;  // not shared
            for (; next < items_.size() && items_[next].end <= hits_[k].begin; ++next)
                if (items_[next].swept)
                    shift += static_cast<std::ptrdiff_t>(items_[next].textSize) -
                             static_cast<std::ptrdiff_t>(items_[next].end - items_[next].begin);
            if (InSweptSpan(next, hits_[k].begin)) continue;
            // The raw strings are gathered once a "<" stays.
            if (raws.empty())
                for (const Item& item : items_) {
                    raws.insert(Raw(item.hit));
                    longest = std::max(longest, OldSize(item));
                }
            const std::size_t at = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(hits_[k].begin) + shift);
            if (hits_[k].end != groupEnd) {
                groupEnd = hits_[k].end;
                gt = out.find('>', at);
            }
            if (gt == std::string_view::npos) continue;
            if (gt - at + 1 <= longest && raws.count(out.substr(at, gt - at + 1))) return false;
        }
        return true;
    }

    // Whether `pos` lies in the span of a swept item from `first` on (the
    // items before `first` end at or before it).
    bool InSweptSpan(std::size_t first, std::size_t pos) const {
        for (std::size_t i = first; i < items_.size() && items_[i].begin <= pos; ++i)
            if (items_[i].swept && pos < items_[i].end) return true;
        return false;
    }

    void Scan(std::string_view name, std::string_view closeName, const TTagGroups* groups) {
        hits_ = ScanIn(source_, groups, name);
        if (!closeName.empty() && !hits_.empty()) closes_ = ScanIn(source_, groups, closeName);
        items_.reserve(hits_.size());
    }

    std::string& text_;
    std::string owned_;  // the text taken over, when the pass owns it
    bool owns_;
    std::string_view source_;
    std::size_t room_ = 0;
    bool finished_ = false;
    std::vector<TTagSpan> hits_;
    std::vector<TTagSpan> closes_;
    std::size_t nextClose_ = 0;  // where Close looks first
    std::vector<Item> items_;
    std::string texts_;
    std::string swept_;     // the text with the items replaced so far, the sweep's result
    std::size_t done_ = 0;  // where the source is written up to in swept_
};

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// s from its 1-based `first` character up to, not including, the last one.
std::string InnerFrom(std::string_view s, int first) { return MidStr(s, first, static_cast<int>(s.size()) - first); }

std::string_view LinkTag(bool user) { return user ? "ULINK" : "LINK"; }
std::string_view LinkClose(bool user) { return user ? "/ULINK" : "/LINK"; }

// The LINK (or ULINK) replacements of a pass, which the caller finishes.
void ConvertLinkTags(SnapshotPass& pass, const TPassContext& ctx, TUnresolvedAnchorTable& unresolved, bool user) {
    const std::string_view topicPrefix = user ? "<ULINK TOPIC=\"" : "<LINK TOPIC=\"";
    const std::string_view popupPrefix = user ? "<ULINK POPUP=\"" : "<LINK POPUP=\"";
    // A large topic holds thousands of links: their texts are made in the
    // same few buffers.
    std::string buffer, us, replacement;
    for (std::size_t k = 0; k < pass.Count(); ++k) {
        pass.PrefetchTag(k + kPrefetchAhead);
        const std::string_view s = pass.Stripped(k, buffer);
        us.resize(s.size());
        std::transform(s.begin(), s.end(), us.begin(), AsciiUpper);
        bool topicLink;
        if (StartsWith(us, topicPrefix))
            topicLink = true;
        else if (StartsWith(us, popupPrefix))
            topicLink = false;
        else {
            ctx.Report(Check::IncompleteTag, s);
            // A link without a target can jump nowhere: its text stays as
            // text, and no tag syntax reaches the help.
            if (const std::optional<TTagSpan> close = pass.Close(k))
                pass.ReplacePaired(k, *close, pass.HotspotView(k, *close), true);
            else
                pass.ReplaceTag(k, {});
            continue;
        }

        const std::string_view value = FirstQuotedView(s);
        const std::size_t colon = value.find(':');
        const bool hasAnchor = colon != std::string_view::npos;
        const std::string_view target = hasAnchor ? value.substr(0, colon) : value;
        const std::string_view anchor = hasAnchor ? value.substr(colon + 1) : std::string_view();

        const TTopicNode* record = ctx.FindModule(target);
        const std::size_t filePos = us.find("FILE=");
        // A target the project lacks is reported, and the link is still
        // written as one to the context string it names: the compiler then
        // reports it too, and the help shows a hotspot, not the tag.
        if (!record && (user || filePos == std::string::npos)) ctx.Report(Check::UnresolvedLink, s);

        std::string windowPart;
        if (topicLink) {
            const std::size_t w = us.find("WINDOW=");
            if (w != std::string::npos) {
                const std::size_t from = w + 7;
                std::size_t to = from;
                while (to < s.size() && s[to] != ' ' && s[to] != '>') ++to;
                const std::string window(s.substr(from, std::min<std::size_t>(to - from, 8)));
                if (!window.empty()) {
                    if (ctx.Project.Windows.NameExists(window))
                        windowPart = ">" + EscapeRtf(window);
                    else
                        ctx.Report(Check::UndefinedWindow, s);
                }
            }
        }

        std::string filePart;
        if (filePos != std::string::npos) {
            // Everything after "FILE=" up to the ">" that ends the tag.
            const std::size_t from = filePos + 5;
            const std::size_t to = s.size() - 1;
            if (to > from) filePart = "@" + EscapeRtf(s.substr(from, to - from));
        }

        if (record) {
            if (topicLink && record->IsPopup()) ctx.Report(Check::PopupInTopicLink, s);
            if (!topicLink && record->IsTopic()) ctx.Report(Check::TopicInPopupLink, s);
        }

        const std::optional<TTagSpan> close = pass.Close(k);
        if (!close) {
            ctx.Report(Check::UnclosedTag, s);
            // No hotspot to make: the tag goes, the text after it stays.
            pass.ReplaceTag(k, {});
            continue;
        }

        // The hotspot, then the hidden target: "%" and the module's own name
        // for a user link, the anchor after "_", the window and the file.
        replacement.assign(topicLink ? "\\uldb " : "\\ul ");
        replacement += pass.HotspotView(k, *close);
        replacement += "\\ulnone\\v ";
        if (user) {
            replacement += '%';
            AppendEscapedRtf(replacement, record ? record->GetName() : std::string(target));
        } else {
            AppendEscapedRtf(replacement, target);
        }
        if (hasAnchor) {
            replacement += '_';
            AppendEscapedRtf(replacement, anchor);
        }
        if (topicLink) replacement += windowPart;
        if (!hasAnchor) replacement += filePart;
        replacement += "\\v0 ";
        // The rest of a plain tag holds no "<", nor then its parts here.
        pass.ReplacePaired(k, *close, replacement, pass.Plain(k) && (!user || !record));
        if (hasAnchor) unresolved.Add(ctx.Topic, record, anchor);
    }
}

// The LINK (or ULINK) pass over `text`, which it leaves alone: the converted
// text with `room` bytes to spare, or nothing when no tag was converted.
std::optional<std::string> LinksFrom(std::string_view text, const TTagGroups* groups, const TPassContext& ctx,
                                     TUnresolvedAnchorTable& unresolved, bool user, std::size_t room) {
    std::string out;
    SnapshotPass pass(out, text, groups, room, LinkTag(user), LinkClose(user));
    ConvertLinkTags(pass, ctx, unresolved, user);
    if (!pass.Finish(ctx)) return std::nullopt;
    return out;
}

// The MACRO (or UMACRO) pass; true when it changed the text. `groups`, when
// given, are those of `text`.
bool ConvertMacroTags(std::string& text, const TPassContext& ctx, bool user, const TTagGroups* groups = nullptr) {
    SnapshotPass pass(text, user ? "UMACRO" : "MACRO", user ? "/UMACRO" : "/MACRO", groups);
    for (std::size_t k = 0; k < pass.Count(); ++k) {
        const std::string s = StripRtf(pass.Raw(k));
        std::string macro = InnerFrom(s, user ? 8 : 7);
        const std::size_t bar = macro.find('|');
        if (bar != std::string::npos) macro.replace(bar, 1, "&rt;");
        const std::optional<TTagSpan> close = pass.Close(k);
        if (!close) {
            ctx.Report(Check::UnclosedTag, s);
            // No hotspot to make: the tag goes, the text after it stays.
            pass.ReplaceTag(k, {});
            continue;
        }
        pass.ReplacePaired(k, *close,
                           "\\uldb " + pass.Hotspot(k, *close) + (user ? "\\ulnone\\v %!" : "\\ulnone\\v !") +
                               EscapeRtf(macro) + "\\v0 ");
    }
    return pass.Finish(ctx);
}

}  // namespace

// ---------------------------------------------------------------------------
// The passes

namespace {

// The NOSCROLL pass over `text`, which it leaves alone: the converted text,
// or nothing when there is no region to convert.
std::optional<std::string> NoScrollFrom(std::string_view text, const TTagGroups* groups, const TPassContext& ctx) {
    // The first NOSCROLL tag, as FindTag finds it from the start.
    const std::vector<TTagSpan> hits = ScanIn(text, groups, "NOSCROLL");
    if (hits.empty()) return std::nullopt;
    const std::string open(text.substr(hits[0].begin, hits[0].end - hits[0].begin));
    const int p = static_cast<int>(hits[0].begin) + 1;
    // Only a closing tag after the opening one closes the region; one that
    // starts inside the opening tag does not.
    std::string close;
    const int c = FindTag(text, "/NOSCROLL", p + static_cast<int>(open.size()), close);
    if (c < 0) {
        if (ctx.Checks.GetError(Check::UnclosedTag))
            ctx.Log.Add(ctx.Checks.GetErrorType(Check::UnclosedTag), Check::UnclosedTag, open, ctx.Topic, 1);
        return std::nullopt;
    }
    const std::size_t regionBegin = static_cast<std::size_t>(p - 1);
    const std::size_t closeBegin = static_cast<std::size_t>(c - 1);
    std::string region(text.substr(regionBegin, closeBegin - regionBegin));
    ReplaceAllFrom(region, "\\pard", "\\ql", 0);
    ReplaceString(region, open, "\\keepn ", false);
    std::string out;
    out.reserve(text.size() + 16);
    out.append(text.substr(0, regionBegin));
    out.append(region);
    out.append("\\par\\pard ");
    out.append(text.substr(closeBegin + close.size()));
    return out;
}

}  // namespace

void ConvertNoScroll(std::string& text, const TPassContext& ctx) {
    if (std::optional<std::string> out = NoScrollFrom(text, nullptr, ctx)) text.swap(*out);
}

namespace {

// The ANCHOR and IMAGE passes change the text as they go and search on from
// one after each tag. When no replacement holds a "<", a replacement can
// neither hide nor make a later tag, so going through the tags found in the
// text as it stood, in order, gives the same bytes in one sweep. A
// replacement is made of `fixedPart` and the tag's quoted value.
//
// Tags overlap only where several "<" share one ">" (as in "a < b <IMAGE
// ...>"): a converted one takes the rest of its group with it, which the
// search after it then skips. Where the pass also replaces the later copies
// of each converted tag (`copies`), such a later tag must be the only one of
// its string: a copy of it converted earlier would break its group there.
bool CanSweepDirect(std::string_view text, const std::vector<TTagSpan>& hits, std::string_view fixedPart, bool copies) {
    if (fixedPart.find('<') != std::string_view::npos) return false;
    const auto raw = [&](const TTagSpan& t) { return text.substr(t.begin, t.end - t.begin); };
    bool grouped = false;
    std::string buffer;
    for (std::size_t k = 0; k < hits.size(); ++k) {
        if (k > 0 && hits[k].begin < hits[k - 1].end) grouped = true;
        // A plain tag has no "<" but its first character.
        if (hits[k].plain) continue;
        if (FirstQuotedView(StripRtfView(raw(hits[k]), buffer)).find('<') != std::string_view::npos) return false;
    }
    if (!grouped || !copies) return true;
    std::unordered_map<std::string_view, int> count;
    for (const TTagSpan& t : hits) ++count[raw(t)];
    for (std::size_t k = 1; k < hits.size(); ++k)
        if (hits[k].begin < hits[k - 1].end && count[raw(hits[k])] > 1) return false;
    return true;
}

// Checks one ANCHOR tag; gives its replacement when it is converted.
std::optional<std::string> AnchorReplacement(std::string_view tag, const TPassContext& ctx, TAnchorTable& anchors) {
    const std::string s = StripRtf(tag);
    const std::string name = FirstQuoted(s);
    if (name.empty()) {
        ctx.Report(Check::IncompleteTag, s);
        return std::nullopt;
    }
    if (anchors.Exists(name)) {
        ctx.Report(Check::DuplicateAnchor, s);
        return std::nullopt;
    }
    anchors.Add(name);
    return "#{\\footnote " + EscapeRtf(ctx.Topic.GetName()) + "_" + EscapeRtf(name) + "}";
}

// Checks one IMAGE tag; gives its replacement when it is converted. `buffer`
// is the caller's, for the tag without RTF; `plain` as TTagSpan has it.
std::optional<std::string> ImageReplacement(std::string_view tag, const TPassContext& ctx, std::string& buffer,
                                            bool plain = false) {
    const std::string_view s = plain ? tag : StripRtfView(tag, buffer);
    const std::string_view file = FirstQuotedView(s);
    if (ctx.Checks.GetError(Check::ImageNotFound) && !ctx.Project.FileExistsInSearchPath(file, ctx.Folders)) {
        ctx.Report(Check::ImageNotFound, s);
        return std::nullopt;
    }
    if (file.empty()) {
        ctx.Report(Check::IncompleteTag, s);
        return std::nullopt;
    }
    // The letter after IMAGE, in either case, places the image.
    const char placement = s.size() >= 7 ? AsciiUpper(s[6]) : ' ';
    std::string r = placement == 'L' ? "\\{bml " : placement == 'R' ? "\\{bmr " : "\\{bmc ";
    AppendEscapedRtf(r, file);
    r += "\\}";
    return r;
}

}  // namespace

namespace {

// The ANCHOR pass over `text`, which it leaves alone: the converted text, or
// nothing when it has no ANCHOR tag.
std::optional<std::string> AnchorsFrom(std::string_view text, const TTagGroups* groups, const TPassContext& ctx,
                                       TAnchorTable& anchors) {
    if (!ctx.LiteralReplace) {
        const std::vector<TTagSpan> hits = ScanIn(text, groups, "ANCHOR");
        if (hits.empty()) return std::nullopt;
        if (CanSweepDirect(text, hits, ctx.Topic.GetName(), false)) {
            std::string out;
            out.reserve(text.size() + hits.size() * 16);
            std::size_t done = 0;
            for (const TTagSpan& hit : hits) {
                if (hit.begin < done) continue;  // in the group of the tag just replaced
                const std::optional<std::string> r =
                    AnchorReplacement(text.substr(hit.begin, hit.end - hit.begin), ctx, anchors);
                if (!r) continue;
                out.append(text.substr(done, hit.begin - done));
                out.append(*r);
                done = hit.end;
            }
            out.append(text.substr(done));
            return out;
        }
    }
    std::string tag;
    int p = FindTag(text, "ANCHOR", 1, tag);
    if (p < 0) return std::nullopt;
    ctx.NoteTagByTag();
    std::string out(text);
    while (p > 0) {
        // The first occurrence at or after p is the tag found at p.
        if (const std::optional<std::string> r = AnchorReplacement(tag, ctx, anchors))
            out.replace(static_cast<std::size_t>(p - 1), tag.size(), *r);
        p = FindTag(out, "ANCHOR", p + 1, tag);
    }
    return out;
}

}  // namespace

void ConvertAnchors(std::string& text, const TPassContext& ctx, TAnchorTable& anchors) {
    if (std::optional<std::string> out = AnchorsFrom(text, nullptr, ctx, anchors)) text.swap(*out);
}

void ConvertLinks(std::string& text, const TPassContext& ctx, TUnresolvedAnchorTable& unresolved) {
    SnapshotPass pass(text, LinkTag(false), LinkClose(false));
    ConvertLinkTags(pass, ctx, unresolved, false);
    pass.Finish(ctx);
}

void ConvertULinks(std::string& text, const TPassContext& ctx, TUnresolvedAnchorTable& unresolved) {
    SnapshotPass pass(text, LinkTag(true), LinkClose(true));
    ConvertLinkTags(pass, ctx, unresolved, true);
    pass.Finish(ctx);
}

namespace {

// The passes after the links. Each may be given the groups of `text`, and
// says whether it changed the text (the groups then no longer fit).

bool ImagesIn(std::string& text, const TTagGroups* groups, const TPassContext& ctx) {
    if (!ctx.LiteralReplace) {
        const std::vector<TTagSpan> hits = ScanIn(text, groups, "IMAGE");
        if (hits.empty()) return false;
        if (CanSweepDirect(text, hits, {}, true)) {
            // A converted tag also replaces every later copy of itself, which
            // then is not looked at again. The text is copied from the first
            // tag converted on.
            std::unordered_map<std::string_view, std::string> converted;
            std::string out, stripped;
            bool changed = false;
            std::size_t done = 0;
            for (std::size_t k = 0; k < hits.size(); ++k) {
                const TTagSpan& hit = hits[k];
                if (k + kPrefetchAhead < hits.size()) Prefetch(text.data() + hits[k + kPrefetchAhead].begin);
                if (hit.begin < done) continue;  // in the group of the tag just replaced
                const std::string_view raw = std::string_view(text).substr(hit.begin, hit.end - hit.begin);
                auto it = converted.find(raw);
                if (it == converted.end()) {
                    std::optional<std::string> r = ImageReplacement(raw, ctx, stripped, hit.plain);
                    if (!r) continue;
                    it = converted.emplace(raw, std::move(*r)).first;
                }
                if (!changed) {
                    out.reserve(std::max(text.size() + hits.size() * 8, text.capacity()));
                    changed = true;
                }
                out.append(text, done, hit.begin - done);
                out.append(it->second);
                done = hit.end;
            }
            if (!changed) return false;
            out.append(text, done, std::string::npos);
            text.swap(out);
            return true;
        }
    }
    std::string tag, stripped;
    int p = FindTag(text, "IMAGE", 1, tag);
    if (p > 0) ctx.NoteTagByTag();
    bool changed = false;
    while (p > 0) {
        if (const std::optional<std::string> r = ImageReplacement(tag, ctx, stripped)) {
            ReplaceAllFrom(text, tag, *r, static_cast<std::size_t>(p - 1));
            changed = true;
        }
        p = FindTag(text, "IMAGE", p + 1, tag);
    }
    return changed;
}

bool ButtonsIn(std::string& text, const TTagGroups* groups, const TPassContext& ctx) {
    SnapshotPass pass(text, "BTN", "/BTN", groups);
    for (std::size_t k = 0; k < pass.Count(); ++k) {
        const std::string s = StripRtf(pass.Raw(k));
        const std::string macro = InnerFrom(s, 6);
        const std::optional<TTagSpan> close = pass.Close(k);
        if (!close) {
            ctx.Report(Check::UnclosedTag, s);
            continue;
        }
        pass.ReplacePaired(k, *close, "\\{button " + pass.Hotspot(k, *close) + ", " + EscapeRtf(macro) + "\\}");
    }
    return pass.Finish(ctx);
}

bool SoundsIn(std::string& text, const TTagGroups* groups, const TPassContext& ctx) {
    SnapshotPass pass(text, "SOUND", {}, groups);
    for (std::size_t k = 0; k < pass.Count(); ++k) {
        const std::string s = StripRtf(pass.Raw(k));
        const bool external = AsciiUpperStr(s).find(" EXTERNAL ") != std::string::npos;
        const std::string file = FirstQuoted(s);
        if (file.empty()) {
            ctx.Report(Check::IncompleteTag, s);
            continue;
        }
        pass.ReplaceTag(k, std::string("\\{mci PLAY") + (external ? " EXTERNAL" : "") + " ," + EscapeRtf(file) + "\\}");
    }
    return pass.Finish(ctx);
}

bool VideosIn(std::string& text, const TTagGroups* groups, const TPassContext& ctx) {
    SnapshotPass pass(text, "VIDEO", {}, groups);
    for (std::size_t k = 0; k < pass.Count(); ++k) {
        const std::string s = StripRtf(pass.Raw(k));
        const std::string us = AsciiUpperStr(s);
        const auto has = [&](std::string_view flag) { return us.find(flag) != std::string::npos; };
        const std::string file = FirstQuoted(s);
        if (file.empty()) {
            ctx.Report(Check::IncompleteTag, s);
            continue;
        }
        std::string r = "\\{mci ";
        if (has(" EXTERNAL ")) r += "EXTERNAL ";
        if (!has(" PLAYBAR ")) r += "NOPLAYBAR ";
        if (!has(" MENU ")) r += "NOMENU ";
        if (has(" REPEAT ")) r += "REPEAT ";
        if (has(" PLAY ")) r += "PLAY ";
        r += ',';
        r += EscapeRtf(file);
        r += "\\}";
        pass.ReplaceTag(k, std::move(r));
    }
    return pass.Finish(ctx);
}

bool RtfTagsIn(std::string& text, const TTagGroups* groups, const TPassContext& ctx) {
    SnapshotPass pass(text, "RTF", {}, groups);
    for (std::size_t k = 0; k < pass.Count(); ++k) {
        const std::string s = StripRtf(pass.Raw(k));
        std::string code = FirstQuoted(s);
        if (code.empty()) {
            std::string shown = s;
            ReplaceAllFrom(shown, "\\\\", "\\", 0);
            ctx.Report(Check::IncompleteTag, shown);
            continue;
        }
        ReplaceAllFrom(code, "\\\\", "\\", 0);
        pass.ReplaceTag(k, std::move(code));
    }
    return pass.Finish(ctx);
}

}  // namespace

void ConvertImages(std::string& text, const TPassContext& ctx) { ImagesIn(text, nullptr, ctx); }
void ConvertButtons(std::string& text, const TPassContext& ctx) { ButtonsIn(text, nullptr, ctx); }

void ConvertMacros(std::string& text, const TPassContext& ctx) {
    ConvertMacroTags(text, ctx, false);
    ConvertMacroTags(text, ctx, true);
}

void ConvertSounds(std::string& text, const TPassContext& ctx) { SoundsIn(text, nullptr, ctx); }
void ConvertVideos(std::string& text, const TPassContext& ctx) { VideosIn(text, nullptr, ctx); }
void ConvertRtfTags(std::string& text, const TPassContext& ctx) { RtfTagsIn(text, nullptr, ctx); }

void ResolveAnchors(const std::vector<TAnchorTable>& anchorTables, const TUnresolvedAnchorTable& unresolved,
                    TOutputLog& log, const TCheckSettings& checks) {
    // Whether any module defines the name is all that counts; the link's own
    // target is not consulted.
    std::unordered_set<std::string> defined;
    for (const TAnchorTable& table : anchorTables)
        for (const std::string& name : table.Names()) defined.insert(name);
    for (int i = 0; i < unresolved.Count(); ++i) {
        const TUnresolvedAnchorInfo& info = unresolved.Get(i);
        if (defined.count(info.Anchor) || !checks.GetError(Check::UnresolvedAnchor)) continue;
        log.AddNext(checks.GetErrorType(Check::UnresolvedAnchor), Check::UnresolvedAnchor, info.Anchor,
                    info.LinkingTopic, info.LinkingName);
    }
}

std::string BuildFootnotes(const TTopicNode& topic) {
    std::string out;
    const auto footnote = [&out](char mark, std::string_view value) {
        out += mark;
        out += "{\\footnote ";
        out += EscapeRtf(value);
        out += "}\r\n";
    };
    const auto joined = [](const StringList& list) {
        std::string s;
        for (const std::string& item : list) s += item + ";";
        return s;
    };
    const std::string buildTag = topic.GetBuildTag();
    if (!buildTag.empty()) footnote('*', buildTag);
    footnote('#', topic.GetName());
    if (!topic.IsTopic()) return out;
    const std::string title = topic.GetTitle();
    if (!title.empty()) footnote('$', title);
    if (!topic.Keywords.empty()) footnote('K', joined(topic.Keywords));
    if (!topic.AKeywords.empty()) footnote('A', joined(topic.AKeywords));
    if (!topic.Macros.empty()) footnote('!', joined(topic.Macros));
    const std::string window = topic.GetWindow();
    if (window != "main") footnote('>', window);
    const std::string browse = topic.GetBrowse();
    if (!browse.empty()) footnote('+', browse);
    return out;
}

namespace {

// "&lt;" becomes "<", then "&rt;" becomes ">". Neither string overlaps the
// other and neither replacement makes or breaks one of the other, so both go
// in one look through the text for "&".
void UnescapeBrackets(std::string& text) {
    const auto escapeAt = [&](std::size_t p) {
        return p + 3 < text.size() && (text[p + 1] == 'l' || text[p + 1] == 'r') && text[p + 2] == 't' &&
               text[p + 3] == ';';
    };
    std::size_t p = text.find('&');
    while (p != std::string::npos && !escapeAt(p)) p = text.find('&', p + 1);
    if (p == std::string::npos) return;
    std::string out;
    out.reserve(text.capacity());
    std::size_t done = 0;
    for (; p != std::string::npos; p = text.find('&', p + 1)) {
        if (!escapeAt(p)) continue;
        out.append(text, done, p - done);
        out += text[p + 1] == 'l' ? '<' : '>';
        done = p + 4;
        p += 3;
    }
    out.append(text, done, std::string::npos);
    text.swap(out);
}

}  // namespace

std::string PreprocessTopic(const TPassContext& ctx, TAnchorTable& anchors, TUnresolvedAnchorTable& unresolved) {
    const std::string footnotes = BuildFootnotes(ctx.Topic);
    // The first passes read the module's own text until one of them changes
    // it, so a large text is copied once, by the pass that converts it; the
    // link passes leave room for the footnotes, which then go in in place.
    // The places where tags can stand are found once for the scans of every
    // pass, and again only after a pass changed the text.
    std::string text;
    std::string_view current = ctx.Topic.Text;
    std::optional<TTagGroups> groups;
    const auto currentGroups = [&]() -> const TTagGroups* {
        if (!groups) groups.emplace(current);
        return &*groups;
    };
    const auto adopt = [&](std::optional<std::string> changed) {
        if (!changed) return;
        text = std::move(*changed);
        current = text;
        groups.reset();
    };
    // A table's paragraphs become its rows first, while the text is the
    // editor's own (the later passes write codes of their own).
    adopt(AssembleTableRows(current));
    adopt(NoScrollFrom(current, currentGroups(), ctx));
    adopt(AnchorsFrom(current, currentGroups(), ctx, anchors));
    adopt(LinksFrom(current, currentGroups(), ctx, unresolved, false, footnotes.size()));
    adopt(LinksFrom(current, currentGroups(), ctx, unresolved, true, footnotes.size()));
    if (current.data() != text.data()) {
        text.reserve(current.size() + footnotes.size());
        text.assign(current);
        if (groups) groups->Moved(text);
    }
    // The later passes change the text in place.
    const auto run = [&](auto&& pass) {
        if (!groups) groups.emplace(text);
        if (pass(text, &*groups)) groups.reset();
    };
    run([&](std::string& t, const TTagGroups* g) { return ImagesIn(t, g, ctx); });
    run([&](std::string& t, const TTagGroups* g) { return ButtonsIn(t, g, ctx); });
    run([&](std::string& t, const TTagGroups* g) { return ConvertMacroTags(t, ctx, false, g); });
    run([&](std::string& t, const TTagGroups* g) { return ConvertMacroTags(t, ctx, true, g); });
    run([&](std::string& t, const TTagGroups* g) { return SoundsIn(t, g, ctx); });
    run([&](std::string& t, const TTagGroups* g) { return VideosIn(t, g, ctx); });
    run([&](std::string& t, const TTagGroups* g) { return RtfTagsIn(t, g, ctx); });
    UnescapeBrackets(text);
    const std::size_t at = text.find("\\viewkind4");
    text.insert(at == std::string::npos ? 0 : at, footnotes);
    return text;
}

namespace {

void WriteWorkFile(const std::string& path, const std::string& data, const std::string& workFolder) {
    if (const int err = WriteNewFile(path, data); err != 0)
        throw CreateFileAccessError(workFolder, false, WinCodeFromErrno(err, ToFsPath(path).string()));
}

}  // namespace

void WriteTopicFiles(const TProject& project, const std::string& workFolder, TOutputLog& log,
                     const TCheckSettings& checks) {
    CheckProjectForBuild(project);
    std::vector<TAnchorTable> anchorTables(static_cast<std::size_t>(project.Topics.Count()));
    TUnresolvedAnchorTable unresolved;
    const std::string folder = IncludeBackslash(workFolder);
    const TModuleIndex modules(project.Topics);
    // One listing per image folder for this build; the next build lists again.
    TFolderCache folders;
    std::size_t index = 0;
    for (const auto& node : project.Topics) {
        const TPassContext ctx{project, *node, log, checks, false, &modules, &folders};
        const std::string rtf = PreprocessTopic(ctx, anchorTables[index++], unresolved);
        WriteWorkFile(folder + node->GetName() + ".rtf", rtf, workFolder);
    }
    ResolveAnchors(anchorTables, unresolved, log, checks);
}

}  // namespace qm

#pragma once
// Find, Replace All and the link update over the texts of a project's
// modules (topics and popups), without an editor.
//
// Offsets are the editor's: a module's text is read as the editor reads it
// (ReadModuleText), so a hit opened in the editor selects the found text.
// Reading RTF is what costs, so the plain texts are kept in a cache by node
// Id, each used only while the node's text is byte for byte the one it was
// read from. Edits keep every character's format; inserted text takes the
// format of the first character it replaces, as the editor's replace does.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/topics.h"
#include "richtext/richdoc.h"
#include "richtext/textsearch.h"

namespace qm {

// The modules a search covers, in the project's list order.
enum class TModuleScope { All, Topics, Popups };
bool InModuleScope(const TTopicNode& node, TModuleScope scope);

// One hit: the module by its stable Id, the 0-based offset in its plain
// text and the length of the search text.
struct TSearchHit {
    TNodeId Node = 0;
    int Offset = 0;
    int Length = 0;
    bool operator==(const TSearchHit&) const = default;
};

// A module's text read as the editor reads it: RTF when it looks like RTF,
// else plain text in `plainFormat`; RTF that cannot be trusted at all is
// shown as the text it is.
RichDocument ReadModuleText(std::string_view text, const CharFormat& plainFormat = CharFormat());
// ReadModuleText(text).plainText(), without making the document.
std::u16string ModulePlainText(std::string_view text);
// The same into `out`, whose memory is reused.
void ModulePlainText(std::string_view text, std::u16string& out);

// The plain texts of modules, kept by node Id.
class TModuleTextCache {
public:
    TModuleTextCache() = default;
    TModuleTextCache(const TModuleTextCache&) = delete;
    TModuleTextCache& operator=(const TModuleTextCache&) = delete;

    // The node's text as a search with `options` runs over it (folded when
    // the search ignores case, see SearchNeedsFolding). Valid until the next
    // call on the cache.
    std::u16string_view SearchText(const TTopicNode& node, int options);
    // Forgets every node not in `topics`.
    void Prune(const TTopics& topics);
    void Clear();
    std::size_t Size() const { return entries_.size(); }
    // How many module texts were read so far (each read parses the RTF).
    long long Reads() const { return reads_; }

private:
    struct Entry {
        std::string_view source;  // the node's text the strings were made from
        std::u16string_view plain;
        std::u16string_view folded;
        bool hasPlain = false;
        bool hasFolded = false;
    };
    // The entries' characters live in large blocks: a first search that
    // reads thousands of texts makes a few allocations, not thousands.
    char* allocate(std::size_t bytes);
    std::string_view store(std::string_view text);
    std::u16string_view store(std::u16string_view text, bool fold);
    static std::size_t bytesOf(const Entry& e);
    // Copies the live entries into new blocks once most stored bytes are
    // those of texts that changed or left.
    void compactIfWasteful();

    std::unordered_map<TNodeId, Entry> entries_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t liveBytes_ = 0;
    std::size_t storedBytes_ = 0;
    std::u16string scratch_;  // the text being read
    long long reads_ = 0;
};

// Every hit of `needle` in the modules of `scope`, module by module in list
// order, each module searched forward from its start with hits that may
// overlap (each next search starts one character after the previous hit).
// Only the whole-word and match-case bits of `options` count.
std::vector<TSearchHit> FindInModules(const TTopics& topics, TModuleScope scope, std::u16string_view needle,
                                      int options, TModuleTextCache& cache);

// Applies edits (ascending, not overlapping, inside the document) in one
// pass, as the editor applies them. Each inserted text takes the format of
// the first character it replaces (at a paragraph break: the paragraph's
// mark format); a paragraph break in it ("\r", "\n" or CR LF) starts a
// paragraph in the same paragraph format, whose mark takes the inserted
// text's format. A removed paragraph break joins the paragraphs into the
// first, which keeps its format and mark.
void ApplyEdits(RichDocument& doc, const std::vector<TTextEdit>& edits);

// Replaces every hit of `needle` in the module text `rtf`, always forward
// from the start: each next search starts right after the inserted text, and
// the whole-word test sees it. Returns the number of replacements. A text
// without a hit, or an empty needle, leaves `rtf` as it was, byte for byte.
int ReplaceAllInRtf(std::string& rtf, std::u16string_view needle, int options, std::u16string_view replacement,
                    const CharFormat& plainFormat = CharFormat());

// The link update that follows a rename: every occurrence of `oldText`
// (normally "=" + quote + old name + quote), ignoring case, becomes
// `newText`. When both end with a double quote, the anchor form (the text
// up to the quote, then ":") follows too, so `="Old:anchor"` becomes
// `="New:anchor"`. An occurrence inside a tag that holds FILE= (any case),
// from the "<" before it to the next ">", links into another help file and
// is left alone.
class TLinkRule {
public:
    TLinkRule(std::u16string_view oldText, std::u16string_view newText);
    // The edits for a module's folded plain text (FoldSearchText).
    std::vector<TTextEdit> Edits(std::u16string_view folded) const;
    // Applies the rule to a module text; returns the number of links changed.
    // A text without one is left as it was, byte for byte.
    int ApplyToRtf(std::string& rtf, const CharFormat& plainFormat = CharFormat()) const;

private:
    std::u16string old_, new_, oldAnchor_, newAnchor_;
    TTextMatcher oldMatch_, anchorMatch_, fileMatch_;
};

}  // namespace qm

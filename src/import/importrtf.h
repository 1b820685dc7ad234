#pragma once
// The RTF import: help-compiler RTF (topics separated by page breaks, named by
// footnotes, with hotspots, bitmaps, buttons and media in the compiler's
// codes) becomes topic records whose bodies hold the tag language again.
//
// The road: ExtractFootnotes takes the footnotes off each page, the literal
// angle brackets of the text are escaped, ConvertAnchorFootnotes turns the
// extra "#" footnotes into ANCHOR tags, and the text is read and cut into one
// document per page, each written in the editor's RTF dialect. (SplitPages
// cuts text already in that dialect.)
// CreateImportedTopics then makes the records, running RtfToTags on each page.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "import/importnotes.h"
#include "model/project.h"
#include "model/topics.h"
#include "richtext/richdoc.h"
#include "util/qorstring.h"

namespace qm {

class TPictureSink;

// The footnotes of one imported page.
struct TFootnotes {
    std::string ID;         // "#"
    std::string Title;      // "$"
    std::string Window;     // ">"
    std::string Macros;     // "!"
    std::string Browse;     // "+"
    std::string Keywords;   // "K"
    std::string AKeywords;  // "A"
    std::string BuildTags;  // "*"
    // The extra "#" footnotes of the page: the context string as written and
    // the anchor name it became.
    std::vector<std::pair<std::string, std::string>> Anchors;
    // The page is the first of its file and so begins with its own header.
    bool OwnHeader = false;

    // True when the page carried no footnote at all.
    bool Empty() const;
};

using TFootnotesList = std::vector<TFootnotes>;

// Progress of the long steps: `position` of `max`.
using TProgressFn = std::function<void(int position, int max)>;

// The value of one footnote group's contents (the text between "{\footnote"
// and its closing brace): RTF removed, line ends dropped, trimmed, and the
// footnote's own mark in front (as word processors repeat it) left out.
std::string FootnoteValue(std::string_view contents, char mark);

// Cuts the text into pages at every "\page" control word and appends one
// record per page to `footnotes`. The first footnote of each mark on a page
// fills the record and is removed from the text with its mark; further "K" and
// "A" footnotes add to the keywords, other repeated marks are dropped, and so
// are footnotes with no mark of ours. Further "#" footnotes stay in the text
// for ConvertAnchorFootnotes. Returns the number of pages.
int ExtractFootnotes(std::string& text, TFootnotesList& footnotes, const TProgressFn& progress = {});

// Escapes every literal "<" and ">" of the document text as "&lt;" and "&rt;",
// so that only the tags the import writes are tags.
void EscapeLiteralBrackets(std::string& text);

// Replaces every remaining "#" footnote by an ANCHOR tag. `footnotes` holds the
// records of the text's pages, `firstPage` the index of its first page there.
// A value of the form ID_anchor, ID being the page's own name, gives the
// anchor "anchor"; any other value (an alias) gives itself.
void ConvertAnchorFootnotes(std::string& text, TFootnotesList& footnotes, std::size_t firstPage = 0);

// The length of the page header: the text up to "\viewkind4" and the run of
// control words after it, with the blank that ends the run. 0 when the text
// has no "\viewkind4".
std::size_t PageHeaderLength(std::string_view text);

// Cuts normalised RTF into pages at "\page" and appends each, as a complete
// document, to `pages`, adding one to `count` per page. Pages after the first
// get the header in front; one blank after "\page" is dropped. Returns the
// number of pages of this text.
int SplitPages(std::string_view text, StringList& pages, int& count);

// Cuts a document at its page-break characters into one document per page.
// The paragraph a break stands in goes on in the next page with its format.
std::vector<RichDocument> SplitDocumentPages(RichDocument doc);

// The text of a page, RTF removed and trimmed, without its header.
std::string PageVisibleText(std::string_view page);

// The whole road for one file's text: footnotes, tables and pictures (see
// ConvertTablesAndPictures; the pictures go to `pictures`), anchors,
// normalising, pages (each written on its own, with its own header).
// Pages without footnotes and without text make no page. Raises qm::Error when
// the file's pages cannot be matched with their footnotes. What is left out
// goes to `notes`.
void ParseRtfFile(std::string text, StringList& pages, int& count, TFootnotesList& footnotes,
                  const TProgressFn& progress = {}, TPictureSink* pictures = nullptr, TImportNotes* notes = nullptr);

// The name a context string gives its record: each character a name may not
// hold becomes "_", the name is cut until the build can write the module's
// work file under it, and a Windows device name (NUL, COM1, ...) gets a "_"
// after it.
std::string ContextToName(std::string_view context);

// Where the hotspot contexts of imported pages lead: the context strings as
// the source wrote them (matched without regard to case) mapped to the
// TOPIC/POPUP value of the tag.
class TContextMap {
public:
    // The first definition of a context wins.
    void Add(std::string_view context, std::string target);
    // The mapped value, or the context itself.
    std::string Resolve(std::string_view context) const;
    bool Knows(std::string_view context) const;
    bool Empty() const { return map_.empty(); }

private:
    std::unordered_map<std::string, std::string> map_;
};

// Turns the help compiler's codes of one page into tags: bitmaps, buttons,
// media, then hotspots. `contexts` maps link targets (may be null). Codes
// inside an RTF tag are left for the compiler. A transparent bitmap becomes
// a plain image and is noted.
//
// A hotspot is a run underlined (single: a popup; double: a jump) or struck
// through (a jump) and the hidden text after it, which may carry its own
// underline; a paragraph mark at the start of the run stays before the tag.
// Hidden text starting with "!" makes a macro hotspot whatever the run's look.
void RtfToTags(std::string& text, const TContextMap* contexts = nullptr, TImportNotes* notes = nullptr);

// When the page's first paragraphs keep with the next (the help compiler's
// non-scrolling region), puts them between NOSCROLL tags in place of their
// \keepn and the paragraph break that ends the last of them. The page must
// begin with its own header. False when there is no such region.
bool ConvertNoScrollRegion(std::string& text);

// What a help project adds to its records: the numbers of its [MAP] and the
// other names ([ALIAS]) its links may use.
struct TTopicImportExtras {
    // Context numbers by context string, lower-cased.
    std::unordered_map<std::string, std::int32_t> Numbers;
    // Context strings that stand for others: the alias, lower-cased, and
    // the context string it names.
    std::unordered_map<std::string, std::string> Aliases;
    TImportNotes* Notes = nullptr;
    // When given, receives where each context string and alias leads (the
    // record's name, or name:anchor), for what the records' tags do not hold.
    TContextMap* Contexts = nullptr;
};

// Makes one record per page, in page order, appended to `list`. Names are the
// pages' context strings (ContextToName), made unique among the records made
// here and, when `checkProject` is given, among its modules; links follow
// them. A record whose context string has a number in `extras` takes it
// unless a module already has it; the others go up in steps of 5 past the
// numbers in use. A keyword that several K (or A) footnotes repeat is kept
// once.
void CreateImportedTopics(int count, const StringList& pages, const TFootnotesList& footnotes,
                          const TProject* checkProject, std::vector<std::unique_ptr<TTopicNode>>& list,
                          const TTopicImportExtras* extras = nullptr);
// The same, taking each page's text over as its record is made, so that a
// large file's pages and records are not held twice; `pages` is left empty.
void CreateImportedTopics(int count, StringList&& pages, const TFootnotesList& footnotes, const TProject* checkProject,
                          std::vector<std::unique_ptr<TTopicNode>>& list, const TTopicImportExtras* extras = nullptr);

// Makes a popup of every record that is the target of a popup hotspot and of
// no jump, and has no keywords, no browse sequence and no entry macros; the
// record named `keepTopic` (the contents topic) stays a topic.
void MakePopupOnlyRecordsPopups(std::vector<std::unique_ptr<TTopicNode>>& list, std::string_view keepTopic);

}  // namespace qm

#pragma once
// Contents files (.cnt): the tree of books, topics, macros, includes and
// comments that the help viewer shows, and the header lines around it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum class TCntNodeKind : std::uint8_t { Topic = 0, Book = 1, Include = 2, Macro = 3, Comment = 4 };

// One entry of the contents.
struct TCntNode {
    TCntNodeKind Kind = TCntNodeKind::Topic;
    std::string TopicId;   // context string of a topic entry
    std::string Title;     // entry text; a comment's text
    std::string Window;    // window of a topic entry
    std::string HelpFile;  // help file of a topic; the included file of an include
    std::string Macro;     // macro of a macro entry
};

// A node of the tree. The parent link is set only on a first child; the parent
// of any node is the parent link of the first node of its sibling chain.
struct TCntTreeNode {
    std::unique_ptr<TCntNode> Item;
    TCntTreeNode* PrevSibling = nullptr;
    TCntTreeNode* NextSibling = nullptr;
    TCntTreeNode* Parent = nullptr;
    TCntTreeNode* FirstChild = nullptr;
};

// The entries in a first-child / next-sibling tree. Positions are 0-based
// preorder indexes; levels count from 1 at the top. Only books hold children,
// and no operation can make a node its own ancestor. Nothing here recurses, so
// any depth a file can describe is safe.
class TCntTree {
public:
    TCntTree() = default;
    ~TCntTree();
    TCntTree(const TCntTree&) = delete;
    TCntTree& operator=(const TCntTree&) = delete;

    void Clear();

    // Appends `item` as the last child of `parent` (a book), or as the last
    // top-level node when `parent` is null. A parent that is not a book cannot
    // take children: nothing is added, the item is freed, and null is returned.
    TCntTreeNode* AddChild(TCntTreeNode* parent, std::unique_ptr<TCntNode> item);

    int Count() const { return count_; }
    TCntTreeNode* GetNode(int index) const;
    TCntNode* GetItem(int index) const;
    int IndexOf(const TCntTreeNode* node) const;  // -1 when not in the tree
    TCntTreeNode* GetParent(int index) const;     // null on level 1 or out of range
    int GetLevel(const TCntNode* item) const;     // 0 when the record is not in the tree
    int LevelOf(const TCntTreeNode* node) const;  // 1 for a top-level node

    // A new node holding `item` becomes the previous sibling of the node at
    // `index`. Out of range: nothing is inserted (the item is freed), null.
    TCntTreeNode* Insert(std::unique_ptr<TCntNode> item, int index);
    // Removes the node at `index` with its subtree; the number of entries removed.
    int Delete(int index);

    bool MoveUp(int index);
    bool MoveDown(int index);
    bool MoveLeft(int index);   // outdent: becomes its parent's next sibling
    bool MoveRight(int index);  // indent into the nearest earlier sibling book
    // Drag and drop onto the node at `index` (counted before the move): before
    // it when moving up, after it when moving down. Never into the node's own
    // subtree. True when the tree changed.
    bool Move(TCntTreeNode* node, int index);

    TCntTreeNode* First() const { return first_; }
    // The node after `node` in preorder, or null.
    static TCntTreeNode* NextInPreorder(const TCntTreeNode* node);

private:
    friend class TCntFile;
    // Reader fast path: appends after `last`, the known last child of `parent`
    // (null when it has none yet), without walking the sibling chain.
    TCntTreeNode* AppendAfter(TCntTreeNode* parent, TCntTreeNode* last, std::unique_ptr<TCntNode> item);
    static TCntTreeNode* ParentOf(const TCntTreeNode* node);
    static TCntTreeNode* LastSibling(TCntTreeNode* node);
    static bool IsAncestorOf(const TCntTreeNode* ancestor, const TCntTreeNode* node);
    // Takes `node` (with its subtree) out of its sibling chain.
    void Unlink(TCntTreeNode* node);
    void LinkBefore(TCntTreeNode* node, TCntTreeNode* target);
    void LinkAfter(TCntTreeNode* node, TCntTreeNode* target);
    void LinkLastChild(TCntTreeNode* node, TCntTreeNode* parent);
    static int SubtreeSize(const TCntTreeNode* node);
    void FreeSubtree(TCntTreeNode* node);
    // The nodes are made in blocks, and a freed one is kept for the next: a
    // large file's load makes an allocation per block, not per entry.
    TCntTreeNode* NewNode(std::unique_ptr<TCntNode> item);
    void FreeNode(TCntTreeNode* node);

    TCntTreeNode* first_ = nullptr;
    int count_ = 0;
    std::vector<std::unique_ptr<TCntTreeNode[]>> blocks_;
    std::size_t lastBlockUsed_ = 0;  // the nodes handed out of the last block
    std::vector<TCntTreeNode*> spare_;
};

struct TIndexFile {
    std::string Title;
    std::string HelpFile;
    std::string Comment;
};

struct TLinkFile {
    std::string HelpFile;
    std::string Comment;
};

struct TTab {
    std::string TabName;
    std::string DllName;
    std::string Comment;
};

// The header lists of a contents file.
class TCntExDatas {
public:
    void Clear();
    void Assign(const TCntExDatas& other);
    // Copies of the record at 0-based index i; false when out of range.
    bool GetIndexFile(int i, TIndexFile& out) const;
    bool GetLinkFile(int i, TLinkFile& out) const;
    bool GetTab(int i, TTab& out) const;

    std::vector<TIndexFile> IndexFiles;
    std::vector<TLinkFile> LinkFiles;
    std::vector<TTab> Tabs;
};

class TCntFile {
public:
    // Contents files of the largest help systems are a few megabytes; larger
    // files are refused before they are read.
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{16} << 20;

    void Clear();
    // Empties the tree and reads the file into it. False when the file cannot
    // be read, or holds non-blank lines of which none could be read (the tree
    // then stays empty); LastError() holds the text to show, naming the file.
    // On success the name becomes FileName.
    bool LoadFromFile(const std::string& name);
    // Writes the file atomically; an empty name means FileName. False on
    // failure, with the text to show in LastError() and the model unchanged.
    // A field that its line could not hold (CntFileFault) is a failure too:
    // nothing is written then.
    bool SaveToFile(const std::string& name);

    // The contents text as it is saved, CR LF line ends.
    std::string ToText() const;
    // Reads contents text into the tree and header fields. False when the
    // text has non-blank lines of which none could be read (not a contents
    // file: UTF-16, say); whatever could be read is kept either way.
    bool ParseText(const std::string& text);

    const std::string& LastError() const { return lastError_; }

    std::string FileName;
    std::string BaseFile;
    std::string Title;
    std::string BaseWindow;
    bool Modified = false;
    TCntTree Tree;
    TCntExDatas ExDatas;

private:
    std::string lastError_;
};

// ------------------------------------------------------- what a line can hold
//
// Each field is written into one line of the file, and some characters would
// make that line read back differently: a "=" in a book's title turns it into
// a topic, a ">" in a topic's help file moves the rest into the window, a ";"
// in a header line starts its comment. The kinds of field, with what each
// refuses beyond what every field refuses (CR, LF, and characters outside
// Windows-1252):
enum class TCntField : std::uint8_t {
    EntryTitle,    // titles of book, topic and macro entries: "="
    TopicId,       // a topic entry's id: "@", ">", and "!" as its first character
    HelpFileName,  // a topic entry's help file, the base help file: ">"
    HeaderName,    // an index file's title, a tab's name: "=", ";"
    HeaderFile,    // the help file of an index or link file, a tab's DLL: ";"
    Text,          // any other field
};

// The first character of `text` that a field of kind `field` cannot hold;
// nullopt when it can hold all of them. `text` is in code points, as the GUI
// has it before it becomes Windows-1252: a code point that Windows-1252
// lacks is refused as well.
std::optional<char32_t> CntRefusedChar(TCntField field, std::u32string_view text);
// The same over model text (Windows-1252 bytes); the answer is a code point.
std::optional<char32_t> CntRefusedChar(TCntField field, std::string_view text);

// The refusals, "%1" the field's label and "%2" the character.
inline constexpr const char* kMsgCntRefusedChar = "The %1 cannot hold \"%2\" in a contents file.";
inline constexpr const char* kMsgCntLineBreak = "The %1 cannot hold a line break.";
// The refusal of `c` (a character of model text) in the field labelled `label`.
std::string CntRefusalText(std::string_view label, char c);

// A field of an entry that its line cannot hold: the field's name ("title",
// "topic id", ...) and the refused character.
struct TCntFault {
    std::string Field;
    char32_t Char = 0;
};
// The first fault of `entry`, its fields in their order on the line.
std::optional<TCntFault> CntEntryFault(const TCntNode& entry);
// The first fault of the whole file (header fields, side lists, entries in
// preorder) as the text that SaveToFile reports, naming the entry; empty when
// every field can be written. What the reader produces always passes.
std::string CntFileFault(const TCntFile& file);

}  // namespace qm

#include "formats/cntfile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <exception>
#include <tuple>

#include "util/cp1252.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "util/textfile.h"

namespace qm {

// ---------------------------------------------------------------- TCntTree

TCntTree::~TCntTree() { Clear(); }

TCntTreeNode* TCntTree::ParentOf(const TCntTreeNode* node) {
    if (!node) return nullptr;
    while (node->PrevSibling) node = node->PrevSibling;
    return node->Parent;
}

TCntTreeNode* TCntTree::LastSibling(TCntTreeNode* node) {
    if (!node) return nullptr;
    while (node->NextSibling) node = node->NextSibling;
    return node;
}

bool TCntTree::IsAncestorOf(const TCntTreeNode* ancestor, const TCntTreeNode* node) {
    for (const TCntTreeNode* p = ParentOf(node); p; p = ParentOf(p))
        if (p == ancestor) return true;
    return false;
}

TCntTreeNode* TCntTree::NextInPreorder(const TCntTreeNode* node) {
    if (!node) return nullptr;
    if (node->FirstChild) return node->FirstChild;
    while (node && !node->NextSibling) node = ParentOf(node);
    return node ? node->NextSibling : nullptr;
}

int TCntTree::SubtreeSize(const TCntTreeNode* node) {
    int n = 1;
    const TCntTreeNode* cur = node->FirstChild;
    while (cur) {
        ++n;
        if (cur->FirstChild) {
            cur = cur->FirstChild;
            continue;
        }
        while (cur && !cur->NextSibling) {
            cur = ParentOf(cur);
            if (cur == node) cur = nullptr;
        }
        if (cur) cur = cur->NextSibling;
    }
    return n;
}

namespace {
constexpr std::size_t kNodeBlock = 512;
}  // namespace

TCntTreeNode* TCntTree::NewNode(std::unique_ptr<TCntNode> item) {
    TCntTreeNode* node;
    if (!spare_.empty()) {
        node = spare_.back();
        spare_.pop_back();
    } else {
        if (blocks_.empty() || lastBlockUsed_ == kNodeBlock) {
            blocks_.push_back(std::make_unique<TCntTreeNode[]>(kNodeBlock));
            lastBlockUsed_ = 0;
        }
        node = &blocks_.back()[lastBlockUsed_++];
    }
    node->Item = std::move(item);
    return node;
}

void TCntTree::FreeNode(TCntTreeNode* node) {
    *node = TCntTreeNode();
    spare_.push_back(node);
}

void TCntTree::FreeSubtree(TCntTreeNode* node) {
    // An explicit stack: a file may describe a tree far deeper than the call stack.
    std::vector<TCntTreeNode*> pending{node};
    while (!pending.empty()) {
        TCntTreeNode* n = pending.back();
        pending.pop_back();
        for (TCntTreeNode* c = n->FirstChild; c; c = c->NextSibling) pending.push_back(c);
        FreeNode(n);
    }
}

void TCntTree::Clear() {
    // Every node goes, with its entry, at once.
    blocks_.clear();
    spare_.clear();
    lastBlockUsed_ = 0;
    first_ = nullptr;
    count_ = 0;
}

void TCntTree::Unlink(TCntTreeNode* node) {
    TCntTreeNode* prev = node->PrevSibling;
    TCntTreeNode* next = node->NextSibling;
    if (prev) {
        prev->NextSibling = next;
    } else {
        TCntTreeNode* parent = node->Parent;
        if (parent)
            parent->FirstChild = next;
        else
            first_ = next;
        if (next) next->Parent = parent;
    }
    if (next) next->PrevSibling = prev;
    node->PrevSibling = node->NextSibling = node->Parent = nullptr;
}

void TCntTree::LinkBefore(TCntTreeNode* node, TCntTreeNode* target) {
    TCntTreeNode* prev = target->PrevSibling;
    node->PrevSibling = prev;
    node->NextSibling = target;
    target->PrevSibling = node;
    if (prev) {
        prev->NextSibling = node;
        node->Parent = nullptr;
    } else {
        node->Parent = target->Parent;
        target->Parent = nullptr;
        if (node->Parent)
            node->Parent->FirstChild = node;
        else
            first_ = node;
    }
}

void TCntTree::LinkAfter(TCntTreeNode* node, TCntTreeNode* target) {
    TCntTreeNode* next = target->NextSibling;
    node->PrevSibling = target;
    node->NextSibling = next;
    node->Parent = nullptr;
    target->NextSibling = node;
    if (next) next->PrevSibling = node;
}

void TCntTree::LinkLastChild(TCntTreeNode* node, TCntTreeNode* parent) {
    TCntTreeNode* head = parent ? parent->FirstChild : first_;
    if (head) {
        LinkAfter(node, LastSibling(head));
        return;
    }
    node->PrevSibling = node->NextSibling = nullptr;
    node->Parent = parent;
    if (parent)
        parent->FirstChild = node;
    else
        first_ = node;
}

TCntTreeNode* TCntTree::AddChild(TCntTreeNode* parent, std::unique_ptr<TCntNode> item) {
    if (!item) return nullptr;
    if (parent && parent->Item->Kind != TCntNodeKind::Book) return nullptr;
    TCntTreeNode* node = NewNode(std::move(item));
    LinkLastChild(node, parent);
    ++count_;
    return node;
}

TCntTreeNode* TCntTree::AppendAfter(TCntTreeNode* parent, TCntTreeNode* last, std::unique_ptr<TCntNode> item) {
    TCntTreeNode* node = NewNode(std::move(item));
    if (last) {
        LinkAfter(node, last);
    } else {
        node->Parent = parent;
        if (parent)
            parent->FirstChild = node;
        else
            first_ = node;
    }
    ++count_;
    return node;
}

TCntTreeNode* TCntTree::GetNode(int index) const {
    if (index < 0 || index >= count_) return nullptr;
    TCntTreeNode* n = first_;
    for (int i = 0; n && i < index; ++i) n = NextInPreorder(n);
    return n;
}

TCntNode* TCntTree::GetItem(int index) const {
    TCntTreeNode* n = GetNode(index);
    return n ? n->Item.get() : nullptr;
}

int TCntTree::IndexOf(const TCntTreeNode* node) const {
    if (!node) return -1;
    int i = 0;
    for (const TCntTreeNode* n = first_; n; n = NextInPreorder(n), ++i)
        if (n == node) return i;
    return -1;
}

TCntTreeNode* TCntTree::GetParent(int index) const { return ParentOf(GetNode(index)); }

int TCntTree::LevelOf(const TCntTreeNode* node) const {
    if (!node) return 0;
    int level = 1;
    for (const TCntTreeNode* p = ParentOf(node); p; p = ParentOf(p)) ++level;
    return level;
}

int TCntTree::GetLevel(const TCntNode* item) const {
    if (!item) return 0;
    for (const TCntTreeNode* n = first_; n; n = NextInPreorder(n))
        if (n->Item.get() == item) return LevelOf(n);
    return 0;
}

TCntTreeNode* TCntTree::Insert(std::unique_ptr<TCntNode> item, int index) {
    if (!item) return nullptr;
    TCntTreeNode* target = GetNode(index);
    if (!target) return nullptr;
    TCntTreeNode* node = NewNode(std::move(item));
    LinkBefore(node, target);
    ++count_;
    return node;
}

int TCntTree::Delete(int index) {
    TCntTreeNode* node = GetNode(index);
    if (!node) return 0;
    const int removed = SubtreeSize(node);
    Unlink(node);
    FreeSubtree(node);
    count_ -= removed;
    return removed;
}

bool TCntTree::MoveUp(int index) {
    TCntTreeNode* node = GetNode(index);
    if (!node || !node->PrevSibling) return false;
    TCntTreeNode* prev = node->PrevSibling;
    Unlink(node);
    LinkBefore(node, prev);
    return true;
}

bool TCntTree::MoveDown(int index) {
    TCntTreeNode* node = GetNode(index);
    if (!node || !node->NextSibling) return false;
    TCntTreeNode* next = node->NextSibling;
    Unlink(next);
    LinkBefore(next, node);
    return true;
}

bool TCntTree::MoveLeft(int index) {
    TCntTreeNode* node = GetNode(index);
    TCntTreeNode* parent = ParentOf(node);
    if (!parent) return false;
    Unlink(node);
    LinkAfter(node, parent);
    return true;
}

bool TCntTree::MoveRight(int index) {
    TCntTreeNode* node = GetNode(index);
    if (!node) return false;
    // Only a book can hold children, so the node goes into the nearest earlier
    // sibling book.
    for (TCntTreeNode* p = node->PrevSibling; p; p = p->PrevSibling) {
        if (p->Item->Kind == TCntNodeKind::Book) {
            Unlink(node);
            LinkLastChild(node, p);
            return true;
        }
    }
    return false;
}

bool TCntTree::Move(TCntTreeNode* node, int index) {
    if (!node || index == -1) return false;
    const int own = IndexOf(node);
    if (own < 0 || index == own) return false;
    TCntTreeNode* target = GetNode(index);
    if (!target || IsAncestorOf(node, target)) return false;
    Unlink(node);
    if (index < own)
        LinkBefore(node, target);
    else
        LinkAfter(node, target);
    return true;
}

// ------------------------------------------------------------- TCntExDatas

void TCntExDatas::Clear() {
    IndexFiles.clear();
    LinkFiles.clear();
    Tabs.clear();
}

void TCntExDatas::Assign(const TCntExDatas& other) {
    if (&other == this) return;
    IndexFiles = other.IndexFiles;
    LinkFiles = other.LinkFiles;
    Tabs = other.Tabs;
}

namespace {

template <typename T>
bool CopyAt(const std::vector<T>& list, int i, T& out) {
    if (i < 0 || static_cast<std::size_t>(i) >= list.size()) return false;
    out = list[static_cast<std::size_t>(i)];
    return true;
}

}  // namespace

bool TCntExDatas::GetIndexFile(int i, TIndexFile& out) const { return CopyAt(IndexFiles, i, out); }
bool TCntExDatas::GetLinkFile(int i, TLinkFile& out) const { return CopyAt(LinkFiles, i, out); }
bool TCntExDatas::GetTab(int i, TTab& out) const { return CopyAt(Tabs, i, out); }

// ----------------------------------------------------------------- TCntFile

namespace {

bool StartsWithText(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() && SameText(line.substr(0, prefix.size()), prefix);
}

std::string After(std::string_view s, std::size_t n) { return n < s.size() ? std::string(s.substr(n)) : std::string(); }

// Cuts a ";comment" tail off a header line; the line keeps its trimmed front.
std::string CutComment(std::string_view line, std::string& comment) {
    const std::size_t semi = line.find(';');
    if (semi == std::string_view::npos) return std::string(line);
    comment = line.substr(semi + 1);
    return Trim(line.substr(0, semi));
}

// Levels beyond this are all "deeper than any open book", which is all they
// can mean; the cap only keeps the arithmetic in range.
constexpr int kLevelCap = 1000000000;

void SplitTopicRef(std::string_view ref, TCntNode& node) {
    // "id@file>window": the file runs from the first "@" to the next ">", the
    // window is everything after that ">". Without an "@" before the first
    // ">", all after the ">" is the window. This is exactly what the writer
    // puts back, so entries keep their text through a load and save.
    const std::size_t at = ref.find('@');
    const std::size_t gt = ref.find('>');
    if (at != std::string_view::npos && (gt == std::string_view::npos || at < gt)) {
        node.TopicId = ref.substr(0, at);
        const std::size_t end = ref.find('>', at + 1);
        node.HelpFile = ref.substr(at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
        if (end != std::string_view::npos) node.Window = ref.substr(end + 1);
    } else if (gt != std::string_view::npos) {
        node.TopicId = ref.substr(0, gt);
        node.Window = ref.substr(gt + 1);
    } else {
        node.TopicId = ref;
    }
}

}  // namespace

void TCntFile::Clear() {
    Tree.Clear();
    ExDatas.Clear();
    FileName.clear();
    BaseFile.clear();
    Title.clear();
    BaseWindow.clear();
    Modified = false;
    lastError_.clear();
}

bool TCntFile::ParseText(const std::string& text) {
    Tree.Clear();
    bool anyRead = false;
    bool anyText = false;

    // The books open at the current line, level 1 first, each with its last
    // child so that appending stays cheap on wide trees.
    struct Open {
        TCntTreeNode* book;
        TCntTreeNode* last;
    };
    std::vector<Open> open;
    TCntTreeNode* topLast = nullptr;

    const auto append = [&](std::unique_ptr<TCntNode> item) {
        if (open.empty()) {
            topLast = Tree.AppendAfter(nullptr, topLast, std::move(item));
            return topLast;
        }
        Open& o = open.back();
        o.last = Tree.AppendAfter(o.book, o.last, std::move(item));
        return o.last;
    };

    std::string_view view = text;
    // An editor's UTF-8 mark would otherwise hide the first line.
    if (view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
    // The lines as SplitLines gives them, as parts of the text.
    for (std::size_t start = 0; start < view.size();) {
        // The line ends at its first CR or LF; memchr finds them fastest.
        std::size_t end = view.find('\n', start);
        if (end == std::string_view::npos) end = view.size();
        if (const void* cr = std::memchr(view.data() + start, '\r', end - start))
            end = static_cast<std::size_t>(static_cast<const char*>(cr) - view.data());
        const std::string_view line = view.substr(start, end - start);
        start = end + (end + 1 < view.size() && view[end] == '\r' && view[end + 1] == '\n' ? 2 : 1);
        if (line.empty()) continue;
        if (!anyText && !Trim(line).empty()) anyText = true;
        if (line[0] == ';') {
            anyRead = true;
            auto item = std::make_unique<TCntNode>();
            item->Kind = TCntNodeKind::Comment;
            item->Title = line.substr(1);
            append(std::move(item));
            continue;
        }
        if (line[0] == ':') {
            if (StartsWithText(line, ":base ")) {
                anyRead = true;
                const std::string rest = After(line, 6);
                const std::size_t gt = rest.find('>');
                BaseFile = rest.substr(0, gt);
                BaseWindow = gt == std::string::npos ? std::string() : rest.substr(gt + 1);
            } else if (StartsWithText(line, ":include ")) {
                anyRead = true;
                auto item = std::make_unique<TCntNode>();
                item->Kind = TCntNodeKind::Include;
                item->HelpFile = After(line, 9);
                // An include stands on level 1, and so does what follows it
                // until the next book.
                open.clear();
                append(std::move(item));
            } else if (StartsWithText(line, ":index ")) {
                std::string comment;
                const std::string l = CutComment(line, comment);
                const std::size_t eq = l.find('=');
                if (eq != std::string::npos && eq >= 7) {
                    anyRead = true;
                    ExDatas.IndexFiles.push_back({l.substr(7, eq - 7), l.substr(eq + 1), comment});
                }
            } else if (StartsWithText(line, ":link ")) {
                std::string comment;
                const std::string l = CutComment(line, comment);
                anyRead = true;
                ExDatas.LinkFiles.push_back({After(l, 6), comment});
            } else if (StartsWithText(line, ":tab ")) {
                std::string comment;
                const std::string l = CutComment(line, comment);
                const std::size_t eq = l.find('=');
                if (eq != std::string::npos && eq >= 5) {
                    anyRead = true;
                    ExDatas.Tabs.push_back({l.substr(5, eq - 5), l.substr(eq + 1), comment});
                }
            } else if (StartsWithText(line, ":title ")) {
                anyRead = true;
                Title = After(line, 7);
            }
            continue;
        }
        if (line[0] < '0' || line[0] > '9') continue;
        anyRead = true;

        // A numbered entry: the level is every digit written, then one blank.
        std::size_t i = 0;
        int level = 0;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
            level = level >= kLevelCap / 10 ? kLevelCap : level * 10 + (line[i] - '0');
            ++i;
        }
        if (level < 1) level = 1;
        if (i < line.size() && line[i] == ' ') ++i;
        const std::string_view body = i < line.size() ? line.substr(i) : std::string_view();

        auto item = std::make_unique<TCntNode>();
        const std::size_t eq = body.find('=');
        if (eq == std::string_view::npos) {
            item->Kind = TCntNodeKind::Book;
            item->Title = body;
        } else if (eq + 1 < body.size() && body[eq + 1] == '!') {
            item->Kind = TCntNodeKind::Macro;
            item->Title = body.substr(0, eq);
            std::size_t m = eq + 2;
            if (m < body.size() && body[m] == ' ') ++m;
            item->Macro = After(body, m);
        } else {
            item->Kind = TCntNodeKind::Topic;
            item->Title = body.substr(0, eq);
            SplitTopicRef(body.substr(eq + 1), *item);
        }

        // Every numbered entry goes under the open book one level above it.
        // Levels never jump: a deeper digit than the open books allow goes
        // just below the deepest one.
        const std::size_t depth = std::min(static_cast<std::size_t>(level), open.size() + 1);
        open.resize(depth - 1);
        const bool isBook = item->Kind == TCntNodeKind::Book;
        TCntTreeNode* node = append(std::move(item));
        if (isBook) open.push_back({node, nullptr});
    }
    return anyRead || !anyText;
}

bool TCntFile::LoadFromFile(const std::string& name) {
    Tree.Clear();
    lastError_.clear();
    std::string text;
    try {
        text = ReadWholeFile(name, kMaxFileBytes);
        if (!ParseText(text)) {
            // Nothing was read, so nothing but the (empty) tree was touched.
            Tree.Clear();
            lastError_ = "\"" + QuoteInput(name) + "\" holds nothing that can be read as a contents file.";
            return false;
        }
    } catch (const std::exception& e) {
        Tree.Clear();
        lastError_ = e.what();
        return false;
    }
    FileName = name;
    return true;
}

namespace {
// Whether `window` names the main window, blanks around it aside: an entry
// written without one opens there too.
bool IsMainWindow(std::string_view window) {
    std::size_t b = 0, e = window.size();
    while (b < e && static_cast<unsigned char>(window[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(window[e - 1]) <= 0x20) --e;
    return SameText(window.substr(b, e - b), "main");
}
}  // namespace

std::string TCntFile::ToText() const {
    // The lines go straight into the text, each with its CR LF: a large
    // file's save makes no string per line.
    std::string out;
    out.reserve(64 * static_cast<std::size_t>(Tree.Count()) + 256);
    const auto line = [&out](std::initializer_list<std::string_view> parts) {
        for (const std::string_view part : parts) out.append(part);
        out.append(kCrLf);
    };
    if (!Title.empty()) line({":TITLE ", Title});
    if (!BaseFile.empty()) line({":BASE ", BaseFile, BaseWindow.empty() ? "" : ">", BaseWindow});
    const auto withComment = [](const std::string& comment) { return comment.empty() ? "" : ";"; };
    for (const TLinkFile& l : ExDatas.LinkFiles) line({":LINK ", l.HelpFile, withComment(l.Comment), l.Comment});
    for (const TIndexFile& x : ExDatas.IndexFiles)
        line({":INDEX ", x.Title, "=", x.HelpFile, withComment(x.Comment), x.Comment});
    for (const TTab& t : ExDatas.Tabs) line({":TAB ", t.TabName, "=", t.DllName, withComment(t.Comment), t.Comment});

    // Preorder walk keeping the level as it goes down and up.
    const TCntTreeNode* node = Tree.First();
    int level = 1;
    std::string lv = "1";
    while (node) {
        const TCntNode& e = *node->Item;
        switch (e.Kind) {
            case TCntNodeKind::Book: line({lv, " ", e.Title}); break;
            case TCntNodeKind::Topic: {
                const bool window = !e.Window.empty() && !IsMainWindow(e.Window);
                line({lv, " ", e.Title, "=", e.TopicId, e.HelpFile.empty() ? "" : "@", e.HelpFile, window ? ">" : "",
                      window ? std::string_view(e.Window) : std::string_view()});
                break;
            }
            case TCntNodeKind::Macro: line({lv, " ", e.Title, "=! ", e.Macro}); break;
            case TCntNodeKind::Include: line({":INCLUDE ", e.HelpFile}); break;
            case TCntNodeKind::Comment: line({";", e.Title}); break;
        }
        if (node->FirstChild) {
            node = node->FirstChild;
            lv = std::to_string(++level);
            continue;
        }
        const int was = level;
        while (node && !node->NextSibling) {
            node = TCntTree::ParentOf(node);
            --level;
        }
        if (level != was) lv = std::to_string(level);
        if (node) node = node->NextSibling;
    }
    return out;
}

bool TCntFile::SaveToFile(const std::string& name) {
    const std::string target = name.empty() ? FileName : name;
    lastError_.clear();
    // The dialogs refuse what a line cannot hold; this is the last net, so a
    // file never reads back other than it was written.
    if (const std::string fault = CntFileFault(*this); !fault.empty()) {
        lastError_ = "Cannot save " + QuoteInput(target) + ". " + fault;
        return false;
    }
    try {
        WriteFileAtomic(target, ToText());
    } catch (const EFileAccess& e) {
        // Reported in the access form, naming the file, with the failing code.
        lastError_ = CreateFileAccessError(target, true, e.code()).what();
        return false;
    } catch (const std::exception& e) {
        lastError_ = e.what();
        return false;
    }
    FileName = target;
    return true;
}

// ------------------------------------------------------- what a line can hold

namespace {

// Whether a field of kind `field` refuses `c` as its character number `i`.
bool Refuses(TCntField field, char32_t c, std::size_t i) {
    if (c == U'\r' || c == U'\n') return true;
    if (c != U'?' && CodePointToCp1252(c) == '?') return true;
    switch (field) {
        case TCntField::EntryTitle: return c == U'=';
        case TCntField::TopicId: return c == U'@' || c == U'>' || (i == 0 && c == U'!');
        case TCntField::HelpFileName: return c == U'>';
        case TCntField::HeaderName: return c == U'=' || c == U';';
        case TCntField::HeaderFile: return c == U';';
        case TCntField::Text: return false;
    }
    return false;
}

constexpr std::size_t kFieldKinds = static_cast<std::size_t>(TCntField::Text) + 1;

// Per kind of field, per byte of model text: whether the field refuses it
// as its first character ([0]) and anywhere else ([1]). A save checks every
// field of every entry, so a byte is one look-up.
using TRefusedTable = std::array<std::array<std::array<bool, 256>, kFieldKinds>, 2>;
const TRefusedTable& RefusedBytes() {
    static const auto table = [] {
        TRefusedTable t{};
        for (std::size_t at = 0; at < 2; ++at)
            for (std::size_t f = 0; f < kFieldKinds; ++f)
                for (int b = 0; b < 256; ++b)
                    t[at][f][static_cast<std::size_t>(b)] =
                        Refuses(static_cast<TCntField>(f), Cp1252ToCodePoint(static_cast<unsigned char>(b)), at);
        return t;
    }();
    return table;
}

}  // namespace

std::optional<char32_t> CntRefusedChar(TCntField field, std::u32string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Refuses(field, text[i], i)) return text[i];
    return std::nullopt;
}

namespace {

// Eight bytes at a time, for the common case of plain text: a word is let
// through whole when none of its bytes is a control character, none has the
// high bit, and none is one of the printable bytes the field refuses. Any
// other word is looked at byte by byte through the table.
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t HasZeroByte(std::uint64_t v) { return (v - kOnes) & ~v & kHighBits; }

// Per kind of field, the printable ASCII bytes it refuses past its first
// byte, each repeated across a word (at most four; unused ones repeat one).
using TRefusedWords = std::array<std::array<std::uint64_t, 4>, kFieldKinds>;
const TRefusedWords& RefusedWords() {
    static const auto words = [] {
        TRefusedWords w{};
        const TRefusedTable& table = RefusedBytes();
        for (std::size_t f = 0; f < kFieldKinds; ++f) {
            std::vector<unsigned char> found;
            for (int b = 0x20; b < 0x80; ++b)
                if (table[1][f][static_cast<std::size_t>(b)]) found.push_back(static_cast<unsigned char>(b));
            // None refused: a byte of 0 stands in, which the control test catches anyway.
            if (found.empty()) found.push_back(0);
            if (found.size() > 4) std::terminate();  // the fields refuse two at most
            for (std::size_t k = 0; k < 4; ++k) w[f][k] = kOnes * found[std::min(k, found.size() - 1)];
        }
        return w;
    }();
    return words;
}

}  // namespace

std::optional<char32_t> CntRefusedChar(TCntField field, std::string_view text) {
    if (text.empty()) return std::nullopt;
    const TRefusedTable& table = RefusedBytes();
    const auto first = static_cast<unsigned char>(text[0]);
    if (table[0][static_cast<std::size_t>(field)][first]) return Cp1252ToCodePoint(first);
    const std::array<bool, 256>& refused = table[1][static_cast<std::size_t>(field)];
    const std::array<std::uint64_t, 4>& specials = RefusedWords()[static_cast<std::size_t>(field)];
    std::size_t i = 1;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, text.data() + i, 8);
        const std::uint64_t odd = (x & kHighBits) | ((x - kOnes * 0x20) & ~x & kHighBits) |
                                  HasZeroByte(x ^ specials[0]) | HasZeroByte(x ^ specials[1]) |
                                  HasZeroByte(x ^ specials[2]) | HasZeroByte(x ^ specials[3]);
        if (!odd) continue;
        for (std::size_t k = i; k < i + 8; ++k) {
            const auto b = static_cast<unsigned char>(text[k]);
            if (refused[b]) return Cp1252ToCodePoint(b);
        }
    }
    for (; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (refused[b]) return Cp1252ToCodePoint(b);
    }
    return std::nullopt;
}

namespace {

std::string Fill(std::string_view pattern, std::string_view one, std::string_view two = {}) {
    std::string out(pattern);
    ReplaceString(out, "%1", one, false);
    ReplaceString(out, "%2", two, false);
    return out;
}

std::optional<TCntFault> FieldFault(const char* name, TCntField field, const std::string& text) {
    if (const auto c = CntRefusedChar(field, text)) return TCntFault{name, *c};
    return std::nullopt;
}

// "The <label> cannot hold ..." for a fault found in model text, whose
// characters are all Windows-1252.
std::string FaultText(const std::string& label, const TCntFault& fault) {
    return CntRefusalText(label, CodePointToCp1252(fault.Char));
}

std::string Quoted(std::string_view s) { return "\"" + QuoteInput(s) + "\""; }

}  // namespace

std::string CntRefusalText(std::string_view label, char c) {
    if (c == '\r' || c == '\n') return Fill(kMsgCntLineBreak, label);
    return Fill(kMsgCntRefusedChar, label, std::string_view(&c, 1));
}

std::optional<TCntFault> CntEntryFault(const TCntNode& e) {
    std::optional<TCntFault> f;
    switch (e.Kind) {
        case TCntNodeKind::Book: f = FieldFault("title", TCntField::EntryTitle, e.Title); break;
        case TCntNodeKind::Topic:
            if (!(f = FieldFault("title", TCntField::EntryTitle, e.Title)) &&
                !(f = FieldFault("topic id", TCntField::TopicId, e.TopicId)) &&
                !(f = FieldFault("help file", TCntField::HelpFileName, e.HelpFile)))
                f = FieldFault("window", TCntField::Text, e.Window);
            break;
        case TCntNodeKind::Macro:
            if (!(f = FieldFault("title", TCntField::EntryTitle, e.Title)))
                f = FieldFault("macro", TCntField::Text, e.Macro);
            break;
        case TCntNodeKind::Include: f = FieldFault("included file", TCntField::Text, e.HelpFile); break;
        case TCntNodeKind::Comment: f = FieldFault("text", TCntField::Text, e.Title); break;
    }
    return f;
}

std::string CntFileFault(const TCntFile& file) {
    for (const auto& [name, field, text] : {std::tuple{"title", TCntField::Text, &file.Title},
                                            std::tuple{"base help file", TCntField::HelpFileName, &file.BaseFile},
                                            std::tuple{"base window", TCntField::Text, &file.BaseWindow}})
        if (const auto f = FieldFault(name, field, *text)) return FaultText(f->Field, *f);
    for (const TLinkFile& l : file.ExDatas.LinkFiles) {
        std::optional<TCntFault> f;
        if (!(f = FieldFault("help file", TCntField::HeaderFile, l.HelpFile)))
            f = FieldFault("comment", TCntField::Text, l.Comment);
        if (f) return FaultText(f->Field + " of the link file " + Quoted(l.HelpFile), *f);
    }
    for (const TIndexFile& x : file.ExDatas.IndexFiles) {
        std::optional<TCntFault> f;
        if (!(f = FieldFault("title", TCntField::HeaderName, x.Title)) &&
            !(f = FieldFault("help file", TCntField::HeaderFile, x.HelpFile)))
            f = FieldFault("comment", TCntField::Text, x.Comment);
        if (f) return FaultText(f->Field + " of the index file " + Quoted(x.Title), *f);
    }
    for (const TTab& t : file.ExDatas.Tabs) {
        std::optional<TCntFault> f;
        if (!(f = FieldFault("tab name", TCntField::HeaderName, t.TabName)) &&
            !(f = FieldFault("DLL name", TCntField::HeaderFile, t.DllName)))
            f = FieldFault("comment", TCntField::Text, t.Comment);
        if (f) return FaultText(f->Field + " of the tab " + Quoted(t.TabName), *f);
    }
    int row = 1;
    for (const TCntTreeNode* n = file.Tree.First(); n; n = TCntTree::NextInPreorder(n), ++row) {
        const TCntNode& e = *n->Item;
        if (const auto f = CntEntryFault(e)) {
            const std::string& name = e.Kind == TCntNodeKind::Include ? e.HelpFile : e.Title;
            return FaultText(f->Field + " of entry " + std::to_string(row) + " (" + Quoted(name) + ")", *f);
        }
    }
    return {};
}

}  // namespace qm

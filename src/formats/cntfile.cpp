#include "formats/cntfile.h"

#include <algorithm>
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

void TCntTree::FreeSubtree(TCntTreeNode* node) {
    // An explicit stack: a file may describe a tree far deeper than the call stack.
    std::vector<TCntTreeNode*> pending{node};
    while (!pending.empty()) {
        TCntTreeNode* n = pending.back();
        pending.pop_back();
        for (TCntTreeNode* c = n->FirstChild; c; c = c->NextSibling) pending.push_back(c);
        delete n;
    }
}

void TCntTree::Clear() {
    std::vector<TCntTreeNode*> top;
    for (TCntTreeNode* n = first_; n; n = n->NextSibling) top.push_back(n);
    for (TCntTreeNode* n : top) FreeSubtree(n);
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
    auto* node = new TCntTreeNode;
    node->Item = std::move(item);
    LinkLastChild(node, parent);
    ++count_;
    return node;
}

TCntTreeNode* TCntTree::AppendAfter(TCntTreeNode* parent, TCntTreeNode* last, std::unique_ptr<TCntNode> item) {
    auto* node = new TCntTreeNode;
    node->Item = std::move(item);
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
    auto* node = new TCntTreeNode;
    node->Item = std::move(item);
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
std::string CutComment(const std::string& line, std::string& comment) {
    const std::size_t semi = line.find(';');
    if (semi == std::string::npos) return line;
    comment = line.substr(semi + 1);
    return Trim(std::string_view(line).substr(0, semi));
}

// Levels beyond this are all "deeper than any open book", which is all they
// can mean; the cap only keeps the arithmetic in range.
constexpr int kLevelCap = 1000000000;

void SplitTopicRef(const std::string& ref, TCntNode& node) {
    // "id@file>window": the file runs from the first "@" to the next ">", the
    // window is everything after that ">". Without an "@" before the first
    // ">", all after the ">" is the window. This is exactly what the writer
    // puts back, so entries keep their text through a load and save.
    const std::size_t at = ref.find('@');
    const std::size_t gt = ref.find('>');
    if (at != std::string::npos && (gt == std::string::npos || at < gt)) {
        node.TopicId = ref.substr(0, at);
        const std::size_t end = ref.find('>', at + 1);
        node.HelpFile = ref.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        if (end != std::string::npos) node.Window = ref.substr(end + 1);
    } else if (gt != std::string::npos) {
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
    for (const std::string& line : SplitLines(view)) {
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
        const std::string body = After(line, i);

        auto item = std::make_unique<TCntNode>();
        const std::size_t eq = body.find('=');
        if (eq == std::string::npos) {
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

std::string TCntFile::ToText() const {
    StringList lines;
    if (!Title.empty()) lines.push_back(":TITLE " + Title);
    if (!BaseFile.empty())
        lines.push_back(":BASE " + BaseFile + (BaseWindow.empty() ? std::string() : ">" + BaseWindow));
    const auto withComment = [](std::string line, const std::string& comment) {
        if (!comment.empty()) line += ";" + comment;
        return line;
    };
    for (const TLinkFile& l : ExDatas.LinkFiles) lines.push_back(withComment(":LINK " + l.HelpFile, l.Comment));
    for (const TIndexFile& x : ExDatas.IndexFiles)
        lines.push_back(withComment(":INDEX " + x.Title + "=" + x.HelpFile, x.Comment));
    for (const TTab& t : ExDatas.Tabs) lines.push_back(withComment(":TAB " + t.TabName + "=" + t.DllName, t.Comment));

    // Preorder walk keeping the level as it goes down and up.
    const TCntTreeNode* node = Tree.First();
    int level = 1;
    while (node) {
        const TCntNode& e = *node->Item;
        const std::string lv = std::to_string(level);
        switch (e.Kind) {
            case TCntNodeKind::Book: lines.push_back(lv + " " + e.Title); break;
            case TCntNodeKind::Topic: {
                std::string l = lv + " " + e.Title + "=" + e.TopicId;
                if (!e.HelpFile.empty()) l += "@" + e.HelpFile;
                if (!e.Window.empty() && AsciiLowerStr(Trim(e.Window)) != "main") l += ">" + e.Window;
                lines.push_back(std::move(l));
                break;
            }
            case TCntNodeKind::Macro: lines.push_back(lv + " " + e.Title + "=! " + e.Macro); break;
            case TCntNodeKind::Include: lines.push_back(":INCLUDE " + e.HelpFile); break;
            case TCntNodeKind::Comment: lines.push_back(";" + e.Title); break;
        }
        if (node->FirstChild) {
            node = node->FirstChild;
            ++level;
            continue;
        }
        while (node && !node->NextSibling) {
            node = TCntTree::ParentOf(node);
            --level;
        }
        if (node) node = node->NextSibling;
    }
    return JoinLinesCrLf(lines);
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

std::optional<char32_t> CntRefusedChar(TCntField field, std::u32string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') return c;
        if (c != U'?' && CodePointToCp1252(c) == '?') return c;
        bool refused = false;
        switch (field) {
            case TCntField::EntryTitle: refused = c == U'='; break;
            case TCntField::TopicId: refused = c == U'@' || c == U'>' || (i == 0 && c == U'!'); break;
            case TCntField::HelpFileName: refused = c == U'>'; break;
            case TCntField::HeaderName: refused = c == U'=' || c == U';'; break;
            case TCntField::HeaderFile: refused = c == U';'; break;
            case TCntField::Text: break;
        }
        if (refused) return c;
    }
    return std::nullopt;
}

std::optional<char32_t> CntRefusedChar(TCntField field, std::string_view text) {
    std::u32string points;
    points.reserve(text.size());
    for (const char b : text) points.push_back(Cp1252ToCodePoint(static_cast<unsigned char>(b)));
    return CntRefusedChar(field, points);
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

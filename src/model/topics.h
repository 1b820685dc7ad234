#pragma once
// Topics and popups of a project, in one 0-based list in creation (and file)
// order. The list owns its nodes. Every node also has a process-unique `Id()`,
// never stored, by which lists, logs and histories refer to it safely: look it
// up with TTopics::FindById, which gives nullptr once the node is gone.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/bookmarks.h"
#include "model/fixedtext.h"
#include "util/qorstring.h"

namespace qm {

enum class TopicKind : std::uint8_t { Topic = 0, Popup = 1 };
enum class TopicState : std::uint8_t { Done = 0, Edit = 1 };

using TNodeId = std::uint64_t;

class TTopics;

// A node's name field: read as any fixed text field, but set only through its
// node (SetName, SetNameField or an assignment of the whole node), so that
// the list holding the node keeps its index of names true.
class TNodeName {
public:
    static constexpr std::size_t width = 255;
    static constexpr std::size_t capacity = width;

    std::string Get() const { return text_.Get(); }
    std::string_view View() const { return text_.View(); }
    bool Empty() const { return text_.Empty(); }
    // All `width` bytes, as the project file stores them.
    const char* data() const { return text_.data(); }

    bool operator==(const TNodeName&) const = default;

private:
    friend struct TTopicNode;
    TFixedText<width> text_;
};

struct TTopicNode {
    // A node with the defaults of a new node: topic, context 0, edit state,
    // title "Set Topic Title...", window "main", editor position 1.
    TTopicNode();
    // A copy takes every field but gets an Id of its own.
    TTopicNode(const TTopicNode& other);
    // Assignment copies every field; the Id stays this node's.
    TTopicNode& operator=(const TTopicNode& other);

    TNodeId Id() const { return id_; }
    bool IsTopic() const { return Kind == TopicKind::Topic; }
    bool IsPopup() const { return Kind == TopicKind::Popup; }

    TopicKind Kind = TopicKind::Topic;
    std::int32_t ContextId = 0;
    TopicState State = TopicState::Edit;  // a stored byte other than 0/1 is kept as is
    bool IsContents = false;
    StringList Keywords;   // K keywords
    StringList AKeywords;  // A keywords
    StringList Macros;     // entry macros
    TBookmarks Bookmarks;  // not stored
    TNodeName Name;
    TFixedText<255> Title;
    TFixedText<8> Window;
    TFixedText<50> Browse;
    TFixedText<50> BuildTag;
    std::string Text;            // RTF body; any byte values
    std::int32_t EditorPos = 0;  // the caret where the module was left, at the start for a new one; not stored

    std::string GetName() const { return Name.Get(); }
    void SetName(std::string_view s);
    // The name field's `TNodeName::width` bytes exactly as given, NULs and
    // what follows them included (the project file's reader).
    void SetNameField(const char* bytes);
    std::string GetTitle() const { return Title.Get(); }
    void SetTitle(std::string_view s) { Title.Set(s); }
    std::string GetWindow() const { return Window.Get(); }
    void SetWindow(std::string_view s) { Window.Set(s); }
    std::string GetBrowse() const { return Browse.Get(); }
    void SetBrowse(std::string_view s) { Browse.Set(s); }
    std::string GetBuildTag() const { return BuildTag.Get(); }
    void SetBuildTag(std::string_view s) { BuildTag.Set(s); }

private:
    friend class TTopics;
    // Changes the name, telling the list that holds the node.
    template <class Change>
    void changeName(Change change);

    TNodeId id_;
    TTopics* owner_ = nullptr;  // the list that holds the node; not copied
};

// A new node with the defaults above.
std::unique_ptr<TTopicNode> NewTopicNode();

// The positions in `names` in the order of the names, ignoring ASCII case,
// equal names in the order given (the order of the topic and popup boxes).
std::vector<std::size_t> OrderByName(const std::vector<std::string_view>& names);

class TTopics {
public:
    TTopics() = default;
    ~TTopics();
    TTopics(const TTopics&) = delete;
    TTopics& operator=(const TTopics&) = delete;
    TTopics(TTopics&& other) noexcept;
    TTopics& operator=(TTopics&& other) noexcept;

    // Appends a new node (NewTopicNode) and returns it.
    TTopicNode& AddNew();
    // Appends an existing node; the list takes ownership. A null node raises qm::Error.
    TTopicNode& AddNode(std::unique_ptr<TTopicNode> node);
    // The node at a 0-based index; out of range raises qm::Error.
    TTopicNode& GetNode(int index);
    const TTopicNode& GetNode(int index) const;
    int Count() const { return static_cast<int>(nodes_.size()); }
    bool Empty() const { return nodes_.empty(); }
    // Room for `count` nodes in all, so that adding them moves nothing.
    void Reserve(int count);

    bool Contains(const TTopicNode* node) const;
    // 0-based index of the node, or -1.
    int IndexOf(const TTopicNode* node) const;
    // 0-based index of the node with this Id, or -1. Constant time: the list
    // keeps an index of its Ids in step with every change.
    int IndexOfId(TNodeId id) const;
    // The first node (in list order) of the name, ignoring ASCII case, or
    // nullptr. Constant time: the list keeps an index of its names, made at
    // the first look-up and kept in step with adding, removing, replacing
    // and renaming its nodes (so a const list is not for look-ups from
    // several threads at once).
    bool NameExists(std::string_view name) const;
    TTopicNode* FindByName(std::string_view name);
    const TTopicNode* FindByName(std::string_view name) const;
    TTopicNode* FindContents();
    const TTopicNode* FindContents() const;
    // The node with this Id, or nullptr; constant time, as IndexOfId.
    TTopicNode* FindById(TNodeId id);
    const TTopicNode* FindById(TNodeId id) const;
    bool ContextIdExists(std::int32_t number) const;
    // The first multiple of `increment` (itself, twice it, ...) that no node
    // uses. An increment below 1 counts as 1.
    std::int32_t NextFreeContextId(std::int32_t increment) const;
    // "NewTopic<n>" / "NewPopup<n>" for the first n >= 1 whose name is free.
    std::string NewTopicName() const;
    std::string NewPopupName() const;
    int TopicCount() const;
    int PopupCount() const;

    // The nodes of one kind, in list order (what the GUI's topic and popup
    // lists show). The pointers are for immediate use; keep Ids.
    std::vector<TTopicNode*> NodesOfKind(TopicKind kind);
    std::vector<const TTopicNode*> NodesOfKind(TopicKind kind) const;
    // The same nodes by name, ignoring ASCII case, equal names in list order
    // (what the GUI's topic and popup boxes show).
    std::vector<const TTopicNode*> NodesOfKindByName(TopicKind kind) const;

    // Removes and frees the node; a node not in the list raises qm::Error.
    void DeleteNode(const TTopicNode* node);
    // DeleteNode of the node at a 0-based index; out of range raises qm::Error.
    void DeleteAt(int index);
    // Frees a node that is not in the list; nothing for none.
    static void DisposeNode(std::unique_ptr<TTopicNode> node) { node.reset(); }
    // Puts `newNode` at `oldNode`'s index and frees `oldNode`. Raises qm::Error
    // (and frees nothing of the list) when `oldNode` is not in the list or
    // `newNode` is null.
    TTopicNode& ReplaceNode(const TTopicNode* oldNode, std::unique_ptr<TTopicNode> newNode);
    void Clear();

    // Range access over the nodes in list order.
    using Container = std::vector<std::unique_ptr<TTopicNode>>;
    Container::const_iterator begin() const { return nodes_.begin(); }
    Container::const_iterator end() const { return nodes_.end(); }

private:
    friend struct TTopicNode;

    std::size_t checkedIndex(int index) const;
    std::string newName(std::string_view stem) const;
    // Renumbers the Id index from `from` to the end of the list.
    void reindexFrom(std::size_t from);
    // The name index: made when missing; an entry in and out.
    void ensureNames() const;
    void indexName(const TTopicNode& node, bool appended) const;
    void unindexName(const TTopicNode& node) const;
    void adopt();  // the nodes know this list as theirs

    Container nodes_;
    std::unordered_map<TNodeId, std::size_t> byId_;  // Id -> index in nodes_
    // Folded name -> the first node of that name. The keys view the nodes'
    // own name fields, so an entry goes before its name changes. Two nodes
    // of one name leave the index to be made again at a removal or rename,
    // where the next node of the name is not known.
    mutable std::unordered_map<std::string_view, const TTopicNode*, FoldedTextHash, FoldedTextEqual> byName_;
    mutable bool namesMade_ = false;
    mutable bool namesShared_ = false;
};

// The nodes by name, ASCII case folded, as they stand when it is made: for
// code that looks up many names in a row (a build's links, a spell check).
// Find gives the first node of a name, as TTopics::FindByName does. It does
// not follow later changes of the list or of the names: make one for a run
// of look-ups, while nothing is added, removed or renamed, then drop it.
class TTopicNameIndex {
public:
    explicit TTopicNameIndex(const TTopics& topics);
    const TTopicNode* Find(std::string_view name) const;

private:
    std::unordered_map<std::string, const TTopicNode*, FoldedTextHash, FoldedTextEqual> byName_;
};

}  // namespace qm

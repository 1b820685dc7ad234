#include "model/topics.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <unordered_set>
#include <utility>

#include "util/errors.h"
#include "util/qorstring.h"

namespace qm {

namespace {

TNodeId NextNodeId() {
    static std::atomic<TNodeId> counter{0};
    return ++counter;
}

}  // namespace

template <class Change>
void TTopicNode::changeName(Change change) {
    if (owner_) owner_->unindexName(*this);
    change(Name.text_);
    if (owner_) owner_->indexName(*this, false);
}

TTopicNode::TTopicNode() : id_(NextNodeId()) {
    Title.Set("Set Topic Title...");
    Window.Set("main");
}

TTopicNode::TTopicNode(const TTopicNode& other)
    : Kind(other.Kind),
      ContextId(other.ContextId),
      State(other.State),
      IsContents(other.IsContents),
      Keywords(other.Keywords),
      AKeywords(other.AKeywords),
      Macros(other.Macros),
      Bookmarks(other.Bookmarks),
      Name(other.Name),
      Title(other.Title),
      Window(other.Window),
      Browse(other.Browse),
      BuildTag(other.BuildTag),
      Text(other.Text),
      EditorPos(other.EditorPos),
      id_(NextNodeId()) {}

TTopicNode& TTopicNode::operator=(const TTopicNode& other) {
    if (this == &other) return *this;
    TNodeId keep = id_;
    TTopicNode copy(other);
    Kind = copy.Kind;
    ContextId = copy.ContextId;
    State = copy.State;
    IsContents = copy.IsContents;
    Keywords = std::move(copy.Keywords);
    AKeywords = std::move(copy.AKeywords);
    Macros = std::move(copy.Macros);
    Bookmarks = copy.Bookmarks;
    if (!(Name == copy.Name)) changeName([&](TFixedText<TNodeName::width>& t) { t = copy.Name.text_; });
    Title = copy.Title;
    Window = copy.Window;
    Browse = copy.Browse;
    BuildTag = copy.BuildTag;
    Text = std::move(copy.Text);
    EditorPos = copy.EditorPos;
    id_ = keep;
    return *this;
}

void TTopicNode::SetName(std::string_view s) {
    // A view of the field itself would be cleared before it is copied.
    if (s.data() >= Name.data() && s.data() < Name.data() + TNodeName::width) {
        SetName(std::string(s));
        return;
    }
    changeName([s](TFixedText<TNodeName::width>& t) { t.Set(s); });
}

void TTopicNode::SetNameField(const char* bytes) {
    changeName([bytes](TFixedText<TNodeName::width>& t) { std::memcpy(t.data(), bytes, TNodeName::width); });
}

std::unique_ptr<TTopicNode> NewTopicNode() { return std::make_unique<TTopicNode>(); }

// --- the list ---------------------------------------------------------------------

TTopics::~TTopics() = default;

TTopics::TTopics(TTopics&& other) noexcept
    : nodes_(std::move(other.nodes_)),
      byId_(std::move(other.byId_)),
      byName_(std::move(other.byName_)),
      namesMade_(other.namesMade_),
      namesShared_(other.namesShared_) {
    other.Clear();
    adopt();
}

TTopics& TTopics::operator=(TTopics&& other) noexcept {
    if (this == &other) return *this;
    Clear();
    nodes_ = std::move(other.nodes_);
    byId_ = std::move(other.byId_);
    byName_ = std::move(other.byName_);
    namesMade_ = other.namesMade_;
    namesShared_ = other.namesShared_;
    other.Clear();
    adopt();
    return *this;
}

void TTopics::adopt() {
    for (const auto& n : nodes_) n->owner_ = this;
}

void TTopics::Reserve(int count) {
    if (count <= 0) return;
    nodes_.reserve(static_cast<std::size_t>(count));
    byId_.reserve(static_cast<std::size_t>(count));
}

TTopicNode& TTopics::AddNew() { return AddNode(NewTopicNode()); }

TTopicNode& TTopics::AddNode(std::unique_ptr<TTopicNode> node) {
    if (!node) throw Error("Cannot add an empty topic node.");
    const TNodeId id = node->Id();
    nodes_.push_back(std::move(node));
    try {
        byId_.emplace(id, nodes_.size() - 1);
    } catch (...) {
        nodes_.pop_back();  // the list and its index stay in step
        throw;
    }
    TTopicNode& added = *nodes_.back();
    added.owner_ = this;
    indexName(added, true);
    return added;
}

// --- the name index ---------------------------------------------------------------

void TTopics::ensureNames() const {
    if (namesMade_) return;
    byName_.clear();
    namesShared_ = false;
    byName_.reserve(nodes_.size());
    // emplace keeps the first node of a name.
    for (const auto& n : nodes_)
        if (!byName_.emplace(n->Name.View(), n.get()).second) namesShared_ = true;
    namesMade_ = true;
}

void TTopics::indexName(const TTopicNode& node, bool appended) const {
    if (!namesMade_) return;
    try {
        if (byName_.emplace(node.Name.View(), &node).second) return;
    } catch (...) {
        // No room for the entry: the index is made again when next needed.
    }
    if (appended) {
        // The node that has the name stands before the one appended.
        namesShared_ = true;
        return;
    }
    namesMade_ = false;  // which of the two comes first is not known here
    byName_.clear();
}

void TTopics::unindexName(const TTopicNode& node) const {
    if (!namesMade_) return;
    if (namesShared_) {
        namesMade_ = false;  // another node of the name may have to take its place
        byName_.clear();
        return;
    }
    byName_.erase(node.Name.View());
}

void TTopics::reindexFrom(std::size_t from) {
    for (std::size_t k = from; k < nodes_.size(); ++k) byId_[nodes_[k]->Id()] = k;
}

std::size_t TTopics::checkedIndex(int index) const {
    if (index < 0 || index >= Count()) throw Error("Topic index out of range (" + std::to_string(index) + ").");
    return static_cast<std::size_t>(index);
}

TTopicNode& TTopics::GetNode(int index) { return *nodes_[checkedIndex(index)]; }

const TTopicNode& TTopics::GetNode(int index) const { return *nodes_[checkedIndex(index)]; }

bool TTopics::Contains(const TTopicNode* node) const { return node && IndexOf(node) >= 0; }

int TTopics::IndexOf(const TTopicNode* node) const {
    for (std::size_t k = 0; k < nodes_.size(); ++k)
        if (nodes_[k].get() == node) return static_cast<int>(k);
    return -1;
}

int TTopics::IndexOfId(TNodeId id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? -1 : static_cast<int>(it->second);
}

bool TTopics::NameExists(std::string_view name) const { return FindByName(name) != nullptr; }

const TTopicNode* TTopics::FindByName(std::string_view name) const {
    try {
        ensureNames();
    } catch (const std::bad_alloc&) {
        // No room for the index: the names one by one.
        for (const auto& n : nodes_)
            if (SameText(n->Name.View(), name)) return n.get();
        return nullptr;
    }
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

TTopicNode* TTopics::FindByName(std::string_view name) {
    return const_cast<TTopicNode*>(std::as_const(*this).FindByName(name));
}

const TTopicNode* TTopics::FindContents() const {
    for (const auto& n : nodes_)
        if (n->IsContents) return n.get();
    return nullptr;
}

TTopicNode* TTopics::FindContents() { return const_cast<TTopicNode*>(std::as_const(*this).FindContents()); }

const TTopicNode* TTopics::FindById(TNodeId id) const {
    int i = IndexOfId(id);
    return i < 0 ? nullptr : nodes_[static_cast<std::size_t>(i)].get();
}

TTopicNode* TTopics::FindById(TNodeId id) { return const_cast<TTopicNode*>(std::as_const(*this).FindById(id)); }

bool TTopics::ContextIdExists(std::int32_t number) const {
    for (const auto& n : nodes_)
        if (n->ContextId == number) return true;
    return false;
}

std::int32_t TTopics::NextFreeContextId(std::int32_t increment) const {
    if (increment < 1) increment = 1;
    std::unordered_set<std::int32_t> used;
    used.reserve(nodes_.size());
    for (const auto& n : nodes_) used.insert(n->ContextId);
    // At most Count() multiples are taken, so the search ends within Count()+1
    // steps; it stops at the last multiple that still fits in 32 bits.
    std::int64_t candidate = increment;
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    while (used.count(static_cast<std::int32_t>(candidate)) && candidate + increment <= limit) candidate += increment;
    return static_cast<std::int32_t>(candidate);
}

std::string TTopics::newName(std::string_view stem) const {
    for (long long n = 1;; ++n) {
        std::string name = std::string(stem) + std::to_string(n);
        if (!NameExists(name)) return name;
    }
}

std::string TTopics::NewTopicName() const { return newName("NewTopic"); }

std::string TTopics::NewPopupName() const { return newName("NewPopup"); }

int TTopics::TopicCount() const {
    return static_cast<int>(
        std::count_if(nodes_.begin(), nodes_.end(), [](const auto& n) { return n->Kind == TopicKind::Topic; }));
}

int TTopics::PopupCount() const {
    return static_cast<int>(
        std::count_if(nodes_.begin(), nodes_.end(), [](const auto& n) { return n->Kind == TopicKind::Popup; }));
}

std::vector<TTopicNode*> TTopics::NodesOfKind(TopicKind kind) {
    std::vector<TTopicNode*> out;
    for (const auto& n : nodes_)
        if (n->Kind == kind) out.push_back(n.get());
    return out;
}

std::vector<const TTopicNode*> TTopics::NodesOfKind(TopicKind kind) const {
    std::vector<const TTopicNode*> out;
    for (const auto& n : nodes_)
        if (n->Kind == kind) out.push_back(n.get());
    return out;
}

std::vector<std::size_t> OrderByName(const std::vector<std::string_view>& names) {
    // Folded names compared byte by byte order as CompareText does.
    std::string folded;
    folded.reserve(names.size() * 16);
    std::vector<std::size_t> start(names.size() + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        start[i] = folded.size();
        for (const char c : names[i]) folded += AsciiLower(c);
    }
    start[names.size()] = folded.size();
    std::vector<std::string_view> keys(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        keys[i] = std::string_view(folded).substr(start[i], start[i + 1] - start[i]);
    return StableByteOrder(keys);
}

std::vector<const TTopicNode*> TTopics::NodesOfKindByName(TopicKind kind) const {
    const std::vector<const TTopicNode*> nodes = NodesOfKind(kind);
    std::vector<std::string_view> names;
    names.reserve(nodes.size());
    for (const TTopicNode* n : nodes) names.push_back(n->Name.View());
    std::vector<const TTopicNode*> out;
    out.reserve(nodes.size());
    for (const std::size_t i : OrderByName(names)) out.push_back(nodes[i]);
    return out;
}

void TTopics::DeleteNode(const TTopicNode* node) {
    int i = IndexOf(node);
    if (i < 0 || !node) throw Error("The topic to delete is not in the project.");
    DeleteAt(i);
}

void TTopics::DeleteAt(int index) {
    std::size_t at = checkedIndex(index);
    unindexName(*nodes_[at]);
    byId_.erase(nodes_[at]->Id());
    nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(at));
    reindexFrom(at);
}

TTopicNode& TTopics::ReplaceNode(const TTopicNode* oldNode, std::unique_ptr<TTopicNode> newNode) {
    if (!newNode) throw Error("Cannot replace a topic by an empty node.");
    int i = IndexOf(oldNode);
    if (i < 0 || !oldNode) throw Error("The topic to replace is not in the project.");
    const auto at = static_cast<std::size_t>(i);
    const TNodeId oldId = nodes_[at]->Id();
    byId_.emplace(newNode->Id(), at);  // may throw: nothing has changed yet
    byId_.erase(oldId);
    unindexName(*nodes_[at]);
    nodes_[at] = std::move(newNode);  // frees the old node
    TTopicNode& placed = *nodes_[at];
    placed.owner_ = this;
    indexName(placed, false);
    return placed;
}

void TTopics::Clear() {
    nodes_.clear();
    byId_.clear();
    byName_.clear();
    namesMade_ = false;
    namesShared_ = false;
}

// --- the name snapshot ------------------------------------------------------------

TTopicNameIndex::TTopicNameIndex(const TTopics& topics) {
    byName_.reserve(static_cast<std::size_t>(topics.Count()));
    // emplace keeps the first node of a name, as FindByName finds it.
    for (const auto& node : topics) byName_.emplace(std::string(node->Name.View()), node.get());
}

const TTopicNode* TTopicNameIndex::Find(std::string_view name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

}  // namespace qm

#include "model/project.h"

#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>

#include "model/projectfile.h"
#include "util/binio.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorsystem.h"

namespace qm {

namespace pf = projectfile;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Folder names compare ignoring ASCII case, "\" and "/" alike.
bool SameFolder(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (IsSeparator(x) && IsSeparator(y)) continue;
        if (AsciiLower(x) != AsciiLower(y)) return false;
    }
    return true;
}

// An image folder as the help compiler finds it: a relative one counts from
// the help project's folder, which is the project's own folder, not from
// wherever the program was started.
std::string ImageFolderPath(std::string_view projectFolder, const std::string& folder) {
    const bool absolute = IsSeparator(folder[0]) || (folder.size() >= 2 && folder[1] == ':');
    return absolute || projectFolder.empty() ? folder : std::string(projectFolder) + folder;
}

// ExtractFilePath as a part of `path`: a build asks for it once per image.
std::string_view FolderPart(std::string_view path) {
    for (std::size_t i = path.size(); i-- > 0;)
        if (IsSeparator(path[i]) || path[i] == ':') return path.substr(0, i + 1);
    return {};
}

// `name` in `folder` as the help compiler finds a picture there: the folder
// in any case, the name as written, else its file name alone. Through the
// build's listing cache when there is one.
std::string FindIn(TFolderCache* cache, std::string_view folder, std::string_view name) {
    std::string dir(folder);
    if (!folder.empty()) {
        dir = cache ? cache->FindFolder(folder) : FindFolderAnyCase(folder);
        if (dir.empty()) return {};
    }
    const auto find = [&](std::string_view n) { return cache ? cache->FindFile(dir, n) : FindFileInFolder(dir, n); };
    std::string found = find(name);
    if (found.empty()) {
        // The file name alone (ExtractFileName), when the name holds a folder.
        std::size_t cut = name.size();
        while (cut > 0 && !IsSeparator(name[cut - 1]) && name[cut - 1] != ':') --cut;
        const std::string_view bare = name.substr(cut);
        if (!bare.empty() && bare.size() != name.size()) found = find(bare);
    }
    return found;
}

template <std::size_t W, std::size_t C>
void WriteField(BinaryWriter& w, const TFixedText<W, C>& f, std::size_t width = W) {
    w.writeBytes(std::string_view(f.data(), width));
}

void WriteField(BinaryWriter& w, const TNodeName& f) { w.writeBytes(std::string_view(f.data(), TNodeName::width)); }

// Fewest bytes a window record and a node record can take (all lists empty,
// empty text): a count above what the rest of the file can hold is corrupt.
constexpr std::size_t MinWindowBytes = pf::WindowRecordSize + 4;
constexpr std::size_t MinNodeBytes = pf::NodeRecordSize + 3 * 4 + 4;

std::int32_t ReadCount(BinaryReader& r, std::size_t minRecord) {
    std::int32_t n = r.readInt32();
    if (n < 0 || static_cast<std::size_t>(n) > r.remaining() / minRecord) r.fail();
    return n;
}

void ReadNode(BinaryReader& r, TTopicNode& node) {
    node.SetNameField(r.readBytes(TNodeName::width).data());
    r.readFixedInto(node.Title.data(), node.Title.width);
    node.ContextId = r.readInt32();
    node.IsContents = r.readByte() != 0;
    node.Kind = r.readByte() == 1 ? TopicKind::Popup : TopicKind::Topic;
    node.State = static_cast<TopicState>(r.readByte());
    r.readFixedInto(node.Window.data(), node.Window.width);
    r.readFixedInto(node.Browse.data(), node.Browse.width);
    r.readFixedInto(node.BuildTag.data(), node.BuildTag.width);
    r.readStrings(node.Keywords);
    r.readStrings(node.AKeywords);
    r.readStrings(node.Macros);
    std::size_t n = r.checkedLength(r.readInt32());
    r.readBytesInto(node.Text, n);
}

void WriteNode(BinaryWriter& w, const TTopicNode& node) {
    WriteField(w, node.Name);
    WriteField(w, node.Title);
    w.writeInt32(node.ContextId);
    w.writeByte(node.IsContents ? 1 : 0);
    w.writeByte(static_cast<std::uint8_t>(node.Kind));
    w.writeByte(static_cast<std::uint8_t>(node.State));
    WriteField(w, node.Window);
    WriteField(w, node.Browse);
    WriteField(w, node.BuildTag);
    w.writeStrings(node.Keywords);
    w.writeStrings(node.AKeywords);
    w.writeStrings(node.Macros);
    if (node.Text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("topic text too long for the project file");
    w.writeInt32(static_cast<std::int32_t>(node.Text.size()));
    w.writeBytes(node.Text);
}

std::size_t ListBytes(const StringList& list) {
    std::size_t n = 4;
    for (const auto& s : list) n += 4 + s.size();
    return n;
}

}  // namespace

TProject::TProject() { Clear(); }

void TProject::Clear() {
    Modified = false;
    Topics.Clear();
    Windows.Clear();
    CompressMode = CompressMode::None;
    CompressFlags = 0;
    BmRoot.clear();
    MakeCppInclude = false;
    MakeVbInclude = false;
    MakePascalInclude = false;
    IncludeTags.clear();
    ExcludeTags.clear();
    IdPrefix.Set("IDH");
    Title.Clear();
    Copyright.Clear();
    Citation.Clear();
    HlpFile.Clear();
    CntFile.Clear();
}

void TProject::NewProject() {
    Clear();
    FileName.clear();
    TTopicNode& contents = Topics.AddNew();
    contents.Kind = TopicKind::Topic;
    contents.IsContents = true;
    contents.SetName("Contents");
    contents.SetTitle("Contents Page");
    contents.ContextId = 5;
    SetCopyright("This help file was written with Quillmark.");
    Windows.Add().SetName("main");
}

std::string TProject::FindInSearchPath(std::string_view name, TFolderCache* cache) const {
    if (name.empty()) return {};
    // The project's own folder first (the current folder for a new project),
    // then each image folder in the user's order.
    std::string found = FindIn(cache, FolderPart(FileName), name);
    return found.empty() ? FindInImageFolders(name, cache) : found;
}

std::string TProject::FindInImageFolders(std::string_view name, TFolderCache* cache) const {
    if (name.empty() || BmRoot.empty()) return {};
    const std::string_view projectFolder = FolderPart(FileName);
    for (const auto& folder : BmRoot) {
        if (folder.empty()) continue;  // an empty entry names no folder
        std::string found = FindIn(cache, ImageFolderPath(projectFolder, folder), name);
        if (!found.empty()) return found;
    }
    return {};
}

bool TProject::FileExistsInSearchPath(std::string_view name, TFolderCache* cache) const {
    return !FindInSearchPath(name, cache).empty();
}

bool TProject::IsBmRootFolder(std::string_view folder) const {
    for (const auto& f : BmRoot)
        if (SameFolder(f, folder)) return true;
    return false;
}

void TProject::CollectBuildTags(StringList& list) const {
    for (const auto& node : Topics) {
        std::string tag = node->GetBuildTag();
        if (tag.empty()) continue;
        bool known = false;
        for (const auto& s : list)
            if (s == tag) {
                known = true;
                break;
            }
        if (!known) list.push_back(tag);
    }
}

namespace {

// The size of the project's file; a module or a file over its limit is refused.
std::size_t CheckedFileSize(const TProject& p) {
    std::size_t size = pf::HeaderSize + ListBytes(p.BmRoot) + ListBytes(p.IncludeTags) + ListBytes(p.ExcludeTags) + 8;
    for (int i = 1; i <= p.Windows.Count(); ++i)
        size += pf::WindowRecordSize + ListBytes(p.Windows.GetWindow(i).Macros);
    for (const auto& n : p.Topics) {
        if (n->Text.size() > pf::MaxModuleTextBytes)
            throw Error("The module \"" + QuoteInput(n->GetName()) + "\" is too large to save (the limit is " +
                        std::to_string(pf::MaxModuleTextBytes >> 20) + " MB).");
        size += pf::NodeRecordSize + ListBytes(n->Keywords) + ListBytes(n->AKeywords) + ListBytes(n->Macros) + 4 +
                n->Text.size();
    }
    if (size > pf::MaxFileBytes)
        throw Error("The project is too large to save (the limit of a project file is " +
                    std::to_string(pf::MaxFileBytes >> 20) + " MB).");
    return size;
}

void WriteProject(const TProject& p, BinaryWriter& w) {
    w.writeBytes(pf::Magic);
    w.writeInt32(pf::Version);
    w.writeByte(p.CompressMode);
    w.writeInt32(p.CompressFlags);
    WriteField(w, p.Title);
    WriteField(w, p.Copyright);
    WriteField(w, p.Citation);
    WriteField(w, p.HlpFile, pf::StoredNameWidth);
    WriteField(w, p.CntFile, pf::StoredNameWidth);
    w.writeByte(p.MakeCppInclude ? 1 : 0);
    w.writeByte(p.MakeVbInclude ? 1 : 0);
    w.writeByte(p.MakePascalInclude ? 1 : 0);
    WriteField(w, p.IdPrefix);
    w.writeStrings(p.BmRoot);
    w.writeStrings(p.IncludeTags);
    w.writeStrings(p.ExcludeTags);
    w.writeInt32(p.Windows.Count());
    for (int i = 1; i <= p.Windows.Count(); ++i) p.Windows.WriteWindow(w, i);
    if (p.Topics.Count() > std::numeric_limits<std::int32_t>::max())
        throw std::length_error("too many topics for the project file");
    w.writeInt32(p.Topics.Count());
    for (const auto& n : p.Topics) WriteNode(w, *n);
}

}  // namespace

std::string TProject::SaveToBytes() const {
    BinaryWriter w;
    w.reserve(CheckedFileSize(*this));
    WriteProject(*this, w);
    return w.take();
}

void TProject::SaveToFile(const std::string& name) {
    const auto oldHlp = HlpFile;
    const auto oldCnt = CntFile;
    if (HlpFile.Empty()) {
        // The file-name part of the project file with the help extensions; the
        // contents-file name is derived only together with the help-file name.
        std::string base = ExtractFileName(name);
        ChangeExtension(base, "hlp");
        HlpFile.Set(base);
        ChangeExtension(base, "cnt");
        CntFile.Set(base);
    }
    try {
        const std::size_t size = CheckedFileSize(*this);
        // Written as it is made, through a small buffer: a copy of the whole
        // file in memory cost as much as writing it.
        WriteFileAtomic(name, [&](const ByteSink& sink) {
            BinaryWriter w(sink);
            WriteProject(*this, w);
            w.flush();
            if (w.size() != size) throw std::logic_error("the project file's size was misjudged");
        });
    } catch (const Error&) {
        // File errors and sizes refused: their own message.
        HlpFile = oldHlp;
        CntFile = oldCnt;
        throw;
    } catch (const std::exception&) {
        HlpFile = oldHlp;
        CntFile = oldCnt;
        throw Error(std::string(pf::MsgErrorWriting) + QuoteInput(name));
    }
    FileName = name;
}

void TProject::loadFrom(BinaryReader& r) {
    // The magic and the version are both read before either is checked: a
    // file too short for them ends in the end-of-file error.
    const std::string magic(r.readBytes(pf::Magic.size()));
    const std::int32_t version = r.readInt32();
    if (magic != pf::Magic) throw Error(std::string(pf::MsgNotProject));
    if (version > pf::Version) throw Error(std::string(pf::MsgLaterVersion));
    Clear();

    CompressMode = r.readByte();
    CompressFlags = r.readInt32();
    r.readFixedInto(Title.data(), Title.width);
    r.readFixedInto(Copyright.data(), Copyright.width);
    r.readFixedInto(Citation.data(), Citation.width);
    r.readFixedInto(HlpFile.data(), pf::StoredNameWidth);  // last byte stays zero
    r.readFixedInto(CntFile.data(), pf::StoredNameWidth);
    MakeCppInclude = r.readByte() != 0;
    MakeVbInclude = r.readByte() != 0;
    MakePascalInclude = r.readByte() != 0;
    r.readFixedInto(IdPrefix.data(), IdPrefix.width);
    r.readStrings(BmRoot);
    r.readStrings(IncludeTags);
    r.readStrings(ExcludeTags);

    std::int32_t windows = ReadCount(r, MinWindowBytes);
    for (std::int32_t i = 1; i <= windows; ++i) {
        Windows.Add();
        Windows.ReadWindow(r, i);
    }
    std::int32_t nodes = ReadCount(r, MinNodeBytes);
    Topics.Reserve(nodes);
    for (std::int32_t i = 0; i < nodes; ++i) {
        // Read whole, then added: the list indexes the name it joins with.
        std::unique_ptr<TTopicNode> node = NewTopicNode();
        ReadNode(r, *node);
        Topics.AddNode(std::move(node));
    }
}

void TProject::LoadFromBytes(std::string_view data, const std::string& name) {
    try {
        BinaryReader r(data, name);
        loadFrom(r);
    } catch (const std::bad_alloc&) {
        Clear();
        throw Error(CreateFileAccessError(name, true, winerr::NotEnoughMemory).what());
    } catch (const std::exception& e) {
        Clear();
        throw Error(e.what());
    }
}

void TProject::LoadFromFile(const std::string& name) {
    try {
        // Parsed as it is read, through a small buffer: a copy of the whole
        // file in memory beside the topics cost as much as reading it.
        FileReader file(name, pf::MaxFileBytes);
        BinaryReader r(file, file.Size(), name);
        loadFrom(r);
    } catch (const std::bad_alloc&) {
        Clear();
        throw Error(CreateFileAccessError(name, true, winerr::NotEnoughMemory).what());
    } catch (const std::exception& e) {
        Clear();
        throw Error(e.what());
    }
}

}  // namespace qm

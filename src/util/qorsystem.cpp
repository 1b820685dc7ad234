#include "util/qorsystem.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "util/fileio.h"

namespace fs = std::filesystem;

namespace qm {

std::string GetTempFolder() {
    std::error_code ec;
    const fs::path p = fs::temp_directory_path(ec);
    if (ec || p.empty()) return {};
    std::string s = FromFsPath(p);
#ifdef _WIN32
    const char sep = '\\';
#else
    const char sep = '/';
#endif
    if (s.back() != '\\' && s.back() != '/') s += sep;
    return s;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    // "*.*" is the classic "every file", dot or not.
    if (mask == "*.*" || mask == "*") return true;
    // Iterative glob with one backtrack point.
    std::size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || AsciiLower(mask[m]) == AsciiLower(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

void ListFiles(std::string_view folder, StringList& list, std::string_view mask) {
    list.clear();
    std::error_code ec;
    fs::directory_iterator it(ToFsPath(folder.empty() ? std::string_view(".") : folder), ec);
    if (ec) return;
    for (const fs::directory_entry& e : it) {
        std::error_code ec2;
        if (!e.is_regular_file(ec2)) continue;
        std::string name = FromFsPath(e.path().filename());
        if (MatchesMask(name, mask)) list.push_back(std::move(name));
    }
    std::sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
        const int c = CompareText(a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

// The names of one folder, by their ASCII-folded form, in the order the
// folder lists them; per folder, by its native path.
struct TFolderCache::Listings {
    // A folder's names by their ASCII-folded form; looked up in any case,
    // without a folded copy.
    using Names = std::unordered_map<std::string, std::vector<std::string>, FoldedTextHash, FoldedTextEqual>;
    std::unordered_map<fs::path::string_type, Names> folders;
    // FindFolderAnyCase by the path asked for.
    std::unordered_map<std::string, std::string> resolvedFolders;
    // The listing of each folder name as the look-ups give it, so that a
    // look-up that finds nothing makes no string or path at all.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, const Names*, NameHash, std::equal_to<>> byName;
    // The folder of the last look-up, the usual one of the next.
    std::string lastName;
    const Names* last = nullptr;

    const Names& OfName(std::string_view folder);

    const Names& Of(const fs::path& dir) {
        // "art", "art/" and "x/../art" are one folder with one listing.
        fs::path key = dir.lexically_normal();
        if (!key.has_filename() && key.has_relative_path()) key = key.parent_path();
        auto [it, added] = folders.try_emplace(key.native());
        if (added) {
            std::error_code ec;
            fs::directory_iterator entries(dir, ec);
            if (!ec)
                for (const fs::directory_entry& e : entries) {
                    std::string name = FromFsPath(e.path().filename());
                    it->second[AsciiLowerStr(name)].push_back(std::move(name));
                }
        }
        return it->second;
    }
};

namespace {
// `folder` with the separator that a file name is added after (none when
// empty: the current folder).
std::string FolderBase(std::string_view folder) {
    std::string base(folder);
    if (!base.empty() && base.back() != '\\' && base.back() != '/')
        base += base.find('/') != std::string::npos ? '/' : '\\';
    return base;
}
}  // namespace

const TFolderCache::Listings::Names& TFolderCache::Listings::OfName(std::string_view folder) {
    if (last && folder == lastName) return *last;
    auto it = byName.find(folder);
    if (it == byName.end()) {
        const std::string base = FolderBase(folder);
        it = byName.emplace(std::string(folder), &Of(ToFsPath(base.empty() ? std::string(".") : base))).first;
    }
    lastName.assign(folder);
    last = it->second;
    return *last;
}

TFolderCache::TFolderCache() : listings_(std::make_unique<Listings>()) {}
TFolderCache::~TFolderCache() = default;

int TFolderCache::ListedFolders() const { return static_cast<int>(listings_->folders.size()); }

namespace {
// The entry of `dir` named `part` ignoring ASCII case (exact match first),
// of the wanted kind: a folder for a middle part, a file for the last one, so
// a folder "IMG.BMP" never hides the file "img.bmp".
bool IsWantedKind(const fs::path& p, bool wantFile) {
    std::error_code ec;
    return wantFile ? fs::is_regular_file(p, ec) : fs::is_directory(p, ec);
}

std::string FindEntry(const fs::path& dir, const std::string& part, bool wantFile, TFolderCache::Listings* cache) {
    std::error_code ec;
    if (IsWantedKind(dir / ToFsPath(part), wantFile)) return part;
    if (part == "." || part == "..") return {};
    if (cache) {
        // The same first match as the walk below: the folder's order is kept.
        const TFolderCache::Listings::Names& names = cache->Of(dir);
        const auto it = names.find(AsciiLowerStr(part));
        if (it != names.end())
            for (const std::string& name : it->second)
                if (IsWantedKind(dir / ToFsPath(name), wantFile)) return name;
        return {};
    }
    fs::directory_iterator it(dir, ec);
    if (ec) return {};
    for (const fs::directory_entry& e : it) {
        std::string name = FromFsPath(e.path().filename());
        if (SameText(name, part) && IsWantedKind(e.path(), wantFile)) return name;
    }
    return {};
}

std::string Lookup(std::string_view folder, std::string_view name, TFolderCache::Listings* cache) {
    if (name.empty()) return {};
    if (cache && std::none_of(name.begin(), name.end(), [](char c) { return c == '\\' || c == '/'; })) {
        // A plain file name, the usual case: the folder's listing says at once
        // whether a file of that name in any case is there, so most look-ups
        // ask the file system nothing, and the others what the walk below asks.
        const TFolderCache::Listings::Names& names = cache->OfName(folder);
        const auto it = names.find(name);
        if (it == names.end()) return {};
        const std::string base = FolderBase(folder);
        const std::string exact = base + std::string(name);
        if (FileExists(exact)) return exact;
        const fs::path dir = ToFsPath(base.empty() ? std::string(".") : base);
        for (const std::string& candidate : it->second)
            if (IsWantedKind(dir / ToFsPath(candidate), true)) return base + candidate;
        return {};
    }
    const std::string base = FolderBase(folder);
    const std::string exact = base + std::string(name);
    if (FileExists(exact)) return exact;

    // Resolve each component of `name` without regard to case.
    std::string result = base;
    fs::path dir = ToFsPath(base.empty() ? std::string(".") : base);
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string part(name.substr(start, end - start));
        if (!part.empty()) {
            const std::string found = FindEntry(dir, part, end == name.size(), cache);
            if (found.empty()) return {};
            result += found;
            dir /= ToFsPath(found);
            if (end < name.size()) result += name[end];
        }
        start = end + 1;
    }
    return FileExists(result) ? result : std::string();
}
std::string ResolveFolder(std::string_view path, TFolderCache::Listings* cache) {
    if (path.empty()) return {};
#ifndef _WIN32
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        return {};
#endif
    if (FolderExists(path)) return std::string(path);
    std::string p(path);
    while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
    // The longest part of the path that exists as written; the rest is
    // matched part by part.
    std::size_t cut = p.find_last_of("\\/");
    while (cut != std::string::npos && !FolderExists(cut == 0 ? p.substr(0, 1) : p.substr(0, cut)))
        cut = cut == 0 ? std::string::npos : p.find_last_of("\\/", cut - 1);
    std::string result = cut == std::string::npos ? std::string() : p.substr(0, cut + 1);
    fs::path dir = ToFsPath(result.empty() ? std::string(".") : result);
    std::size_t start = cut == std::string::npos ? 0 : cut + 1;
    while (start <= p.size()) {
        std::size_t end = p.find_first_of("\\/", start);
        if (end == std::string::npos) end = p.size();
        const std::string part = p.substr(start, end - start);
        if (!part.empty()) {
            const std::string found = FindEntry(dir, part, false, cache);
            if (found.empty()) return {};
            result += found;
            dir /= ToFsPath(found);
            if (end < p.size()) result += p[end];
        }
        start = end + 1;
    }
    return result;
}
}  // namespace

std::string FindFileInFolder(std::string_view folder, std::string_view name) { return Lookup(folder, name, nullptr); }

std::string FindFolderAnyCase(std::string_view path) { return ResolveFolder(path, nullptr); }

std::string TFolderCache::FindFolder(std::string_view path) {
    const auto [it, added] = listings_->resolvedFolders.try_emplace(std::string(path));
    if (added) it->second = ResolveFolder(path, listings_.get());
    return it->second;
}

std::string TFolderCache::FindFile(std::string_view folder, std::string_view name) {
    return Lookup(folder, name, listings_.get());
}

}  // namespace qm

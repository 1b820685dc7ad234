#include "dialogs/tagdialogs.h"

#include "util/qorstring.h"

namespace qm {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string FileNameOnly(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string TTagResult::ImageFolder() const {
    const std::string file = Trim(ImageFile);
    const std::size_t cut = file.find_last_of("\\/");
    if (cut == std::string::npos) return {};
    std::string folder = file.substr(0, cut + 1);
    // A root keeps its separator: without it "/" would vanish and "C:\" would
    // name the drive's current folder.
    const bool root = folder.size() == 1 || (folder.size() == 3 && folder[1] == ':');
    while (!root && folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
    return folder;
}

bool IsValidAnchorName(std::string_view name) { return name.find_first_of("\"<>") == std::string_view::npos; }

TImageAlign ImageAlignOf(std::string_view tagName) {
    const std::string name = AsciiUpperStr(tagName);
    if (name == "IMAGEL") return TImageAlign::Left;
    if (name == "IMAGER") return TImageAlign::Right;
    return TImageAlign::Character;
}

std::string ImageTagNameFor(TImageAlign align, std::string_view original) {
    if (!original.empty() && ImageAlignOf(original) == align) return std::string(original);
    switch (align) {
        case TImageAlign::Left: return "IMAGEL";
        case TImageAlign::Right: return "IMAGER";
        case TImageAlign::Character: break;
    }
    return "IMAGEC";
}

std::optional<TImageHotspot> ParseImageHotspot(std::string_view inner) {
    // One tag: "<" first, its only ">" last, no other "<".
    if (inner.size() < 2 || inner.front() != '<' || inner.back() != '>') return std::nullopt;
    const std::string_view body = inner.substr(1, inner.size() - 2);
    if (body.find_first_of("<>") != std::string_view::npos) return std::nullopt;
    const std::size_t blank = body.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    const std::string_view name = body.substr(0, blank);
    const std::string upper = AsciiUpperStr(name);
    if (upper != "IMAGE" && upper != "IMAGEC" && upper != "IMAGEL" && upper != "IMAGER") return std::nullopt;
    // Exactly `name "file"`, so that writing it back gives the same text.
    const std::size_t open = blank + 1;
    if (open >= body.size() || body[open] != '"' || body.size() < open + 2 || body.back() != '"') return std::nullopt;
    const std::size_t close = body.find('"', open + 1);
    if (close != body.size() - 1) return std::nullopt;
    return TImageHotspot{std::string(name), std::string(body.substr(open + 1, close - open - 1))};
}

}  // namespace qm

// Feeds arbitrary text to the editor's tag reading: the tag at every place,
// the member list's word rules and the change an edit makes. Every result
// must stay inside the text, never crash or read out of bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "preprocess/edittags.h"
#include "util/cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    // Pairs of bytes are UTF-16 units, so surrogates and line separators
    // come up as well as plain ASCII.
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const qm::TTagText tags(text);
    const int length = tags.Length();
    for (int p = -1; p <= length + 1; ++p) {
        const qm::TTagInfo info = qm::ParseTagAt(tags, p);
        if (info.Count != static_cast<int>(info.Parts.size())) std::abort();
        if (info.Count > 0) {
            if (info.StartTagBegin < 0 || info.StartTagBegin > p || info.StartTagEnd >= length) std::abort();
            const int end = info.EndTagEnd >= 0 ? info.EndTagEnd : info.StartTagEnd;
            if (end < p || end >= length) std::abort();
            if (info.EndTagBegin >= 0 && info.EndTagBegin <= info.StartTagEnd && info.EndTagBegin != info.StartTagBegin)
                std::abort();
            (void)qm::EditKindOf(info);
            (void)qm::IsEditableImageTag(info);
        }
        for (const int kind : {qm::lkTopics, qm::lkPopups, qm::lkWindows, qm::lkTags, qm::lkMacros, qm::lkAll}) {
            const int start = qm::AcceptStart(text, p, kind);
            if (start < 0 || start > std::max(0, std::min(p, length))) std::abort();
            (void)qm::TypedPrefix(text, p, kind);
        }
        (void)qm::ListKindForPlace(text, p);
    }
    // An edit to the Windows-1252 form of the text replaces inside it.
    std::string changed = qm::ToCp1252Units(text);
    if (!changed.empty()) changed[changed.size() / 2] ^= 0x20;
    if (const auto splice = qm::SpliceFor(text, changed)) {
        if (splice->From < 0 || splice->Length < 0 || splice->From + splice->Length > length) std::abort();
    }
    return 0;
}

#pragma once
// The checks that the topic and popup properties dialogs share at OK: a
// module's new name and its new context ID against the node and the rest of
// the project. Each dialog keeps its own texts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

class TTopics;
struct TTopicNode;

// The refusals that differ between topics and popups.
struct TModuleNameTexts {
    const char* noName;   // the name is empty
    const char* spaces;   // it holds a blank
    const char* invalid;  // it fails IsValidName
};

inline constexpr TModuleNameTexts kTopicNameTexts{"No topic name has been entered.",
                                                  "Spaces are not allowed in topic names.", "Invalid topic name."};
inline constexpr TModuleNameTexts kPopupNameTexts{"No popup name has been entered.",
                                                  "Spaces are not allowed in popup names.", "Invalid popup name."};

// The first refusal of `name` (trimmed) as the new name of `node`, in order:
// empty, taken by another module (a change of letter case alone passes),
// a blank, not a valid name. nullopt: the name passes.
std::optional<std::string> ModuleNameRefusal(std::string_view name, const TTopicNode& node, const TTopics& topics,
                                             const TModuleNameTexts& texts);

// The context ID typed for `node`: `text` is trimmed and holds digits only
// (a value loaded from a file may carry a minus sign). Either the refusal, in
// order: empty, no 32-bit number, taken by another module (the node's own ID
// passes, however it is written); or the value.
struct TContextIdCheck {
    std::optional<std::string> refusal;
    std::int32_t value = 0;
};
TContextIdCheck CheckContextId(std::string_view text, const TTopicNode& node, const TTopics& topics);

// A browse-sequence string "name:number": split at its first colon, a name
// that is not empty and a number of digits and minus signs. The empty string
// (no browse sequence) passes too.
bool IsBrowseSequence(std::string_view browse);

}  // namespace qm

#include "dialogs/modulechecks.h"

#include <charconv>

#include "model/topics.h"
#include "util/qorstring.h"

namespace qm {

std::optional<std::string> ModuleNameRefusal(std::string_view name, const TTopicNode& node, const TTopics& topics,
                                             const TModuleNameTexts& texts) {
    if (name.empty()) return std::string(texts.noName);
    if (!SameText(name, node.GetName()) && topics.NameExists(name))
        return "\"" + std::string(name) + "\" : this topic name already exists.";
    if (name.find(' ') != std::string_view::npos) return std::string(texts.spaces);
    if (!IsValidName(name)) return std::string(texts.invalid);
    return std::nullopt;
}

TContextIdCheck CheckContextId(std::string_view text, const TTopicNode& node, const TTopics& topics) {
    TContextIdCheck check;
    if (text.empty()) {
        check.refusal = "No context id has been entered.";
        return check;
    }
    // Digits beyond the range of a context ID make no number: refused, never
    // cut or wrapped into another module's ID.
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, check.value);
    if (error != std::errc() || end != last) {
        check.refusal = std::string(text) + " is not a valid integer value.";
        return check;
    }
    if (check.value != node.ContextId && topics.ContextIdExists(check.value))
        check.refusal = std::string(text) + " : this context id already exists.";
    return check;
}

bool IsBrowseSequence(std::string_view browse) {
    if (browse.empty()) return true;
    const std::size_t colon = browse.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    return IsNumeric(browse.substr(colon + 1));
}

}  // namespace qm

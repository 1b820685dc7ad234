#pragma once
// Where the links and macros of an imported help project lead. The sources
// name topics by context strings, directly or through the aliases of
// [ALIAS]; the project names them by the records made for them. This pass
// runs over the finished records, whatever made their tags (hotspots,
// buttons, tables), and over the macro lists of the topics and windows.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "import/importrtf.h"
#include "model/topics.h"
#include "util/qorstring.h"

namespace qm {

// What an argument of a help macro holds.
enum class TMacroArgKind {
    Topic,  // a context string of a topic
    Macro,  // macros of their own (a button's or menu item's binding, IfThen's branch)
};

struct TMacroArg {
    int Index;  // 0-based
    TMacroArgKind Kind;
};

// The arguments of one macro that name topics or hold macros, and the
// argument that names the help file those topics are in (-1 when the topics
// are always in the help file that runs the macro).
struct TMacroArgs {
    int FileArg = -1;
    std::vector<TMacroArg> Args;
};

// The topic and macro arguments of the macro called `name` (its full name or
// its short form, any case); null for a macro that has none.
const TMacroArgs* TopicMacroArgs(std::string_view name);

// Leads the context strings of imported text to the records' names.
class TTopicLeads {
public:
    static constexpr int kMaxMacroNesting = 16;

    // `contexts` maps context strings and aliases to names (or name:anchor);
    // `helpFile` is the project's own help file (HLP=, or the .hpj's name
    // with ".hlp"), which macros that name a help file may name.
    TTopicLeads(const TContextMap& contexts, const std::vector<std::unique_ptr<TTopicNode>>& records,
                std::string helpFile);

    // The name a link's target becomes, when it changes: a target that is the
    // name of a record stays; a context string or alias that leads to one
    // takes its name (or name:anchor).
    std::optional<std::string> LeadTarget(std::string_view target) const;

    // `macros` (calls separated by ";" or ":") with every argument that names
    // a topic of this help file led as LeadTarget leads it (an anchor written
    // as the build names it, name_anchor), nested macros included (to a
    // depth of kMaxMacroNesting; deeper ones stay). Text it cannot read as
    // calls is left as written.
    std::string LeadMacros(std::string_view macros) const;

    // Whether a macro's help-file argument names this project's help file:
    // empty, the variable qchPath, or the help file's name (any folder, any
    // case, with or without a ">window").
    bool IsOwnHelpFile(std::string_view file) const;

    // The LINK, ULINK, MACRO, UMACRO and BTN tags of each record's text and
    // its entry macros, led as above. Tags whose text carries formatting are
    // left as they are.
    void LeadRecords(std::vector<std::unique_ptr<TTopicNode>>& records) const;

    // Each macro of a list (a window's start-up macros), led.
    void LeadMacroList(StringList& macros) const;

private:
    std::string LeadMacrosAt(std::string_view macros, int depth) const;
    std::string LeadTagText(std::string_view plainTag, bool link) const;

    const TContextMap& contexts_;
    std::unordered_set<std::string> names_;  // the records' names, ASCII lower-cased
    std::string helpFile_;                   // lower-cased, without its folder
};

}  // namespace qm

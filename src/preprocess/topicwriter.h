#pragma once
// The topic RTF writer: turns each module's tagged body into help-compiler RTF
// with its footnotes in front, one file per module in the work folder, and
// reports what it finds into the build log.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/project.h"
#include "preprocess/buildchecks.h"
#include "preprocess/checksettings.h"
#include "preprocess/outputlog.h"

namespace qm {

// The anchor names the ANCHOR tags of one module define during one build.
class TAnchorTable {
public:
    void Add(std::string_view name);
    bool Exists(std::string_view name) const;  // exact, case-sensitive
    void Clear();
    int Count() const { return static_cast<int>(names_.size()); }
    const StringList& Names() const { return names_; }

private:
    StringList names_;
    std::unordered_set<std::string> set_;
};

// A link that names an anchor, kept until every module's anchors are known.
struct TUnresolvedAnchorInfo {
    TNodeId LinkingTopic = 0;
    std::string LinkingName;
    TNodeId TargetTopic = 0;  // 0 when the link's target is not a module
    std::string Anchor;
};

class TUnresolvedAnchorTable {
public:
    void Add(const TTopicNode& linking, const TTopicNode* target, std::string_view anchor);
    int Count() const { return static_cast<int>(items_.size()); }
    const TUnresolvedAnchorInfo& Get(int index) const { return items_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<TUnresolvedAnchorInfo> items_;
};

// The modules by name, ASCII case folded, for the link passes: a look-up per
// link without a walk over every module. Gives the first module of a name,
// as TTopics::FindByName does.
using TModuleIndex = TTopicNameIndex;

// What the passes did, for benchmarks and tests.
struct TPassStats {
    // Passes that replaced their tags one after the other over the whole text
    // (a sweep of the text per tag) because one sweep could not give the same
    // bytes. Passes run with LiteralReplace are not counted.
    int TagByTag = 0;
};

// What every pass works with: the project (for its modules, windows and image
// folders), the module whose text is converted, the log and the check settings.
struct TPassContext {
    const TProject& Project;
    const TTopicNode& Topic;
    TOutputLog& Log;
    const TCheckSettings& Checks;
    // Makes the passes that work on a snapshot of the text apply their
    // replacements one by one over the whole text, as written, instead of in
    // one sweep. Both give the same bytes; tests compare them.
    bool LiteralReplace = false;
    // Speeds up the look-up of link targets; without it the project's list
    // is searched.
    const TModuleIndex* Index = nullptr;
    // The build's folder listings for the image look-ups; without it each
    // look-up lists the folders it searches.
    TFolderCache* Folders = nullptr;
    // Counts what the passes did, when given.
    TPassStats* Stats = nullptr;

    const TTopicNode* FindModule(std::string_view name) const;

    // Adds a finding of check `code` when that check is on; the occurrence is
    // one more than the entries already there with this code, text and module.
    void Report(int code, std::string_view text) const;
    // Notes a pass that took the tag-by-tag road although one sweep was asked for.
    void NoteTagByTag() const {
        if (Stats && !LiteralReplace) ++Stats->TagByTag;
    }
};

// The ten passes, in the order the writer runs them.
void ConvertNoScroll(std::string& text, const TPassContext& ctx);
void ConvertAnchors(std::string& text, const TPassContext& ctx, TAnchorTable& anchors);
void ConvertLinks(std::string& text, const TPassContext& ctx, TUnresolvedAnchorTable& unresolved);
void ConvertULinks(std::string& text, const TPassContext& ctx, TUnresolvedAnchorTable& unresolved);
void ConvertImages(std::string& text, const TPassContext& ctx);
void ConvertButtons(std::string& text, const TPassContext& ctx);
void ConvertMacros(std::string& text, const TPassContext& ctx);  // MACRO, then UMACRO
void ConvertSounds(std::string& text, const TPassContext& ctx);
void ConvertVideos(std::string& text, const TPassContext& ctx);
void ConvertRtfTags(std::string& text, const TPassContext& ctx);

// Reports check 2 for each link whose anchor no module defines.
void ResolveAnchors(const std::vector<TAnchorTable>& anchorTables, const TUnresolvedAnchorTable& unresolved,
                    TOutputLog& log, const TCheckSettings& checks);

// The footnote block of one module.
std::string BuildFootnotes(const TTopicNode& topic);

// The whole file text of one module: its tables' rows put back together
// (AssembleTableRows), the passes, the "&lt;" and "&rt;" escapes, and the
// footnotes put before the first "\viewkind4".
std::string PreprocessTopic(const TPassContext& ctx, TAnchorTable& anchors, TUnresolvedAnchorTable& unresolved);

// Converts and writes every module into `workFolder` as <name>.rtf, then
// resolves anchors. Runs CheckProjectForBuild first, so a project that fails
// it (an unusable module name, a text that would break a line) raises
// qm::Error before any file is written. Each file is written new: a link
// standing at its name is replaced, never written through. Raises
// EFileAccess (write form, naming the work folder) when a file cannot be
// written.
void WriteTopicFiles(const TProject& project, const std::string& workFolder, TOutputLog& log,
                     const TCheckSettings& checks = TCheckSettings());

}  // namespace qm

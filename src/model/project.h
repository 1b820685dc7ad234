#pragma once
// The help project: text settings, compression, image folders, build-tag
// filters, constant-file switches, the topics and popups, and the windows.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/fixedtext.h"
#include "model/helpwindows.h"
#include "model/topics.h"
#include "util/qorstring.h"
#include "util/qorsystem.h"

namespace qm {

// `TProject::CompressMode` values.
namespace CompressMode {
inline constexpr std::uint8_t None = 0;
inline constexpr std::uint8_t Maximum = 1;
inline constexpr std::uint8_t Custom = 2;
}  // namespace CompressMode

// `TProject::CompressFlags` bits (used with CompressMode::Custom).
namespace CompressFlags {
inline constexpr std::int32_t Phrase = 2;
inline constexpr std::int32_t Hall = 4;
inline constexpr std::int32_t Zeck = 8;
inline constexpr std::int32_t PhraseIndex = 64;
}  // namespace CompressFlags

class TProject {
public:
    // An empty project in the state of Clear() (no topics, no windows).
    TProject();
    TProject(const TProject&) = delete;
    TProject& operator=(const TProject&) = delete;

    std::string FileName;   // full path of the project file; empty when new
    bool Modified = false;  // never stored
    TTopics Topics;
    TWindows Windows;
    std::uint8_t CompressMode = 0;
    std::int32_t CompressFlags = 0;
    StringList BmRoot;  // image folders, "\" or "/" separated
    bool MakeCppInclude = false;
    bool MakeVbInclude = false;
    bool MakePascalInclude = false;
    StringList IncludeTags;
    StringList ExcludeTags;
    TFixedText<5> IdPrefix;
    TFixedText<127> Title;
    TFixedText<255> Copyright;
    TFixedText<2000> Citation;
    TFixedText<260, 259> HlpFile;  // the last byte is always zero
    TFixedText<260, 259> CntFile;

    std::string GetIdPrefix() const { return IdPrefix.Get(); }
    void SetIdPrefix(std::string_view s) { IdPrefix.Set(s); }
    std::string GetTitle() const { return Title.Get(); }
    void SetTitle(std::string_view s) { Title.Set(s); }
    std::string GetCopyright() const { return Copyright.Get(); }
    void SetCopyright(std::string_view s) { Copyright.Set(s); }
    std::string GetCitation() const { return Citation.Get(); }
    void SetCitation(std::string_view s) { Citation.Set(s); }
    std::string GetHlpFile() const { return HlpFile.Get(); }
    void SetHlpFile(std::string_view s) { HlpFile.Set(s); }
    std::string GetCntFile() const { return CntFile.Get(); }
    void SetCntFile(std::string_view s) { CntFile.Set(s); }

    // Everything but FileName back to the empty state; IdPrefix "IDH".
    void Clear();
    // Clear, empty FileName, then one contents topic "Contents" (number 5)
    // and one window "main".
    void NewProject();

    // True when `name` is found as a file in the project's folder or one of
    // the BmRoot folders (in that order), as the help compiler finds a
    // picture: the folders and the file name match without regard to ASCII
    // case when no exact match exists, and a name with a folder part is also
    // found by its file name alone. A relative BmRoot folder counts from the
    // project's folder, as it does for the help compiler.
    // With a cache, each folder is listed once for all the look-ups that
    // share it (a build's); without one, at each look-up.
    bool FileExistsInSearchPath(std::string_view name, TFolderCache* cache = nullptr) const;
    // The path found by that search, or "" when none.
    std::string FindInSearchPath(std::string_view name, TFolderCache* cache = nullptr) const;
    // As FindInSearchPath, but in the BmRoot folders only (the image
    // preview's search, which skips the project's own folder).
    std::string FindInImageFolders(std::string_view name, TFolderCache* cache = nullptr) const;
    // True when `folder` equals a BmRoot entry ignoring ASCII case, "\" and
    // "/" counting as the same character.
    bool IsBmRootFolder(std::string_view folder) const;
    // Appends each non-empty BuildTag, in node order, that `list` lacks.
    void CollectBuildTags(StringList& list) const;

    // Writes the project file atomically. When HlpFile is empty it is derived
    // from `name` (and CntFile with it). FileName becomes `name` only after
    // the file is in place; a failure leaves FileName, HlpFile, CntFile and
    // the old file unchanged and raises qm::Error (EFileAccess for file errors).
    void SaveToFile(const std::string& name);
    // Reads a project file over everything but FileName (the caller sets it).
    // On any failure the project is cleared and qm::Error is raised.
    void LoadFromFile(const std::string& name);
    // LoadFromFile on bytes already read; `name` is used in messages.
    void LoadFromBytes(std::string_view data, const std::string& name);
    // The project-file bytes of the project as it is (no names derived).
    std::string SaveToBytes() const;
};

}  // namespace qm

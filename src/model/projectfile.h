#pragma once
// Layout constants and messages of the project file (".qpf").
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm::projectfile {

inline constexpr std::string_view Magic = "Quillmark Project File";  // 22 bytes
inline constexpr std::int32_t Version = 151;

inline constexpr std::size_t HeaderSize = 2939;
inline constexpr std::size_t WindowRecordSize = 86;  // then the macro block
inline constexpr std::size_t NodeRecordSize = 625;   // then three lists and the text

// Header offsets.
inline constexpr std::size_t OffVersion = 22;
inline constexpr std::size_t OffCompressMode = 26;
inline constexpr std::size_t OffCompressFlags = 27;
inline constexpr std::size_t OffTitle = 31;
inline constexpr std::size_t OffCopyright = 158;
inline constexpr std::size_t OffCitation = 413;
inline constexpr std::size_t OffHlpFile = 2413;
inline constexpr std::size_t OffCntFile = 2672;
inline constexpr std::size_t OffMakeCpp = 2931;
inline constexpr std::size_t OffMakeVb = 2932;
inline constexpr std::size_t OffMakePascal = 2933;
inline constexpr std::size_t OffIdPrefix = 2934;
inline constexpr std::size_t StoredNameWidth = 259;  // HlpFile / CntFile bytes in the file

// Size limits. A project file is read whole, and its modules are parsed again
// by the editor, so both stay bounded; a save that would pass either limit is
// refused, so that what is saved can always be loaded.
inline constexpr std::uintmax_t MaxFileBytes = std::uintmax_t{1} << 30;    // 1024 MB
inline constexpr std::size_t MaxModuleTextBytes = std::size_t{256} << 20;  // 256 MB

inline constexpr std::string_view MsgNotProject = "This file is not a Quillmark project file.";
inline constexpr std::string_view MsgLaterVersion = "This project file was created using a later version of Quillmark.";
inline constexpr std::string_view MsgErrorWriting = "Error writing to ";  // + file name

}  // namespace qm::projectfile

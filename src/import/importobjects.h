#pragma once
// Embedded pictures and tables of imported RTF. The editor's document model
// holds neither, so before the text is read they are taken out: a picture
// is written as an image file and an IMAGE tag takes its place; a table's
// row and cell codes become RTF tags around its cells' text, which is
// converted as any other text (its hotspots and pictures become tags), so
// the built help shows the table as the source did.
//
// How the editor holds a table: each row begins with a paragraph holding the
// row's definition, `<RTF "\\trowd ... \\cellx1302\\cellx8622 ">`; then
// each cell is a paragraph (or several) whose last one ends in the cell's
// end, `<RTF "\\cell ">`, the row's last cell's in `<RTF "\\cell \\row ">`.
// The build puts the rows back together (AssembleTableRows).
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "import/importnotes.h"
#include "import/importrtf.h"
#include "util/qorstring.h"

namespace qm {

// A "\pict" group: its kind, its sizes and its data, decoded.
struct TEmbeddedPicture {
    std::string Kind;                // "dibitmap", "wbitmap", "wmetafile", "pngblip", ...; empty when none is given
    long KindParam = 0;              // the metafile's mapping mode, the bitmap's type
    long PicW = 0, PicH = 0;         // \picw, \pich
    long GoalW = 0, GoalH = 0;       // \picwgoal, \pichgoal (twips)
    long BitsPixel = 1, Planes = 1;  // \wbmbitspixel, \wbmplanes
    long WidthBytes = 0;             // \wbmwidthbytes
    std::string Data;                // the bytes the hex digits or \bin give
    bool BadData = false;            // the data held something else
};

// Reads the "\pict" group that `group` is (braces included).
TEmbeddedPicture ParsePicture(std::string_view group);

// The bytes of an image file for the picture: a .bmp for a device-independent
// or a device-dependent bitmap, a placeable .wmf for a metafile. False, with
// what the picture is in `what`, when no such file can be made of it.
bool PictureFileBytes(const TEmbeddedPicture& picture, std::string& bytes, std::string& extension, std::string& what);

// Where the pictures of imported RTF go.
class TPictureSink {
public:
    virtual ~TPictureSink() = default;
    // Keeps the image file (its bytes and extension) of a picture of the
    // topic named `topicName` and gives the file name an image tag names;
    // empty when it was not kept (and noted).
    virtual std::string Save(const std::string& bytes, std::string_view extension, std::string_view topicName) = 0;
};

// Writes each picture as a new file in a folder: the topic's name, a number
// and the extension, never over a file that exists.
class TPictureFolder : public TPictureSink {
public:
    TPictureFolder(std::string folder, TImportNotes* notes);
    std::string Save(const std::string& bytes, std::string_view extension, std::string_view topicName) override;
    // Removes the files written so far (the import failed).
    void Discard();
    const std::string& Folder() const { return folder_; }
    bool Used() const { return !written_.empty(); }

private:
    std::string folder_;
    TImportNotes* notes_;
    StringList written_;
    std::unordered_map<std::string, int> next_;  // the last number taken, by lower-case base
};

// Takes the tables and the pictures out of raw RTF (after ExtractFootnotes
// and EscapeLiteralBrackets, whose records `footnotes` holds from
// `firstPage` on). A picture becomes `<IMAGE "file">`; a table (`\trowd` ...
// `\row`, row after row) gets its row and cell codes as tags, as above. A
// row without a definition of its own takes the one it gives after its
// cells, else the row's before. A table that holds a table in one of its
// cells stays whole, a paragraph holding `<RTF "...">` with its codes (its
// pictures as the help compiler's own bitmap codes), and each hotspot and
// picture in it is noted, as are those in a shape, a drawing object, a
// field's instruction, a header or a footer, whose text is left out. A
// picture that cannot be kept is left out and noted. Without a sink every
// picture is left out.
void ConvertTablesAndPictures(std::string& text, const TFootnotesList& footnotes, std::size_t firstPage,
                              TPictureSink* sink, TImportNotes* notes);

// The `<RTF "...">` tag that carries raw RTF codes: the line breaks of the
// codes dropped, the characters a tag cannot hold written as RTF escapes or
// the tag language's own, and each backslash doubled.
std::string RawRtfTag(std::string_view codes);

}  // namespace qm

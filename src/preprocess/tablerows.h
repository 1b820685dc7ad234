#pragma once
// Tables in a module's text. The editor's document model holds no table, so
// a table stands in it as paragraphs between raw-RTF tags (the import writes
// them so): a row begins with a paragraph holding its definition,
// `<RTF "\\trowd ... \\cellx1302\\cellx8622 ">`; each cell's text follows as
// one or more paragraphs, the last of them ending in `<RTF "\\cell ">`, and
// the row's last cell's in `<RTF "\\cell \\row ">`. The build turns those
// paragraphs back into the help compiler's table.
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// The editor's RTF of a module (its tags still tags) with its tables put
// back together:
//   - the paragraph end that directly follows an RTF tag holding a table's
//     codes ("\trowd", "\cellx", "\cell", "\row") is left out, so that the
//     tag's codes end the cell or the row (and a definition starts the row's
//     first cell);
//   - every paragraph of a row (from its definition up to its "\row") and
//     every paragraph holding a table's codes is marked "\intbl", so a cell
//     may hold several paragraphs (Enter in a cell) and a paragraph that
//     takes another paragraph format keeps its place in the cell;
//   - a paragraph after a row takes its own format again ("\pard" and the
//     format the editor gave it), so that text after a table never runs on
//     in the table's last row;
//   - a row whose "\row" was deleted ends once each cell its definition
//     gives has ended, or where the next row's definition begins.
// Empty when the text holds no RTF tag with a table's codes.
std::optional<std::string> AssembleTableRows(std::string_view text);

}  // namespace qm

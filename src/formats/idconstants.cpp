#include "formats/idconstants.h"

#include <vector>

#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "util/textfile.h"

namespace qm {

namespace {

struct Constant {
    std::string name;
    std::string value;
};

// Topics first, then popups, each in list order.
std::vector<Constant> ConstantsOfKind(const TProject& project, TopicKind kind) {
    std::vector<Constant> out;
    const std::string prefix = project.GetIdPrefix();
    for (const auto& node : project.Topics)
        if (node->Kind == kind)
            out.push_back({IdConstantName(prefix, node->GetName()), std::to_string(node->ContextId)});
    return out;
}

std::string Repeat(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

std::string WriteConstantFile(const TProject& project, std::string_view suffix,
                              std::string (*text)(const TProject&, std::string_view)) {
    if (project.FileName.empty()) throw Error("Project must be saved in order to export help ID constants.");
    const std::string path = IdConstantFileName(project.FileName, suffix);
    WriteFileAtomic(path, text(project, ExtractFileName(path)));
    return path;
}

}  // namespace

std::string IdConstantFileName(const std::string& projectFile, std::string_view suffix) {
    std::string folder = ExtractFilePath(projectFile);
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + RemoveExtension(ExtractFileName(projectFile)) + std::string(suffix);
}

std::string IdConstantName(std::string_view prefix, std::string_view name) {
    if (prefix.empty()) return AsciiUpperStr(name);
    return AsciiUpperStr(prefix) + "_" + AsciiUpperStr(name);
}

std::string CIdHeaderText(const TProject& project, std::string_view fileName) {
    const std::string rule = "//" + Repeat('=', 53);
    StringList l;
    l.push_back("#if !defined(_HELP_ID)");
    l.push_back("#define _HELP_ID");
    l.push_back("");
    l.push_back("/*" + Repeat('*', 62));
    l.push_back(" Program     :");
    l.push_back(" Version     :");
    l.push_back(" Header      : " + std::string(fileName));
    l.push_back(" Description : Help context ID constants for contextual help.");
    l.push_back("");
    l.push_back(" " + Repeat('*', 62) + "*/");
    l.push_back("");
    l.push_back(rule);
    l.push_back("//Topics");
    l.push_back(rule);
    for (const Constant& c : ConstantsOfKind(project, TopicKind::Topic))
        l.push_back("#define " + c.name + " " + c.value);
    l.push_back("");
    l.push_back(rule);
    l.push_back("//Popups");
    l.push_back(rule);
    for (const Constant& c : ConstantsOfKind(project, TopicKind::Popup))
        l.push_back("#define " + c.name + " " + c.value);
    l.push_back("");
    l.push_back("#endif /*_HELP_ID*/");
    return JoinLinesCrLf(l);
}

std::string VbConstantsText(const TProject& project, std::string_view fileName) {
    const std::string frame = "'" + Repeat('=', 62);
    const std::string rule = "'" + Repeat('=', 53);
    StringList l;
    l.push_back("Attribute VB_Name = \"" + RemoveExtension(fileName) + "\"");
    l.push_back(frame);
    l.push_back("'Program     :");
    l.push_back("'Version     :");
    l.push_back("'Module      : " + std::string(fileName));
    l.push_back("'Description : Help context ID constants for contextual help.");
    l.push_back("'");
    l.push_back(frame);
    l.push_back("");
    l.push_back(rule);
    l.push_back("'Topics");
    l.push_back(rule);
    for (const Constant& c : ConstantsOfKind(project, TopicKind::Topic))
        l.push_back("Global Const " + c.name + " = " + c.value);
    l.push_back("");
    l.push_back(rule);
    l.push_back("'Popups");
    l.push_back(rule);
    for (const Constant& c : ConstantsOfKind(project, TopicKind::Popup))
        l.push_back("Global Const " + c.name + " = " + c.value);
    return JoinLinesCrLf(l);
}

std::string PascalIdUnitText(const TProject& project, std::string_view fileName) {
    const std::string rule = "    //" + Repeat('=', 53);
    StringList l;
    l.push_back("Unit " + RemoveExtension(fileName) + ";");
    l.push_back("");
    l.push_back("{" + Repeat('=', 62));
    l.push_back(" Program     :");
    l.push_back(" Version     :");
    l.push_back(" Unit        : " + std::string(fileName));
    l.push_back(" Description : Help context ID constants for contextual help.");
    l.push_back("");
    l.push_back(" " + Repeat('=', 62) + "}");
    l.push_back("");
    l.push_back("Interface");
    l.push_back("");
    l.push_back("Const");
    l.push_back("");
    l.push_back(rule);
    l.push_back("    //Topics");
    l.push_back(rule);
    for (const Constant& c : ConstantsOfKind(project, TopicKind::Topic))
        l.push_back("    " + c.name + " = " + c.value + ";");
    l.push_back("");
    l.push_back(rule);
    l.push_back("    //Popups");
    l.push_back(rule);
    for (const Constant& c : ConstantsOfKind(project, TopicKind::Popup))
        l.push_back("    " + c.name + " = " + c.value + ";");
    l.push_back("");
    l.push_back("Implementation");
    l.push_back("");
    l.push_back("End.");
    return JoinLinesCrLf(l);
}

std::string WriteCIdHeader(const TProject& project) { return WriteConstantFile(project, "Help.h", CIdHeaderText); }

std::string ExportVbConstants(const TProject& project) {
    return WriteConstantFile(project, "Help.bas", VbConstantsText);
}

std::string WritePascalIdUnit(const TProject& project) {
    return WriteConstantFile(project, "Help.pas", PascalIdUnitText);
}

}  // namespace qm

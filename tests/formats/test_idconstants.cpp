#include <gtest/gtest.h>

#include <string>

#include "formats/idconstants.h"
#include "support/scratchdir.h"
#include "util/errors.h"

namespace qm {
namespace {

// Orders.qpf: topics Contents (5) and order_entry (10), popup Def1 (15), the
// popup standing between the two topics in the list.
void MakeOrders(TProject& p, const std::string& fileName) {
    p.FileName = fileName;
    p.SetIdPrefix("IDH");
    const struct {
        const char* name;
        TopicKind kind;
        int id;
    } nodes[] = {
        {"Contents", TopicKind::Topic, 5}, {"Def1", TopicKind::Popup, 15}, {"order_entry", TopicKind::Topic, 10}};
    for (const auto& n : nodes) {
        TTopicNode& t = p.Topics.AddNew();
        t.SetName(n.name);
        t.Kind = n.kind;
        t.ContextId = n.id;
    }
}

const std::string kStars(62, '*');
const std::string kEq62(62, '=');
const std::string kEq53(53, '=');

const std::string kHeader =
    "#if !defined(_HELP_ID)\r\n"
    "#define _HELP_ID\r\n"
    "\r\n"
    "/*" +
    kStars +
    "\r\n"
    " Program     :\r\n"
    " Version     :\r\n"
    " Header      : OrdersHelp.h\r\n"
    " Description : Help context ID constants for contextual help.\r\n"
    "\r\n"
    " " +
    kStars +
    "*/\r\n"
    "\r\n"
    "//" +
    kEq53 +
    "\r\n"
    "//Topics\r\n"
    "//" +
    kEq53 +
    "\r\n"
    "#define IDH_CONTENTS 5\r\n"
    "#define IDH_ORDER_ENTRY 10\r\n"
    "\r\n"
    "//" +
    kEq53 +
    "\r\n"
    "//Popups\r\n"
    "//" +
    kEq53 +
    "\r\n"
    "#define IDH_DEF1 15\r\n"
    "\r\n"
    "#endif /*_HELP_ID*/\r\n";

const std::string kBasic =
    "Attribute VB_Name = \"OrdersHelp\"\r\n"
    "'" +
    kEq62 +
    "\r\n"
    "'Program     :\r\n"
    "'Version     :\r\n"
    "'Module      : OrdersHelp.bas\r\n"
    "'Description : Help context ID constants for contextual help.\r\n"
    "'\r\n"
    "'" +
    kEq62 +
    "\r\n"
    "\r\n"
    "'" +
    kEq53 +
    "\r\n"
    "'Topics\r\n"
    "'" +
    kEq53 +
    "\r\n"
    "Global Const IDH_CONTENTS = 5\r\n"
    "Global Const IDH_ORDER_ENTRY = 10\r\n"
    "\r\n"
    "'" +
    kEq53 +
    "\r\n"
    "'Popups\r\n"
    "'" +
    kEq53 +
    "\r\n"
    "Global Const IDH_DEF1 = 15\r\n";

const std::string kPascal =
    "Unit OrdersHelp;\r\n"
    "\r\n"
    "{" +
    kEq62 +
    "\r\n"
    " Program     :\r\n"
    " Version     :\r\n"
    " Unit        : OrdersHelp.pas\r\n"
    " Description : Help context ID constants for contextual help.\r\n"
    "\r\n"
    " " +
    kEq62 +
    "}\r\n"
    "\r\n"
    "Interface\r\n"
    "\r\n"
    "Const\r\n"
    "\r\n"
    "    //" +
    kEq53 +
    "\r\n"
    "    //Topics\r\n"
    "    //" +
    kEq53 +
    "\r\n"
    "    IDH_CONTENTS = 5;\r\n"
    "    IDH_ORDER_ENTRY = 10;\r\n"
    "\r\n"
    "    //" +
    kEq53 +
    "\r\n"
    "    //Popups\r\n"
    "    //" +
    kEq53 +
    "\r\n"
    "    IDH_DEF1 = 15;\r\n"
    "\r\n"
    "Implementation\r\n"
    "\r\n"
    "End.\r\n";

TEST(IdConstants, FileNames) {
    EXPECT_EQ(IdConstantFileName("C:\\Docs\\Orders.qpf", "Help.h"), "C:\\Docs\\OrdersHelp.h");
    EXPECT_EQ(IdConstantFileName("C:\\Docs\\Orders.qpf", "Help.bas"), "C:\\Docs\\OrdersHelp.bas");
    EXPECT_EQ(IdConstantFileName("/home/a/my.help.qpf", "Help.pas"), "/home/a/my.helpHelp.pas");
}

TEST(IdConstants, ConstantNames) {
    EXPECT_EQ(IdConstantName("IDH", "order_entry"), "IDH_ORDER_ENTRY");
    EXPECT_EQ(IdConstantName("", "Contents"), "CONTENTS");
    EXPECT_EQ(IdConstantName("idh", "x"), "IDH_X");
    EXPECT_EQ(IdConstantName("IDH",
                             "\xfc"
                             "ber"),
              "IDH_\xfc"
              "BER");  // only a-z are raised
}

TEST(IdConstants, TextsByteForByte) {
    TProject p;
    MakeOrders(p, "C:\\Docs\\Orders.qpf");
    EXPECT_EQ(CIdHeaderText(p, "OrdersHelp.h"), kHeader);
    EXPECT_EQ(VbConstantsText(p, "OrdersHelp.bas"), kBasic);
    EXPECT_EQ(PascalIdUnitText(p, "OrdersHelp.pas"), kPascal);
}

TEST(IdConstants, NegativeIdsAndEmptySections) {
    TProject p;
    p.FileName = "C:\\Docs\\Orders.qpf";
    p.SetIdPrefix("");
    TTopicNode& t = p.Topics.AddNew();
    t.SetName("Neg");
    t.ContextId = -7;
    const std::string h = CIdHeaderText(p, "OrdersHelp.h");
    EXPECT_NE(h.find("//Topics\r\n//" + kEq53 + "\r\n#define NEG -7\r\n\r\n"), std::string::npos);
    EXPECT_NE(h.find("//Popups\r\n//" + kEq53 + "\r\n\r\n#endif"), std::string::npos);
    // With no popups the module ends after the rule under the popups heading.
    const std::string bas = VbConstantsText(p, "OrdersHelp.bas");
    EXPECT_EQ(bas.substr(bas.size() - (kEq53.size() + 12)), "'Popups\r\n'" + kEq53 + "\r\n");
    EXPECT_NE(PascalIdUnitText(p, "OrdersHelp.pas").find("    NEG = -7;\r\n"), std::string::npos);
}

TEST(IdConstants, WritersPutTheFilesBesideTheProject) {
    qmtest::ScratchDir dir;
    TProject p;
    MakeOrders(p, dir.file("Orders.qpf"));
    qmtest::WriteRaw(dir.file("OrdersHelp.h"), "old contents");
    EXPECT_EQ(WriteCIdHeader(p), dir.file("OrdersHelp.h"));
    EXPECT_EQ(ExportVbConstants(p), dir.file("OrdersHelp.bas"));
    EXPECT_EQ(WritePascalIdUnit(p), dir.file("OrdersHelp.pas"));
    EXPECT_EQ(qmtest::ReadRaw(dir.file("OrdersHelp.h")), kHeader);
    EXPECT_EQ(qmtest::ReadRaw(dir.file("OrdersHelp.bas")), kBasic);
    EXPECT_EQ(qmtest::ReadRaw(dir.file("OrdersHelp.pas")), kPascal);
}

TEST(IdConstants, WriteFailureIsRaised) {
    qmtest::ScratchDir dir;
    TProject p;
    MakeOrders(p, dir.file("gone/Orders.qpf"));
    EXPECT_THROW(WriteCIdHeader(p), EFileAccess);
    p.FileName.clear();
    EXPECT_THROW(ExportVbConstants(p), Error);
}

}  // namespace
}  // namespace qm

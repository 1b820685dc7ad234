// The raw-RTF form: one tag per memo line or one for all, a final line end
// that adds no empty tag, presets, and the run through the factory.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/newrtfexpr.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewRtfExpr;

class RtfTest : public TagFormTest {};

TEST_F(RtfTest, GetTagMakesOneTagPerLineOrOneForAll) {
    struct Row {
        const char* name;
        QString memo;
        bool single;
        std::string tag;
    } rows[] = {
        {"one line", "\\page", false, "<RTF \"\\page\">"},
        {"three lines", "\\par\n\\b\n\\b0", false, "<RTF \"\\par\">\r\n<RTF \"\\b\">\r\n<RTF \"\\b0\">"},
        {"a final line end adds no empty tag", "\\par\n\\b\n", false, "<RTF \"\\par\">\r\n<RTF \"\\b\">"},
        {"an empty line inside stays", "\\par\n\n\\b", false, "<RTF \"\\par\">\r\n<RTF \"\">\r\n<RTF \"\\b\">"},
        {"three lines on one", "\\par\n\\b\n\\b0", true, "<RTF \"\\par\\b\\b0\">"},
        {"one line with a final line end", "\\page\n", true, "<RTF \"\\page\">"},
        {"blanks stay", " \\f1 ", false, "<RTF \" \\f1 \">"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewRtfExpr d(ui);
        d.txtRtf->setPlainText(row.memo);
        d.chkSingleLine->setChecked(row.single);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(RtfTest, APresetWithLineEndsFillsTheMemoLineByLine) {
    TfrmNewRtfExpr d(ui);
    d.Preset({.Rtf = "\\a\r\n\\b\r\\c\n\\d", .SingleLine = false});
    EXPECT_EQ(d.txtRtf->toPlainText(), "\\a\n\\b\n\\c\n\\d");
    EXPECT_EQ(d.GetTag(), "<RTF \"\\a\">\r\n<RTF \"\\b\">\r\n<RTF \"\\c\">\r\n<RTF \"\\d\">");
}

TEST_F(RtfTest, TheFactoryRunsTheFormOnlyWithAnExpression) {
    ui.ExpectDialog("frmNewRtfExpr", [](QDialog& dialog) {
        auto& d = static_cast<TfrmNewRtfExpr&>(dialog);
        EXPECT_TRUE(d.chkSingleLine->isChecked());
        EXPECT_EQ(d.txtRtf->toPlainText(), "\\page");
        d.txtRtf->clear();
        EXPECT_FALSE(d.cmdOk->isEnabled());
        ClickOk(d);
        EXPECT_FALSE(d.Accepted());
        d.txtRtf->setPlainText("\\line\n\\tab");
        EXPECT_TRUE(d.cmdOk->isEnabled());
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::Rtf, {.Rtf = "\\page", .SingleLine = true});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<RTF \"\\line\\tab\">");
}

}  // namespace
}  // namespace qmtest

// Help Contents and Help Index ask the help viewer for the program's own
// help file at its contents and at its index.
#include "mainwindow/helpcommands.h"
#include "mainwindow_fixture.h"

namespace qmtest {
namespace {

TEST_F(MainWindowTest, HelpContentsAndIndexOpenTheProgramsHelp) {
    struct Row {
        const char* action;
        qm::HelpCommand command;
    };
    const Row rows[] = {{"actHelpContents", qm::HelpCommand::Contents}, {"actHelpIndex", qm::HelpCommand::Index}};
    auto w = Start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        const std::size_t before = ui.helpRequests.size();
        Act(*w, row.action)->trigger();
        ASSERT_EQ(ui.helpRequests.size(), before + 1);
        const qm::HelpRequest& request = ui.helpRequests.back();
        EXPECT_EQ(request, ui.ProgramHelp(row.command));
        EXPECT_TRUE(request.keyword.empty());
        EXPECT_TRUE(request.window.empty());
    }
    EXPECT_EQ(ui.helpContentsCalls, 1);
    EXPECT_EQ(ui.helpIndexKeywords, QStringList{QString()});
}

}  // namespace
}  // namespace qmtest

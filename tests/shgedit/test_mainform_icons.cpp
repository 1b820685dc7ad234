// Pikeral's frame shows pictures from the compiled-in set: every command
// has an icon that draws offscreen (where Qt knows no icon theme), and the
// frame shows the program's icon.
#include "shgedit_fixture.h"
#include "support/icondraw.h"
#include "widgets/actiontable.h"
#include "widgets/icons.h"

namespace qmtest {
namespace {

TEST_F(ShgEditTest, EveryCommandHasAnIconThatDrawsWithoutATheme) {
    qm::shgedit::TfrmMain& frame = Start();
    const QList<QAction*>& actions = frame.Actions().Actions();
    ASSERT_GT(actions.size(), 20);
    for (QAction* a : actions) {
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_TRUE(DrawsAt(a->icon(), 16));
    }
}

TEST_F(ShgEditTest, TheFrameShowsTheProgramsIcon) {
    qm::shgedit::TfrmMain& frame = Start();
    ASSERT_FALSE(frame.windowIcon().isNull());
    EXPECT_EQ(DrawIcon(frame.windowIcon(), 16), DrawIcon(qm::QmIcon(QStringLiteral("pikeral")), 16));
    EXPECT_NE(DrawIcon(frame.windowIcon(), 16), DrawIcon(qm::QmIcon(QStringLiteral("quillmark")), 16));
}

}  // namespace
}  // namespace qmtest

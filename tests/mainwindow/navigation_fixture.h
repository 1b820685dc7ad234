#pragma once
// The main window with projects made for link following, the history and
// the editor frame, and keys pressed as the user presses them.
#include <QAbstractTextDocumentLayout>
#include <QKeySequence>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <string>
#include <vector>

#include "mainwindow_fixture.h"

namespace qmtest {

class NavigationTest : public MainWindowTest {
protected:
    // A saved project: the contents topic with the body `contents`, then a
    // topic for each of `topics` and a popup for each of `popups`, each with
    // "<name> body" as its text.
    std::string SaveModules(const std::string& contents, const std::vector<std::string>& topics,
                            const std::vector<std::string>& popups = {}) {
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = contents;
        int id = 10;
        auto add = [&](const std::string& n, qm::TopicKind kind) {
            qm::TTopicNode& node = p.Topics.AddNew();
            node.SetName(n);
            node.SetTitle(n + " title");
            node.ContextId = id;
            id += 10;
            node.Kind = kind;
            node.Text = BodyRtf(n + " body");
        };
        for (const std::string& n : topics) add(n, qm::TopicKind::Topic);
        for (const std::string& n : popups) add(n, qm::TopicKind::Popup);
        const std::string path = root_ + "modules.qpf";
        p.SaveToFile(path);
        return path;
    }

    // Paragraphs of plain text in the editor's dialect.
    static std::string Paragraphs(const std::vector<std::string>& lines) {
        std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
        for (const std::string& l : lines) rtf += l + "\\par\r\n";
        return rtf + "}";
    }

    // The keys go to `target` in the active window, through the shortcuts
    // as a real key press does.
    static void Keys(qm::TfrmMain& w, QWidget* target, const char* keys) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        target->setFocus();
        // The commands' state is brought up to date when the program is idle.
        QApplication::processEvents();
        QTest::keySequence(target, QKeySequence(QString::fromLatin1(keys)));
    }

    // The position of `what` in the editor's plain text (-1: none).
    static int PosOf(qm::TfrmMain& w, const char* what) {
        return w.Editor()->toPlainText().indexOf(QString::fromLatin1(what));
    }

    // The middle of the character at `pos`, in the viewport's co-ordinates.
    static QPoint PointAt(qm::TfrmMain& w, int pos) {
        QTextCursor a(w.Editor()->document());
        a.setPosition(pos);
        QTextCursor b = a;
        b.setPosition(pos + 1);
        const QRect r1 = w.Editor()->cursorRect(a), r2 = w.Editor()->cursorRect(b);
        return QPoint((r1.center().x() + r2.center().x()) / 2, r1.center().y());
    }

    // The top of the first display line of paragraph `line`, and of the next
    // display line, in the viewport's (and the gutter's) co-ordinates.
    static std::pair<int, int> LineBand(qm::TfrmMain& w, int line) {
        QTextDocument* doc = w.Editor()->document();
        const int scroll = w.Editor()->verticalScrollBar()->value();
        auto top = [&](const QTextBlock& b, int i) {
            doc->documentLayout()->blockBoundingRect(b);
            return int(b.layout()->position().y() + b.layout()->lineAt(i).y()) - scroll;
        };
        const QTextBlock b = doc->findBlockByNumber(line);
        const int next = b.layout()->lineCount() > 1 ? top(b, 1) : top(b.next(), 0);
        return {top(b, 0), next};
    }
};

}  // namespace qmtest

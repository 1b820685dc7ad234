#pragma once
// The main window on a small project for the tag commands and the member
// list: topics Beta, Alpha and Intro beside Contents, the popup PopOne, the
// windows main and second, a macro catalogue beside the program, and the
// topic Alpha open with a body the test chooses.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <fstream>

#include "editor/vlist.h"
#include "mainwindow/tagcommands.h"
#include "mainwindow_fixture.h"
#include "model/options.h"

namespace qmtest {

// Clicks the dialog's OK, as the user would end it.
inline int ClickOk(QDialog& d) {
    d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return d.result();
}

class TagTest : public MainWindowTest {
protected:
    std::unique_ptr<qm::TfrmMain> StartWith(const std::string& alphaBody) {
        {
            std::ofstream macros(root_ + "prog/macros.cfg", std::ios::binary);
            macros << "1,About()|0\r\n12,JumpId(\"%1\", \"%2\")|2,filename,context-string\r\n"
                      "3,Annotate()|0\r\n";
        }
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("Contents text");
        auto add = [&](const char* name, qm::TopicKind kind, const std::string& body) {
            qm::TTopicNode& node = p.Topics.AddNew();
            node.SetName(name);
            node.SetTitle(std::string(name) + " title");
            node.Kind = kind;
            node.Text = BodyRtf(body);
        };
        add("Beta", qm::TopicKind::Topic, "Beta body");
        add("Alpha", qm::TopicKind::Topic, alphaBody);
        add("intro", qm::TopicKind::Topic, "Intro body");
        add("PopOne", qm::TopicKind::Popup, "Popup body");
        p.Windows.Add().SetName("second");
        projectPath_ = root_ + "tags.qpf";
        p.SaveToFile(projectPath_);
        auto w = Start({qm::FromCp1252(projectPath_)});
        EXPECT_TRUE(started);
        OpenRow(*w, "lstTopics", QStringLiteral("Alpha"));
        EXPECT_EQ(CurrentName(*w), "Alpha");
        w->Editor()->ClearUndo();
        w->Project().Modified = false;
        return w;
    }

    static qm::TfrmVList* List(qm::TfrmMain& w) { return Child<qm::TfrmVList>(w, "frmVList"); }
    static QStringList ListItems(qm::TfrmMain& w) {
        QStringList out;
        for (int i = 0; i < List(w)->lstVList->count(); ++i) out << List(w)->lstVList->item(i)->text();
        return out;
    }
    // Selects [start, start + length) of the editor.
    static void Select(qm::TfrmMain& w, int start, int length = 0) {
        w.Editor()->SetSelStart(start);
        w.Editor()->SetSelLength(length);
    }
    // Selects the first `text` of the editor.
    static void SelectText(qm::TfrmMain& w, const QString& text) {
        const int at = EditorText(w).indexOf(text);
        ASSERT_GE(at, 0) << text.toStdString();
        Select(w, at, static_cast<int>(text.size()));
    }
    static int Caret(qm::TfrmMain& w) { return w.Editor()->GetSelStart(); }
    // Replaces the whole body by plain `text` (a "\n" is a paragraph break).
    static void SetBody(qm::TfrmMain& w, const QString& text) {
        w.Editor()->selectAll();
        w.Editor()->SetSelText(text);
        w.Editor()->ClearUndo();
        w.Project().Modified = false;
    }

    std::string projectPath_;
};

}  // namespace qmtest

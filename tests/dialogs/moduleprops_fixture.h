#pragma once
// A project for the topic and popup properties dialogs: the contents topic
// (ID 1), topics Intro (10, window "second", keywords, macros) and Beta (30),
// the popup Note (5); windows main and second; a macro catalogue. Each run
// shows the real dialog, lets the test fill it and clicks OK.
#include <functional>
#include <string>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "dialogs/popupprops.h"
#include "dialogs/topicprops.h"
#include "platform/qtcp1252.h"
#include "tagform_fixture.h"

namespace qmtest {

// Every field of a node that a dialog may write, for before/after checks.
inline std::string Dump(const qm::TTopicNode& n) {
    auto raw = [](const auto& field) { return std::string(field.data(), field.width); };
    std::string out = raw(n.Name) + "|" + raw(n.Title) + "|" + raw(n.Window) + "|" + raw(n.Browse) + "|" +
                      raw(n.BuildTag) + "|" + std::to_string(n.ContextId) + "|" +
                      std::to_string(static_cast<int>(n.State)) + "|" + std::to_string(n.IsContents) + "|" +
                      std::to_string(static_cast<int>(n.Kind)) + "|" + n.Text;
    for (const qm::StringList* list : {&n.Keywords, &n.AKeywords, &n.Macros}) {
        out += "|[";
        for (const std::string& s : *list) out += s + ";";
        out += "]";
    }
    return out;
}

class ModulePropsTest : public TagFormTest {
protected:
    void SetUp() override {
        TagFormTest::SetUp();
        Rebuild();
    }

    // The project as the fixture describes it, afresh.
    void Rebuild() {
        project.NewProject();
        project.FileName = "/work/help/project.qpf";
        for (const char* name : {"Intro", "Beta"}) project.Topics.AddNew().SetName(name);
        qm::TTopicNode& note = project.Topics.AddNew();
        note.Kind = qm::TopicKind::Popup;
        note.SetName("Note");
        project.Windows.Add().SetName("second");
        project.Topics.GetNode(0).ContextId = 1;
        qm::TTopicNode& intro = *project.Topics.FindByName("Intro");
        intro.ContextId = 10;
        intro.SetTitle("Introduction");
        intro.SetWindow("second");
        intro.Keywords = {"Index", "Start"};
        intro.AKeywords = {"intro_a"};
        intro.Macros = {"About()"};
        intro.Text = "{\\rtf1 intro}";
        project.Topics.FindByName("Beta")->ContextId = 30;
        project.Topics.FindByName("Note")->ContextId = 5;
    }

    qm::TTopicNode& Node(const char* name) { return *project.Topics.FindByName(name); }

    // Loads `node` into a shown topic dialog, runs `fill`, clicks OK; the
    // dialog's Accepted().
    bool OkTopic(qm::TTopicNode& node, const std::function<void(qm::TfrmTopicProps&)>& fill) {
        qm::TfrmTopicProps d(factory, project, macros);
        d.LoadTopic(node);
        d.show();
        fill(d);
        d.cmdOk->click();
        return d.Accepted();
    }
    bool OkPopup(qm::TTopicNode& node, const std::function<void(qm::TfrmPopupProps&)>& fill) {
        qm::TfrmPopupProps d(ui, project);
        d.LoadPopup(node);
        d.show();
        fill(d);
        d.cmdOk->click();
        return d.Accepted();
    }
    // Expects the refusal `text` (none when empty) from the next OK.
    void ExpectRefusal(const char* text) {
        if (text && *text) ui.ExpectMessage(qm::MsgKind::Information, QString::fromLatin1(text));
    }

    static QStringList Items(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
};

}  // namespace qmtest

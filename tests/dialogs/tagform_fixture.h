#pragma once
// A small project (topics Intro and Beta, popup Note, windows main and
// second), a macro catalogue, scripted UI services and the factory, for the
// tests of the macro builder and the insert-tag forms.
#include <string>

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include <gtest/gtest.h>

#include "dialogs/dialogfactory.h"
#include "dialogs/tagdialogs.h"
#include "model/macros.h"
#include "model/project.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"

namespace qmtest {

// The named child of a dialog; fails the test when it is missing.
template <class T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(child, nullptr) << "no child " << name;
    return child;
}

// Clicks OK and reports the dialog's answer, as the user's OK would end it.
inline int ClickOk(QDialog& d) {
    d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return d.result();
}

class TagFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApp();
        project.NewProject();  // topic Contents, window main
        project.FileName = "/work/help/project.qpf";
        for (const char* name : {"Intro", "Beta"}) project.Topics.AddNew().SetName(name);
        qm::TTopicNode& note = project.Topics.AddNew();
        note.Kind = qm::TopicKind::Popup;
        note.SetName("Note");
        project.Windows.Add().SetName("second");
        macros.LoadFromText(
            "1,About()|0\n"
            "12,JumpId(\"%1\", \"%2\")|2,filename,context-string\n"
            "2,AddAccelerator(%1, %2, \"%3\")|3,key,shift-state,macro\n");
    }
    void TearDown() override { ui.ExpectAllAnswered(); }

    ScriptedUiServices ui;
    qm::TDialogFactory factory{ui, "/opt/quillmark"};
    qm::TProject project;
    qm::TMacros macros;

    std::optional<qm::TTagResult> RunTag(qm::TTagKind kind, const qm::TTagPreset& preset = {}) {
        return factory.RunTagDialog(kind, preset, project, macros);
    }
};

}  // namespace qmtest

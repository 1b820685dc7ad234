#pragma once
// A small project for the contents-file editor and its dialogs: topics Intro
// (the contents topic's neighbour, window "second"), Beta and Gamma, popup
// Note, windows main and second, a macro catalogue, scripted UI services,
// the factory and a scratch folder.
#include <memory>
#include <string>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "dialogs/cnttreeview.h"
#include "dialogs/contentsedit.h"
#include "platform/qtcp1252.h"
#include "tagform_fixture.h"
#include "util/fileio.h"

namespace qmtest {

// Puts `text` into the named field as typing would; a radio button is chosen.
inline void Set(QDialog& d, const char* name, const QString& text = {}) {
    QWidget* w = d.findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(w, nullptr) << name;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setEditText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(text);
    else if (auto* r = qobject_cast<QRadioButton*>(w))
        r->setChecked(true);
    else
        FAIL() << name << " is no field";
}

class CntTest : public TagFormTest {
protected:
    void SetUp() override {
        TagFormTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
        root_ = qm::ToCp1252(dir_.path()) + "/";
        project.FileName = root_ + "project.qpf";
        project.SetHlpFile("help/project.hlp");
        project.SetTitle("Project Help");
        project.Topics.GetNode(0).SetTitle("Contents Page");
        project.Topics.FindByName("Intro")->SetTitle("Introduction");
        project.Topics.FindByName("Intro")->SetWindow("second");
        project.Topics.FindByName("Beta")->SetTitle("Beta title");
        project.Topics.AddNew().SetName("Gamma");
    }

    // Writes `text` to `name` in the scratch folder; its full path.
    std::string Scratch(const std::string& name, const std::string& text) {
        const std::string path = root_ + name;
        qm::WriteFileAtomic(path, text);
        return path;
    }

    // An editor over the project, not opening its contents file, shown
    // offscreen so that its lists are laid out.
    std::unique_ptr<qm::TfrmContentsEdit> Editor(bool openProjectContents = false) {
        auto e = std::make_unique<qm::TfrmContentsEdit>(factory, project, macros, openProjectContents);
        e->show();
        QApplication::processEvents();
        return e;
    }
    // An editor holding the contents `text` from a scratch file "t.cnt".
    std::unique_ptr<qm::TfrmContentsEdit> EditorWith(const std::string& text) {
        auto e = Editor();
        EXPECT_TRUE(e->OpenFile(Scratch("t.cnt", text)));
        QApplication::processEvents();
        return e;
    }

    // The tree as "level:title" in preorder joined by "|", an include as
    // its painted ":INCLUDE file" on its painted level.
    static std::string Outline(const qm::TfrmContentsEdit& e) {
        std::string out;
        auto* model = e.lstTree->model();
        for (int i = 0; i < model->rowCount(); ++i) {
            const QModelIndex index = model->index(i, 0);
            if (!out.empty()) out += "|";
            out += std::to_string(index.data(qm::TCntRowsModel::LevelRole).toInt()) + ":" +
                   qm::ToCp1252(index.data().toString());
        }
        return out;
    }

    // Clicks OK of a dialog and reports its answer.
    static int Ok(QDialog& d) { return ClickOk(d); }

    QTemporaryDir dir_;
    std::string root_;
};

}  // namespace qmtest

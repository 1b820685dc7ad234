#pragma once
// A small project (topics Intro and Beta, popup Note, windows main and
// second), a macro catalogue, scripted UI services and the factory, for the
// tests of the macro builder and the insert-tag forms.
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSet>

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

// Shows `dialog`, checks that no caption of a label or button is cut, and
// saves a picture of it as `fileName` in $QM_SCREENSHOT_DIR (not saved when
// that is unset). tools/screenshot-dialogs.sh runs these under Xvfb.
inline void Screenshot(QDialog& dialog, const QString& fileName) {
    dialog.show();
    QApplication::processEvents();
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))) continue;
        if (auto* label = qobject_cast<QLabel*>(w); label && label->wordWrap()) continue;
        // A push button's own minimum is a style's habit, not its text's need.
        int need = w->minimumSizeHint().width();
        if (auto* button = qobject_cast<QPushButton*>(w))
            need = button->fontMetrics().horizontalAdvance(QString(button->text()).remove(QLatin1Char('&'))) + 8;
        EXPECT_GE(w->width(), need) << w->objectName().toStdString() << " is cut";
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString() << " is cut";
    }
    const QImage shot = dialog.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // A drawn dialog has text, frames and controls: far more than a few colours.
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 10);
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        const QString file = QDir(dir).filePath(fileName);
        EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
    }
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

#pragma once
// Pikeral's real frame, offscreen, on scripted UI services and an in-memory
// settings store, with a scratch folder for the pictures it opens and saves.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/qtcp1252.h"
#include "shg/qorshg.h"
#include "shgedit/mainform.h"
#include "shgedit/options.h"
#include "shgedit/shgchild.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "util/fileio.h"
#include "util/settingsstore.h"

namespace qmtest {

// The folder of the real-world pictures other tools wrote.
inline std::string RealShg(const char* name) { return std::string(QM_FIXTURES_DIR) + "/shg/" + name; }

inline qm::THotspot Spot(const std::string& id, int left, int top, int right, int bottom,
                         qm::THotspotKind kind = qm::THotspotKind::Jump, const std::string& target = "TARGET") {
    qm::THotspot h;
    h.ID = id;
    h.Kind = kind;
    (kind == qm::THotspotKind::Macro ? h.Macro : h.Context) = target;
    h.Left = left;
    h.Top = top;
    h.Right = right;
    h.Bottom = bottom;
    return h;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream f(qm::ToFsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void WriteBytes(const std::string& path, std::string_view data) {
    std::ofstream f(qm::ToFsPath(path), std::ios::binary | std::ios::trunc);
    f.write(data.data(), static_cast<std::streamsize>(data.size()));
}

class ShgEditTest : public ::testing::Test {
public:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = qm::ToCp1252(dir_.path()) + "/";
    }

    void TearDown() override {
        // Closing asks nothing of a test that left no changes.
        frame_.reset();
        ui.ExpectAllAnswered();
    }

    qm::shgedit::TfrmMain& Start(QString handoff = {}) {
        qm::shgedit::TShgEditEnv env;
        env.Ui = &ui;
        env.Settings = &settings;
        env.HandoffFolder = std::move(handoff);
        env.ProgramFolder = dir_.path();
        env.Association = association;
        frame_ = std::make_unique<qm::shgedit::TfrmMain>(env);
        ui.SetParentWidget(frame_.get());
        return *frame_;
    }
    qm::shgedit::TfrmMain& Frame() { return *frame_; }

    // A 24-bit picture of `w` x `h` pixels, each a colour of its place, with
    // the given hotspots, written as a .shg file in the scratch folder.
    std::string WriteShg(const std::string& name, int w, int h, std::initializer_list<qm::THotspot> spots = {}) {
        qm::TShg shg;
        qm::TDib dib = qm::TDib::Create(w, h, 24);
        for (std::size_t i = 0; i < dib.Bits.size(); ++i) dib.Bits[i] = static_cast<char>((i * 7) & 0xFF);
        shg.Bitmap = std::make_unique<qm::TDib>(dib);
        for (const qm::THotspot& s : spots) shg.Hotspots.Add(s);
        const std::string path = root_ + name;
        shg.SaveToFile(path);
        return path;
    }

    // Opens `path` in a new child and returns it.
    qm::shgedit::TfrmShg* Open(const std::string& path) {
        const int before = static_cast<int>(frame_->Children().size());
        EXPECT_TRUE(frame_->OpenFile(path)) << path;
        EXPECT_EQ(static_cast<int>(frame_->Children().size()), before + 1);
        return frame_->ActiveChild();
    }

    QAction* Act(const char* name) {
        auto* a = frame_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    // Runs an action as the menu would, after its enabling rules.
    void Trigger(const char* name) {
        frame_->UpdateActionsNow();
        QAction* a = Act(name);
        ASSERT_TRUE(a->isEnabled()) << name << " is disabled";
        a->trigger();
    }

    ScriptedUiServices ui;
    qm::MemorySettingsStore settings;
    qm::shgedit::TAssociationPlaces association;  // writes nothing unless a test sets it
    QTemporaryDir dir_;
    std::string root_;

private:
    std::unique_ptr<qm::shgedit::TfrmMain> frame_;
};

}  // namespace qmtest

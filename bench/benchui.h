#pragma once
// The real UI services for the benchmarks that drive real windows, except
// that a box or a dialog ends the run: nothing timed may ask anything, and an
// offscreen box would wait for ever. The file dialogs answer `file`.
#include <QDialog>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/qtuiservices.h"

namespace qmbench {

class BenchUi : public qm::QtUiServices {
public:
    explicit BenchUi(const char* program) : program_(program) {}

    QString file;
    qm::MsgResult Message(qm::MsgKind, const QString& text, qm::MsgButtons) override {
        std::fprintf(stderr, "%s: unexpected box: %s\n", program_, text.toLocal8Bit().constData());
        std::exit(2);
    }
    std::optional<QString> OpenFileName(const qm::FileDialogRequest&) override { return file; }
    std::optional<QString> SaveFileName(const qm::FileDialogRequest&) override { return file; }
    int RunDialog(QDialog&) override {
        std::fprintf(stderr, "%s: unexpected dialog\n", program_);
        std::exit(2);
    }

private:
    const char* program_;
};

}  // namespace qmbench

#include "platform/qtuiservices.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/qtprograms.h"
#include "util/cp1252.h"

namespace qm {

QtUiServices::QtUiServices()
    : compiler_(std::make_unique<QtCompilerRunner>()),
      viewer_(std::make_unique<QtHelpViewer>(*this)),
      shell_(std::make_unique<QtShellLauncher>()) {
    if (QCoreApplication::instance())
        SetHelpFile(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Quillmark.hlp")));
}

QtUiServices::~QtUiServices() = default;

MsgResult QtUiServices::Message(MsgKind kind, const QString& text, MsgButtons buttons) {
    BeforeModal();
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
        case MsgKind::Information: icon = QMessageBox::Information; break;
        case MsgKind::Warning: icon = QMessageBox::Warning; break;
        case MsgKind::Error: icon = QMessageBox::Critical; break;
        case MsgKind::Confirmation: icon = QMessageBox::Question; break;
    }
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    if (buttons == MsgButtons::YesNo) {
        set = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
    } else if (buttons == MsgButtons::YesNoCancel) {
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
    }
    QString caption = QApplication::applicationName();
    if (caption.isEmpty()) caption = QStringLiteral("Quillmark");
    QMessageBox box(icon, caption, text, set, ParentWidget());
    box.setObjectName(QStringLiteral("dlgMessage"));
    box.setEscapeButton(escape);
    const int chosen = box.exec();
    switch (chosen) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Cancel: return MsgResult::Cancel;
        case QMessageBox::Ok: return MsgResult::Ok;
        default: break;
    }
    return buttons == MsgButtons::Ok ? MsgResult::Ok : buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
}

std::optional<QString> QtUiServices::InputText(const QString& caption, const QString& prompt, const QString& value) {
    BeforeModal();
    bool ok = false;
    const QString text = QInputDialog::getText(ParentWidget(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok) return std::nullopt;
    return text;
}

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& r, bool save) {
    QFileDialog dialog(parent, r.caption, r.folder, r.filter);
    dialog.setObjectName(save ? QStringLiteral("dlgSaveFile") : QStringLiteral("dlgOpenFile"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(r.defaultSuffix);
    if (save && !r.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> QtUiServices::OpenFileName(const FileDialogRequest& request) {
    BeforeModal();
    return RunFileDialog(ParentWidget(), request, false);
}

std::optional<QString> QtUiServices::SaveFileName(const FileDialogRequest& request) {
    BeforeModal();
    return RunFileDialog(ParentWidget(), request, true);
}

std::optional<QString> QtUiServices::ChooseFolder(const QString& caption, const QString& folder) {
    BeforeModal();
    const QString chosen = QFileDialog::getExistingDirectory(ParentWidget(), caption, folder);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

std::optional<QColor> QtUiServices::ChooseColor(const QColor& initial) {
    BeforeModal();
    const QColor c = QColorDialog::getColor(initial, ParentWidget());
    if (!c.isValid()) return std::nullopt;
    return c;
}

std::optional<FontChoice> QtUiServices::ChooseFont(const FontChoice& initial) {
    if (fontDialog_) return fontDialog_(*this, initial);
    BeforeModal();
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial.font, ParentWidget());
    if (!ok) return std::nullopt;
    return FontChoice{f, initial.color};
}

int QtUiServices::RunDialog(QDialog& dialog) {
    BeforeModal();
    return dialog.exec();
}

bool QtUiServices::HelpFileMissing(const QString& file) {
    // Without the file a viewer could only fail, and the advice on starting
    // one would send the user after a file that is not there.
    if (QFileInfo(file).isFile()) return false;
    Information(MissingHelpFileText(file));
    return true;
}

void QtUiServices::Help(const HelpRequest& request) {
    const QString file = QString::fromStdU16String(Cp1252ToUtf16(request.helpFile));
    const bool bare = !file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\'));
    if (!bare && HelpFileMissing(file)) return;
    Viewer().Show(request);
}

QString MissingHelpFileText(const QString& helpFile) {
    return QStringLiteral("The help file \"%1\" is not installed, so no help can be shown.")
        .arg(QDir::toNativeSeparators(helpFile));
}

}  // namespace qm

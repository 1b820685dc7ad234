#include "platform/qtprograms.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include "platform/uiservices.h"
#include "util/cp1252.h"
#include "util/fileio.h"

namespace qm {

namespace {

// A model path (cp1252, either separator) as the toolkit's file name.
QString QtPath(const std::string& path) {
    if (path.empty()) return {};
    return QString::fromStdU16String(ToFsPath(path).u16string());
}

QString QtText(const std::string& s) { return QString::fromStdU16String(Cp1252ToUtf16(s)); }
std::string ModelText(const QString& s) { return Utf16ToCp1252(s.toStdU16String()); }

}  // namespace

QString FindOnPath(const QString& program) { return QStandardPaths::findExecutable(program); }

bool IsNativeExecutable(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile()) return false;
#ifdef _WIN32
    return true;
#else
    if (!info.isExecutable()) return false;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(4);
    return head.startsWith(
               "\x7f"
               "ELF") ||
           head.startsWith("#!");
#endif
}

QString WinePath(const QString& path) {
    if (!path.startsWith(QLatin1Char('/'))) return path;
    QString p = path;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QStringLiteral("Z:") + p;
}

// ---------------------------------------------------------------------------

CompilerAvailability QtCompilerRunner::Availability(const std::string& compilerFile) const {
    const QString file = QtPath(compilerFile);
    if (file.isEmpty() || !QFileInfo(file).isFile()) return CompilerAvailability::Missing;
    if (IsNativeExecutable(file)) return CompilerAvailability::Native;
    return FindOnPath(QStringLiteral("wine")).isEmpty() ? CompilerAvailability::NoWine
                                                        : CompilerAvailability::ThroughWine;
}

CompilerResult QtCompilerRunner::Run(const CompilerCall& call) {
    CompilerResult result;
    const QString file = QtPath(call.compilerFile);
    QString program;
    QStringList arguments;
    switch (Availability(call.compilerFile)) {
        case CompilerAvailability::Missing:
            result.failure = "The compiler " + call.compilerFile + " does not exist.";
            return result;
        case CompilerAvailability::NoWine: result.failure = kMsgCompilerNeedsWine; return result;
        case CompilerAvailability::Native:
            program = file;
            for (const std::string& a : CompilerArguments(call)) arguments << QtText(a);
            if (arguments.size() == 2) arguments[1] = QtPath(call.projectFile);
            break;
        case CompilerAvailability::ThroughWine:
            program = FindOnPath(QStringLiteral("wine"));
            arguments << file;
            for (const std::string& a : CompilerArguments(call)) arguments << QtText(a);
            if (arguments.size() == 3) arguments[2] = WinePath(QtPath(call.projectFile));
            break;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!call.workingFolder.empty()) process.setWorkingDirectory(QtPath(call.workingFolder));
    // The console output must never fill a pipe. Its error output goes to a
    // private file of ours, outside the work folder, so a run that leaves no
    // report can still say why; only its end is read.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    QTemporaryFile errors;
    if (errors.open())
        process.setStandardErrorFile(errors.fileName());
    else
        process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1)) {
        result.failure = ModelText(process.errorString());
        if (result.failure.empty()) result.failure = "The compiler could not be started.";
        return result;
    }
    result.started = true;
    // However long the compile takes: -1 never times out.
    process.waitForFinished(-1);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (errors.isOpen()) {
        QFile written(errors.fileName());
        if (written.open(QIODevice::ReadOnly)) {
            const qint64 size = written.size();
            const qint64 tail = static_cast<qint64>(kCompilerErrorOutputTail);
            if (size > tail) written.seek(size - tail);
            result.errorOutput = ModelText(QString::fromLocal8Bit(written.read(tail)));
        }
    }
    return result;
}

// ---------------------------------------------------------------------------

QtHelpViewer::QtHelpViewer(UiServices& ui) : ui_(ui) {}

QtHelpViewer::~QtHelpViewer() { Quit(); }

void QtHelpViewer::Quit() {
    for (auto& p : viewers_) {
        if (p->state() == QProcess::NotRunning) continue;
        p->terminate();
        if (!p->waitForFinished(2000)) {
            p->kill();
            p->waitForFinished(1000);
        }
    }
    viewers_.clear();
}

int QtHelpViewer::RunningViewers() const {
    int n = 0;
    for (const auto& p : viewers_)
        if (p->state() != QProcess::NotRunning) ++n;
    return n;
}

bool QtHelpViewer::Show(const HelpRequest& request) {
    switch (request.command) {
        case HelpCommand::Context:
            return Start(request.helpFile, {QStringLiteral("-N"), QString::number(request.context)}, request.window);
        case HelpCommand::Index:
            // The viewer's keyword switch; without a keyword it opens as for the contents.
            if (!request.keyword.empty())
                return Start(request.helpFile, {QStringLiteral("-k"), QtText(request.keyword)}, request.window);
            break;
        case HelpCommand::Contents: break;
    }
    return Start(request.helpFile, {}, request.window);
}

bool QtHelpViewer::Start(const std::string& helpFile, const QStringList& switches, const std::string& window) {
    const QString file = QtPath(helpFile);
    QString program;
    QStringList arguments;
    // WinHelp names a window of the file after a ">".
    const QString inWindow = window.empty() ? QString() : QStringLiteral(">") + QtText(window);
#ifdef _WIN32
    program = QStringLiteral("winhlp32.exe");
    arguments << switches << QDir::toNativeSeparators(file) + inWindow;
#else
    program = FindOnPath(QStringLiteral("wine"));
    if (program.isEmpty()) {
        ui_.Information(QStringLiteral("The help file cannot be shown here: it needs the WinHelp viewer, which runs on "
                                       "Windows, or on this system through wine (\"wine winhlp32\").\n\n"
                                       "To view it, install wine and run:\n  wine winhlp32 \"%1\"")
                            .arg(file));
        return false;
    }
    arguments << QStringLiteral("winhlp32") << switches << WinePath(file) + inWindow;
#endif
    // Forget the viewers that have ended on their own.
    std::erase_if(viewers_, [](const std::unique_ptr<QProcess>& p) { return p->state() == QProcess::NotRunning; });
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(QFileInfo(file).absolutePath());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(10000)) {
        ui_.Information(QStringLiteral("The help viewer could not be started for \"%1\".").arg(file));
        return false;
    }
    viewers_.push_back(std::move(process));
    return true;
}

// ---------------------------------------------------------------------------

LaunchResult QtShellLauncher::Open(const std::string& target) {
    LaunchResult r;
    const QString text = QtText(target);
    const QString path = QtPath(target);
    const QUrl url =
        QFileInfo::exists(path) ? QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()) : QUrl::fromUserInput(text);
    r.ok = url.isValid() && QDesktopServices::openUrl(url);
    if (!r.ok) r.failure = "\"" + target + "\" could not be opened.";
    return r;
}

LaunchResult QtShellLauncher::Start(const std::string& program, const std::vector<std::string>& arguments,
                                    const std::string& workingFolder) {
    LaunchResult r;
    QStringList args;
    for (const std::string& a : arguments) args << QtText(a);
    r.ok = QProcess::startDetached(QtPath(program), args, QtPath(workingFolder));
    if (!r.ok) r.failure = "The program \"" + program + "\" could not be started.";
    return r;
}

}  // namespace qm

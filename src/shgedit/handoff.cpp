#include "shgedit/handoff.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "util/textfile.h"

namespace qm::shgedit {

namespace {

StringList TakeList(const QDir& dir, const char* name) {
    StringList names;
    const QString path = dir.filePath(QString::fromLatin1(name));
    const QFileInfo info(path);
    // A link could point anywhere: it is neither read nor deleted.
    if (info.isSymLink() || !info.isFile()) return names;
    QFile file(path);
    if (info.size() <= kMaxHandoffFile && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(kMaxHandoffFile);
        file.close();
        for (std::string& line :
             SplitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
            if (!line.empty()) names.push_back(std::move(line));
    }
    QFile::remove(path);
    return names;
}

}  // namespace

QString HandoffFolderOf(const QStringList& args) {
    const QString option = QString::fromLatin1(kHandoffOption);
    for (const QString& a : args)
        if (a.startsWith(option)) return a.mid(option.size());
    return {};
}

std::optional<QString> FileArgumentOf(const QStringList& args) {
    const QString option = QString::fromLatin1(kHandoffOption);
    for (const QString& a : args)
        if (!a.startsWith(option)) return a;
    return std::nullopt;
}

THandoffLists TakeHandoffLists(const QString& folder) {
    THandoffLists lists;
    if (folder.isEmpty()) return lists;
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir()) return lists;
    const QDir dir(folder);
    lists.Topics = TakeList(dir, kTopicsHandoffFile);
    lists.Popups = TakeList(dir, kPopupsHandoffFile);
    // rmdir removes only an empty folder.
    QDir().rmdir(dir.absolutePath());
    return lists;
}

}  // namespace qm::shgedit

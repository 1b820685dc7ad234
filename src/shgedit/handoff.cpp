#include "shgedit/handoff.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
        // What the file holds, within the limit: a read of the limit itself
        // would take its size in memory first, however small the file.
        const QByteArray bytes = file.read(std::min(file.size(), kMaxHandoffFile));
        file.close();
        names = HandoffNames(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    QFile::remove(path);
    return names;
}

}  // namespace

StringList HandoffNames(std::string_view bytes) {
    // Line by line, so a file of line ends alone costs no list of empty ones.
    StringList names;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') continue;
        if (i > start) names.emplace_back(bytes.substr(start, i - start));
        start = i + 1;
    }
    return names;
}

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

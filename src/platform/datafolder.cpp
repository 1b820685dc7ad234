#include "platform/datafolder.h"

#include <QDir>
#include <QFileInfo>

#ifndef QM_DATA_FROM_BIN
#define QM_DATA_FROM_BIN "../share/quillmark"
#endif

namespace qm {

QString ProgramDataFolder(const QString& programFolder) {
    const QDir beside(programFolder);
    if (QFileInfo::exists(beside.filePath(QStringLiteral("macros.cfg"))) ||
        QFileInfo(beside.filePath(QStringLiteral("Dictionaries"))).isDir())
        return programFolder;
    const QString installed = QDir::cleanPath(beside.filePath(QStringLiteral(QM_DATA_FROM_BIN)));
    if (installed != QDir::cleanPath(programFolder) && QFileInfo(installed).isDir()) return installed;
    return programFolder;
}

}  // namespace qm

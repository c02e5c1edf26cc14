#include "resources/UserManualPath.h"

#include "resources/AboutText.h"

#include <QDir>
#include <QFileInfo>

QString UserManualPath(const QString& workingFolder, const QString& programFolder)
{
    const QString name = QString::fromLatin1(kManualFile);
    if (QFileInfo::exists(QDir(workingFolder).filePath(name)))
        return name;
    const QDir program(programFolder);
    for (const QString& candidate :
         {program.filePath(name), program.filePath(QLatin1String(kInstalledManualFolder) + QLatin1Char('/') + name)}) {
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    }
    return name;
}

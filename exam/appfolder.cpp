#include "exam/appfolder.h"

#include <QCoreApplication>
#include <QDir>

QString withTrailingSeparator(const QString &folder, QChar separator)
{
    return folder.endsWith(separator) ? folder : folder + separator;
}

QString AppFolderPath()
{
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    return withTrailingSeparator(folder, QDir::separator());
}

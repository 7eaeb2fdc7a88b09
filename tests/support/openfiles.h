#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

// The files and folders under `folder` that the process holds open, by
// their descriptors: after the last user of a document is gone, none of its
// folder's should be left.
inline QStringList openFilesUnder(const QString &folder)
{
    const QString root = QDir(folder).canonicalPath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    QStringList open;
    for (const QString &fd : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(descriptors.filePath(fd));
        if (target == root || target.startsWith(root + u'/'))
            open.append(target);
    }
    return open;
}

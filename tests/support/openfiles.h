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
        if ((!folder.isEmpty() && (target == root || target.startsWith(root + u'/')))
            || target.startsWith(QLatin1String("/memfd:vardo")))
            open.append(target);
    }
    return open;
}

// What the program's code may leave behind once its users are gone: files
// and folders under `folder` (none when empty), its memory files, and its
// threads, by the names it gives them.
inline QStringList leftBehind(const QString &folder = QString())
{
    QStringList left = openFilesUnder(folder);
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        const QString thread = name.open(QIODevice::ReadOnly) ? QString::fromUtf8(name.readAll().trimmed()) : QString();
        if (thread == u"document job" || thread == u"media control")
            left.append(thread);
    }
    return left;
}

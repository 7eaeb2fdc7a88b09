#include "document/resourcegate.h"

#include "files/folder.h"
#include "files/regularfile.h"

#include <QDir>
#include <QFileInfo>

ResourceGate ResourceGate::forFile(const QString &path)
{
    const QFileInfo info(path);
    ResourceGate gate;
    gate.m_folder = files::Folder::open(info.absolutePath());
    if (gate.m_folder)
        gate.m_document = info.fileName();
    return gate;
}

ResourceGate ResourceGate::at(const QString &name) const
{
    ResourceGate gate;
    if (!name.isEmpty()) {
        gate.m_folder = m_folder;
        gate.m_document = name;
    }
    return gate;
}

QUrl ResourceGate::base() const
{
    if (!m_folder)
        return QUrl();
    return QUrl::fromLocalFile(QDir(m_folder->path()).filePath(m_document));
}

QString ResourceGate::nameOf(const QUrl &url) const
{
    if (!m_folder || url.isEmpty())
        return QString();
    // Resolving an address removes its "." and ".." as a browser does; one
    // that climbs above the folder then lies outside it.
    const QUrl resolved = base().resolved(url);
    if (!resolved.isLocalFile() || !resolved.host().isEmpty())
        return QString();
    return m_folder->relativeName(QDir::cleanPath(resolved.toLocalFile()));
}

QString ResourceGate::folderPath() const
{
    return m_folder ? m_folder->path() : QString();
}

bool ResourceGate::holdsFile(const QString &name) const
{
    return m_folder && !name.isEmpty() && m_folder->holdsFile(name);
}

std::optional<ResourceGate::Front> ResourceGate::read(const QString &name, qint64 maxBytes) const
{
    if (!m_folder || name.isEmpty())
        return std::nullopt;
    return m_folder->read(name, maxBytes);
}

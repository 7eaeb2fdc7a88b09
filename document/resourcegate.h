#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

// The one way from a document to the files it names: the folder of the first
// document opened (held as a descriptor from then on) and the address of the
// document being read, against which relative names resolve. A name that
// resolves outside the folder, through a symbolic link, to another scheme or
// to the web is granted nothing. Copies share the folder; a gate made by
// default grants nothing. Safe to use on any thread.
// Declared only: the pane's users do not see files/, which it links privately.
namespace files {
class Folder;
struct Front;
} // namespace files

class ResourceGate
{
public:
    using Front = files::Front;

    ResourceGate() = default;

    // The gate of the document at `path`, whose folder is opened here; one
    // that grants nothing when the folder cannot be opened.
    static ResourceGate forFile(const QString &path);

    // The same folder, for the document `name` inside it (a page a link
    // opens): its relative names resolve from its own place.
    ResourceGate at(const QString &name) const;

    bool isOpen() const { return m_folder != nullptr; }
    QString folderPath() const;
    // The document's own name inside the folder.
    QString documentName() const { return m_document; }
    // The document's address, against which its relative names resolve.
    QUrl base() const;

    // The name inside the folder that `url` resolves to from the document;
    // empty when it names nothing the gate grants.
    QString nameOf(const QUrl &url) const;
    // Whether `name` is a readable regular file inside the folder (at most
    // one byte of it is read).
    bool holdsFile(const QString &name) const;
    // At most `maxBytes` of the file `name` inside the folder.
    std::optional<Front> read(const QString &name, qint64 maxBytes) const;

private:
    std::shared_ptr<const files::Folder> m_folder;
    QString m_document;
};

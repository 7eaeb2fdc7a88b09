#pragma once

#include "files/regularfile.h"

#include <QString>

#include <memory>
#include <optional>

namespace files {

// The ways taken where the kernel lacks something: without openat2 (before
// Linux 5.6) names are opened one component at a time; without /proc a file
// is opened for reading straight away instead of through its path-only
// handle. The tests force each fallback to hold it to the same refusals.
struct Fallbacks
{
    bool byComponents = false;
    bool withoutProc = false;
};

// A folder opened once, as a directory descriptor, from which files are read
// by names relative to it. A name never leads out of it: absolute names are
// refused, and ".." above the folder and symbolic links (inside or out) are
// refused by the kernel as the file is opened, so no rename between a look
// and an open can swap an outside file in. Only regular files are read, as read() reads
// them. Shared between threads: reading changes nothing.
class Folder
{
public:
    // The folder at `path`; none when it is not a readable directory.
    static std::shared_ptr<const Folder> open(const QString &path, Fallbacks fallbacks = {});
    ~Folder();
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    // The folder's path as it was opened (for messages, and for telling
    // whether an address lies inside it).
    QString path() const { return m_path; }

    // At most `maxBytes` of the regular file `relative` beneath the folder
    // ("fig/a.png"); nothing when the name is absolute, climbs out, passes
    // through a symbolic link, or names anything but a regular file.
    std::optional<Front> read(const QString &relative, qint64 maxBytes) const;

    // Whether `relative` names a regular file beneath the folder that can be
    // read, opened as read() opens it; at most one byte of it is read.
    bool holdsFile(const QString &relative) const;

    // `absolute` as a name relative to the folder, when it lies inside it
    // (the folder itself excluded); empty otherwise. Purely by the text of
    // the names: ".." is taken as it stands; read() never lets it lead out.
    QString relativeName(const QString &absolute) const;

private:
    int openFile(const QString &relative) const;
    Folder(int fd, QString path, Fallbacks fallbacks) : m_fd(fd), m_path(std::move(path)), m_fallbacks(fallbacks) {}
    int m_fd;
    QString m_path;
    Fallbacks m_fallbacks;
};

} // namespace files

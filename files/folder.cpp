#include "files/folder.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace files {

namespace {

// A name is first opened as a path only, which opens nothing: a FIFO is not
// opened for reading, a device's driver is not called. Only a regular file
// is then opened for reading, through that handle (see reopen()).
constexpr int pathFlags = O_PATH | O_CLOEXEC | O_NOFOLLOW;
// Without /proc, the file is opened for reading at once, without waiting.
constexpr int readFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW;

// Linux 5.6 and later: one call that refuses "..", absolute names and
// symbolic links anywhere on the way. ENOSYS on older kernels.
int openBeneath(int folder, const QByteArray &relative, int flags)
{
#ifdef SYS_openat2
    open_how how{};
    how.flags = unsigned(flags);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    // EAGAIN: a rename elsewhere in the folder raced the look-up. Tried again
    // a few times; a folder renamed under it without end leaves the file
    // unread rather than the reading thread spinning.
    constexpr int maxTries = 16;
    int fd;
    int tries = 0;
    do {
        fd = int(::syscall(SYS_openat2, folder, relative.constData(), &how, sizeof how));
    } while (fd < 0 && errno == EAGAIN && ++tries < maxTries);
    return fd;
#else
    Q_UNUSED(folder);
    Q_UNUSED(relative);
    Q_UNUSED(flags);
    errno = ENOSYS;
    return -1;
#endif
}

// Older kernels: one component at a time, none of them a link, "." or "..".
int openByComponents(int folder, const QByteArray &relative, int flags)
{
    const QList<QByteArray> parts = relative.split('/');
    int at = folder;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QByteArray &part = parts[i];
        const bool last = i == parts.size() - 1;
        int next = -1;
        if (!part.isEmpty() && part != "." && part != "..")
            next = ::openat(at, part.constData(), last ? flags : O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (at != folder)
            ::close(at);
        if (next < 0)
            return -1;
        at = next;
    }
    return at == folder ? -1 : at;
}

// The regular file `handle` (O_PATH) refers to, opened for reading; the
// handle is closed. The same file, whatever has been renamed since.
// `noProc` tells that /proc, through which it is reopened, is missing.
int reopen(int handle, bool &noProc)
{
    if (handle < 0)
        return -1;
    struct stat status;
    int fd = -1;
    if (::fstat(handle, &status) == 0 && S_ISREG(status.st_mode)) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(handle);
        fd = ::open(self.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        noProc = fd < 0 && errno == ENOENT;
    }
    ::close(handle);
    return fd;
}

} // namespace

std::shared_ptr<const Folder> Folder::open(const QString &path, Fallbacks fallbacks)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty())
        return nullptr;
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::shared_ptr<const Folder>(new Folder(fd, QDir::cleanPath(path), fallbacks));
}

Folder::~Folder()
{
    ::close(m_fd);
}

int Folder::openFile(const QString &relative) const
{
    const QByteArray native = QFile::encodeName(relative);
    if (native.isEmpty() || native.startsWith('/') || native.contains('\0'))
        return -1;
    const auto beneath = [this, &native](int flags) {
        if (!m_fallbacks.byComponents) {
            const int fd = openBeneath(m_fd, native, flags);
            if (fd >= 0 || errno != ENOSYS)
                return fd;
        }
        return openByComponents(m_fd, native, flags);
    };
    bool noProc = m_fallbacks.withoutProc;
    const int fd = noProc ? -1 : reopen(beneath(pathFlags), noProc);
    // readOpened() turns away whatever is not a regular file.
    return noProc ? beneath(readFlags) : fd;
}

std::optional<Front> Folder::read(const QString &relative, qint64 maxBytes) const
{
    return readOpened(openFile(relative), maxBytes);
}

bool Folder::holdsFile(const QString &relative) const
{
    return readOpened(openFile(relative), 0).has_value();
}

QString Folder::relativeName(const QString &absolute) const
{
    // The folder's own name followed by a "/", so that a sibling sharing
    // its prefix ("paper-old" beside "paper") is not taken for it.
    const QString root = m_path.endsWith(u'/') ? m_path : m_path + u'/';
    if (!absolute.startsWith(root) || absolute.size() == root.size())
        return QString();
    return absolute.mid(root.size());
}

} // namespace files

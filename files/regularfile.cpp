#include "files/regularfile.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

// One more byte than is kept, so that a file of exactly `maxBytes` is whole
// and a longer one is known to be cut.
bool readAll(int fd, qint64 maxBytes, Front &front)
{
    const qint64 want = maxBytes + 1;
    qint64 have = 0;
    QByteArray bytes;
    while (have < want) {
        const qint64 chunk = std::min<qint64>(want - have, 1 << 20);
        bytes.resize(have + chunk);
        const ssize_t got = ::read(fd, bytes.data() + have, size_t(chunk));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        have += got;
    }
    bytes.resize(std::min(have, maxBytes));
    front.cut = have > maxBytes;
    front.bytes = std::move(bytes);
    return true;
}

} // namespace

std::optional<Front> readOpened(int fd, qint64 maxBytes)
{
    if (fd < 0)
        return std::nullopt;
    struct stat status;
    Front front;
    const bool ok = maxBytes >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
        && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 && readAll(fd, maxBytes, front);
    ::close(fd);
    return ok ? std::optional<Front>(std::move(front)) : std::nullopt;
}

std::optional<Front> read(const QString &path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty())
        return std::nullopt;
    return readOpened(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY), maxBytes);
}

} // namespace files

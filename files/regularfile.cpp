#include "files/regularfile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace regularfile {

namespace {

bool isRegular(const QByteArray &path)
{
    struct stat status;
    return ::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

bool open(QFile &file, const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || !isRegular(native))
        return false;
    // Opened without waiting: should a FIFO have taken the file's place, the
    // open still returns, and the second look below turns it away.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<Front> read(const QString &path, qint64 maxBytes)
{
    QFile file;
    if (!open(file, path))
        return std::nullopt;
    Front front{file.read(maxBytes)};
    front.cut = !file.atEnd();
    return front;
}

} // namespace regularfile

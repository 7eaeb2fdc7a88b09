#include "exam/appfolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

QString withTrailingSeparator(const QString &folder, QChar separator)
{
    return folder.endsWith(separator) ? folder : folder + separator;
}

namespace {

const char unnamedPrefix[] = "/proc/self/fd/";

// The running program's folder as the kernel names it: bytes, which need
// not be text in any encoding.
QByteArray programFolderBytes()
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target);
    if (length <= 0 || length == ssize_t(sizeof target))
        return {};
    const QByteArray path(target, length);
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(std::max<qsizetype>(slash, 1));
}

} // namespace

QString AppFolderPath()
{
    static const QString folder = [] {
        const QByteArray bytes = programFolderBytes();
        if (bytes.isEmpty())
            return QString();
        const QString name = QFile::decodeName(bytes);
        if (QFile::encodeName(name) == bytes)
            return withTrailingSeparator(QDir::toNativeSeparators(name), QDir::separator());
        // A name no text can give back (a byte that is not UTF-8): the
        // folder is reached through a descriptor held open for the run,
        // which the kernel names for us in plain characters.
        const int fd = ::open(bytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        return fd < 0 ? QString() : QLatin1String(unnamedPrefix) + QString::number(fd) + u'/';
    }();
    return folder;
}

void enterUnnamedProgramFolder()
{
    const QString folder = AppFolderPath();
    if (folder.startsWith(QLatin1String(unnamedPrefix)) && ::chdir(QFile::encodeName(folder).constData()) != 0)
        std::perror("Vardo: the program's folder");
}

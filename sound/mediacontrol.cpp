#include "sound/mediacontrol.h"

#include "sound/mediacommand.h"
#include "sound/soundplayer.h"
#include "sound/wavcheck.h"

#include <QFile>
#include <QHash>
#include <QPluginLoader>

#include <cerrno>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The sound module sits beside the program (found through the library
// paths, the program's folder among them); without it nothing is heard.
// Each module is looked for once: "Open" may come many times a second.
SoundPlayerFactory *soundModule(const QString &name)
{
    static QHash<QString, SoundPlayerFactory *> modules;
    auto found = modules.constFind(name);
    if (found == modules.constEnd()) {
        QPluginLoader loader(name);
        found = modules.insert(name, qobject_cast<SoundPlayerFactory *>(loader.instance()));
    }
    return *found;
}

// A memory file holding `bytes`, sealed so that nothing can change them
// afterwards; -1 on failure.
int sealedCopy(const QByteArray &bytes)
{
    const int fd = ::memfd_create("vardo-cue", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    if (written != bytes.size()
        || ::fcntl(fd, F_ADD_SEALS, F_SEAL_WRITE | F_SEAL_GROW | F_SEAL_SHRINK | F_SEAL_SEAL) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// What tells one file from another under the same name: its identity, size
// and last change. Empty when there is no such file.
QByteArray fileStamp(const QString &fileName)
{
    struct stat status;
    if (::stat(QFile::encodeName(fileName).constData(), &status) != 0)
        return QByteArray();
    return QByteArray::number(quint64(status.st_dev)) + ':' + QByteArray::number(quint64(status.st_ino)) + ':'
         + QByteArray::number(qint64(status.st_size)) + ':' + QByteArray::number(qint64(status.st_mtim.tv_sec))
         + '.' + QByteArray::number(qint64(status.st_mtim.tv_nsec));
}

} // namespace

MediaControl::MediaControl(QObject *parent) : QObject(parent)
{
}

MediaControl::~MediaControl()
{
    m_player.reset();
    if (m_cue >= 0)
        ::close(m_cue);
}

void MediaControl::setSoundModule(const QString &name)
{
    m_soundModule = name;
}

void MediaControl::setSoundModule(SoundPlayerFactory *factory)
{
    m_factory = factory;
}

void MediaControl::setFileName(const QString &fileName)
{
    m_fileName = fileName;
}

// A command that is not one of ours is a fault of the caller, not of the
// machine, so unlike every other failure it is not silent.
void MediaControl::command(const QString &text)
{
    const std::optional<MediaCommand> parsed = mediaCommand(text);
    if (!parsed) {
        qWarning("MediaControl: unknown command \"%s\"", qPrintable(text));
        return;
    }
    switch (*parsed) {
    case MediaCommand::Open:
        open();
        break;
    case MediaCommand::Prev:
        rewind();
        break;
    case MediaCommand::Play:
        play();
        break;
    }
}

// "Open" may be repeated for the same file, so the file already open is left
// alone: no reload, and a cue that is playing goes on playing.
// Only files that pass the header check reach the player: a damaged one
// would leave it loading for ever and hang the next change of source. The
// player gets the very bytes that were checked, never the file by its name,
// which may name another file by then.
void MediaControl::open()
{
    if (m_fileName == m_openFile)
        return;
    close();
    if (!ensurePlayer())
        return;
    const QByteArray stamp = fileStamp(m_fileName);
    if (!stamp.isEmpty() && m_fileName == m_refusedFile && stamp == m_refusedStamp)
        return;
    const std::optional<QByteArray> bytes = wavcheck::readPlayable(m_fileName);
    if (!bytes) {
        m_refusedFile = m_fileName;
        m_refusedStamp = stamp;
        return;
    }
    m_refusedFile.clear();
    m_cue = sealedCopy(*bytes);
    if (m_cue < 0)
        return;
    m_player->setSource(QStringLiteral("/proc/self/fd/%1").arg(m_cue));
    m_openFile = m_fileName;
}

// The player lets go of the memory file before it is closed.
void MediaControl::close()
{
    if (m_player) {
        m_player->stop();
        if (m_cue >= 0)
            m_player->setSource(QString());
    }
    if (m_cue >= 0)
        ::close(m_cue);
    m_cue = -1;
    m_openFile.clear();
}

void MediaControl::rewind()
{
    if (m_player)
        m_player->stop();
}

void MediaControl::play()
{
    if (m_player && !m_openFile.isEmpty())
        m_player->play();
}

// The player is made at the first "Open", and only when there is an audio
// output: without one it would complain on every load, and nothing is read.
bool MediaControl::ensurePlayer()
{
    if (m_player)
        return true;
    SoundPlayerFactory *module = m_factory ? m_factory : soundModule(m_soundModule);
    if (!module || !module->hasOutput())
        return false;
    m_player = module->create();
    return true;
}

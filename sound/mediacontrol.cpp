#include "sound/mediacontrol.h"

#include "sound/mediacommand.h"
#include "sound/soundplayer.h"
#include "sound/wavcheck.h"

#include <QFile>
#include <QHash>
#include <QLoggingCategory>
#include <QPluginLoader>

#include <cerrno>
#include <mutex>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why the cue is silent when it is silent on purpose (no module, no audio
// output, a file refused): the exam goes on without it and says nothing.
// QT_LOGGING_RULES="vardo.sound.info=true" shows it; off but for warnings.
Q_LOGGING_CATEGORY(soundLog, "vardo.sound", QtWarningMsg)

// The sound module sits beside the program (found through the library
// paths, the program's folder among them); without it nothing is heard.
// Each module is looked for once: "Open" may come many times a second.
SoundPlayerFactory *loadSoundModule(const QString &name)
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    static QHash<QString, SoundPlayerFactory *> modules;
    auto found = modules.constFind(name);
    if (found == modules.constEnd()) {
        QPluginLoader loader(name);
        found = modules.insert(name, qobject_cast<SoundPlayerFactory *>(loader.instance()));
        if (!*found)
            qCInfo(soundLog) << "no sound module, the cue is silent:" << loader.errorString();
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
        qCInfo(soundLog) << "the cue not copied to a sealed memory file:" << qt_error_string(errno);
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
    if (::lstat(QFile::encodeName(fileName).constData(), &status) != 0)
        return QByteArray();
    return QByteArray::number(quint64(status.st_dev)) + ':' + QByteArray::number(quint64(status.st_ino)) + ':'
        + QByteArray::number(qint64(status.st_size)) + ':' + QByteArray::number(qint64(status.st_mtim.tv_sec)) + '.'
        + QByteArray::number(qint64(status.st_mtim.tv_nsec));
}

} // namespace

// What the control does, on its own thread.
class MediaControl::Worker : public QObject
{
public:
    ~Worker() override
    {
        m_player.reset();
        if (m_cue >= 0)
            ::close(m_cue);
    }

    QString soundModule;
    SoundPlayerFactory *factory = nullptr;

    void carryOut(MediaCommand command, const QString &fileName)
    {
        switch (command) {
        case MediaCommand::Open: open(fileName); break;
        case MediaCommand::Prev: rewind(); break;
        case MediaCommand::Play: play(); break;
        }
    }

private:
    void open(const QString &fileName);
    void close();
    void rewind();
    void play();
    bool ensurePlayer();

    QString m_openFile;
    // The file last refused, as it was then: "Open" comes every second, and
    // the same bad file is not read again until it changes.
    QString m_refusedFile;
    QByteArray m_refusedStamp;
    // The checked bytes of the open file, in a sealed memory file that the
    // player reads by its /proc name; -1 when none is open.
    int m_cue = -1;
    std::unique_ptr<SoundPlayer> m_player;
};

MediaControl::MediaControl(QObject *parent) : QObject(parent), m_worker(new Worker)
{
    m_thread.setObjectName(QStringLiteral("media control"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

// The player is stopped and freed on the thread it was made on.
MediaControl::~MediaControl()
{
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { delete worker; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void MediaControl::setSoundModule(const QString &name)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, name] { worker->soundModule = name; });
}

void MediaControl::setSoundModule(SoundPlayerFactory *factory)
{
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, factory] { worker->factory = factory; });
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
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, command = *parsed, name = m_fileName] { worker->carryOut(command, name); });
}

void MediaControl::finish()
{
    QMetaObject::invokeMethod(
        m_worker, [] {}, Qt::BlockingQueuedConnection);
}

// "Open" may be repeated for the same file, so the file already open is left
// alone: no reload, and a cue that is playing goes on playing.
// Only files that pass the header check reach the player: a damaged one
// would leave it loading for ever and hang the next change of source. The
// player gets the very bytes that were checked, never the file by its name,
// which may name another file by then.
void MediaControl::Worker::open(const QString &fileName)
{
    if (fileName == m_openFile)
        return;
    close();
    if (!ensurePlayer())
        return;
    const QByteArray stamp = fileStamp(fileName);
    if (!stamp.isEmpty() && fileName == m_refusedFile && stamp == m_refusedStamp)
        return;
    const std::optional<QByteArray> bytes = wavcheck::readPlayable(fileName);
    if (!bytes) {
        qCInfo(soundLog) << "the cue refused, no playable WAV file:" << fileName;
        m_refusedFile = fileName;
        m_refusedStamp = stamp;
        return;
    }
    m_refusedFile.clear();
    m_cue = sealedCopy(*bytes);
    if (m_cue < 0)
        return;
    m_player->setSource(QStringLiteral("/proc/self/fd/%1").arg(m_cue));
    m_openFile = fileName;
}

// The player lets go of the memory file before it is closed.
void MediaControl::Worker::close()
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

void MediaControl::Worker::rewind()
{
    if (m_player)
        m_player->stop();
}

void MediaControl::Worker::play()
{
    if (m_player && !m_openFile.isEmpty())
        m_player->play();
}

// The player is made at the first "Open", and only when there is an audio
// output: without one it would complain on every load, and nothing is read.
bool MediaControl::Worker::ensurePlayer()
{
    if (m_player)
        return true;
    SoundPlayerFactory *module = factory ? factory : loadSoundModule(soundModule);
    if (!module || !module->hasOutput()) {
        if (module)
            qCInfo(soundLog) << "no audio output, the cue is silent";
        return false;
    }
    m_player = module->create();
    return true;
}

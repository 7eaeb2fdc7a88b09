#include "markup/limits.h"
#include "sound/mediacommand.h"
#include "sound/mediacontrol.h"
#include "sound/soundplayer.h"
#include "sound/wavcheck.h"

#include <QSemaphore>
#include <QFile>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include "support/openfiles.h"
#include "support/testfiles.h"
#include "support/watchedfifo.h"

#include <atomic>
#include <thread>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList messages;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    messages.append(text);
}

QByteArray shippedChime()
{
    QFile chime(QStringLiteral(VARDO_SOURCE_DIR "/assets/Zarod.wav"));
    return chime.open(QIODevice::ReadOnly) ? chime.readAll() : QByteArray();
}

// Players that, at each new source, check the bytes they would play.
struct CheckingFactory : SoundPlayerFactory
{
    struct Player : SoundPlayer
    {
        explicit Player(CheckingFactory *factory) : factory(factory) {}
        void setSource(const QString &name) override
        {
            QFile file(name);
            factory->sources += !name.isEmpty();
            factory->unplayable +=
                !name.isEmpty() && !(file.open(QIODevice::ReadOnly) && wavcheck::isPlayable(file.readAll()));
        }
        void stop() override {}
        void play() override { ++factory->plays; }
        CheckingFactory *factory;
    };
    // A sound server that answers only once the test lets it (or gives up
    // waiting, which the test sees).
    bool hasOutput() const override
    {
        if (holdServer && !serverLetGo.tryAcquire(1, 30000))
            serverGaveUp = true;
        return true;
    }
    std::unique_ptr<SoundPlayer> create() override { return std::make_unique<Player>(this); }
    bool holdServer = false;
    mutable QSemaphore serverLetGo;
    mutable std::atomic_bool serverGaveUp = false;
    // Counted on the control's thread, read on the test's.
    std::atomic_int sources = 0;
    std::atomic_int unplayable = 0;
    std::atomic_int plays = 0;
};

// A playable WAV of `bytes` bytes in all: the chime's format, then silence.
QByteArray chimeOfSize(qint64 bytes)
{
    QByteArray wav = shippedChime().left(36);
    qToLittleEndian<quint32>(quint32(bytes - 8), wav.data() + 4);
    wav.append("data");
    char size[4];
    qToLittleEndian<quint32>(quint32(bytes - 44), size);
    wav.append(size, 4);
    wav.append(QByteArray(bytes - 44, '\0'));
    return wav;
}
using testfiles::write;

} // namespace

class MediaControlTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void soundModule_loadsFromTheProgramFolder();
    void runningClock_isSilentAndQuiet_data();
    void runningClock_isSilentAndQuiet();
    void refusedCue_readAgainOnlyOnceItChanges();
    void cueThatIsNoRegularFile_isNeverOpened_data();
    void cueThatIsNoRegularFile_isNeverOpened();
    void cueSwappedAfterItsCheck_neverReachesThePlayer();
    void unknownCommand_isRefusedAloud_data();
    void unknownCommand_isRefusedAloud();

private:
    QTemporaryDir m_dir;
};

// The module normally sits beside the program; here, beside the build's Vardo.
void MediaControlTest::initTestCase()
{
    QCoreApplication::addLibraryPath(QStringLiteral(VARDO_MODULE_DIR));
}

// Whatever a test did, its cue's files, copies and thread are let go once
// its control is gone.
void MediaControlTest::cleanup()
{
    QTRY_COMPARE(leftBehind(m_dir.path()), QStringList());
}

// Without the module every cue is silent, so a module that fails to load
// (a missing library, a wrong interface) must not go unnoticed.
void MediaControlTest::soundModule_loadsFromTheProgramFolder()
{
    QPluginLoader loader(QStringLiteral("vardo_sound"));
    QVERIFY2(loader.load(), qPrintable(loader.errorString()));
    auto *factory = qobject_cast<SoundPlayerFactory *>(loader.instance());
    QVERIFY(factory);
    QVERIFY(factory->create());
}

void MediaControlTest::runningClock_isSilentAndQuiet_data()
{
    QTest::addColumn<QByteArray>("content"); // empty name: no file at all
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("readable");

    const QByteArray chime = shippedChime();
    QVERIFY(!chime.isEmpty());
    QTest::newRow("missing file") << QByteArray() << false << true;
    QTest::newRow("empty file") << QByteArray() << true << true;
    QTest::newRow("truncated wav") << chime.left(chime.size() / 2) << true << true;
    QTest::newRow("garbage") << QByteArray(5000, '\x5a') << true << true;
    // Root reads it all the same; then it is simply the chime.
    QTest::newRow("no read rights") << chime << true << false;
    QTest::newRow("the chime") << chime << true << true;
    QTest::newRow("a 16 MiB cue") << chimeOfSize(SoundLimits::cueBytes) << true << true;
}

// The clock opens the cue once a second; whatever the file, nothing may be
// printed, thrown or hung, and rewinding and playing must stay harmless.
void MediaControlTest::runningClock_isSilentAndQuiet()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(bool, readable);

    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".wav");
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        if (!readable)
            QVERIFY(file.setPermissions({}));
    }

    MediaControl control;
    control.setSoundModule(QStringLiteral("vardo_sound"));
    control.setFileName(path);
    control.command(QStringLiteral("Open")); // the audio system may speak up once here
    control.finish();
    // The first tick loads the module, asks the sound server for an output
    // (here one that answers only when let go) and reads the cue: none of it
    // on the caller's thread, which goes on while the server keeps silent.
    CheckingFactory slowServer;
    slowServer.holdServer = true;
    MediaControl first;
    first.setSoundModule(&slowServer);
    first.setFileName(path);
    first.command(QStringLiteral("Open"));
    slowServer.serverLetGo.release();
    first.finish();
    QVERIFY(!slowServer.serverGaveUp);

    messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    for (int tick = 0; tick < 20; ++tick) {
        control.setFileName(path);
        control.command(QStringLiteral("Open"));
        if (tick == 10) {
            control.command(QStringLiteral("Prev"));
            control.command(QStringLiteral("Play"));
        }
        QCoreApplication::processEvents();
    }
    control.finish();
    qInstallMessageHandler(previous);

    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
}

// "Open" comes every second: a refused cue is read again only once it
// changes, and "Play" sounds nothing until a cue is open.
void MediaControlTest::refusedCue_readAgainOnlyOnceItChanges()
{
    const QByteArray chime = shippedChime();
    const QString path = m_dir.filePath(QStringLiteral("memo.wav"));
    QVERIFY(write(path, QByteArray(chime.size(), '\x5a')));
    CheckingFactory factory;
    MediaControl control;
    control.setSoundModule(&factory);
    control.setFileName(path);
    const auto tick = [&control] {
        control.command(QStringLiteral("Open"));
        control.command(QStringLiteral("Play"));
        control.finish();
    };

    tick();
    QCOMPARE(factory.sources, 0);
    QCOMPARE(factory.plays, 0);
    // The same size and time of change: taken for the file refused.
    struct stat before;
    QVERIFY(::stat(QFile::encodeName(path).constData(), &before) == 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write(chime) == chime.size());
    file.close();
    const timespec times[2] = {before.st_atim, before.st_mtim};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
    tick();
    QCOMPARE(factory.sources, 0);
    // Changed: read, opened, played.
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, 0) == 0);
    tick();
    QCOMPARE(factory.sources, 1);
    QCOMPARE(factory.plays, 1);
    // Another name that cannot be opened: the cue before it is closed, and
    // nothing plays.
    control.setFileName(m_dir.filePath(QStringLiteral("gone.wav")));
    tick();
    QCOMPARE(factory.plays, 1);
}

// The cue beside the program is opened as the paper's files are: whatever
// its name leads to that is not a regular file is turned away before any
// open for reading (a device's driver would run; a FIFO would block).
void MediaControlTest::cueThatIsNoRegularFile_isNeverOpened_data()
{
    QTest::addColumn<QString>("target"); // what Zarod.wav links to; empty: it is the FIFO
    QTest::newRow("a FIFO") << QString();
    QTest::newRow("a link to a FIFO") << QStringLiteral("fifo");
    QTest::newRow("a link to /dev/zero") << QStringLiteral("/dev/zero");
    QTest::newRow("a link to the chime") << QStringLiteral("chime.wav");
}

void MediaControlTest::cueThatIsNoRegularFile_isNeverOpened()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(write(dir.filePath(QStringLiteral("chime.wav")), shippedChime()));
    const QString cue = dir.filePath(QStringLiteral("Zarod.wav"));
    const WatchedFifo fifo(target.isEmpty() ? cue : dir.filePath(QStringLiteral("fifo")));
    QVERIFY(fifo.isValid());
    if (!target.isEmpty())
        QVERIFY(QFile::link(target.startsWith(u'/') ? target : dir.filePath(target), cue));
    CheckingFactory factory;
    MediaControl control;
    control.setSoundModule(&factory);
    control.setFileName(cue);

    control.command(QStringLiteral("Open"));
    control.finish();
    fifo.waitForALook();

    QCOMPARE(factory.sources, 0);
    QVERIFY(!fifo.wasOpened());
}

// The strings are the surface; a misspelt one must not pass for silence.
void MediaControlTest::unknownCommand_isRefusedAloud_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("not one of ours") << "Close";
    QTest::newRow("wrong case") << "play";
    QTest::newRow("trailing space") << "Open ";
    QTest::newRow("empty") << "";
}

void MediaControlTest::unknownCommand_isRefusedAloud()
{
    QFETCH(QString, text);
    QVERIFY(!mediaCommand(text));
    MediaControl control;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unknown command")));
    control.command(text);
}

// Zarod.wav renamed back and forth between the chime and a file the player
// divides by zero on: whatever reaches the player was checked.
void MediaControlTest::cueSwappedAfterItsCheck_neverReachesThePlayer()
{
    QByteArray bad = shippedChime();
    qToLittleEndian<quint32>(1, bad.data() + 24); // one sample a second
    const QString cue = m_dir.filePath(QStringLiteral("swapped.wav"));
    const QByteArray good = QFile::encodeName(m_dir.filePath(QStringLiteral("good.wav")));
    const QByteArray slow = QFile::encodeName(m_dir.filePath(QStringLiteral("slow.wav")));
    for (const auto &[name, bytes] : {std::pair(good, shippedChime()), std::pair(slow, bad)}) {
        QFile file(QFile::decodeName(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const QByteArray target = QFile::encodeName(cue), spare = target + ".new";
    std::atomic_bool stop{false};
    std::thread swapper([&] {
        for (bool which = false; !stop; which = !which) {
            if (::link((which ? slow : good).constData(), spare.constData()) == 0)
                ::rename(spare.constData(), target.constData());
        }
    });
    CheckingFactory factory;
    MediaControl control;
    control.setSoundModule(&factory);
    for (int i = 0; i < 300; ++i) {
        control.setFileName(i % 2 ? cue : QFile::decodeName(good));
        control.command(QStringLiteral("Open"));
        control.finish();
    }
    stop = true;
    swapper.join();

    QVERIFY(factory.sources > 150);
    QCOMPARE(factory.unplayable, 0);
}

QTEST_GUILESS_MAIN(MediaControlTest)
#include "mediacontrol_test.moc"

#include "sound/mediacommand.h"
#include "sound/mediacontrol.h"
#include "sound/soundplayer.h"
#include "sound/wavcheck.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

#include <atomic>
#include <thread>

#include <cstdio>

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
            factory->unplayable += !name.isEmpty() && !(file.open(QIODevice::ReadOnly) && wavcheck::isPlayable(file.readAll()));
        }
        void stop() override {}
        void play() override {}
        CheckingFactory *factory;
    };
    bool hasOutput() const override { return true; }
    std::unique_ptr<SoundPlayer> create() override { return std::make_unique<Player>(this); }
    int sources = 0;
    int unplayable = 0;
};

} // namespace

class MediaControlTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void soundModule_loadsFromTheProgramFolder();
    void runningClock_isSilentAndQuiet_data();
    void runningClock_isSilentAndQuiet();
    void playBeforeOpen_doesNothing();
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

    messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    QElapsedTimer watch;
    watch.start();
    for (int tick = 0; tick < 20; ++tick) {
        control.setFileName(path);
        control.command(QStringLiteral("Open"));
        if (tick == 10) {
            control.command(QStringLiteral("Prev"));
            control.command(QStringLiteral("Play"));
        }
        QCoreApplication::processEvents();
    }
    const qint64 elapsed = watch.elapsed();
    qInstallMessageHandler(previous);

    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
}

void MediaControlTest::playBeforeOpen_doesNothing()
{
    MediaControl control;
    control.setSoundModule(QStringLiteral("vardo_sound"));
    messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    control.command(QStringLiteral("Prev"));
    control.command(QStringLiteral("Play"));
    qInstallMessageHandler(previous);
    QVERIFY(messages.isEmpty());
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
    }
    stop = true;
    swapper.join();

    QVERIFY(factory.sources > 150);
    QCOMPARE(factory.unplayable, 0);
}

QTEST_GUILESS_MAIN(MediaControlTest)
#include "mediacontrol_test.moc"

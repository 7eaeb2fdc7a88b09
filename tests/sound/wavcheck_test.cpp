#include "markup/limits.h"
#include "sound/wavcheck.h"
#include "support/watchedfifo.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char *id, const QByteArray &body, quint32 declared)
{
    QByteArray bytes = QByteArray(id, 4) + le32(declared) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    return chunk(id, body, quint32(body.size()));
}

struct Format
{
    quint16 tag = 1;
    quint16 channels = 1;
    quint32 rate = 22050;
    quint16 bits = 16;
    int blockAlignDelta = 0;
};

QByteArray fmt(const Format &f)
{
    const quint16 blockAlign = quint16(f.channels * f.bits / 8 + f.blockAlignDelta);
    return chunk("fmt ",
                 le16(f.tag) + le16(f.channels) + le32(f.rate) + le32(f.rate * blockAlign) + le16(blockAlign)
                     + le16(f.bits));
}

QByteArray samples(int count = 100)
{
    return chunk("data", QByteArray(count * 2, '\x10'));
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

} // namespace

class WavCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void check_acceptsOnlyCompletePcm_data();
    void check_acceptsOnlyCompletePcm();
    void shippedChime_isPlayable();
    void fifo_isNeverOpened();
    void playableCopy_keepsFormatAndWholeFrames_data();
    void playableCopy_keepsFormatAndWholeFrames();
    void readPlayable_onlyWholeFilesWithinTheLimit_data();
    void readPlayable_onlyWholeFilesWithinTheLimit();
};

void WavCheckTest::check_acceptsOnlyCompletePcm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playable");

    const QByteArray good = riff(fmt({}) + samples());
    QTest::newRow("16-bit mono") << good << true;
    QTest::newRow("8-bit stereo") << riff(fmt({.channels = 2, .bits = 8}) + samples()) << true;
    QTest::newRow("other chunks first, odd length padded")
        << riff(chunk("LIST", "INFOx") + fmt({}) + chunk("fact", le32(100)) + samples()) << true;
    QTest::newRow("bytes after the data chunk") << good + QByteArray(37, 'x') << true;

    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("text file") << QByteArray("this is not a sound at all\n") << false;
    QTest::newRow("RIFF but not WAVE") << ("RIFF" + le32(4) + "AVI ") << false;
    QTest::newRow("header only") << good.left(12) << false;
    QTest::newRow("cut inside the format") << good.left(30) << false;
    QTest::newRow("cut inside the samples") << good.left(good.size() - 1) << false;
    QTest::newRow("data length beyond the file")
        << riff(fmt({}) + chunk("data", QByteArray(200, '\x10'), 400)) << false;
    QTest::newRow("empty data") << riff(fmt({}) + chunk("data", {})) << false;
    QTest::newRow("no data chunk") << riff(fmt({})) << false;
    QTest::newRow("no format chunk") << riff(samples()) << false;
    QTest::newRow("data before format") << riff(samples() + fmt({})) << false;
    QTest::newRow("short format chunk") << riff(chunk("fmt ", le16(1) + le16(1)) + samples()) << false;
    QTest::newRow("compressed (ADPCM)") << riff(fmt({.tag = 2}) + samples()) << false;
    QTest::newRow("float samples") << riff(fmt({.tag = 3, .bits = 32}) + samples()) << false;
    QTest::newRow("extensible format") << riff(fmt({.tag = 0xFFFE}) + samples()) << false;
    QTest::newRow("24-bit") << riff(fmt({.bits = 24}) + samples()) << true;
    QTest::newRow("32-bit integer, 7.1") << riff(fmt({.channels = 8, .bits = 32}) + samples()) << true;
    QTest::newRow("12-bit") << riff(fmt({.bits = 12}) + samples()) << false;
    QTest::newRow("nine channels") << riff(fmt({.channels = 9}) + samples()) << false;
    QTest::newRow("no channels") << riff(fmt({.channels = 0}) + samples()) << false;
    QTest::newRow("zero rate") << riff(fmt({.rate = 0}) + samples()) << false;
    // Rates the player divides by zero on, or cuts short, or cannot output.
    QTest::newRow("10 Hz") << riff(fmt({.rate = 10}) + samples()) << false;
    QTest::newRow("999 Hz") << riff(fmt({.rate = 999}) + samples()) << false;
    QTest::newRow("1,000 Hz") << riff(fmt({.rate = 1000}) + samples()) << true;
    QTest::newRow("384,000 Hz") << riff(fmt({.rate = 384000}) + samples()) << true;
    QTest::newRow("384,001 Hz") << riff(fmt({.rate = 384001}) + samples()) << false;
    QTest::newRow("byte rate agrees only when wrapped to 32 bits")
        << riff(fmt({.rate = 0x80000000u}) + samples()) << false;
    QTest::newRow("rate beyond what the player holds")
        << riff(fmt({.rate = 0x90000000u, .bits = 8}) + samples()) << false;
    QTest::newRow("block size contradicts sample size") << riff(fmt({.blockAlignDelta = 2}) + samples()) << false;
    QTest::newRow("huge chunk length wraps nowhere")
        << riff(chunk("LIST", "ab", 0xFFFFFFFFu) + fmt({}) + samples()) << false;
}

void WavCheckTest::check_acceptsOnlyCompletePcm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, playable);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(wavcheck::isPlayable(buffer), playable);
}

void WavCheckTest::shippedChime_isPlayable()
{
    QFile chime(QStringLiteral(VARDO_SOURCE_DIR "/assets/Zarod.wav"));
    QVERIFY(chime.open(QIODevice::ReadOnly));
    QVERIFY(wavcheck::isPlayable(chime));
}

// Opening a FIFO blocks until something writes to it: the clock's first
// tick would never return.
void WavCheckTest::fifo_isNeverOpened()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Zarod.wav"));
    const WatchedFifo fifo(path);
    QVERIFY(fifo.isValid());
    QVERIFY(!wavcheck::readPlayable(path));
    QVERIFY(!fifo.wasOpened());
}

// The cue is read whole or not at all: a header over a huge (sparse) file
// would be held in memory, and an exit would wait on it.
void WavCheckTest::readPlayable_onlyWholeFilesWithinTheLimit_data()
{
    QTest::addColumn<qint64>("size"); // the file's size; the data chunk says so
    QTest::addColumn<bool>("read");

    QTest::newRow("small") << qint64(4096) << true;
    QTest::newRow("at the limit") << SoundLimits::cueBytes << true;
    QTest::newRow("one byte past the limit") << SoundLimits::cueBytes + 1 << false;
    QTest::newRow("4 GiB, sparse") << (qint64(4) << 30) - 2 << false;
}

void WavCheckTest::readPlayable_onlyWholeFilesWithinTheLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, read);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Zarod.wav")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray head = riff(fmt({}) + chunk("data", {}, quint32(size - 44)));
    QVERIFY(file.write(head.left(44)) == 44 && file.resize(size));
    file.close();

    const auto bytes = wavcheck::readPlayable(file.fileName());

    QCOMPARE(bytes.has_value(), read);
    if (read)
        QCOMPARE(bytes->size(), size);
}

// The player is given the format and the whole frames only: whatever other
// chunks stand around them, and however the data chunk ends.
void WavCheckTest::playableCopy_keepsFormatAndWholeFrames_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("frameBytes");
    const Format stereo32{1, 2, 48000, 32, 0};
    QTest::newRow("plain") << riff(fmt({}) + samples(100)) << 1 << 200;
    QTest::newRow("chunks around") << riff(chunk("LIST", "INFOxxxx") + fmt({}) + chunk("JUNK", QByteArray(6, 0))
                                           + samples(100) + chunk("cue ", "abcd"))
                                   << 1 << 200;
    QTest::newRow("many empty chunks") << riff(fmt({}) + QByteArray("JUNK\0\0\0\0", 8).repeated(20000) + samples(10))
                                       << 1 << 20;
    QTest::newRow("last frame cut short")
        << riff(fmt(stereo32) + chunk("data", QByteArray(40004, '\x10'))) << 2 << 40000;
    QTest::newRow("not one whole frame") << riff(fmt(stereo32) + chunk("data", QByteArray(6, '\x10'))) << 0 << 0;
}

void WavCheckTest::playableCopy_keepsFormatAndWholeFrames()
{
    QFETCH(QByteArray, file);
    QFETCH(int, channels);
    QFETCH(int, frameBytes);
    const std::optional<QByteArray> copy = wavcheck::playableCopy(file);
    QCOMPARE(copy.has_value(), frameBytes > 0);
    if (!copy)
        return;
    QVERIFY(wavcheck::isPlayable(*copy));
    QCOMPARE(copy->size(), 44 + frameBytes);
    QCOMPARE(qFromLittleEndian<quint16>(copy->constData() + 22), quint16(channels));
    QCOMPARE(qFromLittleEndian<quint32>(copy->constData() + 40), quint32(frameBytes));
}

QTEST_APPLESS_MAIN(WavCheckTest)
#include "wavcheck_test.moc"

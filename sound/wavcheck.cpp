#include "sound/wavcheck.h"

#include "markup/limits.h"

#include "files/folder.h"

#include <QBuffer>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

namespace wavcheck {

namespace {

constexpr qint64 riffHeaderSize = 12;
constexpr qint64 chunkHeaderSize = 8;
constexpr qint64 pcmFormatSize = 16;
constexpr quint16 pcmTag = 1;
// Found by playing through Qt 6.4's sound effect on PulseAudio: below 50
// samples a second it divides by zero (SIGFPE) and up to 100 it cuts the
// sound short; above 384,000 the output refuses the stream. Floating-point
// and WAVE_FORMAT_EXTENSIBLE files its reader refuses outright.
constexpr quint32 minRate = 1000;
constexpr quint32 maxRate = 384000;
constexpr quint16 maxChannels = 8;

struct Chunk
{
    char id[4];
    quint32 size;
};

bool readAt(QIODevice &device, qint64 offset, char *into, qint64 length)
{
    return device.seek(offset) && device.read(into, length) == length;
}

bool readChunk(QIODevice &device, qint64 offset, Chunk &chunk)
{
    char raw[chunkHeaderSize];
    if (!readAt(device, offset, raw, chunkHeaderSize))
        return false;
    std::memcpy(chunk.id, raw, 4);
    chunk.size = qFromLittleEndian<quint32>(raw + 4);
    return true;
}

bool isId(const char *id, const char *expected)
{
    return std::memcmp(id, expected, 4) == 0;
}

bool hasRiffWaveHeader(QIODevice &device)
{
    char raw[riffHeaderSize];
    return readAt(device, 0, raw, riffHeaderSize) && isId(raw, "RIFF") && isId(raw + 8, "WAVE");
}

// The fields the player relies on must agree with each other; a zero rate or
// a block size that contradicts the sample size marks a damaged header.
bool isPlayableFormat(QIODevice &device, qint64 bodyOffset, quint32 size)
{
    char raw[pcmFormatSize];
    if (size < pcmFormatSize || !readAt(device, bodyOffset, raw, pcmFormatSize))
        return false;
    const auto tag = qFromLittleEndian<quint16>(raw);
    const auto channels = qFromLittleEndian<quint16>(raw + 2);
    const auto rate = qFromLittleEndian<quint32>(raw + 4);
    const auto byteRate = qFromLittleEndian<quint32>(raw + 8);
    const auto blockAlign = qFromLittleEndian<quint16>(raw + 12);
    const auto bits = qFromLittleEndian<quint16>(raw + 14);
    return tag == pcmTag && channels >= 1 && channels <= maxChannels
        && (bits == 8 || bits == 16 || bits == 24 || bits == 32) && rate >= minRate && rate <= maxRate
        && blockAlign == channels * bits / 8 && byteRate == rate * blockAlign;
}

} // namespace

bool isPlayable(QIODevice &device)
{
    if (!device.isReadable() || device.isSequential() || !hasRiffWaveHeader(device))
        return false;

    const qint64 fileSize = device.size();
    bool formatSeen = false;
    Chunk chunk;
    for (qint64 offset = riffHeaderSize; readChunk(device, offset, chunk);) {
        const qint64 body = offset + chunkHeaderSize;
        if (isId(chunk.id, "fmt ")) {
            if (!isPlayableFormat(device, body, chunk.size))
                return false;
            formatSeen = true;
        } else if (isId(chunk.id, "data")) {
            // The player reads the format before the samples and never looks back.
            return formatSeen && chunk.size > 0 && body + chunk.size <= fileSize;
        }
        // Chunk bodies are padded to an even length.
        offset = body + chunk.size + (chunk.size & 1);
    }
    return false;
}

bool isPlayable(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    return buffer.open(QIODevice::ReadOnly) && isPlayable(buffer);
}

// The player gets a plain file of our own making: the checked format and the
// whole frames of the data chunk, nothing else. Chunks it would have to step
// over one by one, and a last frame cut short, leave Qt's player stuck
// (loading at exit, or waiting on the sound server in play()).
std::optional<QByteArray> playableCopy(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly) || !isPlayable(buffer))
        return std::nullopt;
    QByteArray format;
    Chunk chunk;
    for (qint64 offset = riffHeaderSize; readChunk(buffer, offset, chunk);) {
        const qint64 body = offset + chunkHeaderSize;
        if (isId(chunk.id, "fmt ")) {
            format = bytes.mid(body, pcmFormatSize);
        } else if (isId(chunk.id, "data")) {
            const auto blockAlign = qFromLittleEndian<quint16>(format.constData() + 12);
            const qint64 length = chunk.size - chunk.size % blockAlign;
            if (length == 0)
                return std::nullopt;
            QByteArray copy;
            const auto append32 = [&copy](quint32 value) {
                char raw[4];
                qToLittleEndian(value, raw);
                copy.append(raw, 4);
            };
            copy.append("RIFF");
            append32(quint32(4 + chunkHeaderSize + pcmFormatSize + chunkHeaderSize + length));
            copy.append("WAVEfmt ");
            append32(pcmFormatSize);
            copy.append(format);
            copy.append("data");
            append32(quint32(length));
            copy.append(bytes.constData() + body, length);
            return copy;
        }
        offset = body + chunk.size + (chunk.size & 1);
    }
    return std::nullopt;
}

std::optional<QByteArray> readPlayable(const QString &fileName)
{
    const QFileInfo info(fileName);
    const auto folder = files::Folder::open(info.absolutePath());
    const auto front = folder ? folder->read(info.fileName(), SoundLimits::cueBytes) : std::nullopt;
    if (!front || front->cut)
        return std::nullopt;
    return playableCopy(front->bytes);
}

} // namespace wavcheck

#include "sound/wavcheck.h"

#include "files/regularfile.h"

#include <QBuffer>
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

std::optional<QByteArray> readPlayable(const QString &fileName)
{
    auto front = regularfile::read(fileName, maxFileBytes);
    if (!front || front->cut || !isPlayable(front->bytes))
        return std::nullopt;
    return std::move(front->bytes);
}

} // namespace wavcheck

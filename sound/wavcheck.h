#pragma once

#include <QByteArray>

#include <optional>

class QIODevice;
class QString;

namespace wavcheck {

// True when `device` holds a RIFF/WAVE file the sound player can take
// without getting stuck or crashing: an integer PCM "fmt " chunk (8, 16, 24
// or 32 bits, one to eight channels, 1,000 to 384,000 samples a second)
// followed by a non-empty "data" chunk that lies wholly within the file.
// Only chunk headers are read; the device must be seekable.
bool isPlayable(QIODevice &device);

// The same for bytes held in memory.
bool isPlayable(const QByteArray &bytes);

// The cue is read whole, once, and played from the bytes that were checked,
// so that no file swapped in after the check reaches the player. Past
// SoundLimits::cueBytes (markup/limits.h) a file is refused like any other
// bad file.
// The bytes of the regular file at `fileName` when they are playable and no
// longer than SoundLimits::cueBytes; nothing otherwise. The file is opened as the
// paper's files are: a symbolic link, a FIFO or a device is turned away
// before anything opens it for reading, so that no driver's open runs and
// nothing blocks.
std::optional<QByteArray> readPlayable(const QString &fileName);

// For playable `bytes`, a plain file of the same sound: the "fmt " chunk and
// the data chunk's whole frames only. Nothing for any other bytes.
std::optional<QByteArray> playableCopy(const QByteArray &bytes);

} // namespace wavcheck

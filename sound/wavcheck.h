#pragma once

class QIODevice;
class QString;

namespace wavcheck {

// True when `device` holds a RIFF/WAVE file the sound player can take
// without getting stuck or crashing: an integer PCM "fmt " chunk (8, 16, 24
// or 32 bits, one to eight channels, 1,000 to 384,000 samples a second)
// followed by a non-empty "data" chunk that lies wholly within the file.
// Only chunk headers are read; the device must be seekable.
bool isPlayable(QIODevice &device);

// The same for the file at `fileName`, which is opened only when it is a
// regular file: a FIFO would block the open for good.
bool isPlayableFile(const QString &fileName);

} // namespace wavcheck

#pragma once

class QIODevice;

namespace wavcheck {

// True when `device` holds a RIFF/WAVE file the sound player can take
// without getting stuck: an uncompressed PCM "fmt " chunk (8 or 16 bits,
// one or two channels) followed by a non-empty "data" chunk that lies wholly
// within the file. Only chunk headers are read; the device must be seekable.
bool isPlayable(QIODevice &device);

} // namespace wavcheck

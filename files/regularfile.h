#pragma once

#include <QByteArray>

#include <optional>

class QString;

namespace files {

// At most `maxBytes` of a regular file; `cut` tells whether there was more.
struct Front
{
    QByteArray bytes;
    bool cut = false;
};

// Reads the file that the descriptor `fd` holds open, when it is a regular
// file; closes it in any case. The descriptor may have been opened without
// waiting (O_NONBLOCK): should a FIFO or device have taken the file's place,
// the open returned and this turns it away before reading.
std::optional<Front> readOpened(int fd, qint64 maxBytes);

// The regular file at `path` (symbolic links followed), as readOpened() reads
// it. Nothing is read from a FIFO, a device or /proc: they are turned away
// after an open that does not wait, so nothing blocks on them or reads
// without end.
std::optional<Front> read(const QString &path, qint64 maxBytes);

} // namespace files

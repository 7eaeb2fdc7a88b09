#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO that notices being opened for reading. A reader that opens it
// blocks until a writer comes; the watcher comes as that writer and leaves
// at once, so the reader sees an empty file instead of hanging the test, and
// wasOpened() tells that it tried. The FIFO goes with the object.
class WatchedFifo
{
public:
    explicit WatchedFifo(const QString &path)
        : m_path(QFile::encodeName(path))
        , m_made(::mkfifo(m_path.constData(), 0644) == 0)
        , m_watcher([this] { watch(); })
    {}
    ~WatchedFifo()
    {
        m_stop = true;
        m_watcher.join();
        if (m_made)
            ::unlink(m_path.constData());
    }
    WatchedFifo(const WatchedFifo &) = delete;
    WatchedFifo &operator=(const WatchedFifo &) = delete;

    bool isValid() const { return m_made; }
    bool wasOpened() const { return m_opened; }
    // Returns once the watcher has looked again from start to end after the
    // call: a reader that opened the FIFO before it is then seen, however
    // slow the machine.
    void waitForALook() const
    {
        const int from = m_looks;
        while (m_looks < from + 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

private:
    void watch()
    {
        while (!m_stop) {
            // Without a reader a non-blocking open for writing fails.
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_opened = true;
                ::close(fd);
            }
            ++m_looks;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    const QByteArray m_path;
    const bool m_made;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opened{false};
    std::atomic<int> m_looks{0};
    std::thread m_watcher;
};

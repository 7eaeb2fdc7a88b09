#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QList>

#include <algorithm>

// How long the calling thread was held up: wall time less the time it stood
// ready in the scheduler's queue (Linux's schedstat), so that a bound on it
// holds on a loaded machine as on a quiet one. Waits on other threads and
// on locks still count. Read and restarted on the thread that made it.
class ThreadTime
{
public:
    ThreadTime() { restart(); }

    qint64 elapsed() const { return std::max<qint64>(0, m_wall.elapsed() - (queuedNs() - m_queued) / 1000000); }

    qint64 restart()
    {
        const qint64 was = m_wall.isValid() ? elapsed() : 0;
        m_wall.start();
        m_queued = queuedNs();
        return was;
    }

private:
    static qint64 queuedNs()
    {
        QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
        if (!stat.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = stat.readAll().split(' ');
        return fields.size() > 1 ? fields.at(1).toLongLong() : 0;
    }

    QElapsedTimer m_wall;
    qint64 m_queued = 0;
};

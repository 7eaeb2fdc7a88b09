#include "bench/firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

namespace {

QByteArray peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0);
    }
    return "?";
}

struct Mark
{
    const char *name;
    double seconds;
};

std::vector<Mark> &marks()
{
    static std::vector<Mark> all;
    return all;
}

QByteArray markLine()
{
    QByteArray line = "marks";
    for (const Mark &mark : marks())
        line += ' ' + QByteArray(mark.name) + '=' + QByteArray::number(mark.seconds, 'f', 6);
    return line;
}

class FirstShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            markStartup("show");
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

// CLOCK_MONOTONIC, as Python's time.perf_counter() reads it on Linux.
void markStartup(const char *name)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    marks().push_back({name, double(now.tv_sec) + double(now.tv_nsec) / 1e9});
}

void markFirstShow()
{
    qApp->installEventFilter(new FirstShow(qApp));
}

FirstPaint::FirstPaint(QWidget *window, std::function<QByteArray()> probe)
    : QObject(window), m_window(window), m_probe(std::move(probe))
{
    window->installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Paint && !m_seen) {
        m_seen = true;
        markStartup("paint");
        const QByteArray probed = m_probe ? ' ' + m_probe() : QByteArray();
        // Report once the paint has been handled and flushed.
        QTimer::singleShot(0, qApp, [probed] {
            markStartup("painted");
            std::printf("painted %s%s\n%s\n", peakResidentKb().constData(), probed.constData(), markLine().constData());
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return false;
}

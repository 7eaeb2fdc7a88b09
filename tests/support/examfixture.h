#pragma once

// An exam window, shown, on a clock the test sets and a sound control that
// records its commands; its controls found by their names.

#include "exam/examwindow.h"
#include "support/examcontrols.h"
#include "support/recordingmedia.h"
#include "support/testtime.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

class ExamFixture
{
public:
    ExamFixture() = default;
    ExamFixture(const ExamFixture &) = delete;
    ExamFixture &operator=(const ExamFixture &) = delete;
    ~ExamFixture() { close(); }

    // A fresh window at 10:15:42; false if it never showed.
    [[nodiscard]] bool open()
    {
        close();
        now = at("2026-03-02T10:15:42.000");
        media.log.clear();
        window = new ExamWindow([this] { return now; }, &media);
        window->show();
        return QTest::qWaitForWindowExposed(window);
    }
    void close()
    {
        delete window;
        window = nullptr;
    }

    template<typename T = QWidget>
    T *find(const QString &name) const
    {
        return examcontrols::find<T>(window, name);
    }
    QCheckBox *box(int group, int choice) const { return examcontrols::box(window, group, choice); }
    QLabel *mark(int group) const { return examcontrols::mark(window, group); }
    void tick(int group, int choice) { examcontrols::tickBox(window, group, choice); }
    void click(const QString &button) { examcontrols::click(window, button); }
    QTimer *timer() const { return find<QTimer>(QStringLiteral("tmr時間")); }
    QString display() const { return find<QLabel>(QStringLiteral("lbl秒"))->text(); }
    // A timer tick at `time`, delivered the way the timer does.
    void tickAt(const QDateTime &time)
    {
        now = time;
        QVERIFY(timer()->isActive());
        QMetaObject::invokeMethod(timer(), "timeout");
    }

    QDateTime now;
    RecordingMedia media;
    ExamWindow *window = nullptr;
};

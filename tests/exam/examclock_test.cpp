#include "exam/appfolder.h"
#include "exam/examwindow.h"
#include "widgets/tabpages.h"
#include "document/documentview.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/examcontrols.h"
#include "support/recordingmedia.h"
#include "support/testtime.h"
#include "support/testmain.h"

class ExamClockTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void start_showsOneHourAndClearsOnlyResults();
    void ticks_dropDisplayAtMinuteBoundaries();
    void timeUp_stopsAtZeroAndPlaysCueOnce();
    void timedOut_keepsStartDisabledAndBoxesUsable();
    void score_whileRunning_stopsWithoutCue();
    void nextStart_showsFullHourAgain();
    void announcements_sayWhatChanged_data();
    void announcements_sayWhatChanged();

private:
    template<typename T>
    T *find(const QString &name) const { return examcontrols::find<T>(m_window, name); }
    QPushButton *startButton() const { return find<QPushButton>(QStringLiteral("cmdスタート")); }
    QTimer *timer() const { return find<QTimer>(QStringLiteral("tmr時間")); }
    QString display() const { return find<QLabel>(QStringLiteral("lbl秒"))->text(); }
    QCheckBox *box(int group, int choice) const { return examcontrols::box(m_window, group, choice); }
    QLabel *mark(int group) const { return examcontrols::mark(m_window, group); }
    void tickBox(int group, int choice) { examcontrols::tickBox(m_window, group, choice); }
    void clickStart() { QTest::mouseClick(startButton(), Qt::LeftButton); }
    void clickScore() { QTest::mouseClick(find<QPushButton>(QStringLiteral("cmd得点")), Qt::LeftButton); }
    // A timer tick at the given time of day, delivered the way the timer does.
    void tickAt(const QDateTime &now)
    {
        m_now = now;
        QVERIFY(timer()->isActive());
        QMetaObject::invokeMethod(timer(), "timeout");
    }
    // One tick a second until the display reads `text`.
    void tickUntil(const QString &text);
    QStringList cueOpening() const
    {
        return {QStringLiteral("file ") + AppFolderPath() + QStringLiteral("Zarod.wav"),
                QStringLiteral("Open")};
    }

    QDateTime m_now;
    RecordingMedia m_media;
    ExamWindow *m_window = nullptr;
};

void ExamClockTest::init()
{
    m_now = at("2026-03-02T10:15:42.000");
    m_media.log.clear();
    m_window = new ExamWindow([this] { return m_now; }, &m_media);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void ExamClockTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}


void ExamClockTest::tickUntil(const QString &text)
{
    for (int i = 0; i < 4 * 3600 && display() != text; ++i)
        tickAt(m_now.addSecs(1));
    QCOMPARE(display(), text);
}

void ExamClockTest::start_showsOneHourAndClearsOnlyResults()
{
    tickBox(1, 3); // right
    tickBox(2, 1);
    clickScore();
    QVERIFY(!mark(1)->isHidden());
    QVERIFY(!m_window->scoreText().isEmpty());

    clickStart();
    QCOMPARE(display(), QStringLiteral("1:00"));
    QVERIFY(timer()->isActive());
    QVERIFY(!startButton()->isEnabled());
    QVERIFY(m_window->scoreText().isEmpty());
    for (int g = 1; g <= 27; ++g)
        QVERIFY2(mark(g)->isHidden(), qPrintable(QString::number(g)));
    QVERIFY(box(1, 3)->isChecked());
    QVERIFY(box(2, 1)->isChecked());
    QVERIFY(m_media.log.isEmpty()); // nothing is opened before the first tick
}

void ExamClockTest::ticks_dropDisplayAtMinuteBoundaries()
{
    clickStart();
    tickAt(at("2026-03-02T10:15:43.000"));
    QCOMPARE(display(), QStringLiteral("1:00"));
    tickAt(at("2026-03-02T10:16:00.000"));
    QCOMPARE(display(), QStringLiteral("0:59"));
    tickAt(at("2026-03-02T10:16:00.700")); // a second tick in the same second 0
    QCOMPARE(display(), QStringLiteral("0:59"));
    tickAt(at("2026-03-02T10:21:00.500")); // the machine stalled for five minutes
    QCOMPARE(display(), QStringLiteral("0:54"));
    QCOMPARE(m_media.log, cueOpening() + cueOpening() + cueOpening() + cueOpening());
}

void ExamClockTest::timeUp_stopsAtZeroAndPlaysCueOnce()
{
    clickStart();
    tickUntil(QStringLiteral("0:01"));
    QCOMPARE(m_now, at("2026-03-02T11:14:00.000"));
    m_media.log.clear();

    tickUntil(QStringLiteral("0:00"));
    QCOMPARE(m_now, at("2026-03-02T11:15:00.000"));
    QVERIFY(!timer()->isActive());
    QVERIFY(!startButton()->isEnabled());
    const QStringList lastTick = cueOpening() + QStringList{QStringLiteral("Prev"), QStringLiteral("Play")};
    QCOMPARE(m_media.log.mid(m_media.log.size() - lastTick.size()), lastTick);
    QCOMPARE(m_media.log.count(QStringLiteral("Play")), 1);
    QCOMPARE(m_media.log.count(QStringLiteral("Open")), 60); // 11:14:01 .. 11:15:00

    m_media.log.clear();
    clickScore();
    QVERIFY(display().isEmpty());
    QVERIFY(startButton()->isEnabled());
    QVERIFY(m_media.log.isEmpty());
}

void ExamClockTest::timedOut_keepsStartDisabledAndBoxesUsable()
{
    clickStart();
    tickAt(at("2026-03-02T12:00:00.000")); // one long stall past the end
    QCOMPARE(display(), QStringLiteral("0:00"));
    QVERIFY(!timer()->isActive());
    clickStart();
    QVERIFY(!startButton()->isEnabled());
    QCOMPARE(display(), QStringLiteral("0:00"));

    tickBox(5, 2);
    QVERIFY(box(5, 2)->isChecked());
    clickScore();
    QVERIFY(startButton()->isEnabled());
    QVERIFY(display().isEmpty());
    QCOMPARE(m_media.log.count(QStringLiteral("Play")), 1);
}

void ExamClockTest::score_whileRunning_stopsWithoutCue()
{
    clickStart();
    tickAt(at("2026-03-02T10:16:00.200"));
    clickScore();
    QVERIFY(!timer()->isActive());
    QVERIFY(display().isEmpty());
    QVERIFY(startButton()->isEnabled());
    QCOMPARE(m_media.log, cueOpening());
}

void ExamClockTest::nextStart_showsFullHourAgain()
{
    clickStart();
    tickAt(at("2026-03-02T10:30:00.000"));
    QCOMPARE(display(), QStringLiteral("0:45"));
    clickScore();
    m_now = at("2026-03-02T10:30:10.000");
    clickStart();
    QCOMPARE(display(), QStringLiteral("1:00"));
    tickAt(at("2026-03-02T10:31:00.000"));
    QCOMPARE(display(), QStringLiteral("0:59"));
}

void ExamClockTest::announcements_sayWhatChanged_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("then"); // a control pressed after the minutes
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("onCtrlT");
    const QString noScore = QStringLiteral("まだ採点していません。得点を押すと採点します");
    QTest::newRow("start") << 0 << "" << "開始 残り時間 60 分" << "残り時間 60 分";
    QTest::newRow("eleven left: nothing new")
        << 49 << "" << "開始 残り時間 60 分" << "残り時間 11 分";
    QTest::newRow("ten left") << 50 << "" << "残り 10 分" << "残り時間 10 分";
    QTest::newRow("five left") << 55 << "" << "残り 5 分" << "残り時間 5 分";
    QTest::newRow("time up: the boxes stay open")
        << 60 << "" << "時間です。終了です。解答はまだ変えられます" << "時間切れです";
    QTest::newRow("score stops the clock")
        << 10 << "cmd得点" << "得点 0 点 27 問中 0 問正解。時間を止めました" << "時間は計っていません";
    QTest::newRow("score after time-up stops nothing")
        << 60 << "cmd得点" << "得点 0 点 27 問中 0 問正解" << "時間は計っていません";
    QTest::newRow("pass rate before marking") << 1 << "cmd合格率" << noScore << "残り時間 59 分";
    QTest::newRow("pass rate after marking")
        << 1 << "cmd得点,cmd合格率" << "得点 0 点 27 問中 0 問正解。時間を止めました"
        << "時間は計っていません";
    QTest::newRow("a link swaps the page") << 1 << "Scriptlet1" << "ページが変わりました"
                                           << "残り時間 59 分";
}

// Said to a screen reader without moving the focus, minutes passing at once.
void ExamClockTest::announcements_sayWhatChanged()
{
    QFETCH(int, minutes);
    QFETCH(QString, then);
    QFETCH(QString, said);
    QFETCH(QString, onCtrlT);
    auto *announcer = find<QWidget>(QStringLiteral("announcer"));
    QTest::keyClick(m_window, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(announcer->accessibleName(), QStringLiteral("時間は計っていません"));
    clickStart();
    tickAt(m_now.addSecs(60 * minutes));
    for (const QString &name : then.split(u',', Qt::SkipEmptyParts)) {
        if (auto *pane = qobject_cast<DocumentView *>(find<QWidget>(name)))
            emit pane->pageFollowed(); // as a followed link tells it
        else
            QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton);
    }
    QCOMPARE(announcer->accessibleName(), said);
    QTest::keyClick(m_window, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(announcer->accessibleName(), onCtrlT);
}

VARDO_TEST_MAIN(ExamClockTest)

#include "examclock_test.moc"

// A long seeded session of random candidate actions against the real windows,
// checked after every action against a model written from the rules alone:
// its own copy of the key, its own minute count, its own score ladder.
//
//   randomsession_test -actions N -seed S
//   randomsession_test -minutes M -seed S
//
// CTest runs a short session; run the binary by hand for the long one. With
// -minutes it is a soak: it runs for M minutes of wall time, prints the
// memory in use at 1, 10, 30 minutes and every tenth minute, and fails when
// the peak still grows over the last two thirds of the run.

#include "app/startup.h"
#include "app/vardoapp.h"
#include "exam/examwindow.h"
#include "widgets/tabpages.h"
#include "support/examcontrols.h"
#include "support/recordingmedia.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include <array>
#include <deque>
#include <random>
#include <set>

namespace {

// The offscreen platform warns at every raise of a verdict or help window.
QtMessageHandler passOn = nullptr;
void dropRaiseWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != QLatin1String("This plugin does not support raise()"))
        passOn(type, context, message);
}

// Swallows an object's timer events: the session ticks the program's clock
// itself, by the model's time, never by the wall clock.
class TimerHeld : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::Timer; }
};

// Per answer group: boxes shown, choices examined, correct choice, points.
struct KeyRow
{
    int shown, examined, correct, points;
};
constexpr std::array<KeyRow, 27> key = {{
    {5, 5, 3, 4}, {5, 5, 4, 4}, {4, 4, 1, 4}, {5, 5, 3, 4}, {5, 5, 3, 4}, {5, 5, 3, 4}, {5, 5, 5, 3},
    {5, 5, 2, 3}, {4, 4, 1, 4}, {6, 5, 2, 4}, {5, 5, 5, 3}, {5, 5, 4, 3}, {4, 4, 1, 4}, {4, 4, 4, 3},
    {4, 4, 1, 3}, {4, 4, 3, 4}, {8, 8, 6, 3}, {6, 6, 4, 3}, {5, 5, 2, 4}, {5, 5, 2, 4}, {4, 4, 1, 4},
    {6, 6, 2, 4}, {4, 4, 2, 4}, {4, 4, 1, 4}, {4, 4, 3, 4}, {4, 4, 1, 4}, {5, 5, 3, 4},
}};

// Resident and peak resident memory of this process in KiB, as the kernel
// counts them; zeroes where there is no /proc.
struct Memory
{
    qint64 residentKb = 0;
    qint64 peakKb = 0;
};

Memory memoryInUse()
{
    QFile status(QStringLiteral("/proc/self/status"));
    Memory memory;
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return memory;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields[0] == "VmRSS:")
            memory.residentKb = fields[1].toLongLong();
        else if (fields.size() >= 2 && fields[0] == "VmHWM:")
            memory.peakKb = fields[1].toLongLong();
    }
    return memory;
}

const QString mainName = QStringLiteral("frmVardo");
const QString helpName = QStringLiteral("frmヘルプ");

QString passLineName(int band)
{
    return QStringLiteral("frm合格ライン%1").arg(band);
}

QString cueFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Zarod.wav");
}

// What the rules say the window shows.
struct Model
{
    std::array<std::array<bool, 8>, 27> ticked{};
    std::array<bool, 27> marked{};
    QString score;
    QString display;
    bool running = false;
    bool startEnabled = true;
    int remaining = 0;
    qint64 lastReadingMs = 0;
    std::set<QString> windows{mainName};
    int questionPage = 0;
    int answerPage = 0;
    QStringList media; // commands expected from the current action

    void start(qint64 nowMs)
    {
        running = true;
        remaining = 60;
        lastReadingMs = nowMs;
        display = clockText();
        startEnabled = false;
        score.clear();
        marked.fill(false);
    }

    // Each wall-clock minute boundary passed since the last reading counts once.
    void tick(qint64 nowMs)
    {
        int passed = 0;
        for (qint64 boundary = (lastReadingMs / 60000 + 1) * 60000; boundary <= nowMs; boundary += 60000)
            ++passed;
        lastReadingMs = nowMs;
        if (passed > 0 && remaining > 0) {
            remaining = std::max(0, remaining - passed);
            display = clockText();
        }
        media << QStringLiteral("file ") + cueFile() << QStringLiteral("Open");
        if (display == QLatin1String("0:00")) {
            running = false;
            media << QStringLiteral("Prev") << QStringLiteral("Play");
        }
    }

    void markPaper()
    {
        int total = 0;
        for (int g = 0; g < 27; ++g) {
            const KeyRow &row = key[g];
            int ticks = 0;
            for (int k = 1; k <= row.examined; ++k)
                ticks += ticked[g][k - 1];
            marked[g] = ticks == 1 && ticked[g][row.correct - 1];
            total += marked[g] ? row.points : 0;
        }
        running = false;
        startEnabled = true;
        display.clear();
        score = QString::number(total);
    }

    void judge()
    {
        if (score.isEmpty())
            return;
        const int s = score.toInt();
        const int band = s == 100 ? 1 : s >= 80 ? 2 : s >= 60 ? 3 : s >= 40 ? 4 : s >= 1 ? 5 : 6;
        windows.insert(passLineName(band));
    }

    QString clockText() const
    {
        return QString::number(remaining / 60) + u':' + QString::number(remaining % 60).rightJustified(2, u'0');
    }
};

} // namespace

class RandomSessionTest : public QObject
{
    Q_OBJECT

public:
    RandomSessionTest(int actions, int minutes, quint64 seed) : m_actions(actions), m_minutes(minutes), m_seed(seed) {}

private slots:
    void init();
    void cleanup();
    void randomActions_keepTheWindowTrueToTheRules();

private:
    enum class Action {
        Box,
        Answer,
        Erase,
        Tick,
        Start,
        Score,
        PassRate,
        QuestionTab,
        AnswerTab,
        About,
        CloseSecondary
    };

    int pick(int n) { return int(m_rng() % quint64(n)); }
    Action nextAction();
    qint64 nextStep();
    QString perform(Action action);
    QString mismatch() const;
    bool goOn(int action, qint64 elapsedMs) const;
    void reportMemory(qint64 elapsedMs, int actions);

    template<typename T>
    T *find(const QString &name) const
    {
        return examcontrols::find<T>(m_app->examWindow(), name);
    }
    QCheckBox *box(int group, int choice) const { return m_boxes[group - 1][choice - 1]; }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, widget->height() / 2)); }
    void clickTab(TabPages *tabs, int page)
    {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    }
    void openAnswerPage(int group)
    {
        if (m_model.answerPage != group - 1)
            clickTab(m_answerTabs, m_model.answerPage = group - 1);
    }

    const int m_actions;
    const int m_minutes; // a soak of this many minutes when above zero
    const quint64 m_seed;
    int m_minutesReported = 0;
    Memory m_atOneThird;
    std::mt19937_64 m_rng;
    int m_spell = 0;
    qint64 m_nowMs = 0;
    Model m_model;
    RecordingMedia m_media;
    VardoApp *m_app = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_score = nullptr;
    QPushButton *m_passRate = nullptr;
    QLabel *m_display = nullptr;
    QLabel *m_scoreLabel = nullptr;
    QTimer *m_timer = nullptr;
    TimerHeld m_clockHeld;
    TabPages *m_questionTabs = nullptr;
    TabPages *m_answerTabs = nullptr;
    std::array<QLabel *, 27> m_marks{};
    std::array<std::array<QCheckBox *, 8>, 27> m_boxes{};
};

void RandomSessionTest::init()
{
    passOn = qInstallMessageHandler(dropRaiseWarnings);
    m_rng.seed(m_seed);
    // 2026-03-02 10:15 UTC and a random part of a minute.
    m_nowMs = 1772446500000LL + pick(60000);
    m_model = Model{};
    m_media.log.clear();
    m_app = new VardoApp([this] { return QDateTime::fromMSecsSinceEpoch(m_nowMs, QTimeZone::utc()); }, &m_media);
    m_app->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_app->examWindow()));

    m_start = find<QPushButton>(QStringLiteral("cmdスタート"));
    m_score = find<QPushButton>(QStringLiteral("cmd得点"));
    m_passRate = find<QPushButton>(QStringLiteral("cmd合格率"));
    m_display = find<QLabel>(QStringLiteral("lbl秒"));
    m_scoreLabel = find<QLabel>(QStringLiteral("lbl得点"));
    m_timer = find<QTimer>(QStringLiteral("tmr時間"));
    m_timer->installEventFilter(&m_clockHeld);
    m_questionTabs = find<TabPages>(QStringLiteral("SSTab1"));
    m_answerTabs = find<TabPages>(QStringLiteral("SSTab2"));
    for (int g = 1; g <= 27; ++g) {
        m_marks[g - 1] = find<QLabel>(QStringLiteral("pctマル(%1)").arg(g));
        for (int k = 1; k <= key[g - 1].shown; ++k)
            m_boxes[g - 1][k - 1] = find<QCheckBox>(QStringLiteral("chkVardo%1(%2)").arg(g).arg(k));
    }
}

void RandomSessionTest::cleanup()
{
    delete m_app;
    m_app = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qInstallMessageHandler(passOn);
}

// Spells change between busy clicking about, sitting the paper (mostly
// waiting, so that attempts run out of time), answering rightly and rubbing
// answers out (so that full and empty papers come up too).
RandomSessionTest::Action RandomSessionTest::nextAction()
{
    if (pick(300) == 0)
        m_spell = pick(4);
    struct Weighted
    {
        Action action;
        int weight[4]; // busy, sitting, studious, erasing
    };
    static constexpr Weighted weights[] = {
        {Action::Box, {30, 8, 1, 1}},       {Action::Answer, {4, 4, 40, 0}},        {Action::Erase, {2, 0, 0, 40}},
        {Action::Tick, {20, 88, 10, 10}},   {Action::Start, {8, 2, 2, 2}},          {Action::Score, {10, 1, 12, 12}},
        {Action::PassRate, {8, 1, 12, 12}}, {Action::QuestionTab, {6, 0, 4, 4}},    {Action::AnswerTab, {6, 0, 4, 4}},
        {Action::About, {3, 0, 1, 1}},      {Action::CloseSecondary, {9, 0, 5, 5}},
    };
    int total = 0;
    for (const Weighted &w : weights)
        total += w.weight[m_spell];
    int roll = pick(total);
    for (const Weighted &w : weights) {
        roll -= w.weight[m_spell];
        if (roll < 0)
            return w.action;
    }
    return Action::Tick;
}

// How far the wall clock moves before a tick: mostly a second, sometimes a
// tick in second 0, two ticks in one second, or a machine that stalled.
qint64 RandomSessionTest::nextStep()
{
    switch (pick(20)) {
    case 0:
    case 1:
    case 2: return (60000 - m_nowMs % 60000) + pick(1000);
    case 3:
    case 4: return 50 + pick(350);
    case 5: return 2000 + pick(600000);
    case 6: return 60000 * (5 + pick(30)) + pick(60000);
    default: return 900 + pick(200);
    }
}

QString RandomSessionTest::perform(Action action)
{
    switch (action) {
    case Action::Box: {
        const int g = 1 + pick(27);
        const int k = 1 + pick(key[g - 1].shown);
        openAnswerPage(g);
        click(box(g, k));
        m_model.ticked[g - 1][k - 1] = !m_model.ticked[g - 1][k - 1];
        return QStringLiteral("box %1(%2)").arg(g).arg(k);
    }
    case Action::Answer: {
        // Ticks the right choice of one group and clears the others shown.
        const int g = 1 + pick(27);
        openAnswerPage(g);
        for (int k = 1; k <= key[g - 1].shown; ++k) {
            if (m_model.ticked[g - 1][k - 1] != (k == key[g - 1].correct)) {
                click(box(g, k));
                m_model.ticked[g - 1][k - 1] = !m_model.ticked[g - 1][k - 1];
            }
        }
        return QStringLiteral("answer %1").arg(g);
    }
    case Action::Erase: {
        const int g = 1 + pick(27);
        openAnswerPage(g);
        for (int k = 1; k <= key[g - 1].shown; ++k) {
            if (m_model.ticked[g - 1][k - 1]) {
                click(box(g, k));
                m_model.ticked[g - 1][k - 1] = false;
            }
        }
        return QStringLiteral("erase %1").arg(g);
    }
    case Action::Tick: {
        const qint64 step = nextStep();
        m_nowMs += step;
        if (m_model.running)
            m_model.tick(m_nowMs);
        // A stopped timer does not tick; time moves on all the same.
        if (m_timer->isActive())
            QMetaObject::invokeMethod(m_timer, "timeout");
        return QStringLiteral("tick +%1 ms").arg(step);
    }
    case Action::Start:
        click(m_start);
        if (m_model.startEnabled)
            m_model.start(m_nowMs);
        return QStringLiteral("Start");
    case Action::Score:
        click(m_score);
        m_model.markPaper();
        return QStringLiteral("Score");
    case Action::PassRate:
        click(m_passRate);
        m_model.judge();
        return QStringLiteral("Pass-rate");
    case Action::QuestionTab:
        m_model.questionPage = pick(12);
        clickTab(m_questionTabs, m_model.questionPage);
        return QStringLiteral("question tab %1").arg(m_model.questionPage);
    case Action::AnswerTab:
        m_model.answerPage = pick(27);
        clickTab(m_answerTabs, m_model.answerPage);
        return QStringLiteral("answer tab %1").arg(m_model.answerPage);
    case Action::About:
        find<QAction>(QStringLiteral("mnuAbout"))->trigger();
        m_model.windows.insert(helpName);
        return QStringLiteral("About");
    case Action::CloseSecondary: {
        if (m_model.windows.size() < 2)
            return QStringLiteral("close: none open");
        auto it = std::next(m_model.windows.begin(), pick(int(m_model.windows.size())));
        if (*it == mainName)
            return QStringLiteral("close: main window spared");
        const QString name = *it;
        QWidget *window = name == helpName ? m_app->helpWindow() : m_app->passLineWindow(name.right(1).toInt());
        if (!window)
            return QStringLiteral("close %1: not open").arg(name);
        window->close(); // as its close box does
        m_model.windows.erase(it);
        return QStringLiteral("close %1").arg(name);
    }
    }
    return {};
}

QString RandomSessionTest::mismatch() const
{
    auto differ = [](const char *what, const auto &seen, const auto &expected) {
        QString s;
        QDebug(&s) << what << "is" << seen << "but the rules say" << expected;
        return s;
    };
    if (m_scoreLabel->text() != m_model.score)
        return differ("score", m_scoreLabel->text(), m_model.score);
    if (m_display->text() != m_model.display)
        return differ("time display", m_display->text(), m_model.display);
    if (m_timer->isActive() != m_model.running)
        return differ("timer running", m_timer->isActive(), m_model.running);
    if (m_start->isEnabled() != m_model.startEnabled)
        return differ("Start enabled", m_start->isEnabled(), m_model.startEnabled);
    for (int g = 1; g <= 27; ++g) {
        if (!m_marks[g - 1]->isHidden() != m_model.marked[g - 1])
            return differ(qPrintable(QStringLiteral("mark %1 shown").arg(g)), !m_marks[g - 1]->isHidden(),
                          m_model.marked[g - 1]);
        for (int k = 1; k <= key[g - 1].shown; ++k) {
            if (box(g, k)->isChecked() != m_model.ticked[g - 1][k - 1])
                return differ(qPrintable(QStringLiteral("box %1(%2) ticked").arg(g).arg(k)), box(g, k)->isChecked(),
                              m_model.ticked[g - 1][k - 1]);
        }
    }
    if (m_questionTabs->currentIndex() != m_model.questionPage)
        return differ("question page", m_questionTabs->currentIndex(), m_model.questionPage);
    if (m_answerTabs->currentIndex() != m_model.answerPage)
        return differ("answer page", m_answerTabs->currentIndex(), m_model.answerPage);
    const QStringList open = examcontrols::openWindows();
    const QStringList expected(m_model.windows.begin(), m_model.windows.end());
    if (open != expected)
        return differ("open windows", open, expected);
    if (m_media.log != m_model.media)
        return differ("sound commands", m_media.log, m_model.media);
    return {};
}

bool RandomSessionTest::goOn(int action, qint64 elapsedMs) const
{
    return m_minutes > 0 ? elapsedMs < m_minutes * 60000LL : action <= m_actions;
}

void RandomSessionTest::reportMemory(qint64 elapsedMs, int actions)
{
    const int minute = int(elapsedMs / 60000);
    if (m_minutes <= 0 || minute <= m_minutesReported)
        return;
    m_minutesReported = minute;
    const Memory memory = memoryInUse();
    if (minute == 1 || minute % 10 == 0 || minute == m_minutes)
        qInfo("minute %d: %d actions, resident %.1f MB, peak %.1f MB", minute, actions, memory.residentKb / 1024.0,
              memory.peakKb / 1024.0);
    if (minute == std::max(1, m_minutes / 3))
        m_atOneThird = memory;
}

void RandomSessionTest::randomActions_keepTheWindowTrueToTheRules()
{
    QElapsedTimer clock;
    clock.start();
    std::deque<QString> recent;
    int timeUps = 0;
    int attempts = 0;
    std::set<QString> bandsSeen;
    int i = 1;
    for (; goOn(i, clock.elapsed()); ++i) {
        m_media.log.clear();
        m_model.media.clear();
        const bool wasRunning = m_model.running;
        const bool couldStart = m_model.startEnabled;
        const Action action = nextAction();
        recent.push_back(QStringLiteral("%1: %2").arg(i).arg(perform(action)));
        if (recent.size() > 12)
            recent.pop_front();
        // The program's posted work (repaints, deferred deletes), Qt's own
        // timers and the window system's events run as they would between
        // events; only the clock's timer is held (see init). Starved of them,
        // a soak would measure the test: under X11, unread replies and input
        // events pile up, and Qt's single-shot timers are never freed.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();

        attempts += action == Action::Start && couldStart;
        timeUps += wasRunning && m_model.display == QLatin1String("0:00") && !m_model.running;
        for (const QString &name : m_model.windows)
            bandsSeen.insert(name);

        const QString wrong = mismatch();
        if (!wrong.isEmpty()) {
            QStringList trail(recent.begin(), recent.end());
            QFAIL(qPrintable(QStringLiteral("seed %1, action %2: %3\nlast actions:\n  %4")
                                 .arg(m_seed)
                                 .arg(i)
                                 .arg(wrong, trail.join(QStringLiteral("\n  ")))));
        }
        reportMemory(clock.elapsed(), i);
    }
    const int performed = i - 1;
    const QStringList seen(bandsSeen.begin(), bandsSeen.end());
    qInfo("%d actions in %lld ms: %d attempts, %d timed out, windows seen: %s", performed, clock.elapsed(), attempts,
          timeUps, qPrintable(seen.join(u' ')));
    // Caches fill in the first minutes; after that the peak must hold still.
    if (m_minutes >= 3) {
        const qint64 growthKb = memoryInUse().peakKb - m_atOneThird.peakKb;
        QVERIFY2(growthKb < 2048,
                 qPrintable(QStringLiteral("peak grew %1 KiB after minute %2").arg(growthKb).arg(m_minutes / 3)));
    }
    // The session must have reached every corner it is meant to test.
    if (performed >= 5000) {
        QVERIFY(timeUps > 0);
        QCOMPARE(bandsSeen.size(), size_t(8));
    }

    find<QAction>(QStringLiteral("mnuExit"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_app->examWindow());
    QCOMPARE(examcontrols::openWindows(), QStringList());
}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    setUpProcess();
    QStringList args = application.arguments();
    int actions = 100000;
    int minutes = 0;
    quint64 seed = 20260302;
    for (const char *option : {"-actions", "-minutes", "-seed"}) {
        const qsizetype at = args.indexOf(QLatin1String(option));
        if (at > 0 && at + 1 < args.size()) {
            const QString value = args.takeAt(at + 1);
            args.removeAt(at);
            if (option == std::string_view("-actions"))
                actions = value.toInt();
            else if (option == std::string_view("-minutes"))
                minutes = value.toInt();
            else
                seed = value.toULongLong();
        }
    }
    // The long session outlasts the default five minutes a test may take.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "7200000");
    RandomSessionTest test(actions, minutes, seed);
    return QTest::qExec(&test, args);
}

#include "randomsession_test.moc"

// Preloaded into the installed program by exits-from-menu. Once the
// application exists it watches, every 100 ms, for the exam window
// (frmVardo) to show the paper in its document pane (Scriptlet1); then it
// prints "paper shown" and chooses Game > Exit (mnuExit), after which the
// program must end by itself. Without the paper within a minute it ends the
// program with status 3, without the Exit entry with status 4.
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>

namespace {

QWidget *shownExamWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == u"frmVardo" && window->isVisible())
            return window;
    }
    return nullptr;
}

// The shipped paper: its first answer group and, at its end, the link to
// the working. The paper's labels hold word joiners, which keep them on one
// line.
bool showsPaper(QString text)
{
    text.remove(QChar(0x2060));
    return text.contains(u"1-問1-1") && text.contains(u"解答と解説");
}

void fail(const QString &why, int status)
{
    std::printf("%s\n", qPrintable(why));
    std::fflush(stdout);
    QCoreApplication::exit(status);
}

void watch()
{
    auto *timer = new QTimer(QCoreApplication::instance());
    const QDeadlineTimer deadline(60 * 1000);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline] {
        QWidget *exam = shownExamWindow();
        const auto *pane = exam ? exam->findChild<QTextBrowser *>(QStringLiteral("Scriptlet1")) : nullptr;
        const QString text = pane ? pane->toPlainText() : QString();
        if (!showsPaper(text)) {
            if (deadline.hasExpired()) {
                timer->stop();
                fail(QStringLiteral("no paper within a minute; the pane shows: ") + text.left(200), 3);
            }
            return;
        }
        timer->stop();
        std::printf("paper shown\n");
        std::fflush(stdout);
        if (auto *exit = exam->findChild<QAction *>(QStringLiteral("mnuExit")))
            exit->trigger();
        else
            fail(QStringLiteral("no Exit entry (mnuExit)"), 4);
    });
    timer->start(100);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watch)

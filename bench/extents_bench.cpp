// What a magnifier, mouse review and flat review ask of the pane: the box
// of one character, of a range of 100, and of the whole page, as Qt's
// AT-SPI bridge works them out (a range is its characters' boxes joined).
//
//   extents_bench
//
// Three pages: the longest the pane keeps of Japanese paragraphs and of
// Latin ones (about 80 000 and 370 000 characters), lines of 6 000 runs of
// format, and one holding a fraction of two 20 000-digit numbers. Run with
// QT_QPA_PLATFORM=offscreen on a quiet machine.
#include "document/documentview.h"
#include "widgets/install.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

double timedMs(const std::function<void()> &ask)
{
    QElapsedTimer watch;
    watch.start();
    ask();
    return watch.nsecsElapsed() / 1e6;
}

QRect rangeExtents(QAccessibleTextInterface *text, int start, int end)
{
    QRect box = text->characterRect(start);
    for (int i = start + 1; i <= end; ++i)
        box |= text->characterRect(i);
    return box;
}

void measure(const char *what, const QString &path)
{
    DocumentView view;
    view.resize(520, 420);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return;
    if (!view.openFile(path, DocumentView::Wait::ForDocument))
        return;
    QTest::qWait(500); // the layout finished behind
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&view)->textInterface();
    const int count = text->characterCount(), middle = count / 2;
    std::printf("%s: %d characters\n", what, count);
    std::printf("  one character          %9.3f ms\n", timedMs([&] { text->characterRect(middle); }));
    std::printf("  a range of 100         %9.3f ms\n", timedMs([&] { rangeExtents(text, middle, middle + 100); }));
    std::printf("  the whole page         %9.3f ms\n", timedMs([&] { rangeExtents(text, 0, count); }));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    widgets::install();
    QTemporaryDir dir;
    const auto write = [&](const char *name, const QByteArray &html) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(html) != html.size())
            std::fprintf(stderr, "could not write %s\n", name);
        return file.fileName();
    };
    const QByteArray line = "<p>" + QByteArray("物体の運動について次の問に答えよ。").repeated(20) + "</p>\n";
    measure("plain page", write("plain.html", line.repeated(800)));
    // Latin text costs the pane least a letter, so its longest page is the longest.
    const QByteArray latin =
        "<p>" + QByteArray("The motion of a body along a line, measured in metres. ").repeated(20) + "</p>\n";
    measure("latin page", write("latin.html", latin.repeated(800)));
    // Qt walks a line's runs of format for each caret asked.
    const QByteArray runs = QByteArray("<b>a</b>b").repeated(3000);
    measure("runs of format", write("runs.html", "<pre>" + runs + "\n" + runs + "</pre>"));
    const QByteArray digits = QByteArray("1234567890").repeated(2000);
    measure("long stretch", write("stretch.html", "<p>" + digits + "/" + digits + "</p>"));
    return 0;
}

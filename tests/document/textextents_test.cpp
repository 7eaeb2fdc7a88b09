#include "document/documentview.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QDebug>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include "support/testmain.h"

// Where a screen reader is told the pane's characters lie when the pane is
// scrolled, in a window with other controls below it: what shows in place,
// what is hidden off the screen, and a point answered with the character
// reported there. Orca's flat review reads each text it finds in the window
// at the place its characters are reported.
class TextExtentsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scrolled_hiddenTextOffScreenShownTextInPlace_data();
    void scrolled_hiddenTextOffScreenShownTextInPlace();

private:
    QAccessibleTextInterface *text() const { return QAccessible::queryAccessibleInterface(m_view)->textInterface(); }
    QRect viewport() const { return QRect(m_view->viewport()->mapToGlobal(QPoint(0, 0)), m_view->viewport()->size()); }

    QWidget *m_window = nullptr;
    DocumentView *m_view = nullptr;
};

void TextExtentsTest::init()
{
    // Screen space on every side of the window; controls below the pane,
    // as the answer rows lie below the paper.
    m_window = new QWidget;
    auto *layout = new QVBoxLayout(m_window);
    m_view = new DocumentView;
    layout->addWidget(m_view);
    auto *below = new QLabel(QStringLiteral("1-問1-1 の 1"));
    below->setMinimumHeight(150);
    layout->addWidget(below);
    m_window->setGeometry(120, 80, 520, 420);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TextExtentsTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
    m_view = nullptr;
    QVERIFY(DocumentJob::settle(5000));
}

namespace {

// The extents of a range as Qt's AT-SPI bridge gives them: the boxes of its
// characters joined, the character at `end` too.
QRect rangeExtents(QAccessibleTextInterface *text, int start, int end)
{
    QRect box = text->characterRect(start);
    for (int i = start + 1; i <= end; ++i)
        box |= text->characterRect(i);
    return box;
}

// Where Orca 43's flat review looks for the lines of a text in a window:
// it halves the text on the tops of single characters' extents, against
// the window's top for the first line, its bottom for the last.
std::pair<int, int> flatReviewSearch(QAccessibleTextInterface *text, const QRect &window)
{
    const auto halve = [text](int y) {
        int min = 0, max = text->characterCount(), mid = max / 2, old = -1;
        while (old != mid) {
            old = mid;
            (rangeExtents(text, mid, mid + 1).y() > y ? max : min) = mid;
            mid = (max - min) / 2 + min;
        }
        return std::pair{min, max};
    };
    return {halve(window.y()).first, halve(window.y() + window.height()).second};
}

// Where flat review then places a line: its range's extents, as Qt's bridge
// gives them, cut to the window, far edges counted in as Orca does.
QRect flatReviewZone(QAccessibleTextInterface *text, int start, int end, const QRect &window)
{
    const QRect range = rangeExtents(text, start, end);
    return range.isNull() ? QRect() : range.adjusted(0, 0, 1, 1) & window.adjusted(0, 0, 1, 1);
}

} // namespace

// Lines above, in and below the pane's view; a table wider than the pane,
// scrolled sideways too; a page that shows whole.
void TextExtentsTest::scrolled_hiddenTextOffScreenShownTextInPlace_data()
{
    QTest::addColumn<QString>("what"); // a path, or the HTML of a page
    QTest::addColumn<double>("down");  // how far scrolled, 0 to 1
    QTest::addColumn<double>("across");
    // The window at the screen's top, the view scrolled until the line
    // above it ends at its top: on the screen's edge.
    QTest::addColumn<bool>("onEdge");

    QString wide = QStringLiteral("<table width=\"1400\" border=\"1\">");
    for (int row = 0; row < 200; ++row)
        wide += QStringLiteral("<tr><td>行%1 左の欄</td><td>中ほどの欄</td><td>右の欄 %1</td></tr>").arg(row);
    wide += QStringLiteral("</table>");
    const QString paper = QStringLiteral(VARDO_SOURCE_DIR "/assets/00Vardo.tx");
    QTest::newRow("paper at the top") << paper << 0.0 << 0.0 << false;
    QTest::newRow("paper a little way down") << paper << 0.02 << 0.0 << false;
    QTest::newRow("paper in the middle") << paper << 0.5 << 0.0 << false;
    QTest::newRow("paper in the middle, on the screen's edge") << paper << 0.5 << 0.0 << true;
    QTest::newRow("paper at the end") << paper << 1.0 << 0.0 << false;
    QTest::newRow("wide table, scrolled both ways") << wide << 0.5 << 0.5 << false;
    const QString aligned = QStringLiteral("<p align=center>%1</p><p align=right>%1</p><p align=justify>%1</p>")
                                .arg(QStringLiteral("A line of the page, with spaces at its ends. ").repeated(6));
    QTest::newRow("lines aligned, past a range measured by letters") << aligned.repeated(12) << 0.4 << 0.0 << false;
    // Lines begin and end inside a pixel row (their height is no whole
    // number of pixels): a sliver of a line at the view's top is found
    // where it is said to be, wherever the view stops.
    const QString fractional = QStringLiteral("<p style=\"line-height:117%\">%1</p>")
                                   .arg(QStringLiteral("行の文字 9.8 m/s とその先。").repeated(120));
    for (const double at : {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8, 0.9})
        QTest::addRow("lines of a fractional height, %.0f%% down, on the screen's edge", at * 100)
            << fractional << at << 0.0 << true;
    QTest::newRow("a page shown whole") << QStringLiteral("<p>短い</p><p>ページ 9.8 m/s</p>") << 0.0 << 0.0 << false;
}

void TextExtentsTest::scrolled_hiddenTextOffScreenShownTextInPlace()
{
    QFETCH(QString, what);
    QFETCH(double, down);
    QFETCH(double, across);
    QFETCH(bool, onEdge);
    const QRect screen = m_view->screen()->virtualGeometry();
    if (onEdge) {
        m_window->move(m_window->x(), screen.top());
        QTRY_COMPARE(m_window->frameGeometry().top(), screen.top());
    }
    if (what.startsWith(u'/'))
        QVERIFY(m_view->openFile(what));
    else
        m_view->showPage(what);
    // The scroll range set for the text as laid out at last.
    const auto layout = m_view->document()->documentLayout();
    const auto range = [this, layout] {
        return std::max(0, qRound(layout->documentSize().height()) - m_view->viewport()->height());
    };
    QTRY_VERIFY(std::abs(m_view->verticalScrollBar()->maximum() - range()) <= 1);
    for (auto [bar, part] : {std::pair{m_view->verticalScrollBar(), down}, {m_view->horizontalScrollBar(), across}})
        bar->setValue(qRound(bar->maximum() * part));
    if (onEdge) { // scrolled back until the last character above the view ends at its top
        int above = 0;
        while (text()->characterRect(above + 1).bottom() < screen.top())
            ++above;
        QScrollBar *bar = m_view->verticalScrollBar();
        bar->setValue(bar->value() + text()->characterRect(above).bottom() + 1 - screen.top());
    }
    const QRect shown = viewport();
    QAccessibleTextInterface *text = this->text();
    const int count = text->characterCount();
    QVERIFY(count > 0);

    // Each character in the view or off the screen, and found again at
    // the middle of its box.
    for (int i = 0; i < count; ++i) {
        const QRect box = text->characterRect(i);
        QString said;
        QDebug(&said) << i << text->text(i, i + 1) << box << "view" << shown;
        const QByteArray where = said.toUtf8();
        QVERIFY2(!box.intersects(screen) || shown.contains(box), where);
        // A break or a sign read between table cells has only the caret's place.
        if (box.width() <= 1 || text->text(i, i + 1).trimmed().isEmpty())
            continue;
        const int found = text->offsetAtPoint(box.center());
        QVERIFY2(found >= 0 && text->characterRect(found) == box, where + " found " + QByteArray::number(found));
    }

    // A reader's calls, one character each, are each answered alone, past
    // any length of run; a range asked in one call, as Qt's bridge asks a
    // whole page, has the box of those characters joined.
    QList<QRect> alone(count);
    QRect each;
    for (int i = 0; i < count; ++i) {
        each |= alone[i] = text->characterRect(i);
        QCoreApplication::processEvents();
    }
    for (int i = count - 1; i >= 0; --i)
        QCOMPARE(alone.at(i), text->characterRect(i));
    QCOMPARE(rangeExtents(text, 0, count - 1), each);

    // Each point of the view on a character answers with one reported there.
    int first = count, last = -1;
    for (int y = shown.top(); y <= shown.bottom(); y += 3) {
        for (int x = shown.left(); x <= shown.right(); x += 3) {
            const int found = text->offsetAtPoint({x, y});
            if (found < 0)
                continue;
            QVERIFY2(text->characterRect(found).contains(QPoint(x, y)),
                     qPrintable(QStringLiteral("(%1, %2): offset %3").arg(x).arg(y).arg(found)));
            first = std::min(first, found);
            last = std::max(last, found);
        }
    }
    QVERIFY2(last >= 0, "no character shows");
    // Nor does the screen around the view answer with one.
    for (QPoint beside :
         {shown.topLeft() - QPoint(1, 1), shown.bottomLeft() + QPoint(10, 20), shown.topRight() + QPoint(5, 5)})
        QCOMPARE(text->offsetAtPoint(beside), -1);

    // Flat review finds the lines shown.
    const QRect window = m_window->frameGeometry();
    const auto [from, to] = flatReviewSearch(text, window);
    QVERIFY2(from <= first && last < to,
             qPrintable(QStringLiteral("searched %1 to %2, shown %3 to %4").arg(from).arg(to).arg(first).arg(last)));

    // And places in the window only lines that show, each inside the view:
    // not a hidden line at the window's top, nor a shown one stretched down
    // over the controls below.
    for (int at = from; at < std::min(to, count);) {
        int start = 0, end = 0;
        const QString line = text->textAtOffset(at, QAccessible::LineBoundary, &start, &end);
        at = std::max(end, at + 1);
        const QRect zone = flatReviewZone(text, start, end, window);
        if (zone.isEmpty())
            continue;
        bool shows = false; // a character at the view's edge may be a point there
        for (int i = start; i < end && !shows; ++i) {
            const QRect box = text->characterRect(i);
            shows = box.intersects(shown) || (box.isNull() && shown.contains(box.topLeft()));
        }
        QString said;
        QDebug(&said) << start << end << line.left(30) << "placed" << zone << "view" << shown;
        QVERIFY2(shows, qPrintable(QStringLiteral("hidden line ") + said));
        QVERIFY2(zone.top() >= shown.top() && zone.bottom() <= shown.bottom() + 1,
                 qPrintable(QStringLiteral("outside the view ") + said));
    }
}

VARDO_TEST_MAIN(TextExtentsTest)
#include "textextents_test.moc"

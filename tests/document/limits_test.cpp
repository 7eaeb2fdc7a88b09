#include "document/documentjob.h"
#include "markup/htmlguard.h"
#include "markup/limits.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>

#include "support/testpictures.h"
#include "support/testmain.h"

// Every limit in DocumentLimits, at its bound and one past it: at the bound
// the document is shown whole, one past it the limit acts.
class LimitsTest : public QObject
{
    Q_OBJECT

private slots:
    void limit_holdsAtItsBoundAndActsPastIt_data();
    void limit_holdsAtItsBoundAndActsPastIt();
    void pictureBudget_keepsTheFirstPicturesEveryTime();
    void tableCells_countedAsQtMakesThem_data();
    void tableCells_countedAsQtMakesThem();
};

namespace {

using L = DocumentLimits;

using testfiles::write;
using testfiles::png;

// What documentclean's cost() gives a paragraph of n Latin letters.
qint64 paragraphCost(qint64 n)
{
    return n + 31 + (n + 1) * (n + 1) / 20000;
}

// Paragraphs of plain Latin text costing exactly `cost` in all.
QByteArray plainOfCost(qint64 cost)
{
    QByteArray html;
    const auto paragraph = [&html, &cost](qint64 n) {
        html += "<p>" + QByteArray(n, 'x') + "</p>";
        cost -= paragraphCost(n);
    };
    while (cost > 600)
        paragraph(179);
    for (qint64 first = 1; first < 300; ++first) {
        for (qint64 n = 1; n < 300; ++n) {
            if (paragraphCost(first) + paragraphCost(n) == cost) {
                paragraph(first);
                paragraph(n);
                return html;
            }
        }
    }
    return QByteArray();
}

// `count` simple selectors in a <style>, and paragraphs enough that the
// sheet's matches come to `count` * 500.
QByteArray styledOf(int count)
{
    QByteArray sheet = "p { color: #ff0000 }";
    for (int i = 1; i < count; ++i)
        sheet += " .s" + QByteArray::number(i) + " {}";
    return "<style>" + sheet + "</style>" + QByteArray("<p>x</p>").repeated(499);
}

QByteArray fontsOf(int count)
{
    QByteArray html;
    for (int i = 0; i < count; ++i)
        html += "<span style=\"font-family:F" + QByteArray::number(i) + "\">x</span>";
    return html;
}

QTextCharFormat lastFormat(const QTextDocument &document)
{
    QTextBlock block = document.lastBlock();
    while (block.isValid() && block.length() <= 1)
        block = block.previous();
    QTextCharFormat format;
    for (auto it = block.begin(); block.isValid() && !it.atEnd(); ++it)
        format = it.fragment().charFormat();
    return format;
}

} // namespace

// clang-format off
void LimitsTest::limit_holdsAtItsBoundAndActsPastIt_data()
{
    QTest::addColumn<QByteArray>("atBound");
    QTest::addColumn<QByteArray>("pastBound");
    QTest::addColumn<QString>("effect");

    // The markup guard's own, read from the text.
    QTest::newRow("tags") << QByteArray("<br>").repeated(L::tags) << QByteArray("<br>").repeated(L::tags + 1)
                          << "guard";
    QTest::newRow("depth") << QByteArray("<div>").repeated(L::depth) << QByteArray("<div>").repeated(L::depth + 1)
                           << "guard";
    QTest::newRow("table depth") << QByteArray("<table><tr><td>").repeated(L::tableDepth)
                                 << QByteArray("<table><tr><td>").repeated(L::tableDepth + 1) << "guard";
    QTest::newRow("paragraph characters")
        << QByteArray(L::paragraphChars, 'x') << QByteArray(L::paragraphChars + 1, 'x') << "guard";
    QByteArray anchors;
    for (int i = 0; i <= L::formats; ++i)
        anchors += "<a name=\"a" + QByteArray::number(i) + "\">x</a>";
    QTest::newRow("formats") << anchors.left(anchors.lastIndexOf("<a ")) << anchors << "guard";
    const QByteArray declarations =
        QByteArray("<b style=\"color:red;margin:0\">x</b>").repeated(L::styleDeclarations / 2);
    QTest::newRow("style declarations") << declarations << declarations + "<i style=\"color:red\">y</i>" << "guard";
    static_assert(L::tableCells == 10 * 20000);
    const QByteArray wide = "<table><tr>" + QByteArray("<td colspan=20000>x</td>").repeated(10);
    QTest::newRow("table cells") << wide << wide + "<td>x</td>" << "guard";
    // A thousand pictures in one paragraph after letters, and more letters
    // before the last: every picture reaches back over the letters before
    // it and the pictures before it, weighed.
    const auto pictures = [](qint64 reach) {
        const qint64 n = 1000, alone = L::pictureWeight * n * (n - 1) / 2, t = (reach - alone) / n;
        const QByteArray img = "<img src=\"c.png\">";
        return "<p>" + QByteArray(t, 'x') + img.repeated(n - 1) + QByteArray(reach - alone - n * t, 'x') + img;
    };
    QTest::newRow("picture reach") << pictures(L::pictureReach) << pictures(L::pictureReach + 1) << "guard";
    // What the pane makes of it.
    const QByteArray commented = "<p>x</p><!--" + QByteArray(L::documentBytes - 15, ' ') + "-->";
    QTest::newRow("document bytes") << commented << commented + ' ' << "cut";
    QTest::newRow("layout cost") << plainOfCost(L::layoutCost) << plainOfCost(L::layoutCost + 1) << "cut";
    static_assert(L::styleMatches % 500 == 0);
    QTest::newRow("style matches") << styledOf(L::styleMatches / 500) << styledOf(L::styleMatches / 500 + 1)
                                   << "unstyled";
    const QByteArray link =
        "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"sheet.css\"></head><body><p>x</p></body></html>";
    QTest::newRow("style sheet bytes") << link << link + "<!-- a sheet one byte longer -->" << "unstyled";
    QTest::newRow("fonts") << fontsOf(L::fonts) << fontsOf(L::fonts + 1) << "font";
    QTest::newRow("tool tip characters") << "<p><span title=\"" + QByteArray(L::toolTipChars, 't') + "\">x</span></p>"
                                         << "<p><span title=\"" + QByteArray(L::toolTipChars + 1, 't')
            + "\">x</span></p>" << "tooltip";
    const int side = L::pictureSide;
    QTest::newRow("picture side")
        << QByteArray("<img src=\"a.png\" width=%1 height=1>").replace("%1", QByteArray::number(side))
        << QByteArray("<img src=\"a.png\" width=%1 height=1>").replace("%1", QByteArray::number(side + 1)) << "side";
    const QByteArray twoShown = "<img src=\"a.png\" width=2000 height=2000><img src=\"b.png\" width=2000 height=2000>";
    static_assert(L::shownPixels == 2000 * 2000 * 2);
    QTest::newRow("shown pixels") << twoShown << twoShown + "<img src=\"c.png\" width=1 height=1>" << "picture";
    QTest::newRow("picture bytes") << QByteArray("<img src=\"full.png\">") << QByteArray("<img src=\"over.png\">")
                                   << "picture";
}
// clang-format on

void LimitsTest::limit_holdsAtItsBoundAndActsPastIt()
{
    QFETCH(QByteArray, atBound);
    QFETCH(QByteArray, pastBound);
    QFETCH(QString, effect);
    QTemporaryDir dir;
    // A sheet of exactly styleSheetBytes whose one rule ends on the last byte.
    QByteArray sheet = "p { color: #ff0000 }";
    sheet.prepend("/*" + QByteArray(L::styleSheetBytes - sheet.size() - 4, '.') + "*/");
    QVERIFY(write(dir.filePath(QStringLiteral("sheet.css")), sheet));
    QVERIFY(write(dir.filePath(QStringLiteral("a.png")), png(QSize(2000, 2001), QImage::Format_Grayscale8)));
    QVERIFY(write(dir.filePath(QStringLiteral("b.png")), png(QSize(2000, 2001), QImage::Format_Grayscale8)));
    QVERIFY(write(dir.filePath(QStringLiteral("c.png")), png(QSize(1, 1))));
    QByteArray full = png(QSize(2, 2));
    full.append(QByteArray(L::pictureBytes - full.size(), '\0')); // after the end, the reader stops
    QVERIFY(write(dir.filePath(QStringLiteral("full.png")), full));
    QVERIFY(write(dir.filePath(QStringLiteral("over.png")), full + '\0'));

    for (const bool past : {false, true}) {
        QByteArray html = past ? pastBound : atBound;
        if (effect == u"unstyled" && past && html.contains("one byte longer"))
            QVERIFY(write(dir.filePath(QStringLiteral("sheet.css")), " " + sheet));
        const QString path = dir.filePath(QStringLiteral("page.html"));
        QVERIFY(write(path, html));
        if (effect == u"guard") {
            QCOMPARE(!htmlguard::problem(QString::fromLatin1(html)).isEmpty(), past);
            continue;
        }
        DocumentJob job({ResourceGate::forFile(path), QFont(), 1});
        QVERIFY(job.wait(60000));
        DocumentJob::Result result = job.take();
        const bool refused = result.kind == DocumentJob::Result::Kind::Refused;
        QTextDocument *document = result.document.get();
        QVERIFY2(refused || document, QTest::currentDataTag());
        bool acted = false;
        if (refused) {
            QFAIL(qPrintable(result.reason));
        } else if (effect == u"cut") {
            acted = document->toPlainText().startsWith(QStringLiteral("この文書は"));
        } else if (effect == u"unstyled") {
            acted = document->begin().charFormat().foreground().color() != QColor(0xff, 0, 0)
                && lastFormat(*document).foreground().color() != QColor(0xff, 0, 0);
        } else if (effect == u"font") {
            acted = lastFormat(*document).fontFamilies().toStringList().isEmpty();
        } else if (effect == u"tooltip") {
            acted = !lastFormat(*document).toolTip().contains(QString(L::toolTipChars + past, u't'));
        } else if (effect == u"side") {
            acted = lastFormat(*document).toImageFormat().width() != (past ? L::pictureSide + 1 : L::pictureSide);
        } else if (effect == u"picture") {
            auto *confined = qobject_cast<ConfinedDocument *>(document);
            acted = confined->picture(lastFormat(*document).toImageFormat().name()) == ConfinedDocument::placeholder();
        }
        QVERIFY2(acted == past, past ? "past the bound, the limit did not act" : "at the bound, the limit acted");
    }
}

// The budget of shown pixels is spent in document order: opened again and
// again, the same document keeps the same pictures, its first ones.
void LimitsTest::pictureBudget_keepsTheFirstPicturesEveryTime()
{
    QTemporaryDir dir;
    QByteArray html;
    for (int i = 0; i < 12; ++i) {
        const QByteArray name = "p" + QByteArray::number(i) + ".png";
        QVERIFY(write(dir.filePath(QString::fromLatin1(name)), png(QSize(1000 + i, 1000), QImage::Format_Grayscale8)));
        html += "<img src=\"" + name + "\" width=1000 height=1000>";
    }
    const QString path = dir.filePath(QStringLiteral("page.html"));
    QVERIFY(write(path, html));
    for (int run = 0; run < 6; ++run) {
        DocumentJob job({ResourceGate::forFile(path), QFont(), 1});
        QVERIFY(job.wait(60000));
        DocumentJob::Result result = job.take();
        auto *document = qobject_cast<ConfinedDocument *>(result.document.get());
        QVERIFY(document);
        QString kept;
        QTextBlock block = document->begin();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
            kept += document->picture(format.name()) == ConfinedDocument::placeholder() ? u'-' : u'#';
        }
        QCOMPARE(kept, QStringLiteral("########----"));
    }
}

// The guard counts the places of each table's grid as Qt's reader makes
// them, spans and all, before it parses: each row's count is checked against
// the tables Qt builds of the same markup.
void LimitsTest::tableCells_countedAsQtMakesThem_data()
{
    QTest::addColumn<QString>("html");

    const auto row = [](const char *name, const char *html) { QTest::newRow(name) << QString::fromUtf8(html); };
    row("plain", "<table><tr><td>a<td>b</tr><tr><td>c<td>d</table>");
    row("a span over columns widens its row", "<table><tr><td colspan=3>a</tr><tr><td>b</table>");
    row("a span over rows moves the next row's cells on", "<table><tr><td rowspan=2>a<td>b</tr><tr><td>c<td>d</table>");
    row("rows spanned past the table's end move every later row on",
        "<table><tr><td rowspan=100000>a<td>b</tr><tr><td rowspan=100000>a<td>b</tr>"
        "<tr><td rowspan=100000>a<td>b</tr></table>");
    row("a wide first row widens every row", "<table><tr><td>a<td>b<td>c<td>d</tr><tr><td>e</tr><tr><td>f</table>");
    row("columns spanned past the reader's bound", "<table><tr><td colspan=100000>a</tr><tr><td>b</table>");
    row("spans spelled otherwise",
        "<table><tr><TD COLSPAN='2'>a<td colspan=\"&#51;\">b<th rowspan=\" 2 \">c</tr>"
        "<tr><td colspan=-4>d<td colspan=x>e<td rowspan=0>f</table>");
    row("an empty row and a cell closed at once", "<table><tr/><tr><td/><td>a</table>");
    row("tables inside cells", "<table><tr><td><table><tr><td colspan=5>a</table><td>b</tr></table>");
    row("a cell outside a table", "<td colspan=4>a</td><p>b</p><td>c");
    row("head and body rows", "<table><thead><tr><th colspan=2>h</thead><tbody><tr><td>a<td>b<td>c</tbody></table>");
}

void LimitsTest::tableCells_countedAsQtMakesThem()
{
    QFETCH(QString, html);
    QTextDocument document;
    document.setHtml(html);
    qint64 places = 0;
    QList<QTextFrame *> frames = document.rootFrame()->childFrames();
    while (!frames.isEmpty()) {
        QTextFrame *frame = frames.takeFirst();
        frames += frame->childFrames();
        if (auto *table = qobject_cast<QTextTable *>(frame))
            places += qint64(table->rows()) * table->columns();
    }
    QVERIFY(places > 0);

    QCOMPARE(htmlguard::check(html).tableCells, places);
}

VARDO_TEST_MAIN(LimitsTest)
#include "limits_test.moc"

#include "markup/htmlguard.h"


#include <QTest>

// The guard reads markup as Qt's HTML reader does, so each row is checked
// against what the reader builds: how many tags, how deep, how many tables
// inside each other, how long a paragraph.
class HtmlGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void problem_data();
    void problem();
};

namespace {

void row(const char *name, const QString &html, bool refused, const htmlguard::Limits &limits = {})
{
    QTest::newRow(name) << html << refused << limits.tags << limits.depth << limits.tableDepth
                        << limits.paragraphChars << limits.formats;
}

QString times(const char *piece, int count)
{
    return QString::fromUtf8(piece).repeated(count);
}

} // namespace

void HtmlGuardTest::problem_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("tags");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("tableDepth");
    QTest::addColumn<qsizetype>("paragraphChars");
    QTest::addColumn<int>("formats");

    const htmlguard::Limits oneTable{.tableDepth = 1};
    const htmlguard::Limits noTable{.tableDepth = 0};

    row("tables in sequence", times("<table><tr><td>x</td></tr></table>", 20), false, oneTable);
    row("tables nested to the limit", times("<table><tr><td>", 3), false, {.tableDepth = 3});
    row("tables nested past the limit", times("<table><tr><td>", 4), true, {.tableDepth = 3});
    row("an end tag closes what opened since",
        times("<table><tr><td><b><i>x</table>", 20), false, {.depth = 5, .tableDepth = 1});
    row("an end tag in capitals closes its element", times("<TABLE><tr><td>x</TaBle >", 20), false, oneTable);
    row("stray end tags close nothing", times("</table></td>", 50) + "<table><table>", true, oneTable);
    row("an unclosed end tag runs to the next >", "<table>x</table<table>y</table>", false, oneTable);
    row("a cell outside a table gets one", "<table><td>x", true, oneTable);
    row("a comment hides tags", "<!-- <table><table> -->x", false, noTable);
    row("one dash opens a comment", "<!-x <table> -->x", false, noTable);
    row("an unclosed comment runs to the end", "<p>a<!-- <table><table>", false, noTable);
    row("CDATA ends at the first >", "<![CDATA[<table>]]>", false, noTable);
    row("CDATA hides only up to its first >", "<![CDATA[<table><table><table>]]>", true, oneTable);
    row("an attribute holding <table", "<p title=\"<table><table>\">x</p>", false, noTable);
    row("an unquoted attribute stops at <", "<p title=a<table>x", false, noTable);
    row("a / in a quoted attribute", times("<table title=\"a/b\">", 2), true, oneTable);
    row("a / before > holds nothing", times("<table/>", 5), false, oneTable);
    row("upper case", "<TABLE><TR><TD><Table>", true, oneTable);
    row("white space after <", "< table>\n<\ttable>", true, oneTable);
    row("a line break after <", "<\ntable><\ntable>", true, oneTable);
    row("character references in a name", "<&#116;able><ta&#x62;le>", true, oneTable);
    row("a quoted name", "<\"table\"><'table'>", true, oneTable);
    row("NUL bytes", QStringLiteral("<p>a") + QChar(u'\0') + "b</p>", true);
    row("tags at the limit", times("<br>", 10), false, {.tags = 10});
    row("tags past the limit", times("<br>", 11), true, {.tags = 10});
    row("nesting at the limit", times("<div>", 5), false, {.depth = 5});
    row("nesting past the limit", times("<div>", 6), true, {.depth = 5});
    row("unknown elements nest", times("<input>", 6), true, {.depth = 5});
    row("a paragraph closes the one before", times("<p>x", 50), false, {.depth = 1});
    row("a list item behind inline text nests", times("<li><b>", 3), true, {.depth = 5});
    row("paragraph at the limit", times("x", 10), false, {.paragraphChars = 10});
    row("paragraph past the limit", times("x", 11), true, {.paragraphChars = 10});
    row("paragraphs split by a block", times("x", 10) + "<p>" + times("x", 10), false,
        {.paragraphChars = 10});
    QString anchors, sizes, nested;
    for (int i = 0; i < 4; ++i) {
        anchors += QStringLiteral("<a name=\"a%1\">x</a>").arg(i);
        sizes += QStringLiteral("<span style=\"font-size:%1pt\">x</span>").arg(9 + i);
        nested += QStringLiteral("<b><span class=\"c%1\">x</span></b><i>y</i>").arg(i % 2);
    }
    row("formats at the limit", anchors, false, {.formats = 4});
    row("anchors past the limit", anchors, true, {.formats = 3});
    row("font sizes past the limit", sizes, true, {.formats = 3});
    row("formats told apart by what lies around them", nested, true, {.formats = 2});
    row("a line break does not split", times("x", 6) + "<br>" + times("x", 5), true,
        {.paragraphChars = 10});
}

void HtmlGuardTest::problem()
{
    QFETCH(QString, html);
    QFETCH(bool, refused);
    QFETCH(int, tags);
    QFETCH(int, depth);
    QFETCH(int, tableDepth);
    QFETCH(qsizetype, paragraphChars);
    QFETCH(int, formats);

    const QString problem = htmlguard::problem(html, {tags, depth, tableDepth, paragraphChars, formats});

    QVERIFY2(problem.isEmpty() != refused, qPrintable(problem));
}

QTEST_GUILESS_MAIN(HtmlGuardTest)
#include "htmlguard_test.moc"

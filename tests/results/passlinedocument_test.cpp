#include "widgets/cellwidth.h"
#include "results/passlinedocument.h"

#include <QTest>

namespace {

constexpr int headerLines = 2;
constexpr int blockLines = 6;

// The cell at which `text` starts in `line`, or -1.
int cellOf(const QString &line, const QString &text)
{
    const qsizetype at = line.indexOf(text);
    return at < 0 ? -1 : cellwidth::of(QStringView(line).left(at));
}

bool onlyIdeographicSpaces(QStringView text)
{
    for (QChar c : text) {
        if (c != u'\u3000')
            return false;
    }
    return true;
}

} // namespace

class PassLineDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_lines = PassLineDocument().split(u'\n'); }
    void document_has128Lines();
    void texts_standAtTheirCells_data();
    void texts_standAtTheirCells();
    void header_isTheLongestLineEndingAtCell124();
    void everyBlock_hasTheSameSixLineShape();

private:
    QStringList block(int row) const { return m_lines.mid(headerLines + row * blockLines, blockLines); }
    QStringList m_lines;
};

void PassLineDocumentTest::document_has128Lines()
{
    QCOMPARE(m_lines.size(), 128);
    QVERIFY(m_lines.at(1).isEmpty());
    QVERIFY(m_lines.last().isEmpty());
}

// Lines counted from 1: the header, then a block of six lines per faculty
// from line 3. The university is named on its first faculty's block only.
void PassLineDocumentTest::texts_standAtTheirCells_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cell");
    QTest::addColumn<bool>("endsLine");
    const auto row = [](int line, const char *text, int cell, bool endsLine) {
        QTest::addRow("line %d: %s", line, text) << line << QString::fromUtf8(text) << cell << endsLine;
    };
    row(1, "旧帝国大学", 2, false);
    row(1, "学部名", 20, false);
    row(1, "受験科目", 38, false);
    row(1, "合格ライン（１科目平均）", 100, true);
    row(3, "北海道", 4, false); // 北海道, 法
    row(3, "法", 22, false);
    row(3, "国　―　国語Ⅰ・Ⅱ", 34, false);
    row(3, "８０．３％", 110, true);
    row(4, "地歴　―　世B、日B、地理Bから１つ", 34, true);
    row(5, "数　―　数ⅠAは必須、数ⅡB、工、簿、情報から１つ", 34, true);
    row(6, "理　―　物B、化B、生B、地学Bから１つ", 34, true);
    row(7, "外", 34, true);
    row(63, "工", 22, false); // 名古屋, 工: no university
    row(63, "８７．０％", 110, true);
    row(64, "地歴・公民　―　計９科目から１つ", 34, true);
    row(66, "理　―　総理、物B、化Bから１つ", 34, true);
    row(75, "京都", 4, false);             // after the third faculty
    row(87, "国　―　国語Ⅰ・Ⅱ", 34, false); // 京都, 医
    row(87, "９５．０％", 110, true);
}

void PassLineDocumentTest::texts_standAtTheirCells()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(int, cell);
    QFETCH(bool, endsLine);
    const QString shown = m_lines.at(line - 1);
    QCOMPARE(cellOf(shown, text), cell);
    QCOMPARE(shown.endsWith(text), endsLine);
    // Gaps are ideographic spaces only, never ASCII blanks.
    QVERIFY(!shown.contains(u' '));
}

void PassLineDocumentTest::header_isTheLongestLineEndingAtCell124()
{
    QCOMPARE(cellwidth::of(m_lines.first()), 124);
    for (const QString &line : m_lines)
        QVERIFY2(cellwidth::of(line) <= 124, qPrintable(line));
}

void PassLineDocumentTest::everyBlock_hasTheSameSixLineShape()
{
    for (int row = 0; row < 21; ++row) {
        const QStringList lines = block(row);
        const bool firstOfUniversity = row % 3 == 0;
        QCOMPARE(onlyIdeographicSpaces(QStringView(lines[0]).left(11)), !firstOfUniversity);
        QCOMPARE(cellwidth::of(lines[0]), 120);
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(onlyIdeographicSpaces(QStringView(lines[i]).left(17)));
            QVERIFY(!lines[i].at(17).isSpace());
        }
        for (int i = 1; i <= 3; ++i)
            QVERIFY(lines[i].contains(QStringLiteral("　―　")));
        QCOMPARE(lines[4].mid(17), QStringLiteral("外"));
        QVERIFY(lines[5].isEmpty());
    }
}

QTEST_APPLESS_MAIN(PassLineDocumentTest)
#include "passlinedocument_test.moc"

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
    void header_placesItsCellsOnTheGrid_data();
    void header_placesItsCellsOnTheGrid();
    void header_isTheLongestLineEndingAtCell124();
    void firstBlock_namesUniversityFacultyAndSubjects();
    void followingRow_leavesTheUniversityBlank();
    void passLine_keepsFullWidthCharacters();
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

void PassLineDocumentTest::header_placesItsCellsOnTheGrid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cell");
    QTest::newRow("university") << QStringLiteral("旧帝国大学") << 2;
    QTest::newRow("faculty") << QStringLiteral("学部名") << 20;
    QTest::newRow("subjects") << QStringLiteral("受験科目") << 38;
    QTest::newRow("pass line") << QStringLiteral("合格ライン（１科目平均）") << 100;
}

void PassLineDocumentTest::header_placesItsCellsOnTheGrid()
{
    QFETCH(QString, text);
    QFETCH(int, cell);
    const QString header = m_lines.first();
    QCOMPARE(cellOf(header, text), cell);
    // Gaps are ideographic spaces only, never ASCII blanks.
    QVERIFY(!header.contains(u' '));
}

void PassLineDocumentTest::header_isTheLongestLineEndingAtCell124()
{
    QCOMPARE(cellwidth::of(m_lines.first()), 124);
    for (const QString &line : m_lines)
        QVERIFY2(cellwidth::of(line) <= 124, qPrintable(line));
}

void PassLineDocumentTest::firstBlock_namesUniversityFacultyAndSubjects()
{
    const QStringList lines = block(0);
    QCOMPARE(cellOf(lines[0], QStringLiteral("北海道")), 4);
    QCOMPARE(cellOf(lines[0], QStringLiteral("法")), 22);
    QCOMPARE(cellOf(lines[0], QStringLiteral("国　―　国語Ⅰ・Ⅱ")), 34);
    QCOMPARE(cellOf(lines[0], QStringLiteral("８０．３％")), 110);
    QVERIFY(lines[0].endsWith(QStringLiteral("８０．３％")));
    QCOMPARE(lines[1], QString(17, u'\u3000') + QStringLiteral("地歴　―　世B、日B、地理Bから１つ"));
    QCOMPARE(lines[2], QString(17, u'\u3000')
                           + QStringLiteral("数　―　数ⅠAは必須、数ⅡB、工、簿、情報から１つ"));
    QCOMPARE(lines[3], QString(17, u'\u3000') + QStringLiteral("理　―　物B、化B、生B、地学Bから１つ"));
    QCOMPARE(lines[4], QString(17, u'\u3000') + QStringLiteral("外"));
    QVERIFY(lines[5].isEmpty());
}

void PassLineDocumentTest::followingRow_leavesTheUniversityBlank()
{
    // Row 11: 名古屋, 工 (the second faculty of the fourth university).
    const QStringList lines = block(10);
    QCOMPARE(lines[0].left(11), QString(11, u'\u3000'));
    QCOMPARE(cellOf(lines[0], QStringLiteral("工")), 22);
    QCOMPARE(cellOf(lines[0], QStringLiteral("８７．０％")), 110);
    QCOMPARE(cellOf(lines[1], QStringLiteral("地歴・公民　―　計９科目から１つ")), 34);
    QCOMPARE(lines[3].mid(17), QStringLiteral("理　―　総理、物B、化Bから１つ"));
    // The next university's name opens the block after the third faculty.
    QCOMPARE(cellOf(block(12)[0], QStringLiteral("京都")), 4);
}

void PassLineDocumentTest::passLine_keepsFullWidthCharacters()
{
    const QString line = block(14)[0]; // 京都, 医
    const QString expected = QString::fromUtf16(u"\uFF19\uFF15\uFF0E\uFF10\uFF05");
    QVERIFY(line.endsWith(expected));
    QVERIFY(line.contains(QString::fromUtf16(u"\u3000\u2015\u3000\u56FD\u8A9E\u2160\u30FB\u2161")));
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

#include "results/passlinedocument.h"

#include "widgets/cellwidth.h"

namespace {

struct PassLineRow
{
    const char16_t *university; // empty on the second and third faculty
    const char16_t *faculty;
    const char16_t *passLine;
    const char16_t *socialGroup;
    const char16_t *social;
    const char16_t *mathematics;
    const char16_t *science;
};

// university, faculty, pass line, social-studies group and requirement, mathematics, science
// clang-format off
constexpr PassLineRow rows[] = {
    {u"北海道", u"法", u"８０．３％", u"地歴", u"世B、日B、地理Bから１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"", u"工", u"８１．５％", u"地歴・公民", u"世B、日B、地理B、現社、政経、倫理から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"", u"医", u"９１．７％", u"地歴・公民", u"世B、日B、地理B、現社、政経、倫理から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、生Bから１つ、化B、地学Bから１つ"},
    {u"東北", u"法", u"８６．９％", u"地歴", u"世B、日B、地理Bから１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"", u"工", u"８５．０％", u"地歴・公民", u"計９科目から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"", u"医", u"９２．９％", u"地歴・公民", u"世B、日B、地理B、現社から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、生B、化Bから１つ"},
    {u"東京", u"法", u"９２．１％", u"地歴・公民", u"計９科目から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"", u"工", u"９２．５％", u"地歴・公民", u"計９科目から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"", u"医", u"９６．０％", u"地歴・公民", u"計９科目から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"名古屋", u"法", u"８５．５％", u"地歴・公民", u"世B、日B、地理B、現社、政経、倫理から１つ", u"数Ⅰ、数ⅠAから１つ、数ⅡB、工、簿、情報から１つ", u"総理、物B、化B、生B、地学Bから１つ"},
    {u"", u"工", u"８７．０％", u"地歴・公民", u"計９科目から１つ", u"数Ⅰ、数ⅠAから１つ、数ⅡB、工、簿、情報から１つ", u"総理、物B、化Bから１つ"},
    {u"", u"医", u"９３．４％", u"地歴・公民", u"世B、日B、地理B、現社、政経、倫理から１つ", u"数ⅠA必須、数ⅡB、工、簿、情報から１つ", u"総理、物B、化B、生Bから１つ"},
    {u"京都", u"法", u"８９．２％", u"地歴", u"世B、日B、地理Bから１つ", u"数ⅠA、数ⅡB", u"物B、化B"},
    {u"", u"工", u"８９．４％", u"地歴", u"世B、日B、地理Bから１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"", u"医", u"９５．０％", u"地歴・公民", u"世B、日B、地理A、地理B、現社、政経、倫理から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１"},
    {u"大阪", u"法", u"８８．１％", u"地歴・公民", u"世B、日B、地理B、現社、政経、倫理から１つ", u"数ⅠA必須、数ⅡB、工、簿、情報から１つ", u"総理、物B、化B、生B、地学Bから１つ"},
    {u"", u"工", u"８８．１％", u"地歴・公民", u"計９科目から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"総理、物B、化B、生B、地学Bから１つ"},
    {u"", u"医", u"９３．５％", u"地歴・公民", u"計９科目から１つ", u"数ⅠAは必須、数ⅡB、工、簿、情報から１つ", u"物B、化B、生B、地学Bから１つ"},
    {u"九州", u"法", u"８６．７％", u"地歴・公民", u"世B、日B、地理B、現社から１つ", u"数ⅠA必須、数ⅡB、工、簿、情報から１つ", u"総理、物B、化B、生B、地学Bから１つ"},
    {u"", u"工", u"８４．０％", u"地歴・公民", u"世B、日B、地理B、現社から１つ", u"数ⅠA必須、数ⅡB、工、簿、情報から１つ", u"総理、物B、化B、生B、地学Bから１つ"},
    {u"", u"医", u"９４．０％", u"地歴・公民", u"世B、日B、地理B、現社から１つ", u"数ⅠA必須、数ⅡB、工、簿、情報から１つ", u"総理、物B、化B、生B、地学Bから１つ"},
};
// clang-format on

// Starting cells of the columns.
constexpr int universityCell = 4;
constexpr int facultyCell = 22;
constexpr int subjectCell = 34;
constexpr int passLineCell = 110;
// Starting cells of the column headers, each set over its column as drawn.
constexpr int universityHeaderCell = 2;
constexpr int facultyHeaderCell = 20;
constexpr int subjectHeaderCell = 38;
constexpr int passLineHeaderCell = 100;

// Between a subject and what it requires: 「国　―　国語Ⅰ・Ⅱ」.
const QString requiredDash = QStringLiteral("　―　");
const QString japanese = QStringLiteral("国語Ⅰ・Ⅱ");

// Builds one line by placing texts at cells, filling gaps with ideographic
// spaces. A screen reader reads each gap as the column's name that heads the
// text after it, so a line is heard as its row: 「旧帝国大学 北海道、学部名 法、…」.
// The cells a line sits under, shown once above it (its university, its
// faculty), are read in its leading gap: `under` is them, as heard.
class GridLine
{
public:
    explicit GridLine(const QString &under = QString()) : m_under(under) {}

    GridLine &at(int cell, const QString &text, const QString &column = QString())
    {
        const int gapStart = int(m_text.size());
        while (cellwidth::of(m_text) < cell)
            m_text += u'\u3000';
        const int gap = int(m_text.size()) - gapStart;
        if (gap > 0 && (gapStart > 0 || !column.isEmpty())) {
            const QString before = gapStart > 0 ? QString() : m_under;
            const QString separator = gapStart > 0 || !before.isEmpty() ? QStringLiteral("、") : QString();
            m_gaps.append({gapStart, gap, column.isEmpty() ? separator : before + separator + column + u' '});
        }
        m_text += text;
        return *this;
    }
    QString text() const { return m_text; }
    const QList<readas::Stretch> &gaps() const { return m_gaps; }

private:
    QString m_under;
    QString m_text;
    QList<readas::Stretch> m_gaps;
};

// The lines, one after another, with their gaps at positions in the whole.
class GridText
{
public:
    GridText &operator<<(const GridLine &line)
    {
        if (m_lines > 0)
            m_text += u'\n';
        for (readas::Stretch gap : line.gaps()) {
            gap.position += int(m_text.size());
            m_gaps.append(gap);
        }
        m_text += line.text();
        ++m_lines;
        return *this;
    }
    PassLineTable table() const { return {m_text, m_gaps}; }

private:
    QString m_text;
    QList<readas::Stretch> m_gaps;
    int m_lines = 0;
};

const QString universityColumn = QStringLiteral("旧帝国大学");
const QString facultyColumn = QStringLiteral("学部名");
const QString subjectColumn = QStringLiteral("受験科目");
const QString passLineColumn = QStringLiteral("合格ライン（１科目平均）");

// A cell of the table above, written in UTF-16.
QString cellText(const char16_t *text)
{
    return QString::fromUtf16(text);
}

// As a cell and its column are heard: 「旧帝国大学 北海道」.
QString heard(const QString &column, const QString &cell)
{
    return column + u' ' + cell;
}

// A faculty's lines; `university` is the one it is listed under, shown on
// the first faculty's line alone.
void appendBlock(GridText &lines, const PassLineRow &row, const QString &university)
{
    const QString underUniversity = heard(universityColumn, university);
    GridLine first(*row.university ? QString() : underUniversity);
    if (*row.university)
        first.at(universityCell, cellText(row.university), universityColumn);
    first.at(facultyCell, cellText(row.faculty), facultyColumn)
        .at(subjectCell, QStringLiteral("国") + requiredDash + japanese, subjectColumn)
        .at(passLineCell, cellText(row.passLine), passLineColumn);
    const QString underFaculty = underUniversity + QStringLiteral("、") + heard(facultyColumn, cellText(row.faculty));
    const auto subject = [&underFaculty](const QString &text) {
        return GridLine(underFaculty).at(subjectCell, text, subjectColumn);
    };
    lines << first << subject(cellText(row.socialGroup) + requiredDash + cellText(row.social))
          << subject(QStringLiteral("数") + requiredDash + cellText(row.mathematics))
          << subject(QStringLiteral("理") + requiredDash + cellText(row.science)) << subject(QStringLiteral("外"))
          << GridLine();
}

} // namespace

PassLineTable passLineTable()
{
    GridText lines;
    lines << GridLine()
                 .at(universityHeaderCell, universityColumn)
                 .at(facultyHeaderCell, facultyColumn)
                 .at(subjectHeaderCell, subjectColumn)
                 .at(passLineHeaderCell, passLineColumn)
          << GridLine();
    QString university;
    for (const PassLineRow &row : rows) {
        if (*row.university)
            university = cellText(row.university);
        appendBlock(lines, row, university);
    }
    return lines.table();
}

QString PassLineDocument()
{
    return passLineTable().text;
}

#include "results/passlinedocument.h"

#include "widgets/cellwidth.h"

#include <QStringList>

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

// Starting cells of the columns.
constexpr int universityCell = 4;
constexpr int facultyCell = 22;
constexpr int subjectCell = 34;
constexpr int passLineCell = 110;

const QString requires_ = QStringLiteral("　―　");
const QString japanese = QStringLiteral("国語Ⅰ・Ⅱ");

// Builds one line by placing texts at cells, filling gaps with ideographic spaces.
class GridLine
{
public:
    GridLine &at(int cell, const QString &text)
    {
        while (cellwidth::of(m_text) < cell)
            m_text += u'\u3000';
        m_text += text;
        return *this;
    }
    QString text() const { return m_text; }

private:
    QString m_text;
};

QString str(const char16_t *text)
{
    return QString::fromUtf16(text);
}

void appendBlock(QStringList &lines, const PassLineRow &row)
{
    GridLine first;
    if (*row.university)
        first.at(universityCell, str(row.university));
    first.at(facultyCell, str(row.faculty))
        .at(subjectCell, QStringLiteral("国") + requires_ + japanese)
        .at(passLineCell, str(row.passLine));
    lines << first.text()
          << GridLine().at(subjectCell, str(row.socialGroup) + requires_ + str(row.social)).text()
          << GridLine().at(subjectCell, QStringLiteral("数") + requires_ + str(row.mathematics)).text()
          << GridLine().at(subjectCell, QStringLiteral("理") + requires_ + str(row.science)).text()
          << GridLine().at(subjectCell, QStringLiteral("外")).text()
          << QString();
}

} // namespace

QString PassLineDocument()
{
    QStringList lines;
    lines << GridLine()
                 .at(2, QStringLiteral("旧帝国大学"))
                 .at(20, QStringLiteral("学部名"))
                 .at(38, QStringLiteral("受験科目"))
                 .at(100, QStringLiteral("合格ライン（１科目平均）"))
                 .text()
          << QString();
    for (const PassLineRow &row : rows)
        appendBlock(lines, row);
    return lines.join(u'\n');
}

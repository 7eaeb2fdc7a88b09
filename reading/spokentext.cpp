#include "reading/spokentext.h"

#include "reading/readas.h"
#include "speech/spokenwords.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

namespace {

using Replacement = spokenwords::Replacement;

// Line and paragraph ends, frame edges and pictures as a reader gets them.
QChar asReaderGetsIt(QChar c)
{
    switch (c.unicode()) {
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
    case 0xfdd0: // a table or frame begins
    case 0xfdd1: // and ends
        return QLatin1Char('\n');
    case QChar::Nbsp: return QLatin1Char(' ');
    default: return c;
    }
}

// The cells of a row that begin in it, in order; a cell spanning rows
// belongs to its first.
QList<QTextTableCell> cellsOf(const QTextTable &table, int row)
{
    QList<QTextTableCell> cells;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        if (cell.row() == row && cell.column() == column)
            cells.append(cell);
    }
    return cells;
}

// Whether a cell shows nothing but spaces and breaks.
bool isEmptyCell(const QString &shown, const QTextTableCell &cell)
{
    for (int p = cell.firstPosition(); p < cell.lastPosition() && p < shown.size(); ++p) {
        if (!shown.at(p).isSpace())
            return false;
    }
    return true;
}

} // namespace

// A row of a table is read as one line, as it is seen: its cells in order
// with 「、」 between them, an empty one passed over, the breaks inside a
// cell (a table inside one too) as spaces. Down and Up then hear a header
// with its values.
void SpokenText::readRows(const QTextFrame &frame, const QString &shown, QList<Replacement> *words, bool inTable)
{
    for (const QTextFrame *child : frame.childFrames()) {
        const auto *table = qobject_cast<const QTextTable *>(child);
        // A table inside a cell first: its cells' 「、」 come before the
        // spaces of the cell around it.
        readRows(*child, shown, words, inTable || table);
        if (!table)
            continue;
        for (int row = 0; row < table->rows(); ++row) {
            const QList<QTextTableCell> cells = cellsOf(*table, row);
            if (cells.isEmpty())
                continue;
            // An empty cell says nothing, not a second 「、」: 「合計、100 点」.
            qsizetype lastSaid = -1;
            for (qsizetype k = 0; k < cells.size(); ++k) {
                if (!isEmptyCell(shown, cells.at(k)))
                    lastSaid = k;
            }
            for (qsizetype k = 0; k < cells.size(); ++k) {
                const QTextTableCell &cell = cells.at(k);
                for (int p = cell.firstPosition(); p < cell.lastPosition() && p < shown.size(); ++p) {
                    if (shown.at(p) == u'\n')
                        words->append({p, 1, QStringLiteral(" ")});
                }
                if (k + 1 < cells.size()) {
                    const bool between = k < lastSaid && !isEmptyCell(shown, cell);
                    words->append({cell.lastPosition(), 1, between ? QStringLiteral("、") : QString()});
                }
            }
            if (!inTable)
                m_rows.append({cells.first().firstPosition(), cells.last().lastPosition() + 1});
        }
    }
}

bool SpokenText::rowAt(int position, int *from, int *to) const
{
    auto row = std::upper_bound(m_rows.begin(), m_rows.end(), position, [](int p, const Row &r) { return p < r.from; });
    if (row == m_rows.begin() || position >= (row - 1)->to)
        return false;
    *from = (row - 1)->from;
    *to = std::min((row - 1)->to, m_documentLength);
    return true;
}

SpokenText::SpokenText(const QTextDocument &document)
{
    m_documentLength = std::max(0, document.characterCount() - 1);
    QString shown(m_documentLength, QLatin1Char('\n'));
    QList<bool> raised(m_documentLength, false);
    QList<Replacement> replacements;

    QString openLink;
    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString characters = fragment.text();
            const int start = fragment.position();
            const int end = std::min(start + int(characters.size()), m_documentLength);
            for (int p = start; p < end; ++p) {
                shown[p] = asReaderGetsIt(characters.at(p - start));
                raised[p] = format.verticalAlignment() == QTextCharFormat::AlignSuperScript;
            }
            // Marked words may be none: the stretch is then read as nothing.
            const bool marked = readas::marked(format);
            const QString readAs = readas::words(format);
            // A stretch may be stored as more than one fragment.
            if (marked && !replacements.isEmpty() && replacements.last().words == readAs
                && replacements.last().position + replacements.last().length == start)
                replacements.last().length += end - start;
            else if (marked && start < end)
                replacements.append({start, end - start, readAs});
            const QString link = format.isAnchor() ? format.anchorHref() : QString();
            if (!link.isEmpty() && link != openLink && start < m_documentLength)
                replacements.append({start, 0, QStringLiteral("リンク ")});
            openLink = link;
        }
        openLink.clear();
    }

    // A link's name goes after the word joiners it opens with: they are
    // heard with the character before the link, in one caret step that
    // would pass over a name inserted among them.
    for (Replacement &r : replacements) {
        if (r.length == 0 && r.position > 0 && shown.at(r.position - 1) != u'\n') {
            while (r.position < m_documentLength && shown.at(r.position) == spokenwords::wordJoiner)
                ++r.position;
        }
    }
    replacements.append(spokenwords::find(shown, raised));
    readRows(*document.rootFrame(), shown, &replacements, false);

    // Insertions come first at a place.
    std::stable_sort(replacements.begin(), replacements.end(), [](const Replacement &a, const Replacement &b) {
        return a.position != b.position ? a.position < b.position : a.length < b.length;
    });
    int done = 0;
    for (const Replacement &r : std::as_const(replacements)) {
        if (r.position < done)
            continue;
        verbatim(done, shown.mid(done, r.position - done));
        inWords(r.position, r.length, r.words);
        done = r.position + r.length;
    }
    verbatim(done, shown.mid(done));
}

void SpokenText::verbatim(int position, const QString &characters)
{
    if (characters.isEmpty())
        return;
    if (!m_runs.isEmpty() && m_runs.last().verbatim && m_runs.last().position + m_runs.last().length == position) {
        m_runs.last().length += characters.size();
        m_runs.last().spokenLength += characters.size();
    } else {
        m_runs.append({position, int(characters.size()), int(m_text.size()), int(characters.size()), true});
    }
    m_text += characters;
}

void SpokenText::inWords(int position, int length, const QString &words)
{
    m_runs.append({position, length, int(m_text.size()), int(words.size()), false});
    m_text += words;
}

int SpokenText::toSpoken(int position, bool pastWords) const
{
    position = std::clamp(position, 0, m_documentLength);
    // The first run that ends after the position, or words inserted there.
    auto run = std::partition_point(m_runs.begin(), m_runs.end(), [position](const Run &r) {
        return !(r.position + r.length > position || (r.length == 0 && r.position == position));
    });
    if (run == m_runs.end())
        return int(m_text.size());
    if (run->verbatim)
        return run->offset + (position - run->position);
    if (pastWords && run->position < position)
        return run->offset + run->spokenLength;
    return run->offset;
}

QList<SpokenText::Run>::const_iterator SpokenText::runAfter(int position) const
{
    return std::partition_point(m_runs.begin(), m_runs.end(),
                                [position](const Run &r) { return r.position + r.length <= position; });
}

int SpokenText::caretOffset(int position) const
{
    position = std::clamp(position, 0, m_documentLength);
    const auto run = runAfter(position);
    if (run == m_runs.end())
        return int(m_text.size());
    if (run->verbatim)
        return run->offset + (position - run->position);
    return run->offset;
}

bool SpokenText::insideWords(int position, int *from, int *to) const
{
    const auto run = runAfter(position);
    if (run == m_runs.end() || run->verbatim || run->position >= position)
        return false;
    *from = run->position;
    *to = run->position + run->length;
    return true;
}

QList<TextBoundaries::Range> SpokenText::wordRanges() const
{
    QList<TextBoundaries::Range> ranges;
    for (const Run &run : m_runs) {
        if (!run.verbatim && run.length > 0 && run.spokenLength > 1)
            ranges.append({run.offset, run.offset + run.spokenLength});
    }
    return ranges;
}

int SpokenText::toDocument(int offset) const
{
    offset = std::clamp(offset, 0, int(m_text.size()));
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), offset, [](int o, const Run &r) { return o < r.offset; });
    if (run == m_runs.begin())
        return 0;
    --run;
    if (offset >= run->offset + run->spokenLength)
        return std::min(run->position + run->length, m_documentLength);
    if (run->verbatim)
        return run->position + (offset - run->offset);
    return run->position;
}

#include "reading/boundarytext.h"

QString BoundaryText::textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const
{
    return answer(pieceAt(offset, type), start, end);
}

QString BoundaryText::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const
{
    const Range at = pieceAt(offset, type);
    if (at.start <= 0)
        return answer(at.start < 0 ? at : Range{0, 0}, start, end);
    return answer(pieceAt(at.start - 1, type), start, end);
}

QString BoundaryText::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const
{
    const Range at = pieceAt(offset, type);
    const int count = characterCount();
    if (at.start < 0 || at.end >= count)
        return answer(at.start < 0 ? at : Range{count, count}, start, end);
    return answer(pieceAt(at.end, type), start, end);
}

QString BoundaryText::attributes(int offset, int *start, int *end) const
{
    // -1 and -2 are the end and the caret, as for the pieces.
    const int count = characterCount();
    const bool inside = offset >= -2 && offset <= count;
    *start = inside ? 0 : -1;
    *end = inside ? count : -1;
    return QString();
}

BoundaryText::Range BoundaryText::unitPiece(const TextBoundaries &boundaries, int offset,
                                            QAccessible::TextBoundaryType type) const
{
    switch (type) {
    case QAccessible::CharBoundary: return boundaries.at(offset, TextBoundaries::Unit::Character);
    case QAccessible::WordBoundary: return boundaries.at(offset, TextBoundaries::Unit::Word);
    case QAccessible::SentenceBoundary: return boundaries.at(offset, TextBoundaries::Unit::Sentence);
    case QAccessible::ParagraphBoundary: return boundaries.at(offset, TextBoundaries::Unit::Paragraph);
    case QAccessible::LineBoundary:
    case QAccessible::NoBoundary: break;
    }
    return {0, characterCount()};
}

BoundaryText::Range BoundaryText::pieceAt(int offset, QAccessible::TextBoundaryType type) const
{
    const int count = characterCount();
    if (offset == -2)
        offset = cursorPosition();
    else if (offset == -1)
        offset = count;
    if (offset < 0 || offset > count)
        return {-1, -1};
    return pieceInside(offset, type);
}

QString BoundaryText::answer(Range range, int *start, int *end) const
{
    *start = range.start;
    *end = range.end;
    return range.start < 0 ? QString() : text(range.start, range.end);
}

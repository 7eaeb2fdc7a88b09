#pragma once

#include "speech/textboundaries.h"

#include "widgets/screenaccessible.h"

// The boundary answers a screen reader asks of a read-only text: the piece
// at, before and after an offset. -1 is the end of the text and -2 the
// caret, as in Qt's text boxes; other offsets outside the text get nothing,
// -1 to -1. Qt's default search for characters, words and sentences never
// ends on some texts, so none of it is used.
class BoundaryText : public QAccessibleTextInterface
{
public:
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    // No attributes: one run over the whole text, nothing outside it.
    QString attributes(int offset, int *start, int *end) const override;

protected:
    using Range = TextBoundaries::Range;

    // The piece of `type` holding `offset`, which lies inside the text.
    virtual Range pieceInside(int offset, QAccessible::TextBoundaryType type) const = 0;
    // The pieces of `boundaries` for the units they know; the whole text for
    // lines and for no boundary.
    Range unitPiece(const TextBoundaries &boundaries, int offset, QAccessible::TextBoundaryType type) const;

private:
    Range pieceAt(int offset, QAccessible::TextBoundaryType type) const;
    QString answer(Range range, int *start, int *end) const;
};

// A widget whose text a screen reader reads and cannot change.
class ReadOnlyTextAccessible : public ScreenAccessible, public BoundaryText
{
public:
    ReadOnlyTextAccessible(QWidget *widget, QAccessible::Role role) : ScreenAccessible(widget, role) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return ScreenAccessible::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = ScreenAccessible::state();
        s.readOnly = true;
        return s;
    }

    using ScreenAccessible::text;
    using BoundaryText::text;
};

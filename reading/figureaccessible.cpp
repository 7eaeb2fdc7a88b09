#include "reading/figureaccessible.h"

#include "reading/boundarytext.h"
#include "reading/figurelabel.h"

#include <algorithm>

namespace {

// An image whatever the label holds: a label without its picture yet would
// otherwise be text, and a reader keeps the role it first met. Its words
// are a read-only text whose lines are its sentences, having no lines on
// screen.
class FigureAccessible : public ReadOnlyTextAccessible
{
public:
    explicit FigureAccessible(FigureLabel *figure) : ReadOnlyTextAccessible(figure, QAccessible::Graphic) {}

    using ReadOnlyTextAccessible::text;

    int characterCount() const override { return int(figure()->words().size()); }

    QString text(int start, int end) const override
    {
        start = std::clamp(start, 0, characterCount());
        end = std::clamp(end, start, characterCount());
        return figure()->words().mid(start, end - start);
    }

    int cursorPosition() const override { return figure()->caret(); }
    void setCursorPosition(int offset) override { figure()->setCaret(offset); }

    int selectionCount() const override { return 0; }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    void setSelection(int, int, int) override {}
    void addSelection(int, int) override {}
    void removeSelection(int) override {}

    // The words lie over the whole picture.
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return QRect();
        return rect();
    }

    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}

protected:
    Range pieceInside(int offset, QAccessible::TextBoundaryType type) const override
    {
        if (type == QAccessible::LineBoundary)
            type = QAccessible::SentenceBoundary;
        return unitPiece(figure()->boundaries(), offset, type);
    }

private:
    FigureLabel *figure() const { return static_cast<FigureLabel *>(widget()); }
};

QAccessibleInterface *figureFactory(const QString &, QObject *object)
{
    if (auto *figure = dynamic_cast<FigureLabel *>(object))
        return new FigureAccessible(figure);
    return nullptr;
}

} // namespace

namespace figureaccessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(figureFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace figureaccessible

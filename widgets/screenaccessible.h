#pragma once

#include <QAccessibleWidget>

// A widget as a screen reader sees it, its extents in the screen's own
// pixels (see screenpixels.h): every interface the program makes for a
// widget is one, so that a reader never mixes the two kinds of pixel.
class ScreenAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QRect rect() const override;
    // The child whose extents hold the point, as they are reported.
    QAccessibleInterface *childAt(int x, int y) const override;
};

// The buttons, check boxes, labels, main windows and plain widgets the
// windows are made of, read as Qt reads them, in the screen's pixels.
void installScreenAccessibility();

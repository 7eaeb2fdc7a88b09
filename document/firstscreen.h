#pragma once

#include <QObject>

class QTextDocument;
class QWidget;

// Qt lays a long document out in steps, one every 10 ms after the first
// screen. The steps that fall due before the pane has drawn that screen hold
// up the first frame; this holds them back until the viewport has painted
// and the event loop has turned once more, then lets them run as before.
// Whatever asks for the layout meanwhile (the document's size, a scroll, a
// search) still gets it laid out at once.
class FirstScreen : public QObject
{
public:
    // Holds `document`'s layout steps until `viewport` has painted. Nothing
    // is held for a viewport not shown, which may never paint.
    static void holdLayout(QTextDocument *document, QWidget *viewport);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FirstScreen(QObject *layout, QWidget *viewport);

    QObject *m_layout;
    QWidget *m_viewport;
    bool m_painted = false;
};

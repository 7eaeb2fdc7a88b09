#include "document/firstscreen.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

void FirstScreen::holdLayout(QTextDocument *document, QWidget *viewport)
{
    if (viewport->isVisible())
        new FirstScreen(document->documentLayout(), viewport);
}

// A child of the layout, so that it goes with it when the document changes.
FirstScreen::FirstScreen(QObject *layout, QWidget *viewport) : QObject(layout), m_layout(layout), m_viewport(viewport)
{
    layout->installEventFilter(this);
    viewport->installEventFilter(this);
}

bool FirstScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_layout && event->type() == QEvent::Timer)
        return true; // the step comes again with the timer's next turn
    if (watched == m_viewport && event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        m_viewport->removeEventFilter(this);
        // After what the paint itself left to run, at the first idle turn.
        QTimer::singleShot(0, this, [this] { delete this; });
    }
    return false;
}

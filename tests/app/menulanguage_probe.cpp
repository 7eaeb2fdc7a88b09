// Starts the program as main() does, under whatever locale the environment
// names, opens the document pane's context menu as a right click would, and
// prints its entries one a line.
#include "app/startup.h"
#include "app/vardoapp.h"
#include "exam/examwindow.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    VardoApp vardo;
    startProgram(vardo);

    auto *pane = vardo.examWindow()->findChild<QAbstractScrollArea *>(QStringLiteral("Scriptlet1"));
    if (!pane)
        return 2;
    QWidget *viewport = pane->viewport();
    const QPoint at = viewport->rect().center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &click);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        return 3;
    QTextStream out(stdout);
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            out << action->text() << '\n';
    }
    return 0;
}

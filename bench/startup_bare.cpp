// Start-up floors: a bare Qt window with a menu bar and Vardo's client size.
//
//   startup_bare            ASCII captions in the default face
//   startup_bare japanese   Japanese captions and a button in the substituted
//                           Gothic face, so the CJK font cost is in the floor
#include "bench/firstpaint.h"
#include "widgets/designfont.h"
#include "widgets/install.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

int main(int argc, char *argv[])
{
    markStartup("main");
    QApplication application(argc, argv);
    markStartup("app");
    markFirstShow();
    widgets::install();
    const bool japanese = argc > 1 && qstrcmp(argv[1], "japanese") == 0;
    QMainWindow window;
    auto *ground = new QWidget;
    window.setCentralWidget(ground);
    if (japanese) {
        window.setFont(designfont::make(designfont::gothic, 9));
        window.menuBar()->addMenu(QStringLiteral("ゲーム(&G)"))->addAction(QStringLiteral("終了(&Q)"));
        auto *start = new QPushButton(QStringLiteral("スタート"), ground);
        start->setFont(designfont::make(designfont::gothic, 9, true));
        start->setGeometry(8, 8, 97, 33);
    } else {
        window.menuBar()->addMenu(QStringLiteral("&Game"))->addAction(QStringLiteral("E&xit"));
    }
    window.resize(792, 554 + window.menuBar()->sizeHint().height());
    new FirstPaint(&window);
    window.show();
    markStartup("exec");
    return application.exec();
}

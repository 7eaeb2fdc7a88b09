// Start-up baseline: a bare Qt window with a menu bar and Vardo's client size.
#include "bench/firstpaint.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("ゲーム(&G)"))->addAction(QStringLiteral("終了(&Q)"));
    window.menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"))->addAction(QStringLiteral("バージョン情報(&A)"));
    window.setCentralWidget(new QWidget);
    window.resize(792, 554 + window.menuBar()->sizeHint().height());
    new FirstPaint(&window);
    window.show();
    return application.exec();
}

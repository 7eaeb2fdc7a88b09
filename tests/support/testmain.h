#pragma once

#include "widgets/install.h"

#include <QApplication>
#include <QTest>

// QTEST_MAIN with the platform layer set up as main() sets it up.
#define VARDO_TEST_MAIN(TestObject)                                                                \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        widgets::install();                                                                       \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

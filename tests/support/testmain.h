#pragma once

#include "widgets/install.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>

// QTEST_MAIN with the platform layer set up as main() sets it up.
#define VARDO_TEST_MAIN(TestObject)                                                                                    \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        widgets::install();                                                                                            \
        TestObject test;                                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        const int failures = QTest::qExec(&test, argc, argv);                                                          \
        /* A failed test may leave a parse running, which ends the process at */                                       \
        /* once as the application goes: end it here, with the failures. */                                            \
        if (failures != 0) {                                                                                           \
            std::fflush(nullptr);                                                                                      \
            std::_Exit(failures);                                                                                      \
        }                                                                                                              \
        return 0;                                                                                                      \
    }

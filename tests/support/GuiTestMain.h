// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Application.h"

#include <QTest>

/// Like QTEST_MAIN, but with the program's own application object, so that tests see the
/// single error catch point, the idle-time updates and the hint line as the program does.
#define STRUKTUR_GUI_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        struktur::Application app(argc, argv);                                                               \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

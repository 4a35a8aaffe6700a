// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Application.h"
#include "ui/Dialogs.h"

#include <QTest>

/// Like QTEST_MAIN, but with the program's own application object, so that tests see the
/// single error catch point, the idle-time updates and the hint line as the program does.
/// A message box that no DialogScript answers fails the running test instead of waiting
/// offscreen for a click that never comes.
#define STRUKTUR_GUI_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        struktur::Application app(argc, argv);                                                               \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        struktur::Dialogs::setResponder([](const struktur::Dialogs::Request& request) {                      \
            QTest::qFail(qPrintable(QStringLiteral("unanswered message box: ") + request.text), __FILE__, __LINE__); \
            return struktur::Dialogs::Answer::Cancel;                                                        \
        });                                                                                                  \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace struktur {

/// The program's application object. It is the last catch point for errors: handlers connected
/// with `connectGuarded` show their own inside the slot, and an exception that still leaves an
/// event handler is shown in the error box here, and the program goes on with the next event. After each handled input event it asks for the idle-time update of the action
/// rules, and it starts the hint line.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

/// True for the events that count as user input for the idle-time update.
bool isInputEvent(const QEvent& event);

} // namespace struktur

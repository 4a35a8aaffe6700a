// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "ActionUpdates.h"
#include "CreationGuard.h"
#include "HintLine.h"

#include <QEvent>

namespace struktur {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    HintLine::instance();
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    const bool input = isInputEvent(*event);
    bool handled = false;
    reportErrors([&] { handled = QApplication::notify(receiver, event); });
    if (input)
        ActionUpdates::instance().requestUpdate();
    return handled;
}

bool isInputEvent(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace struktur

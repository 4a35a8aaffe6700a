// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CreationGuard.h"

#include <QObject>
#include <functional>
#include <type_traits>

namespace struktur {

/// Connects `signal` to `handler` (a member function of `receiver`, or any callable, run while
/// `receiver` lives) so that an error the handler throws is shown in the error box inside the
/// slot: the signal's emitter then goes on as after any slot. Qt does not promise that an
/// exception passes through its signal machinery; the application's catch point stays only as
/// the last resort. The handler takes all of the signal's arguments or none of them.
template <typename Sender, typename SignalClass, typename... SignalArgs, typename Receiver, typename Handler>
QMetaObject::Connection connectGuarded(
    Sender* sender, void (SignalClass::*signal)(SignalArgs...), Receiver* receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler](SignalArgs... args) {
        reportErrors([&] {
            if constexpr (std::is_member_function_pointer_v<Handler>) {
                if constexpr (std::is_invocable_v<Handler, Receiver*, SignalArgs...>)
                    std::invoke(handler, receiver, args...);
                else
                    std::invoke(handler, receiver);
            } else {
                if constexpr (std::is_invocable_v<Handler, SignalArgs...>)
                    std::invoke(handler, args...);
                else
                    std::invoke(handler);
            }
        });
    });
}

} // namespace struktur

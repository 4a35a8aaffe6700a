// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ErrorDisplay.h"
#include "platform/Error.h"

#include <exception>
#include <utility>

namespace struktur {

/// Runs `work` and shows any error it throws in the error box instead of passing it on.
/// Returns false when an error was shown. This is what a guarded connection does around its
/// handler and the application around every event it dispatches; windows call it directly for
/// the steps of their creation.
template <typename Work> bool reportErrors(Work&& work)
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const Error& error) {
        showError(error);
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

/// Runs a window's creation handler: an error ends the handler and is shown in the error box,
/// but the window is still created.
template <typename Handler> bool runCreationHandler(Handler&& handler)
{
    return reportErrors(std::forward<Handler>(handler));
}

} // namespace struktur

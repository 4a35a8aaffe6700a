// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace struktur {

/// Runs `work` and shows any error it throws in the error box instead of passing it on.
/// Returns false when an error was shown. This is what the application does around every
/// event handler; windows call it directly for the steps of their creation.
bool reportErrors(const std::function<void()>& work);

/// Runs a window's creation handler: an error ends the handler and is shown in the error box,
/// but the window is still created.
inline bool runCreationHandler(const std::function<void()>& handler)
{
    return reportErrors(handler);
}

} // namespace struktur

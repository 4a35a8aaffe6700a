// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Error.h"

#include <functional>

namespace struktur::test {

/// The message of the error an action throws; empty when it throws none.
inline QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.message();
    }
    return {};
}

} // namespace struktur::test

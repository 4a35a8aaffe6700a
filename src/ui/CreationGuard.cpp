// SPDX-License-Identifier: GPL-3.0-or-later
#include "CreationGuard.h"

#include "ErrorDisplay.h"
#include "platform/Error.h"

#include <exception>

namespace struktur {

bool reportErrors(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const Error& error) {
        showError(error);
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActionUpdates.h"

#include <QMetaObject>

namespace struktur {

ActionUpdates& ActionUpdates::instance()
{
    static ActionUpdates updates;
    return updates;
}

void ActionUpdates::requestUpdate()
{
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            Q_EMIT updateRequested();
        },
        Qt::QueuedConnection);
}

} // namespace struktur

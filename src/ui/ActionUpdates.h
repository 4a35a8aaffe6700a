// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace struktur {

/// The idle-time update of action rules: after each handled input event the application asks
/// for one update (queued, so several requests in a row run the rules once); every window
/// connects its update...() functions to `updateRequested`.
class ActionUpdates : public QObject {
    Q_OBJECT

public:
    static ActionUpdates& instance();

    /// Asks for the rules to run once the current event is handled.
    void requestUpdate();

Q_SIGNALS:
    void updateRequested();

private:
    ActionUpdates() = default;
    bool m_pending = false;
};

} // namespace struktur

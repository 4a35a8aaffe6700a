// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractButton;
class QAction;

namespace struktur::elements {

/// Makes a button stand for an action: it shows the action's caption, picture and hint, is
/// enabled exactly while the action is, and a click triggers the action.
void bindToAction(QAbstractButton* button, QAction* action);

} // namespace struktur::elements

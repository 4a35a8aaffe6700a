// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;

namespace struktur {

/// Selects entry `index` of an editable combo box (-1: none) without touching the text the
/// user sees in its field.
void selectKeepingText(QComboBox& box, int index);

/// After the user typed in an editable combo box: the entry equal to the typed text (ignoring
/// case) becomes the selected one, or none when no entry matches. The text stays as typed.
void selectEntryMatchingText(QComboBox& box);

} // namespace struktur

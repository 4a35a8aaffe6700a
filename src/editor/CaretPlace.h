// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTextCursor;

namespace struktur {

/// Where the caret stands in the laid-out document, counted in display lines: a paragraph that
/// word wrap breaks is several lines, a paragraph end is one character.
struct CaretPlace {
    int lineCount = 1; ///< all display lines of the document, at least 1
    int line = 0; ///< the caret's display line, from 0
    int column = 0; ///< the caret's character position within that line, from 0
};

/// The caret place of `cursor` in its document. A paragraph not laid out yet counts as one line.
CaretPlace caretPlace(const QTextCursor& cursor);

} // namespace struktur

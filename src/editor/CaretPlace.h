// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

class QTextCursor;
class QTextDocument;

namespace struktur {

/// Where the caret stands in the laid-out document, counted in display lines: a paragraph that
/// word wrap breaks is several lines, a paragraph end is one character.
struct CaretPlace {
    int lineCount = 1; ///< all display lines of the document, at least 1
    int line = 0; ///< the caret's display line, from 0
    int column = 0; ///< the caret's character position within that line, from 0
};

/// The display lines of one document, counted again only after its text or layout changed, so
/// that asking on every mouse movement costs next to nothing. A paragraph that is not laid out
/// yet counts as one line.
class DisplayLines : public QObject {
    Q_OBJECT

public:
    DisplayLines(QTextDocument* document, QObject* parent);

    /// The place of a cursor of this document.
    CaretPlace place(const QTextCursor& cursor);

Q_SIGNALS:
    /// The layout moved line breaks or laid out more text, without any change of text: after a
    /// resize, and step by step while a long document is laid out after it was loaded.
    void linesMoved();

private:
    void invalidate();
    void layoutResized();
    void watchLayout();
    void count();

    QTextDocument* m_document;
    QList<int> m_firstLine; ///< the first display line of each paragraph, by block number
    int m_lineCount = 1;
    bool m_counted = false;
};

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaretPlace.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace struktur {

static int displayLines(const QTextBlock& block)
{
    const QTextLayout* layout = block.layout();
    return layout ? std::max(1, layout->lineCount()) : 1;
}

DisplayLines::DisplayLines(QTextDocument* document, QObject* parent)
    : QObject(parent)
    , m_document(document)
{
    connect(document, &QTextDocument::contentsChanged, this, &DisplayLines::invalidate);
    connect(document, &QTextDocument::documentLayoutChanged, this, &DisplayLines::watchLayout);
    watchLayout();
}

void DisplayLines::watchLayout()
{
    m_counted = false;
    // Word wrap moves line breaks without any change of text, for instance when the window is
    // resized; every relayout is announced by these two.
    QAbstractTextDocumentLayout* layout = m_document->documentLayout();
    connect(layout, &QAbstractTextDocumentLayout::update, this, &DisplayLines::invalidate, Qt::UniqueConnection);
    connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, this, &DisplayLines::layoutResized,
        Qt::UniqueConnection);
}

void DisplayLines::invalidate() { m_counted = false; }

void DisplayLines::layoutResized()
{
    invalidate();
    Q_EMIT linesMoved();
}

void DisplayLines::count()
{
    m_firstLine.clear();
    m_firstLine.reserve(m_document->blockCount());
    int lines = 0;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        m_firstLine.append(lines);
        lines += displayLines(block);
    }
    m_lineCount = std::max(1, lines);
    m_counted = true;
}

CaretPlace DisplayLines::place(const QTextCursor& cursor)
{
    if (!m_counted)
        count();
    CaretPlace place;
    place.lineCount = m_lineCount;
    const QTextBlock block = cursor.block();
    const int blockNumber = block.blockNumber();
    if (blockNumber < 0 || blockNumber >= m_firstLine.size())
        return place;
    const int inBlock = cursor.position() - block.position();
    const QTextLine line = block.layout() ? block.layout()->lineForTextPosition(inBlock) : QTextLine();
    place.line = m_firstLine[blockNumber] + (line.isValid() ? line.lineNumber() : 0);
    place.column = inBlock - (line.isValid() ? line.textStart() : 0);
    return place;
}

} // namespace struktur

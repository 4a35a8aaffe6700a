// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaretPlace.h"

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

CaretPlace caretPlace(const QTextCursor& cursor)
{
    CaretPlace place;
    const QTextDocument* document = cursor.document();
    if (!document)
        return place;
    const QTextBlock caretBlock = cursor.block();
    int lines = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block == caretBlock) {
            const int inBlock = cursor.position() - block.position();
            const QTextLine line = block.layout() ? block.layout()->lineForTextPosition(inBlock) : QTextLine();
            place.line = lines + (line.isValid() ? line.lineNumber() : 0);
            place.column = inBlock - (line.isValid() ? line.textStart() : 0);
        }
        lines += displayLines(block);
    }
    place.lineCount = std::max(1, lines);
    return place;
}

} // namespace struktur

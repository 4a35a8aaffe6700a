// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectionFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <cmath>

namespace struktur::selection {

QTextCharFormat format(const QTextEdit& edit)
{
    const QTextCursor cursor = edit.textCursor();
    if (!cursor.hasSelection())
        return edit.currentCharFormat();
    // A selection is described by its first character, not by the one before it.
    QTextCursor first(edit.document());
    first.setPosition(cursor.selectionStart() + 1);
    return first.charFormat();
}

QFont font(const QTextEdit& edit) { return format(edit).font().resolve(edit.document()->defaultFont()); }

int pointSize(const QTextEdit& edit)
{
    const qreal points = font(edit).pointSizeF();
    if (points <= 0)
        return 0;
    const auto twentieths = static_cast<long long>(std::llround(points * 20));
    return static_cast<int>(twentieths / 20);
}

QColor color(const QTextEdit& edit)
{
    const QBrush brush = format(edit).foreground();
    if (brush.style() == Qt::NoBrush)
        return edit.palette().color(QPalette::Text);
    return brush.color();
}

void merge(QTextEdit& edit, const QTextCharFormat& format) { edit.mergeCurrentCharFormat(format); }

void setFaceName(QTextEdit& edit, const QString& faceName)
{
    QTextCharFormat format;
    format.setFontFamilies({ faceName });
    merge(edit, format);
}

void setPointSize(QTextEdit& edit, int points)
{
    if (points <= 0)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    merge(edit, format);
}

void setColor(QTextEdit& edit, const QColor& color)
{
    if (!color.isValid())
        return;
    QTextCharFormat format;
    format.setForeground(color);
    merge(edit, format);
}

static bool isBulletStyle(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}

bool hasBullets(const QTextEdit& edit)
{
    const QTextList* list = edit.textCursor().currentList();
    return list && isBulletStyle(list->format().style());
}

void toggleBullets(QTextEdit& edit)
{
    QTextCursor cursor = edit.textCursor();
    cursor.beginEditBlock();
    if (hasBullets(edit)) {
        const QTextDocument* document = edit.document();
        const QTextBlock last = document->findBlock(cursor.selectionEnd());
        for (QTextBlock block = document->findBlock(cursor.selectionStart()); block.isValid(); block = block.next()) {
            if (QTextList* list = block.textList()) {
                list->remove(block);
                QTextCursor paragraph(block);
                QTextBlockFormat unindented = block.blockFormat();
                unindented.setIndent(0);
                paragraph.setBlockFormat(unindented);
            }
            if (block == last)
                break;
        }
    } else {
        QTextListFormat bullets;
        bullets.setStyle(QTextListFormat::ListDisc);
        bullets.setIndent(1);
        cursor.createList(bullets);
    }
    cursor.endEditBlock();
}

} // namespace struktur::selection

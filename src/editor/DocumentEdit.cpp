// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentEdit.h"

namespace struktur {

DocumentEdit::DocumentEdit(QWidget* parent)
    : QTextEdit(parent)
{
    // Movements over the document update the status bar too, not only drags.
    viewport()->setMouseTracking(true);
}

void DocumentEdit::keyPressEvent(QKeyEvent* event)
{
    QTextEdit::keyPressEvent(event);
    Q_EMIT inputHandled();
}

void DocumentEdit::keyReleaseEvent(QKeyEvent* event)
{
    QTextEdit::keyReleaseEvent(event);
    Q_EMIT inputHandled();
}

void DocumentEdit::mousePressEvent(QMouseEvent* event)
{
    QTextEdit::mousePressEvent(event);
    Q_EMIT inputHandled();
}

void DocumentEdit::mouseMoveEvent(QMouseEvent* event)
{
    QTextEdit::mouseMoveEvent(event);
    Q_EMIT inputHandled();
}

void DocumentEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    Q_EMIT inputHandled();
}

} // namespace struktur

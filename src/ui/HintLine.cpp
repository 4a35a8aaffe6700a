// SPDX-License-Identifier: GPL-3.0-or-later
#include "HintLine.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

namespace struktur {

void setHint(QWidget* widget, const QString& hint)
{
    widget->setProperty(hintProperty, hint);
    HintLine::instance().refresh();
}

void setHint(QAction* action, const QString& hint) { action->setProperty(hintProperty, hint); }

QString ownHint(const QWidget* widget)
{
    const QString hint = widget->property(hintProperty).toString();
    if (!hint.isEmpty())
        return hint;
    if (const auto* button = qobject_cast<const QToolButton*>(widget)) {
        if (const QAction* action = button->defaultAction())
            return action->property(hintProperty).toString();
    }
    return QString();
}

QString effectiveHint(const QWidget* widget, QPoint globalPos)
{
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        if (const QAction* action = menu->actionAt(menu->mapFromGlobal(globalPos))) {
            const QString hint = action->property(hintProperty).toString();
            if (!hint.isEmpty())
                return hint;
        }
    }
    for (; widget; widget = widget->parentWidget()) {
        const QString hint = ownHint(widget);
        if (!hint.isEmpty())
            return hint;
    }
    return QString();
}

QString longHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

HintLine& HintLine::instance()
{
    // Owned by the application object, so a new application gets a new hint line.
    static QPointer<HintLine> line;
    if (!line)
        line = new HintLine;
    return *line;
}

HintLine::HintLine()
{
    if (QCoreApplication* app = QCoreApplication::instance()) {
        setParent(app);
        app->installEventFilter(this);
    }
}

void HintLine::refresh() { pointTo(m_underPointer, m_lastPos); }

void HintLine::showMessage(const QString& message)
{
    m_current = message;
    Q_EMIT hintChanged(m_current);
}

// Qt tells each widget when the pointer enters or leaves it; when it leaves a child for its
// parent, only the child hears of it, so the parent becomes the widget under the pointer.
bool HintLine::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        if (auto* widget = qobject_cast<QWidget*>(watched))
            pointTo(widget, static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::Leave:
        if (watched == m_underPointer) {
            QWidget* parent = m_underPointer->isWindow() ? nullptr : m_underPointer->parentWidget();
            pointTo(parent, m_lastPos);
        }
        break;
    case QEvent::MouseMove:
        // Inside a menu the hint follows the highlighted item.
        if (auto* menu = qobject_cast<QMenu*>(watched))
            pointTo(menu, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::ToolTip:
        return true; // hints show in the hint line only
    case QEvent::Hide:
        if (watched == m_underPointer)
            pointTo(nullptr, m_lastPos);
        break;
    default:
        break;
    }
    return false;
}

void HintLine::pointTo(QWidget* widget, QPoint globalPos)
{
    m_underPointer = widget;
    m_lastPos = globalPos;
    const QString hint = longHint(effectiveHint(widget, globalPos));
    if (hint == m_current)
        return;
    m_current = hint;
    Q_EMIT hintChanged(m_current);
}

} // namespace struktur

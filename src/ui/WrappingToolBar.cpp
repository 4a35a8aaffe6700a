// SPDX-License-Identifier: GPL-3.0-or-later
#include "WrappingToolBar.h"

#include <QActionEvent>
#include <QPainter>
#include <QToolButton>
#include <QWidgetAction>

namespace struktur {

namespace {

/// The upright line between groups of buttons: one pixel in the frame colour, with room beside it.
class BarSeparator : public QWidget {
public:
    explicit BarSeparator(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    QSize sizeHint() const override { return { 9, 16 }; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int x = width() / 2;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(x, 3, x, height() - 4);
    }
};

} // namespace

WrappingToolBar::WrappingToolBar(QWidget* parent)
    : QWidget(parent)
{
    // Preferred rather than fixed upright: a fixed policy would cap the bar at one row.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    // The look's tool bar background and edge, as a tool bar has them.
    setAttribute(Qt::WA_StyledBackground);
}

QAction* WrappingToolBar::addWidget(QWidget* widget) { return insertWidget(nullptr, widget); }

QAction* WrappingToolBar::insertWidget(QAction* before, QWidget* widget)
{
    auto* action = new QWidgetAction(this);
    action->setDefaultWidget(widget);
    insertAction(before, action);
    return action;
}

QAction* WrappingToolBar::addSeparator() { return insertSeparator(nullptr); }

QAction* WrappingToolBar::insertSeparator(QAction* before)
{
    auto* action = new QAction(this);
    action->setSeparator(true);
    insertAction(before, action);
    return action;
}

QWidget* WrappingToolBar::widgetForAction(QAction* action) const
{
    for (const Item& item : m_items) {
        if (item.action == action)
            return item.widget;
    }
    return nullptr;
}

void WrappingToolBar::setIconSize(const QSize& size)
{
    m_iconSize = size;
    for (const Item& item : m_items) {
        if (auto* button = qobject_cast<QToolButton*>(item.widget); button && item.owned)
            button->setIconSize(size);
    }
    relayout();
}

QWidget* WrappingToolBar::createWidgetFor(QAction* action)
{
    if (action->isSeparator())
        return new BarSeparator(this);
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(m_iconSize);
    button->setToolButtonStyle(action->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    button->setDefaultAction(action);
    return button;
}

void WrappingToolBar::actionEvent(QActionEvent* event)
{
    QAction* action = event->action();
    switch (event->type()) {
    case QEvent::ActionAdded: {
        Item item { action, nullptr, false };
        if (auto* widgetAction = qobject_cast<QWidgetAction*>(action))
            item.widget = widgetAction->requestWidget(this);
        if (!item.widget) {
            item.widget = createWidgetFor(action);
            item.owned = true;
        }
        item.widget->setParent(this);
        qsizetype at = m_items.size();
        for (qsizetype i = 0; i < m_items.size(); ++i) {
            if (m_items[i].action == event->before()) {
                at = i;
                break;
            }
        }
        m_items.insert(at, item);
        item.widget->setVisible(action->isVisible());
        relayout();
        break;
    }
    case QEvent::ActionRemoved:
        for (qsizetype i = 0; i < m_items.size(); ++i) {
            if (m_items[i].action != action)
                continue;
            const Item item = m_items.takeAt(i);
            if (item.owned)
                delete item.widget;
            else if (auto* widgetAction = qobject_cast<QWidgetAction*>(action))
                widgetAction->releaseWidget(item.widget);
            break;
        }
        relayout();
        break;
    case QEvent::ActionChanged:
        if (QWidget* widget = widgetForAction(action); widget && widget->isHidden() == action->isVisible()) {
            widget->setVisible(action->isVisible());
            relayout();
        }
        break;
    default:
        break;
    }
}

int WrappingToolBar::rowHeight() const
{
    int height = m_iconSize.height();
    for (const Item& item : m_items) {
        if (!item.action->isSeparator() && item.action->isVisible())
            height = qMax(height, item.widget->sizeHint().height());
    }
    return height;
}

int WrappingToolBar::arrange(int width, bool apply) const
{
    const int row = rowHeight();
    const int right = width - m_margin;
    int x = m_margin;
    int y = m_margin;
    bool rowEmpty = true;
    for (const Item& item : m_items) {
        if (!item.action->isVisible())
            continue;
        const QSize hint = item.widget->sizeHint();
        const int itemWidth = qMin(hint.width(), width - 2 * m_margin);
        if (!rowEmpty && x + itemWidth > right) {
            // A separator at the break separates nothing; the next row starts with a button.
            if (item.action->isSeparator()) {
                if (apply)
                    item.widget->setGeometry(QRect(x, y, 0, 0));
                continue;
            }
            x = m_margin;
            y += row + m_spacing;
        }
        if (apply) {
            const int height = item.action->isSeparator() ? row : qMin(hint.height(), row);
            item.widget->setGeometry(QRect(x, y + (row - height) / 2, itemWidth, height));
        }
        x += itemWidth + m_spacing;
        rowEmpty = false;
    }
    return y + row + m_margin;
}

int WrappingToolBar::heightForWidth(int width) const { return arrange(width, false); }

QSize WrappingToolBar::sizeHint() const
{
    int width = 2 * m_margin;
    for (const Item& item : m_items) {
        if (item.action->isVisible())
            width += item.widget->sizeHint().width() + m_spacing;
    }
    return { width, rowHeight() + 2 * m_margin };
}

QSize WrappingToolBar::minimumSizeHint() const
{
    int width = 0;
    for (const Item& item : m_items) {
        if (item.action->isVisible())
            width = qMax(width, item.widget->sizeHint().width());
    }
    return { width + 2 * m_margin, rowHeight() + 2 * m_margin };
}

void WrappingToolBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange(width(), true);
}

bool WrappingToolBar::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::LayoutRequest:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        relayout();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void WrappingToolBar::relayout()
{
    updateGeometry();
    arrange(width(), true);
}

} // namespace struktur

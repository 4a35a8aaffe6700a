// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QWidget>

class QAction;
class QActionEvent;

namespace struktur {

/// A tool bar that never hides a command: when its row is too narrow for all its buttons, it
/// continues them on a further row instead of folding the rest into an overflow menu. It is
/// filled like a tool bar (addAction, addWidget, addSeparator, their insert forms); an action
/// without a widget of its own gets an auto-raised tool button showing its picture, or its
/// caption when it has none.
class WrappingToolBar : public QWidget {
    Q_OBJECT

public:
    explicit WrappingToolBar(QWidget* parent = nullptr);

    using QWidget::addAction;
    QAction* addWidget(QWidget* widget);
    QAction* insertWidget(QAction* before, QWidget* widget);
    QAction* addSeparator();
    QAction* insertSeparator(QAction* before);

    /// The control showing `action`, or nullptr when the action is not on this bar.
    QWidget* widgetForAction(QAction* action) const;

    QSize iconSize() const { return m_iconSize; }
    /// The picture size of the buttons the bar makes for plain actions.
    void setIconSize(const QSize& size);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void actionEvent(QActionEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Item {
        QAction* action = nullptr;
        QWidget* widget = nullptr;
        /// The bar made the widget (a button or a separator) and deletes it with the action.
        bool owned = false;
    };

    QWidget* createWidgetFor(QAction* action);
    /// Places the visible widgets in rows within `width`; returns the height used. Only moves
    /// them when `apply` is true.
    int arrange(int width, bool apply) const;
    int rowHeight() const;
    void relayout();

    QList<Item> m_items;
    QSize m_iconSize { 16, 16 };
    int m_spacing = 1;
    int m_margin = 2;
};

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace struktur {

/// A 4 × 4 grid of the sixteen basic colours with a foreground and a background choice.
/// The foreground square is marked "FG", the background square "BG", a square that is both
/// "FB"; index -1 marks none. It never takes the keyboard focus, so a click leaves the
/// selection of the document it colours alone.
class TColorGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int colorCount = 16;
    static constexpr int columnCount = 4;
    static constexpr int rowCount = 4;

    explicit TColorGrid(QWidget* parent = nullptr);

    /// The colour of square `index` (row × 4 + column, row 0 at the top); invalid for an index
    /// outside 0–15.
    static QColor gridColor(int index);
    /// The first square whose colour has exactly the red, green and blue of `color`, or -1.
    static int colorToIndex(const QColor& color);

    int foregroundIndex() const { return m_foregroundIndex; }
    int backgroundIndex() const { return m_backgroundIndex; }
    /// Values outside 0–15 clear the choice (-1).
    void setForegroundIndex(int index);
    void setBackgroundIndex(int index);
    /// The foreground square's colour; invalid when there is no foreground choice.
    QColor foregroundColor() const { return gridColor(m_foregroundIndex); }

    /// The square under a point of the widget, or -1 outside every square.
    int indexAt(const QPoint& point) const;
    /// The rectangle of a square in widget coordinates.
    QRect squareRect(int index) const;

    QSize sizeHint() const override { return { 100, 72 }; }

Q_SIGNALS:
    /// Releasing the left button inside the grid, or releasing the right button.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString markFor(int index) const;

    int m_foregroundIndex = 0;
    int m_backgroundIndex = 15;
};

} // namespace struktur

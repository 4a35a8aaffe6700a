// SPDX-License-Identifier: GPL-3.0-or-later
#include "TColorGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <array>

namespace struktur {

namespace {

// The basic palette: its entries 0 to 7 followed by 12 to 19, the order the grid shows.
constexpr std::array<QRgb, TColorGrid::colorCount> gridColors {
    qRgb(0, 0, 0),
    qRgb(128, 0, 0),
    qRgb(0, 128, 0),
    qRgb(128, 128, 0),
    qRgb(0, 0, 128),
    qRgb(128, 0, 128),
    qRgb(0, 128, 128),
    qRgb(192, 192, 192),
    qRgb(128, 128, 128),
    qRgb(255, 0, 0),
    qRgb(0, 255, 0),
    qRgb(255, 255, 0),
    qRgb(0, 0, 255),
    qRgb(255, 0, 255),
    qRgb(0, 255, 255),
    qRgb(255, 255, 255),
};

bool isGridIndex(int index) { return index >= 0 && index < TColorGrid::colorCount; }

} // namespace

TColorGrid::TColorGrid(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(100, 72);
}

QColor TColorGrid::gridColor(int index)
{
    if (!isGridIndex(index))
        return {};
    return QColor::fromRgb(gridColors[static_cast<size_t>(index)]);
}

int TColorGrid::colorToIndex(const QColor& color)
{
    if (!color.isValid())
        return -1;
    const QRgb rgb = color.rgb() & RGB_MASK;
    for (int i = 0; i < colorCount; ++i) {
        if ((gridColors[static_cast<size_t>(i)] & RGB_MASK) == rgb)
            return i;
    }
    return -1;
}

void TColorGrid::setForegroundIndex(int index)
{
    index = isGridIndex(index) ? index : -1;
    if (index == m_foregroundIndex)
        return;
    m_foregroundIndex = index;
    update();
}

void TColorGrid::setBackgroundIndex(int index)
{
    index = isGridIndex(index) ? index : -1;
    if (index == m_backgroundIndex)
        return;
    m_backgroundIndex = index;
    update();
}

QRect TColorGrid::squareRect(int index) const
{
    const int column = index % columnCount;
    const int row = index / columnCount;
    const int left = column * width() / columnCount;
    const int top = row * height() / rowCount;
    const int right = (column + 1) * width() / columnCount;
    const int bottom = (row + 1) * height() / rowCount;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

int TColorGrid::indexAt(const QPoint& point) const
{
    if (!rect().contains(point))
        return -1;
    const int column = point.x() * columnCount / width();
    const int row = point.y() * rowCount / height();
    return row * columnCount + column;
}

QString TColorGrid::markFor(int index) const
{
    const bool foreground = index == m_foregroundIndex;
    const bool background = index == m_backgroundIndex;
    if (foreground && background)
        return QStringLiteral("FB");
    if (foreground)
        return QStringLiteral("FG");
    if (background)
        return QStringLiteral("BG");
    return {};
}

void TColorGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont markFont = font();
    markFont.setBold(true);
    painter.setFont(markFont);
    for (int i = 0; i < colorCount; ++i) {
        const QRect square = squareRect(i);
        const QColor color = gridColor(i);
        painter.fillRect(square, color);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(square.adjusted(0, 0, -1, -1));
        const QString mark = markFor(i);
        if (mark.isEmpty())
            continue;
        // Marks stay readable on dark and light squares alike.
        painter.setPen(color.lightness() > 127 ? Qt::black : Qt::white);
        painter.drawText(square, Qt::AlignCenter, mark);
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0)
        setForegroundIndex(index);
    else if (event->button() == Qt::RightButton && index >= 0)
        setBackgroundIndex(index);
    event->accept();
}

void TColorGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int index = indexAt(event->position().toPoint());
    if (index >= 0)
        setForegroundIndex(index);
}

void TColorGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if ((event->button() == Qt::LeftButton && inside) || event->button() == Qt::RightButton)
        Q_EMIT clicked();
}

} // namespace struktur

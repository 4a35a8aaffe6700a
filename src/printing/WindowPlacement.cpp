// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <limits>

namespace struktur {
namespace {

qint64 distanceSquared(const QRect& area, const QPoint& point)
{
    const qint64 dx = point.x() < area.left() ? area.left() - point.x() : qMax(0, point.x() - area.right());
    const qint64 dy = point.y() < area.top() ? area.top() - point.y() : qMax(0, point.y() - area.bottom());
    return dx * dx + dy * dy;
}

} // namespace

void keepOnScreen(QWidget& window)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return;
    const QRect frame(window.pos(), window.frameGeometry().size());
    QRect nearest;
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        if (area.intersects(frame))
            return;
        const qint64 distance = distanceSquared(area, frame.center());
        if (distance < best) {
            best = distance;
            nearest = area;
        }
    }
    const int x = qBound(nearest.left(), frame.left(), qMax(nearest.left(), nearest.right() - frame.width() + 1));
    const int y = qBound(nearest.top(), frame.top(), qMax(nearest.top(), nearest.bottom() - frame.height() + 1));
    window.move(x, y);
}

} // namespace struktur

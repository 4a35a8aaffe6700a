// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace struktur {

static qint64 squaredDistance(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max<qint64>({ 0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right() });
    const qint64 dy = std::max<qint64>({ 0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom() });
    return dx * dx + dy * dy;
}

QRect placeOnScreens(const QRect& outer, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return outer;
    const QRect* nearest = nullptr;
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        if (screen.intersects(outer))
            return outer;
        const qint64 distance = squaredDistance(outer, screen);
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    QRect placed = outer;
    const int left = std::clamp(outer.left(), nearest->left(), std::max(nearest->left(), nearest->right() - outer.width() + 1));
    const int top = std::clamp(outer.top(), nearest->top(), std::max(nearest->top(), nearest->bottom() - outer.height() + 1));
    placed.moveTopLeft({ left, top });
    return placed;
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens)
        areas.append(screen->availableGeometry());
    return areas;
}

void setOuterGeometry(QWidget& window, const QRect& outer)
{
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    window.move(outer.topLeft());
    window.resize(outer.size() - frame);
}

} // namespace struktur

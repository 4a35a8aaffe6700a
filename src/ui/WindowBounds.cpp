// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowBounds.h"

#include "platform/OptionsFile.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace struktur {

WindowBounds::WindowBounds(QWidget* window, QSize minimumOuter, QSize designedFrame)
    : QObject(window)
    , m_window(window)
    , m_minimumOuter(minimumOuter)
    , m_frame(designedFrame)
{
    m_window->installEventFilter(this);
    m_window->setMinimumSize((m_minimumOuter - m_frame).expandedTo(QSize(0, 0)));
}

void WindowBounds::setMinimumOuter(QSize minimumOuter)
{
    m_minimumOuter = minimumOuter;
    m_window->setMinimumSize((m_minimumOuter - m_frame).expandedTo(QSize(0, 0)));
}

int WindowBounds::top() const { return m_window->pos().y(); }

int WindowBounds::left() const { return m_window->pos().x(); }

int WindowBounds::width() const { return m_window->size().width() + m_frame.width(); }

int WindowBounds::height() const { return m_window->size().height() + m_frame.height(); }

void WindowBounds::setTop(int top) { m_window->move(left(), top); }

void WindowBounds::setLeft(int left) { m_window->move(left, top()); }

void WindowBounds::setWidth(int width) { resizeOuter(QSize(std::max(width, m_minimumOuter.width()), height())); }

void WindowBounds::setHeight(int height) { resizeOuter(QSize(width(), std::max(height, m_minimumOuter.height()))); }

void WindowBounds::resizeOuter(QSize outer)
{
    m_requestedOuter = outer;
    m_window->resize(outer - m_frame);
}

void WindowBounds::keepOnScreen()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect outer(left(), top(), width(), height());
    const QRect placed = placeOnScreen(outer, screens);
    if (placed.topLeft() != outer.topLeft())
        m_window->move(placed.topLeft());
}

// Before the window is shown Qt reports no frame; once shown, the difference between the outer
// and the inner geometry is the real frame, and the outer figures are made true with it.
bool WindowBounds::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        if (m_window->isVisible())
            applyFrame();
        break;
    default:
        break;
    }
    return false;
}

void WindowBounds::applyFrame()
{
    if (m_applying)
        return;
    const QSize real = m_window->frameGeometry().size() - m_window->size();
    if (m_frameKnown && real == m_frame) {
        // A size change the frame does not explain is the user's: it replaces the request.
        if (m_requestedOuter.isValid() && m_window->size() + m_frame != m_requestedOuter)
            m_requestedOuter = QSize();
        return;
    }
    m_applying = true;
    m_frameKnown = true;
    m_frame = real;
    if (m_requestedOuter.isValid() && !m_window->isMaximized() && !m_window->isFullScreen())
        m_window->resize(m_requestedOuter - m_frame);
    m_window->setMinimumSize((m_minimumOuter - m_frame).expandedTo(QSize(0, 0)));
    m_applying = false;
}

namespace {

qint64 distanceSquared(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max<qint64>({ 0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right() });
    const qint64 dy = std::max<qint64>({ 0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom() });
    return dx * dx + dy * dy;
}

bool showsGrip(const QRect& frame, const QRect& screen, int grip)
{
    if (frame.top() < screen.top() || frame.top() > screen.bottom())
        return false;
    const int visible = std::min(frame.right(), screen.right()) - std::max(frame.left(), screen.left()) + 1;
    return visible >= std::min(grip, frame.width());
}

int clampInto(int start, int length, int low, int high)
{
    // Prefer the start edge (left, top) when the window is larger than the screen.
    if (start + length - 1 > high)
        start = high - length + 1;
    return std::max(start, low);
}

} // namespace

QRect placeOnScreen(const QRect& frame, const QList<QRect>& screens, int grip)
{
    if (screens.isEmpty())
        return frame;
    for (const QRect& screen : screens) {
        if (showsGrip(frame, screen, grip))
            return frame;
    }
    const QRect* nearest = &screens.front();
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        const qint64 distance = distanceSquared(frame, screen);
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    QRect placed = frame;
    placed.moveTo(clampInto(frame.left(), frame.width(), nearest->left(), nearest->right()),
        clampInto(frame.top(), frame.height(), nearest->top(), nearest->bottom()));
    return placed;
}

bool WindowBounds::readOptions(const QString& path)
{
    return readOptionsFile(path, 4, [this](int line, int value) {
        switch (line) {
        case 0:
            setTop(value);
            break;
        case 1:
            setLeft(value);
            break;
        case 2:
            setWidth(value);
            break;
        case 3:
            setHeight(value);
            break;
        }
    });
}

void WindowBounds::writeOptions(const QString& path) const
{
    writeOptionsFile(path, {top(), left(), width(), height()});
}

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace struktur {

/// A top-level window's bounds as the options files keep them: the outer frame's top and left
/// in screen coordinates and its outer width and height, frame included. The window system adds
/// the frame only once the window is shown, so until then the designed frame is assumed, and a
/// requested outer size and the outer minimum are applied again when the real frame is known.
class WindowBounds : public QObject {
    Q_OBJECT

public:
    /// `designedFrame` is the frame the window's design figures assume (outer minus client).
    WindowBounds(QWidget* window, QSize minimumOuter, QSize designedFrame);

    int top() const;
    int left() const;
    int width() const;
    int height() const;

    void setTop(int top);
    void setLeft(int left);
    /// A width or height below the outer minimum is raised to it.
    void setWidth(int width);
    void setHeight(int height);

    /// Moves the window onto the nearest screen when no screen shows enough of it to grab.
    void keepOnScreen();

    /// Reads Top, Left, Width and Height from an options file, one a line, applying each as it
    /// is read; false when the file does not exist. Throws the platform errors of a short or
    /// broken file with the lines before it applied.
    bool readOptions(const QString& path);
    /// Writes Top, Left, Width and Height to an options file.
    void writeOptions(const QString& path) const;

    QSize minimumOuter() const { return m_minimumOuter; }
    /// Raises or lowers the outer minimum; a window smaller than it grows to it.
    void setMinimumOuter(QSize minimumOuter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFrame();
    void resizeOuter(QSize outer);

    QWidget* m_window;
    QSize m_minimumOuter;
    QSize m_frame;
    QSize m_requestedOuter;
    bool m_frameKnown = false;
    bool m_applying = false;
};

/// Where a window with the outer rectangle `frame` goes so that it can be reached: unchanged
/// when a screen shows a strip of its top edge at least `grip` pixels wide; otherwise moved,
/// size kept, to lie as far as possible inside the screen nearest to it. With no screens it
/// stays where it is.
QRect placeOnScreen(const QRect& frame, const QList<QRect>& screens, int grip = 48);

} // namespace struktur

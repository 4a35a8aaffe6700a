// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QAction;
class QWidget;

namespace struktur {

/// A control's hint is kept in this dynamic property ("short|long" or just "long"). Hints are
/// never tooltips: the hint line in the main window's status bar is the only place they show.
inline constexpr char hintProperty[] = "hint";

void setHint(QWidget* widget, const QString& hint);
void setHint(QAction* action, const QString& hint);

/// The hint of the widget itself: its property, or for a tool button without one the hint of
/// its default action. Empty when it has none.
QString ownHint(const QWidget* widget);

/// The hint that counts for a widget under the pointer: its own, or that of the nearest parent
/// that has one; empty when none has. For a menu, the hint of the action under `globalPos`.
QString effectiveHint(const QWidget* widget, QPoint globalPos);

/// The long part of a hint: the text after the first "|", or the whole hint without one.
QString longHint(const QString& hint);

/// The application's hint line. It follows the widget under the pointer in every window and
/// emits `hintChanged` with the long part of the hint that counts for it whenever that differs
/// from the previous one. It also keeps tooltips from showing anywhere.
class HintLine : public QObject {
    Q_OBJECT

public:
    /// The one hint line; it starts watching the application on first use.
    static HintLine& instance();

    const QString& current() const { return m_current; }

    /// Looks again at the widget under the pointer (for example after its hint changed).
    void refresh();

    /// Shows a message of the program (a result, a notice) on the hint line; the next hint
    /// that differs from it replaces it.
    void showMessage(const QString& message);

Q_SIGNALS:
    void hintChanged(const QString& longHint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HintLine();
    void pointTo(QWidget* widget, QPoint globalPos);

    QPointer<QWidget> m_underPointer;
    QPoint m_lastPos;
    QString m_current;
};

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextEdit>

namespace struktur {

/// The editor's rich-text control. After each key and mouse event it has handled it reports
/// `inputHandled`, so the window can show where the caret now stands.
class DocumentEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit DocumentEdit(QWidget* parent = nullptr);

Q_SIGNALS:
    void inputHandled();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace struktur

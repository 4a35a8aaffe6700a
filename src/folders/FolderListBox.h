// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

/// A folder list: the current folder's ancestors from the root down, the current folder, and its
/// subfolders, indented by depth. A click only highlights; a double click or Enter opens the
/// highlighted folder. Its current folder is also the process's working folder.
class FolderListBox : public QListWidget {
    Q_OBJECT

public:
    explicit FolderListBox(QWidget* parent = nullptr);

    /// The current folder: absolute, native separators, no trailing separator except for a root.
    QString directory() const { return m_directory; }

    /// Moves to a folder and makes it the working folder; nothing happens when it is the current
    /// one. Throws struktur::Error (and stays where it was) when the folder cannot be entered.
    void setDirectory(const QString& folder);

    /// Lists the current folder again, for changes made behind the list's back.
    void refresh();

    /// The folder of the highlighted row; empty when none is highlighted.
    QString highlightedFolder() const;

Q_SIGNALS:
    void directoryChanged(const QString& folder);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openHighlighted();

    QString m_directory;
};

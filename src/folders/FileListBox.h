// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

/// A sorted list of the ordinary files of one folder: no folders, no hidden files, no devices,
/// sockets or broken links.
class FileListBox : public QListWidget {
    Q_OBJECT

public:
    explicit FileListBox(QWidget* parent = nullptr);

    /// Lists the files of `folder` (a trailing separator is allowed). Throws struktur::Error and
    /// keeps the old list when the folder does not exist or cannot be read.
    void applyFilePath(const QString& folder);

    /// The folder listed; empty before the first applyFilePath.
    QString directory() const { return m_directory; }

    /// The full path of the highlighted file; empty when none is highlighted.
    QString fileName() const;

    /// Lists the same folder again.
    void refresh();

private:
    QString m_directory;
};

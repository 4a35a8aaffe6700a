// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QHash>

/// The mounted volumes as a drive list. It shows the volume of the folder it is told about and
/// remembers the last folder visited on each volume, which is where choosing that volume leads.
class DriveComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    /// Reads the mounted volumes again.
    void refreshVolumes();

    /// Shows the volume that holds `folder` and remembers it as that volume's current folder.
    void followFolder(const QString& folder);

    /// The root of the volume shown; empty when no volume holds the folder.
    QString currentRoot() const;

    /// The current folder of a volume: the last folder visited on it that still exists, else its root.
    QString folderOfVolume(const QString& root) const;

Q_SIGNALS:
    /// The user chose a volume other than the one of the folder followed; `folder` is that
    /// volume's current folder.
    void driveChosen(const QString& folder);

private:
    QStringList roots() const;

    QHash<QString, QString> m_lastFolder;
    QString m_followedRoot;
};

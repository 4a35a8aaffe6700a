// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveComboBox.h"

#include "FolderPaths.h"
#include "FolderPictures.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace {

constexpr int rootRole = Qt::UserRole;

QString volumeCaption(const QStorageInfo& volume, const QString& root)
{
    const QString name = volume.displayName();
    if (name.isEmpty() || name == volume.rootPath())
        return root;
    return QStringLiteral("%1  [%2]").arg(root, name);
}

} // namespace

DriveComboBox::DriveComboBox(QWidget* parent)
    : QComboBox(parent)
{
    refreshVolumes();
    connect(this, &QComboBox::activated, this, [this](int row) {
        const QString root = itemData(row, rootRole).toString();
        // Choosing the drive the folder list is already on changes nothing.
        if (root == m_followedRoot)
            return;
        Q_EMIT driveChosen(folderOfVolume(root));
    });
}

void DriveComboBox::refreshVolumes()
{
    const QString shown = currentRoot();
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
        [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
    clear();
    for (const QStorageInfo& volume : volumes) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = struktur::folders::normalFolder(volume.rootPath());
        if (findData(root, rootRole) >= 0)
            continue;
        addItem(folderPictures::drive(), volumeCaption(volume, root), root);
    }
    setCurrentIndex(findData(shown, rootRole));
}

QStringList DriveComboBox::roots() const
{
    QStringList result;
    for (int row = 0; row < count(); ++row)
        result.append(itemData(row, rootRole).toString());
    return result;
}

void DriveComboBox::followFolder(const QString& folder)
{
    const QString root = struktur::folders::volumeRootOf(folder, roots());
    m_followedRoot = root;
    if (!root.isEmpty())
        m_lastFolder.insert(root, folder);
    setCurrentIndex(findData(root, rootRole));
}

QString DriveComboBox::currentRoot() const { return currentIndex() < 0 ? QString() : currentData(rootRole).toString(); }

QString DriveComboBox::folderOfVolume(const QString& root) const
{
    const QString last = m_lastFolder.value(root);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return root;
}

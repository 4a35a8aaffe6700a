// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileListBox.h"

#include "FolderPaths.h"
#include "FolderPictures.h"
#include "platform/Error.h"

#include <QCollator>
#include <QDir>
#include <algorithm>

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void FileListBox::applyFilePath(const QString& folder)
{
    const QString target = struktur::folders::normalFolder(QDir(folder).absolutePath());
    const QDir dir(target);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        throw struktur::Error(struktur::folders::folderErrorText(QDir::toNativeSeparators(folder)));
    m_directory = target;
    refresh();
}

void FileListBox::refresh()
{
    clear();
    if (m_directory.isEmpty())
        return;
    QStringList names = QDir(m_directory).entryList(QDir::Files);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    for (const QString& name : names)
        new QListWidgetItem(folderPictures::file(), name, this);
}

QString FileListBox::fileName() const
{
    const QListWidgetItem* row = currentItem();
    if (!row || !row->isSelected())
        return QString();
    return QDir::toNativeSeparators(QDir(m_directory).filePath(row->text()));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderListBox.h"

#include "FolderPaths.h"
#include "FolderPictures.h"
#include "platform/Error.h"

#include <QCollator>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

constexpr int pathRole = Qt::UserRole;
constexpr int depthRole = Qt::UserRole + 1;
constexpr int indentPerLevel = 12;

/// Shifts each row right by its depth, so the list reads as the branch of a tree.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + index.data(depthRole).toInt() * indentPerLevel);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += index.data(depthRole).toInt() * indentPerLevel;
        return size;
    }
};

QString rowText(const QString& folder)
{
    if (struktur::folders::isRootFolder(folder))
        return folder;
    return folder.mid(folder.lastIndexOf(QDir::separator()) + 1);
}

QStringList subfolderNames(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

} // namespace

FolderListBox::FolderListBox(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void FolderListBox::setDirectory(const QString& folder)
{
    const QString target = struktur::folders::normalFolder(QDir(folder).absolutePath());
    if (target == m_directory)
        return;
    if (!QFileInfo(target).isDir() || !QDir::setCurrent(target))
        throw struktur::Error(struktur::folders::folderErrorText(target));
    m_directory = target;
    refresh();
    Q_EMIT directoryChanged(m_directory);
}

void FolderListBox::refresh()
{
    clear();
    if (m_directory.isEmpty())
        return;
    const QStringList chain = struktur::folders::folderChain(m_directory);
    for (qsizetype depth = 0; depth < chain.size(); ++depth) {
        auto* row = new QListWidgetItem(folderPictures::openFolder(), rowText(chain[depth]), this);
        row->setData(pathRole, chain[depth]);
        row->setData(depthRole, int(depth));
    }
    setCurrentRow(int(chain.size()) - 1);
    const QString prefix = struktur::folders::isRootFolder(m_directory) ? m_directory : m_directory + QDir::separator();
    for (const QString& name : subfolderNames(m_directory)) {
        auto* row = new QListWidgetItem(folderPictures::closedFolder(), name, this);
        row->setData(pathRole, prefix + name);
        row->setData(depthRole, int(chain.size()));
    }
}

QString FolderListBox::highlightedFolder() const
{
    const QListWidgetItem* row = currentItem();
    return row ? row->data(pathRole).toString() : QString();
}

void FolderListBox::openHighlighted()
{
    const QString folder = highlightedFolder();
    if (!folder.isEmpty())
        setDirectory(folder);
}

void FolderListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        openHighlighted();
}

void FolderListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openHighlighted();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

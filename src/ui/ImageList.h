// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>

namespace struktur {

/// A window's numbered pictures of one size, as its buttons and actions pick them by index.
class ImageList : public QObject {
    Q_OBJECT

public:
    ImageList(const QString& name, QSize imageSize, QList<QIcon> images, QObject* parent);

    QSize imageSize() const { return m_imageSize; }
    int count() const { return int(m_images.size()); }
    /// The picture at `index`; a null icon outside 0 .. count() - 1.
    QIcon icon(int index) const;

private:
    QSize m_imageSize;
    QList<QIcon> m_images;
};

/// The font of the program's windows: Tahoma 8 point, or the closest sans-serif face at that
/// size where Tahoma is not installed.
QFont windowFont();

} // namespace struktur

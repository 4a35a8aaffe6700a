// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageList.h"

#include <QFont>

namespace struktur {

ImageList::ImageList(const QString& name, QSize imageSize, QList<QIcon> images, QObject* parent)
    : QObject(parent)
    , m_imageSize(imageSize)
    , m_images(std::move(images))
{
    setObjectName(name);
}

QIcon ImageList::icon(int index) const
{
    if (index < 0 || index >= count())
        return QIcon();
    return m_images[index];
}

QFont windowFont()
{
    QFont font;
    // Verdana is Tahoma's wider sibling; Liberation Sans and DejaVu Sans are on every Debian.
    font.setFamilies({ QStringLiteral("Tahoma"), QStringLiteral("Verdana"), QStringLiteral("Liberation Sans"),
        QStringLiteral("DejaVu Sans") });
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

} // namespace struktur

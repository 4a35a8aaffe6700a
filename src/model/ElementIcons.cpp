// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <array>

static void initElementResources()
{
    Q_INIT_RESOURCE(elements);
}

namespace {

constexpr int iconCount = 9;

constexpr std::array<const char*, iconCount> iconFiles = {
    "green-book", "red-book", "letter-t", "information", "exclamation", "question",
    "book-exclamation", "book-question", "folder",
};

QPixmap render(QSvgRenderer& renderer, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon loadIcon(int index)
{
    QSvgRenderer renderer(QStringLiteral(":/elements/%1.svg").arg(QLatin1String(iconFiles[size_t(index)])));
    Q_ASSERT_X(renderer.isValid(), "elementIcon", "element picture missing from the resources");
    QIcon icon;
    // Drawn from the vector picture at both sizes so that the tree stays sharp on dense screens.
    icon.addPixmap(render(renderer, 16));
    icon.addPixmap(render(renderer, 32));
    return icon;
}

} // namespace

QIcon elementIcon(int index)
{
    if (index < 0 || index > iconCount)
        return {};
    static const std::array<QIcon, iconCount> icons = [] {
        initElementResources();
        std::array<QIcon, iconCount> loaded;
        for (int i = 0; i < iconCount; ++i)
            loaded[size_t(i)] = loadIcon(i);
        return loaded;
    }();
    return icons[size_t(std::min(index, iconCount - 1))];
}

QStringList elementIconNames()
{
    return { QStringLiteral("Grøn bog"), QStringLiteral("Rød bog"), QStringLiteral("Tekstsymbol"),
        QStringLiteral("Information"), QStringLiteral("Udråb"), QStringLiteral("Spørgsmål"), QStringLiteral("Bog!"),
        QStringLiteral("Bog?"), QStringLiteral("Mappe") };
}

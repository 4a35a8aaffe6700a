// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageListEdit.h"

#include <QFile>
#include <QString>
#include <array>

static void initEditorResources() { Q_INIT_RESOURCE(editor); }

namespace struktur {

namespace {

constexpr std::array<const char*, ImageListEdit::count> imageNames {
    "cut",
    "copy",
    "paste",
    "undo",
    "delete",
    "bold",
    "italic",
    "underline",
    "font",
    "bullets",
    "alignleft",
    "alignright",
    "aligncenter",
    "editother",
    "print",
};

} // namespace

QIcon ImageListEdit::image(int index)
{
    static const bool resourcesReady = (initEditorResources(), true);
    Q_UNUSED(resourcesReady);
    if (index < 0 || index >= count)
        return {};
    const QString path = QStringLiteral(":/editor/%1-%2.svg")
                             .arg(index, 2, 10, QLatin1Char('0'))
                             .arg(QLatin1String(imageNames[static_cast<size_t>(index)]));
    Q_ASSERT_X(QFile::exists(path), "ImageListEdit::image", "every image of the list is in the resources");
    return QIcon(path);
}

} // namespace struktur

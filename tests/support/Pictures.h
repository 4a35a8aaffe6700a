// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

namespace struktur::test {

/// The file bytes of a picture of `size` in one colour, in `format` ("PNG", "JPEG", …).
inline QByteArray imageBytes(QSize size, const QColor& fill, const char* format = "PNG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

} // namespace struktur::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>

#include <cstdint>
#include <cstring>
#include <optional>

namespace struktur::rtf {

/// Little-endian reads inside one metafile record; reading past its end gives 0 and marks the
/// record bad, so a damaged record can end the drawing instead of reading beyond the data.
class Params {
public:
    Params(const uchar* data, qsizetype size)
        : m_data(data)
        , m_size(size)
    {
    }
    int16_t i16(qsizetype at)
    {
        if (!fits(at, 2))
            return 0;
        return int16_t(m_data[at] | m_data[at + 1] << 8);
    }
    uint16_t u16(qsizetype at) { return uint16_t(i16(at)); }
    uint32_t u32(qsizetype at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; }
    int32_t i32(qsizetype at) { return int32_t(u32(at)); }
    float f32(qsizetype at)
    {
        const uint32_t bits = u32(at);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    /// A COLORREF: red, green and blue in the low three bytes.
    QColor color(qsizetype at)
    {
        const uint32_t ref = u32(at);
        return QColor(int(ref & 0xFF), int(ref >> 8 & 0xFF), int(ref >> 16 & 0xFF));
    }
    QByteArrayView bytes(qsizetype at, qsizetype count)
    {
        if (count < 0 || !fits(at, count))
            return {};
        return QByteArrayView(reinterpret_cast<const char*>(m_data) + at, count);
    }
    qsizetype size() const { return m_size; }
    bool bad() const { return m_bad; }

private:
    bool fits(qsizetype at, qsizetype count)
    {
        if (at < 0 || at > m_size || count > m_size - at) {
            m_bad = true;
            return false;
        }
        return true;
    }

    const uchar* m_data;
    qsizetype m_size;
    bool m_bad = false;
};

/// `pen` as it can be drawn under `transform`: Qt's time to stroke a dashed pen grows with the
/// square of its width, and one thousands of pixels wide, from a picture of a few bytes, took
/// minutes. Pens are drawn at most a tenth of `maxSide` pixels wide.
inline QPen drawablePen(QPen pen, const QTransform& transform, int maxSide)
{
    const double scale = std::max(std::abs(transform.m11()), std::abs(transform.m22()));
    const double widest = maxSide / 10.0;
    if (!pen.isCosmetic() && scale > 0 && pen.widthF() * scale > widest)
        pen.setWidthF(widest / scale);
    return pen;
}

/// The dash of a pen style (the low four bits of both metafile forms' pen styles).
inline Qt::PenStyle penStyle(uint32_t style)
{
    switch (style & 0x0F) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

/// Draws `text` upright in `font` at `position` (device pixels), placed by the metafile's text
/// alignment (left, centre or right; top, baseline or bottom), whichever way the picture's axes
/// point. `advance` is the text's width in `font`.
inline void drawAlignedText(QPainter& painter, const QFont& font, const QColor& color, QPointF position,
    uint32_t align, const QString& text, double advance)
{
    const QFontMetricsF metrics(font);
    if ((align & 6) == 6)
        position.rx() -= advance / 2;
    else if (align & 2)
        position.rx() -= advance;
    if ((align & 24) == 0)
        position.ry() += metrics.ascent(); // top
    else if ((align & 24) == 8)
        position.ry() -= metrics.descent(); // bottom
    painter.resetTransform();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(position, text);
}

/// A device-independent bitmap (info header, colours, pixels) through Qt's BMP reader. The
/// pixels follow the header and its colour table unless `pixelsAt` says where they start.
/// `premultipliedAlpha` reads the fourth byte of 32-bit pixels as their (premultiplied) alpha,
/// as an alpha-blended transfer means it; the BMP reader would drop it.
QImage readDib(QByteArrayView dib, std::optional<uint32_t> pixelsAt = std::nullopt, bool premultipliedAlpha = false);

} // namespace struktur::rtf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileRecords.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>

namespace struktur::rtf {
namespace {

constexpr int kBitmapAllocationLimitMb = 64;
constexpr int kMaxAlphaSide = 4096;

// 32-bit pixels as blue, green, red and alpha, rows from the bottom unless the height is negative.
QImage readAlphaPixels(QByteArrayView pixels, int32_t width, int32_t height)
{
    const bool topDown = height < 0;
    const qint64 rows = std::abs(qint64(height));
    if (width <= 0 || width > kMaxAlphaSide || rows == 0 || rows > kMaxAlphaSide || pixels.size() < width * rows * 4)
        return {};
    QImage image(int(width), int(rows), QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < int(rows); ++row) {
        const char* from = pixels.data() + qsizetype(topDown ? row : rows - 1 - row) * width * 4;
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int x = 0; x < width; ++x, from += 4) {
            const int blue = uchar(from[0]), green = uchar(from[1]), red = uchar(from[2]), alpha = uchar(from[3]);
            // Premultiplied colours above their alpha are damaged data; clamp them.
            to[x] = qRgba(std::min(red, alpha), std::min(green, alpha), std::min(blue, alpha), alpha);
        }
    }
    return image;
}

} // namespace

QImage readDib(QByteArrayView dib, std::optional<uint32_t> pixelsAt, bool premultipliedAlpha)
{
    if (dib.size() < 40)
        return {};
    const auto u32 = [&](int at) {
        return uint32_t(uchar(dib[at])) | uint32_t(uchar(dib[at + 1])) << 8 | uint32_t(uchar(dib[at + 2])) << 16
            | uint32_t(uchar(dib[at + 3])) << 24;
    };
    const uint32_t headerSize = u32(0);
    if (headerSize < 40 || headerSize > uint32_t(dib.size()))
        return {};
    const int bitCount = uchar(dib[14]) | uchar(dib[15]) << 8;
    const uint32_t compression = u32(16);
    uint32_t colors = u32(32);
    if (colors == 0 && bitCount <= 8)
        colors = 1u << bitCount;
    if (colors > 256)
        return {};
    const uint32_t masks = compression == 3 && headerSize == 40 ? 12 : 0;
    const uint32_t pixels = pixelsAt.value_or(headerSize + masks + colors * 4);
    if (pixels > uint32_t(dib.size()))
        return {};
    // Bit fields with 32 bits are the same order when their masks are the usual ones.
    const bool usualMasks = compression == 3 && dib.size() >= 52 && u32(40) == 0xFF0000 && u32(44) == 0xFF00 && u32(48) == 0xFF;
    if (premultipliedAlpha && bitCount == 32 && (compression == 0 || usualMasks))
        return readAlphaPixels(dib.sliced(pixels), int32_t(u32(4)), int32_t(u32(8)));
    // A BMP file is the same bytes behind a 14-byte file header that says where the pixels start.
    QByteArray file;
    file.reserve(dib.size() + 14);
    const uint32_t fileSize = uint32_t(dib.size() + 14);
    file.append("BM");
    for (const uint32_t value : { fileSize, 0u, 14 + pixels })
        for (int shift = 0; shift < 32; shift += 8)
            file.append(char(value >> shift & 0xFF));
    file.append(dib.data(), dib.size());
    QBuffer buffer(&file);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(kBitmapAllocationLimitMb);
    return reader.read();
}

} // namespace struktur::rtf

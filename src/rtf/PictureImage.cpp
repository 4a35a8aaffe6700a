// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureImage.h"

#include "EnhancedMetafile.h"
#include "Metafile.h"

#include <QBuffer>
#include <QImageReader>

#include <cmath>

namespace struktur::rtf {
namespace {

constexpr int kImageAllocationLimitMb = 256;

} // namespace

QImage pictureImage(const Picture& picture)
{
    if (picture.type == PictureType::Wmf || picture.type == PictureType::Emf) {
        // At the size it is shown: the goal size, else \picw/\pich (hundredths of a millimetre).
        const double width = picture.goalWidth > 0 ? picture.goalWidth / kTwipsPerPixel : picture.width * 96.0 / 2540.0;
        const double height
            = picture.goalHeight > 0 ? picture.goalHeight / kTwipsPerPixel : picture.height * 96.0 / 2540.0;
        const QSize size(int(std::lround(std::min(width * picture.scaleX / 100.0, double(kMaxImageSide)))),
            int(std::lround(std::min(height * picture.scaleY / 100.0, double(kMaxImageSide)))));
        return picture.type == PictureType::Wmf ? drawMetafile(picture.data, size) : drawEnhancedMetafile(picture.data, size);
    }
    if (picture.type != PictureType::Png && picture.type != PictureType::Jpeg)
        return {};
    QByteArray data = picture.data;
    QBuffer buffer(&data);
    QImageReader reader(&buffer, picture.type == PictureType::Png ? "png" : "jpeg");
    reader.setAllocationLimit(kImageAllocationLimitMb);
    return reader.read();
}

} // namespace struktur::rtf

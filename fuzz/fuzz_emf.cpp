// SPDX-License-Identifier: GPL-3.0-or-later
// The enhanced metafile player on arbitrary bytes, at a small and a large size.
#include "FontCaches.h"
#include "rtf/EnhancedMetafile.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)struktur::rtf::drawEnhancedMetafile(bytes, QSize(16, 8));
    (void)struktur::rtf::drawEnhancedMetafile(bytes, QSize(1200, 900));
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader on arbitrary bytes: to plain text, into a document, and back out through the writer.
#include "rtf/Rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

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
    (void)struktur::rtf::plainText(bytes);
    QTextDocument document;
    struktur::rtf::loadDocument(bytes, document);
    const QByteArray written = struktur::rtf::write(document);
    QTextDocument again;
    struktur::rtf::read(written, again);
    return 0;
}

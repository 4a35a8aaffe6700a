// SPDX-License-Identifier: GPL-3.0-or-later
// The HTML writer on arbitrary bytes, as rtf2html runs it: pictures handed to a store, the page
// checked to hold no markup that the document's own text made.
#include "rtf/Rtf.h"

#include <QGuiApplication>
#include <QImage>

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
    struktur::rtf::HtmlOptions options;
    options.page = true;
    options.title = QStringLiteral("fuzz");
    options.storePicture = [](const QByteArray& picture, const QString&, const QImage& image) {
        return picture.isEmpty() && image.isNull() ? QString() : QStringLiteral("billede");
    };
    QString page;
    struktur::rtf::html(bytes, options, [&page](QStringView piece) { page += piece; });
    // Whatever the document holds, every '<' starts a tag that the next '>' ends, and no link
    // runs a script.
    bool inTag = false;
    for (QChar c : page) {
        if (c == u'<' || c == u'>') {
            if (inTag == (c == u'<'))
                std::abort();
            inTag = !inTag;
        }
    }
    if (inTag || page.contains(QStringLiteral("href=\"javascript"), Qt::CaseInsensitive)
        || !page.endsWith(QStringLiteral("</html>\n")))
        std::abort();
    return 0;
}

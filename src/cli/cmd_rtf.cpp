// SPDX-License-Identifier: GPL-3.0-or-later
// struktur rtf2txt / rtf2html / rtfresave: the element documents' codec from the command line.
#include "Command.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "rtf/Rtf.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringEncoder>
#include <QTextDocument>

namespace struktur::cli {
namespace {

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::cannotOpenFile(path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error::cannotOpenFile(path, file.errorString());
    return bytes;
}

/// Encodes text as it comes and writes it straight to the stream's device: neither the whole
/// text nor its UTF-8 is ever held, and no copy passes through the stream's own buffer. The
/// encoder is the stream's (UTF-8, no byte-order mark), kept across pieces.
class StreamedText {
public:
    explicit StreamedText(QTextStream& out)
        : m_out(out)
    {
        m_out.flush();
    }

    void write(QStringView text)
    {
        m_bytes.resize(m_encoder.requiredSpace(text.size()));
        char* const end = m_encoder.appendToBuffer(m_bytes.data(), text);
        m_out.device()->write(m_bytes.constData(), end - m_bytes.constData());
    }

private:
    QTextStream& m_out;
    QStringEncoder m_encoder { QStringEncoder::Utf8 };
    QByteArray m_bytes;
};

template <typename Body>
int guarded(QTextStream& err, Body body)
{
    try {
        return body();
    } catch (const Error& error) {
        err << error.message() << '\n';
        return 1;
    }
}

int rtfToText(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() != 1) {
        err << "Brug: struktur rtf2txt FIL.rtf\n";
        return 2;
    }
    return guarded(err, [&] {
        const QByteArray bytes = readWholeFile(arguments[0]);
        if (rtf::isRtf(bytes)) {
            StreamedText streamed(out);
            rtf::plainText(bytes, [&streamed](QStringView piece) { streamed.write(piece); });
        } else {
            QTextDocument document;
            rtf::loadDocument(bytes, document);
            writeInPieces(document.toPlainText(), out);
            out << '\n';
        }
        return 0;
    });
}

// Pictures go inline as data: addresses, so that the page is one file: PNG and JPEG as read,
// metafiles as the PNG they are drawn into.
QString dataAddress(const QByteArray& bytes, const QString& type, const QImage& image)
{
    if (!bytes.isEmpty())
        return u"data:image/"_qs + type + u";base64,"_qs + QString::fromLatin1(bytes.toBase64());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return u"data:image/png;base64,"_qs + QString::fromLatin1(png.toBase64());
}

int rtfToHtml(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() != 1) {
        err << "Brug: struktur rtf2html FIL.rtf\n";
        return 2;
    }
    return guarded(err, [&] {
        const QByteArray bytes = readWholeFile(arguments[0]);
        rtf::HtmlOptions options;
        options.page = true;
        options.title = QFileInfo(arguments[0]).completeBaseName();
        options.storePicture = dataAddress;
        StreamedText streamed(out);
        rtf::html(bytes, options, [&streamed](QStringView piece) { streamed.write(piece); });
        return 0;
    });
}

int rtfResave(const QStringList& arguments, QTextStream&, QTextStream& err)
{
    if (arguments.size() != 2) {
        err << "Brug: struktur rtfresave IND.rtf UD.rtf\n";
        return 2;
    }
    return guarded(err, [&] {
        QTextDocument document;
        rtf::loadDocument(readWholeFile(arguments[0]), document);
        writeFileAtomically(arguments[1], rtf::write(document));
        return 0;
    });
}

const CommandRegistration toText("rtf2txt", "rtf2txt FIL.rtf", rtfToText, Needs::Core);
const CommandRegistration toHtml("rtf2html", "rtf2html FIL.rtf", rtfToHtml);
const CommandRegistration resave("rtfresave", "rtfresave IND.rtf UD.rtf", rtfResave);

} // namespace
} // namespace struktur::cli

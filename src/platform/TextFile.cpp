// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "AtomicFile.h"
#include "Cp1252.h"
#include "Error.h"

#include <QFile>
#include <QStringDecoder>

namespace struktur::textfile {
namespace {

// The caller has taken off the file's mark; a second U+FEFF after it is text, not another mark.
constexpr auto decoderFlags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

QString decodeUtf16(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    QStringDecoder decoder(encoding, decoderFlags);
    return decoder(bytes.first(bytes.size() & ~qsizetype(1)));
}

QString cutAtNul(QString text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder decoder(QStringConverter::Utf8, decoderFlags);
        return cutAtNul(decoder(bytes.sliced(3)));
    }
    if (bytes.startsWith("\xFF\xFE"))
        return cutAtNul(decodeUtf16(bytes.sliced(2), QStringConverter::Utf16LE));
    if (bytes.startsWith("\xFE\xFF"))
        return cutAtNul(decodeUtf16(bytes.sliced(2), QStringConverter::Utf16BE));
    const qsizetype nul = bytes.indexOf('\0');
    return cp1252::decode(nul >= 0 ? bytes.first(nul) : bytes);
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text[i];
        if (ch != u'\r' && ch != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (ch == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.sliced(start).toString());
    return lines;
}

bool looksLikeByteOrderMark(QStringView firstLine)
{
    return firstLine.startsWith(u"\u00EF\u00BB\u00BF") || firstLine.startsWith(u"\u00FF\u00FE")
        || firstLine.startsWith(u"\u00FE\u00FF");
}

QByteArray encode(const QStringList& lines)
{
    bool fits = lines.isEmpty() || !looksLikeByteOrderMark(lines.first());
    qsizetype length = 0;
    for (const QString& line : lines) {
        length += line.size() + 2;
        fits = fits && cp1252::canEncode(line);
    }
    QByteArray bytes;
    if (fits) {
        bytes.reserve(length);
        for (const QString& line : lines) {
            bytes += cp1252::encode(line);
            bytes += "\r\n";
        }
        return bytes;
    }
    bytes.reserve(length * 3 + 3);
    bytes += "\xEF\xBB\xBF";
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::cannotOpenFile(path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error::cannotOpenFile(path, file.errorString());
    // The bytes go before the text is cut, and the last line keeps the text's own buffer, so
    // that a file of one long line is held once, not twice.
    QString text = decode(bytes);
    bytes = QByteArray();
    if (text.isEmpty())
        return {};
    qsizetype end = text.size();
    if (text.endsWith(u"\r\n"))
        end -= 2;
    else if (text.endsWith(u'\r') || text.endsWith(u'\n'))
        end -= 1;
    qsizetype lastStart = end;
    while (lastStart > 0 && text[lastStart - 1] != u'\r' && text[lastStart - 1] != u'\n')
        --lastStart;
    QStringList lines = splitLines(QStringView(text).first(lastStart));
    text.truncate(end);
    text.remove(0, lastStart);
    lines.append(std::move(text));
    return lines;
}

void writeLines(const QString& path, const QStringList& lines)
{
    writeFileAtomically(path, encode(lines));
}

} // namespace struktur::textfile

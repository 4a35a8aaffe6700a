// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "AtomicFile.h"
#include "Cp1252.h"
#include "Error.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace struktur::textfile {
namespace {

// The caller has taken off the file's mark; a second U+FEFF after it is text, not another mark.
constexpr auto decoderFlags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

QString decodeUtf16(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    QStringDecoder decoder(encoding, decoderFlags);
    return decoder(bytes.first(bytes.size() & ~qsizetype(1)));
}

/// Cuts characters into lines, each written into a block followed by a NUL (a QString's own
/// characters always end in one), and hands each on as a string that shares the block. The
/// characters may come in pieces: a line, its leading blanks or a CR LF may span two. `map` turns
/// an input character into its UTF-16 character.
template <typename Char, typename Map>
class LineCutter {
public:
    /// `expected` characters fit the first block; more go to further blocks.
    LineCutter(qsizetype expected, Map map, LeadingBlanks leading, const std::function<void(QString, int)>& take)
        : m_map(map)
        , m_counted(leading == LeadingBlanks::Counted)
        , m_take(take)
    {
        startBlock(expected);
    }

    void feed(const Char* in, qsizetype size)
    {
        const Char* const end = in + size;
        // Every line gives up at least one line-end character for its NUL, except a last line
        // without a line end: one character more than the input is always enough.
        if (m_blockEnd - m_out < size + 1)
            startBlock(size);
        while (in < end) {
            if (m_afterCr) {
                m_afterCr = false;
                if (*in == Char('\n')) {
                    ++in;
                    continue;
                }
            }
            if (!m_lineOpen) {
                m_lineOpen = true;
                m_inBlanks = m_counted;
                m_blanks = 0;
            }
            if (m_inBlanks) {
                for (; in < end && (*in == Char('\t') || *in == Char(' ')); ++in)
                    ++m_blanks;
                if (in == end)
                    return;
                m_inBlanks = false;
            }
            char16_t* out = m_out;
            for (; in < end && *in != Char('\r') && *in != Char('\n'); ++in)
                *out++ = m_map(*in);
            m_out = out;
            if (in == end)
                return;
            m_afterCr = *in++ == Char('\r');
            endLine();
        }
    }

    /// Hands on a last line without a line end.
    void finish()
    {
        if (m_lineOpen)
            endLine();
    }

private:
    /// A new block for `size` more characters; a line under way moves to it.
    void startBlock(qsizetype size)
    {
        const qsizetype begun = m_block.data() ? m_out - m_lineStart : 0;
        auto [header, chars] = QTypedArrayData<char16_t>::allocate(begun + size + 1);
        Q_CHECK_PTR(header);
        if (begun > 0)
            std::copy_n(m_lineStart, begun, chars);
        // QString's own representation: a reference-counted block, and into it a pointer and a size.
        m_block = QString::DataPointer(header, chars, 0);
        m_lineStart = chars;
        m_out = chars + begun;
        m_blockEnd = chars + begun + size + 1;
    }

    void endLine()
    {
        *m_out = u'\0';
        QString::DataPointer line(m_block);
        line.ptr = m_lineStart;
        line.size = m_out - m_lineStart;
        m_lineStart = ++m_out;
        m_lineOpen = false;
        m_take(QString(std::move(line)), m_blanks);
    }

    Map m_map;
    const bool m_counted;
    const std::function<void(QString, int)>& m_take;
    QString::DataPointer m_block;
    char16_t* m_lineStart = nullptr;
    char16_t* m_out = nullptr;
    char16_t* m_blockEnd = nullptr;
    bool m_lineOpen = false;
    bool m_inBlanks = false;
    bool m_afterCr = false;
    int m_blanks = 0;
};

template <typename Char, typename Map>
void cutIntoBlock(const Char* in, qsizetype size, Map map, LeadingBlanks leading,
    const std::function<void(QString, int)>& take)
{
    if (size == 0)
        return;
    LineCutter<Char, Map> cutter(size, map, leading, take);
    cutter.feed(in, size);
    cutter.finish();
}

char16_t codePageChar(unsigned char byte)
{
    return cp1252::charFor(byte);
}

bool startsWithMark(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
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

void forEachLine(QByteArrayView bytes, LeadingBlanks leading, const std::function<void(QString line, int blanks)>& take)
{
    if (startsWithMark(bytes)) {
        const QString text = decode(bytes);
        cutIntoBlock(text.utf16(), text.size(), [](char16_t ch) { return ch; }, leading, take);
        return;
    }
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArrayView text = nul >= 0 ? bytes.first(nul) : bytes;
    cutIntoBlock(reinterpret_cast<const unsigned char*>(text.data()), text.size(), codePageChar, leading, take);
}

void forEachLineOfFile(const QString& path, LeadingBlanks leading,
    const std::function<void(QString line, int blanks)>& take, qsizetype pieceSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw Error::cannotOpenFile(path, file.errorString());
    auto checked = [&file, &path](QByteArray bytes) {
        if (file.error() != QFileDevice::NoError)
            throw Error::cannotOpenFile(path, file.errorString());
        return bytes;
    };
    const qint64 size = file.size();
    const QByteArray head = checked(file.read(3));
    // A file with a mark, or one without a size, is read whole: only the code page is decoded
    // piece by piece.
    if (startsWithMark(head) || size <= 0 || file.isSequential()) {
        forEachLine(head + checked(file.readAll()), leading, take);
        return;
    }
    LineCutter<unsigned char, decltype(&codePageChar)> cutter(size, codePageChar, leading, take);
    QByteArray piece(pieceSize, Qt::Uninitialized);
    QByteArrayView bytes = head;
    while (!bytes.isEmpty()) {
        // A NUL ends the text.
        const qsizetype nul = bytes.indexOf('\0');
        const QByteArrayView text = nul >= 0 ? bytes.first(nul) : bytes;
        cutter.feed(reinterpret_cast<const unsigned char*>(text.data()), text.size());
        if (nul >= 0)
            break;
        const qint64 read = file.read(piece.data(), piece.size());
        if (read < 0 || file.error() != QFileDevice::NoError)
            throw Error::cannotOpenFile(path, file.errorString());
        bytes = QByteArrayView(piece).first(read);
    }
    cutter.finish();
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::cannotOpenFile(path, file.errorString());
    // Read at the size the file has, in one piece: readAll would grow its buffer as it goes.
    QByteArray bytes(file.size(), Qt::Uninitialized);
    const qint64 read = file.read(bytes.data(), bytes.size());
    if (read < 0 || file.error() != QFileDevice::NoError)
        throw Error::cannotOpenFile(path, file.errorString());
    bytes.truncate(read);
    // A file that grew while it was read (or a device without a size) gives the rest here.
    bytes += file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error::cannotOpenFile(path, file.errorString());
    return bytes;
}

QStringList readLines(const QString& path)
{
    QByteArray bytes = readBytes(path);
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

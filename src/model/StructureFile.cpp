// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureFile.h"

#include "platform/Cp1252.h"
#include "platform/Error.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>

namespace struktur::structurefile {

void forEachElement(const ElementTree& tree, const std::function<void(Element*, int)>& visit)
{
    tree.forEachInPreOrder(visit);
}

int lineLevel(QStringView line)
{
    qsizetype level = 0;
    while (level < line.size() && (line[level] == u'\t' || line[level] == u' '))
        ++level;
    return int(level);
}

namespace {

/// Adds the elements of structure lines in file order, each at its level below the one before.
class StructureBuilder {
public:
    explicit StructureBuilder(ElementTree& tree)
        : m_tree(tree)
    {
    }

    void add(QString text, int level)
    {
        if (!m_previous) {
            m_previous = m_tree.append(m_tree.root(), std::move(text));
            m_previousLevel = 0;
            return;
        }
        if (level > m_previousLevel + 1)
            throw Error::invalidLevel(level, text);
        Element* parent = m_previous->parent();
        if (level == m_previousLevel + 1) {
            parent = m_previous;
        } else {
            // The parents left behind have all their children.
            for (int up = m_previousLevel; up > level; --up) {
                m_tree.fitChildren(parent);
                parent = parent->parent();
            }
        }
        m_previous = m_tree.append(parent, std::move(text));
        m_previousLevel = level;
    }

    /// Fits the child lists still open at the end of the file (or at a stop).
    ~StructureBuilder()
    {
        if (!m_previous)
            return;
        for (Element* parent = m_previous->parent(); parent; parent = parent->parent())
            m_tree.fitChildren(parent);
    }

private:
    ElementTree& m_tree;
    Element* m_previous = nullptr;
    int m_previousLevel = 0;
};

/// Gives the elements in pre-order their data lines, one line each.
class DataPairing {
public:
    explicit DataPairing(ElementTree& tree)
        : m_tree(tree)
        , m_next(tree.first())
    {
    }

    void take(QString line)
    {
        if (!m_next)
            return;
        Element* element = m_next;
        m_next = m_tree.next(element);
        ++m_paired;
        element->hasData = true;
        if (line.isEmpty()) {
            element->data = std::move(line);
            element->icon = 0;
            return;
        }
        // Read through const access: a writable front() would copy the line out of its block.
        const QChar first = line.at(0);
        element->data = std::move(line);
        if (first < u'0' || first > u'9')
            throw Error::notAnInteger(QString(first));
        element->icon = qint16(first.unicode() - u'0');
    }

    /// Stops with the list-index error when an element was left without a line.
    void finish() const
    {
        if (m_next)
            throw Error::listIndexOutOfBounds(m_paired);
    }

private:
    const ElementTree& m_tree;
    Element* m_next;
    qsizetype m_paired = 0;
};

} // namespace

void readStructure(QStringList lines, ElementTree& tree)
{
    StructureBuilder builder(tree);
    for (QString& line : lines) {
        const int level = lineLevel(line);
        // Removing in place keeps the line's own buffer for the element: no copy per element.
        line.remove(0, level);
        builder.add(std::move(line), level);
    }
}

void readStructureFile(QByteArrayView bytes, ElementTree& tree)
{
    StructureBuilder builder(tree);
    textfile::forEachLine(bytes, textfile::LeadingBlanks::Counted,
        [&builder](QString line, int level) { builder.add(std::move(line), level); });
}

void readStructureFrom(const QString& path, ElementTree& tree)
{
    StructureBuilder builder(tree);
    textfile::forEachLineOfFile(path, textfile::LeadingBlanks::Counted,
        [&builder](QString line, int level) { builder.add(std::move(line), level); });
}

QStringList structureLines(const ElementTree& tree)
{
    QStringList lines;
    lines.reserve(tree.size());
    forEachElement(tree, [&lines](Element* element, int level) {
        QString line;
        line.reserve(level + element->text.size());
        line.fill(u'\t', level);
        line += element->text;
        lines.append(std::move(line));
    });
    return lines;
}

void applyDataLines(QStringList lines, ElementTree& tree)
{
    DataPairing pairing(tree);
    for (QString& line : lines)
        pairing.take(std::move(line));
    pairing.finish();
}

void applyDataFile(QByteArrayView bytes, ElementTree& tree)
{
    DataPairing pairing(tree);
    textfile::forEachLine(
        bytes, textfile::LeadingBlanks::Kept, [&pairing](QString line, int) { pairing.take(std::move(line)); });
    pairing.finish();
}

void applyDataFrom(const QString& path, ElementTree& tree)
{
    DataPairing pairing(tree);
    textfile::forEachLineOfFile(
        path, textfile::LeadingBlanks::Kept, [&pairing](QString line, int) { pairing.take(std::move(line)); });
    pairing.finish();
}

QStringList dataLines(const ElementTree& tree)
{
    QStringList lines;
    lines.reserve(tree.size());
    for (Element* element = tree.first(); element; element = tree.next(element))
        lines.append(element->hasData ? element->data : QStringLiteral("0"));
    return lines;
}

namespace {

/// Collects bytes in a buffer of a few hundred kilobytes and hands it to the sink when full.
class ChunkedOutput {
public:
    explicit ChunkedOutput(const ByteSink& sink)
        : m_sink(sink)
        , m_buffer(chunkSize, Qt::Uninitialized)
    {
    }
    ChunkedOutput(const ChunkedOutput&) = delete;
    ChunkedOutput& operator=(const ChunkedOutput&) = delete;

    /// Room for at least `size` bytes, to be followed by done() with the end of what was written.
    char* room(qsizetype size)
    {
        if (m_used + size > m_buffer.size()) {
            flush();
            if (size > m_buffer.size())
                m_buffer.resize(size);
        }
        return m_buffer.data() + m_used;
    }
    void done(const char* end) { m_used = end - m_buffer.constData(); }

    void flush()
    {
        if (m_used > 0)
            m_sink(QByteArrayView(m_buffer).first(m_used));
        m_used = 0;
    }

private:
    static constexpr qsizetype chunkSize = 256 * 1024;
    const ByteSink& m_sink;
    QByteArray m_buffer;
    qsizetype m_used = 0;
};

/// Whether every line fits Windows-1252 and the first would not read back as a byte-order mark.
template <typename Lines>
bool fitsCodePage(const Lines& lines)
{
    bool fits = true;
    bool first = true;
    lines([&](int tabs, QStringView text) {
        if (!fits)
            return;
        if (first && tabs == 0 && textfile::looksLikeByteOrderMark(text))
            fits = false;
        first = false;
        for (const QChar ch : text) {
            if (!cp1252::isLatin1Byte(ch.unicode()) && cp1252::byteFor(ch.unicode()) < 0) {
                fits = false;
                return;
            }
        }
    });
    return fits;
}

/// Encodes what the text-file layer would make of the lines without holding the lines or the
/// file: a million-element tree saves without a second copy of its texts. `lines(visit)` calls
/// visit(tabs, text) for every line. Windows-1252 when every line fits, otherwise UTF-8 with its mark.
template <typename Lines>
void encode(const Lines& lines, const ByteSink& sink)
{
    ChunkedOutput output(sink);
    if (fitsCodePage(lines)) {
        lines([&output](int tabs, QStringView text) {
            char* out = output.room(tabs + text.size() + 2);
            std::memset(out, '\t', size_t(tabs));
            out += tabs;
            for (const QChar ch : text) {
                const char16_t unit = ch.unicode();
                *out++ = char(cp1252::isLatin1Byte(unit) ? unit : cp1252::byteFor(unit));
            }
            *out++ = '\r';
            *out++ = '\n';
            output.done(out);
        });
    } else {
        bool first = true;
        lines([&output, &first](int tabs, QStringView text) {
            const QByteArray utf8 = text.toUtf8();
            const qsizetype mark = first ? 3 : 0;
            char* out = output.room(mark + tabs + utf8.size() + 2);
            if (first)
                out = std::copy_n("\xEF\xBB\xBF", 3, out);
            first = false;
            std::memset(out, '\t', size_t(tabs));
            out = std::copy(utf8.cbegin(), utf8.cend(), out + tabs);
            *out++ = '\r';
            *out++ = '\n';
            output.done(out);
        });
    }
    output.flush();
}

QByteArray collect(const std::function<void(const ByteSink&)>& write)
{
    QByteArray bytes;
    write([&bytes](QByteArrayView piece) { bytes += piece; });
    return bytes;
}

} // namespace

QByteArray encodeLines(const QStringList& lines)
{
    return collect([&lines](const ByteSink& sink) {
        encode(
            [&lines](auto&& visit) {
                for (const QString& line : lines)
                    visit(0, QStringView(line));
            },
            sink);
    });
}

void writeStructure(const ElementTree& tree, const ByteSink& sink)
{
    encode(
        [&tree](auto&& visit) {
            tree.forEachInPreOrder([&visit](Element* element, int level) { visit(level, QStringView(element->text)); });
        },
        sink);
}

void writeData(const ElementTree& tree, const ByteSink& sink)
{
    static const QString noData = QStringLiteral("0");
    encode(
        [&tree](auto&& visit) {
            tree.forEachInPreOrder(
                [&visit](Element* element, int) { visit(0, QStringView(element->hasData ? element->data : noData)); });
        },
        sink);
}

QByteArray structureBytes(const ElementTree& tree)
{
    return collect([&tree](const ByteSink& sink) { writeStructure(tree, sink); });
}

QByteArray dataBytes(const ElementTree& tree)
{
    return collect([&tree](const ByteSink& sink) { writeData(tree, sink); });
}

} // namespace struktur::structurefile

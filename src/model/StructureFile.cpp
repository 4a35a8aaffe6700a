// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureFile.h"

#include "platform/Cp1252.h"
#include "platform/Error.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>

namespace struktur::structurefile {

namespace {

template <typename Visit>
void walk(const ElementTree& tree, Visit&& visit)
{
    Element* element = tree.first();
    int level = 0;
    while (element) {
        visit(element, level);
        if (element->hasChildren()) {
            element = element->child(0);
            ++level;
            continue;
        }
        while (element->parent() != tree.root() && element->row() + 1 >= element->parent()->childCount()) {
            element = element->parent();
            --level;
        }
        element = element->row() + 1 < element->parent()->childCount() ? element->parent()->child(element->row() + 1)
                                                                        : nullptr;
    }
}

} // namespace

void forEachElement(const ElementTree& tree, const std::function<void(Element*, int)>& visit)
{
    walk(tree, visit);
}

int lineLevel(QStringView line)
{
    qsizetype level = 0;
    while (level < line.size() && (line[level] == u'\t' || line[level] == u' '))
        ++level;
    return int(level);
}

void readStructure(QStringList lines, ElementTree& tree)
{
    Element* previous = nullptr;
    int previousLevel = 0;
    for (QString& line : lines) {
        const int level = lineLevel(line);
        // Removing in place keeps the line's own buffer for the element: no copy per element.
        line.remove(0, level);
        if (!previous) {
            previous = tree.append(tree.root(), std::move(line));
            previousLevel = 0;
            continue;
        }
        if (level > previousLevel + 1)
            throw Error::invalidLevel(level, line);
        Element* parent = previous->parent();
        if (level == previousLevel + 1) {
            parent = previous;
        } else {
            for (int up = previousLevel; up > level; --up)
                parent = parent->parent();
        }
        previous = tree.append(parent, std::move(line));
        previousLevel = level;
    }
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
    qsizetype n = 0;
    for (Element* element = tree.first(); element; element = tree.next(element), ++n) {
        if (n >= lines.size())
            throw Error::listIndexOutOfBounds(n);
        element->data = std::move(lines[n]);
        element->hasData = true;
        if (element->data.isEmpty()) {
            element->icon = 0;
            continue;
        }
        const QChar first = element->data.front();
        if (first < u'0' || first > u'9')
            throw Error::notAnInteger(QString(first));
        element->icon = qint16(first.unicode() - u'0');
    }
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

template <typename Lines>
QByteArray encodeUtf8WithMark(const Lines& lines, qsizetype length)
{
    QByteArray bytes;
    bytes.reserve(3 * length + 3);
    bytes += "\xEF\xBB\xBF";
    lines([&bytes](int tabs, QStringView text) {
        bytes.append(tabs, '\t');
        bytes += text.toUtf8();
        bytes += "\r\n";
    });
    return bytes;
}

/// Encodes what the text-file layer would make of the lines without holding the lines themselves:
/// a million-element tree saves without a second copy of its texts. `lines(visit)` calls
/// visit(tabs, text) for every line. One pass writes Windows-1252; a character that does not fit
/// (or a first line that looks like a byte-order mark) starts the UTF-8 pass instead.
template <typename Lines>
QByteArray encode(const Lines& lines)
{
    QByteArray bytes;
    qsizetype used = 0;
    qsizetype length = 0;
    bool fits = true;
    bool first = true;
    lines([&](int tabs, QStringView text) {
        const qsizetype lineLength = tabs + text.size() + 2;
        length += lineLength;
        if (first && tabs == 0 && textfile::looksLikeByteOrderMark(text))
            fits = false;
        first = false;
        if (!fits)
            return;
        if (used + lineLength > bytes.size())
            bytes.resize(std::max(2 * bytes.size(), used + lineLength + 4096));
        char* out = bytes.data() + used;
        std::memset(out, '\t', size_t(tabs));
        out += tabs;
        for (const QChar ch : text) {
            const int byte = cp1252::byteFor(ch.unicode());
            if (byte < 0) {
                fits = false;
                return;
            }
            *out++ = char(byte);
        }
        *out++ = '\r';
        *out++ = '\n';
        used += lineLength;
    });
    if (!fits)
        return encodeUtf8WithMark(lines, length);
    bytes.truncate(used);
    return bytes;
}

} // namespace

QByteArray encodeLines(const QStringList& lines)
{
    return encode([&lines](auto&& visit) {
        for (const QString& line : lines)
            visit(0, QStringView(line));
    });
}

QByteArray structureBytes(const ElementTree& tree)
{
    return encode([&tree](auto&& visit) {
        walk(tree, [&visit](Element* element, int level) { visit(level, QStringView(element->text)); });
    });
}

QByteArray dataBytes(const ElementTree& tree)
{
    static const QString noData = QStringLiteral("0");
    return encode([&tree](auto&& visit) {
        for (Element* element = tree.first(); element; element = tree.next(element))
            visit(0, QStringView(element->hasData ? element->data : noData));
    });
}

} // namespace struktur::structurefile

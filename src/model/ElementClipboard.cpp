// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementClipboard.h"

#include "platform/TextFile.h"

#include <QMimeData>
#include <algorithm>

namespace struktur::clipboard {

namespace {

// The own form, one line each, fields separated by tabs:
//   header:  "Strukturkonstruktor elementer 1" [tab cut mark in hex]
//   element: level, icon, "D" or "-" for data, data and caption percent-encoded, document in
//            base64 or "-" for none.
constexpr char header[] = "Strukturkonstruktor elementer 1";
constexpr int elementFields = 6;

bool breaksALine(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar ch) { return ch == u'\r' || ch == u'\n' || ch == u'\0'; });
}

std::optional<int> number(QByteArrayView field)
{
    // Digits only (a leading minus for the icon): "+1", " 1" or "1e3" are not ours.
    if (field.isEmpty() || field.size() > 9)
        return std::nullopt;
    bool ok = false;
    const int value = field.toInt(&ok);
    if (!ok || QByteArray::number(value) != field)
        return std::nullopt;
    return value;
}

std::optional<QString> percentText(QByteArrayView field)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(field.toByteArray());
    QString text = QString::fromUtf8(bytes);
    // Text that is not UTF-8 did not come from us.
    if (text.toUtf8() != bytes)
        return std::nullopt;
    return text;
}

} // namespace

CopiedElements copySubtree(const Element* top)
{
    CopiedElements elements;
    // A pre-order walk that stops where the subtree ends, keeping its level as it goes.
    int level = 0;
    for (const Element* element = top; element;) {
        elements.push_back({ level, element->text, element->hasData, element->hasData ? element->data : QString(),
            element->icon, std::nullopt });
        if (element->hasChildren()) {
            element = element->child(0);
            ++level;
            continue;
        }
        while (element != top && element->row() + 1 >= element->parent()->childCount()) {
            element = element->parent();
            --level;
        }
        element = element == top ? nullptr : element->parent()->child(element->row() + 1);
    }
    return elements;
}

QString plainText(const CopiedElements& elements)
{
    QString text;
    for (const CopiedElement& element : elements) {
        text += QString(element.level, u'\t');
        text += element.text;
        text += u'\n';
    }
    return text;
}

CopiedElements parsePlainText(QStringView text)
{
    CopiedElements elements;
    // The tab counts of the lines that lead to the current one: a line goes below the nearest
    // one indented less than itself, beside one indented as much.
    std::vector<int> open;
    for (const QString& line : textfile::splitLines(text)) {
        qsizetype blanks = 0;
        int tabs = 0;
        while (blanks < line.size() && (line[blanks] == u'\t' || line[blanks] == u' ')) {
            if (line[blanks] == u'\t')
                ++tabs;
            ++blanks;
        }
        QString caption = storableElementText(line.mid(blanks));
        if (caption.trimmed().isEmpty())
            continue;
        while (!open.empty() && open.back() >= tabs)
            open.pop_back();
        elements.push_back({ int(open.size()), std::move(caption), true, QStringLiteral("0"), 0, std::nullopt });
        open.push_back(tabs);
    }
    return elements;
}

QByteArray encode(const CopiedElements& elements, const QByteArray& cutMark)
{
    QByteArray bytes(header);
    if (!cutMark.isEmpty())
        bytes += '\t' + cutMark.toHex();
    bytes += '\n';
    for (const CopiedElement& element : elements) {
        bytes += QByteArray::number(element.level) + '\t' + QByteArray::number(element.icon) + '\t'
            + (element.hasData ? "D" : "-") + '\t' + element.data.toUtf8().toPercentEncoding() + '\t'
            + element.text.toUtf8().toPercentEncoding() + '\t'
            + (element.document ? element.document->toBase64() : QByteArray("-")) + '\n';
    }
    return bytes;
}

std::optional<Decoded> decode(QByteArrayView bytes)
{
    if (!bytes.endsWith('\n'))
        return std::nullopt;
    const QList<QByteArray> lines = bytes.first(bytes.size() - 1).toByteArray().split('\n');
    const QList<QByteArray> head = lines.first().split('\t');
    if (head.first() != header || head.size() > 2)
        return std::nullopt;
    Decoded decoded;
    if (head.size() == 2) {
        decoded.cutMark = QByteArray::fromHex(head[1]);
        if (decoded.cutMark.isEmpty() || decoded.cutMark.toHex() != head[1])
            return std::nullopt;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() != elementFields)
            return std::nullopt;
        CopiedElement element;
        const auto level = number(fields[0]);
        const auto icon = number(fields[1]);
        const int deepest = decoded.elements.empty() ? 0 : decoded.elements.back().level + 1;
        if (!level || *level < 0 || *level > deepest || !icon || *icon < -1 || *icon > 9)
            return std::nullopt;
        element.level = *level;
        element.icon = *icon;
        if (fields[2] != "D" && fields[2] != "-")
            return std::nullopt;
        element.hasData = fields[2] == "D";
        const auto data = percentText(fields[3]);
        const auto text = percentText(fields[4]);
        // A line break in a data string would split its line in the data file.
        if (!data || !text || breaksALine(*data) || (!element.hasData && !data->isEmpty()))
            return std::nullopt;
        element.data = *data;
        element.text = *text;
        if (fields[5] != "-") {
            auto document = QByteArray::fromBase64Encoding(fields[5], QByteArray::AbortOnBase64DecodingErrors);
            if (!document)
                return std::nullopt;
            element.document = std::move(*document);
        }
        decoded.elements.push_back(std::move(element));
    }
    if (decoded.elements.empty())
        return std::nullopt;
    return decoded;
}

QMimeData* toMimeData(const CopiedElements& elements, const QByteArray& cutMark)
{
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(elementsMimeType), encode(elements, cutMark));
    mime->setText(plainText(elements));
    return mime;
}

std::optional<Decoded> fromMimeData(const QMimeData* mime)
{
    if (!mime)
        return std::nullopt;
    if (mime->hasFormat(QLatin1String(elementsMimeType))) {
        if (auto own = decode(mime->data(QLatin1String(elementsMimeType))))
            return own;
    }
    if (!mime->hasText())
        return std::nullopt;
    Decoded fromText { parsePlainText(mime->text()), {} };
    if (fromText.elements.empty())
        return std::nullopt;
    return fromText;
}

} // namespace struktur::clipboard

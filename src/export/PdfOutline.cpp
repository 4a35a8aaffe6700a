// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfOutline.h"

#include "platform/Error.h"

#include <QRegularExpression>

namespace struktur::publish {
namespace {

[[noreturn]] void fail(const char* what)
{
    throw Error(QStringLiteral("PDF-filen kan ikke få bogmærker: ") + QLatin1String(what));
}

/// The dictionary text of object `number` (between "N 0 obj" and "endobj"), the last one when an
/// earlier update already replaced it.
QByteArray objectText(const QByteArray& pdf, int number)
{
    const QByteArray header = QByteArray::number(number) + " 0 obj";
    qsizetype at = pdf.size();
    for (;;) {
        at = pdf.lastIndexOf(header, at - 1);
        if (at < 0)
            fail("et objekt mangler");
        // The number must start a line, or "12 0 obj" would also be found inside "112 0 obj".
        if (at == 0 || pdf[at - 1] == '\n' || pdf[at - 1] == '\r')
            break;
    }
    const qsizetype start = at + header.size();
    const qsizetype end = pdf.indexOf("endobj", start);
    if (end < 0)
        fail("et objekt er ikke afsluttet");
    return pdf.mid(start, end - start).trimmed();
}

int reference(const QByteArray& dictionary, const char* key)
{
    const QRegularExpression pattern(QLatin1Char('/') + QLatin1String(key) + QStringLiteral("\\s+(\\d+)\\s+0\\s+R"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(dictionary));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

/// A text string as PDF wants it outside ASCII: UTF-16BE with its mark, in hex.
QByteArray textString(const QString& text)
{
    QByteArray utf16("\xFE\xFF", 2);
    for (QChar c : text) {
        utf16.append(char(c.unicode() >> 8));
        utf16.append(char(c.unicode() & 0xFF));
    }
    return '<' + utf16.toHex().toUpper() + '>';
}

QByteArray ref(int number) { return QByteArray::number(number) + " 0 R"; }

} // namespace

QByteArray addOutline(
    const QByteArray& pdf, const std::vector<OutlineEntry>& entries, const std::vector<int>& pageOrder)
{
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startxrefAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startxrefAt < trailerAt)
        fail("ingen trailer");
    const QByteArray trailer = pdf.mid(trailerAt, startxrefAt - trailerAt);
    const QString trailerText = QString::fromLatin1(trailer);
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(trailerText);
    const int root = reference(trailer, "Root");
    const int info = reference(trailer, "Info");
    if (!size.hasMatch() || root < 0)
        fail("trailer uden /Size eller /Root");
    const qsizetype previousXref = pdf.mid(startxrefAt + 9).trimmed().split('\n').value(0).trimmed().toLongLong();

    const QByteArray catalog = objectText(pdf, root);
    const int pagesObject = reference(catalog, "Pages");
    if (pagesObject < 0)
        fail("katalog uden /Pages");
    const QByteArray pages = objectText(pdf, pagesObject);
    const qsizetype kidsAt = pages.indexOf("/Kids");
    const qsizetype kidsOpen = pages.indexOf('[', kidsAt);
    const qsizetype kidsClose = pages.indexOf(']', kidsOpen);
    if (kidsAt < 0 || kidsOpen < 0 || kidsClose < 0)
        fail("sidetræ uden /Kids");
    std::vector<int> kids;
    static const QRegularExpression kidPattern(QStringLiteral("(\\d+)\\s+0\\s+R"));
    for (const QRegularExpressionMatch& kid :
        kidPattern.globalMatch(QString::fromLatin1(pages.mid(kidsOpen + 1, kidsClose - kidsOpen - 1))))
        kids.push_back(kid.captured(1).toInt());

    std::vector<int> order = pageOrder;
    if (order.empty())
        for (size_t i = 0; i < kids.size(); ++i)
            order.push_back(int(i));
    if (order.size() != kids.size())
        fail("sideordenen passer ikke til siderne");
    QByteArray kidsText;
    for (int page : order) {
        if (page < 0 || size_t(page) >= kids.size())
            fail("sideordenen nævner en side, der ikke findes");
        kidsText += ref(kids[size_t(page)]) + ' ';
    }

    // Objects appended: the outline root, then one per entry in the entries' order.
    const int first = size.captured(1).toInt();
    const int outlineRoot = first;
    const auto entryObject = [&](qsizetype index) { return first + 1 + int(index); };
    const qsizetype count = qsizetype(entries.size());
    // Children of every entry and of the root (index count), in order, for first/last/prev/next.
    std::vector<std::vector<qsizetype>> children(size_t(count) + 1);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype parent = entries[size_t(i)].parent;
        if (parent >= i || parent < -1)
            fail("et bogmærke står før sit overordnede");
        children[size_t(parent < 0 ? count : parent)].push_back(i);
    }
    std::vector<qsizetype> previous(size_t(count), -1), next(size_t(count), -1);
    for (const std::vector<qsizetype>& siblings : children)
        for (size_t s = 0; s + 1 < siblings.size(); ++s) {
            next[size_t(siblings[s])] = siblings[s + 1];
            previous[size_t(siblings[s + 1])] = siblings[s];
        }

    QByteArray update = "\n";
    std::vector<std::pair<int, qsizetype>> offsets;
    const auto object = [&](int number, const QByteArray& body) {
        offsets.emplace_back(number, pdf.size() + update.size());
        update += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    };

    QByteArray newCatalog = catalog;
    const qsizetype end = newCatalog.lastIndexOf(">>");
    newCatalog.insert(end, "/Outlines " + ref(outlineRoot) + "\n/PageMode /UseOutlines\n");
    object(root, newCatalog);
    QByteArray newPages = pages;
    newPages.replace(kidsOpen + 1, kidsClose - kidsOpen - 1, kidsText);
    object(pagesObject, newPages);

    const std::vector<qsizetype>& top = children[size_t(count)];
    QByteArray rootBody = "<< /Type /Outlines";
    if (!top.empty())
        rootBody += " /First " + ref(entryObject(top.front())) + " /Last " + ref(entryObject(top.back())) + " /Count "
            + QByteArray::number(qsizetype(top.size()));
    object(outlineRoot, rootBody + " >>");
    for (qsizetype i = 0; i < count; ++i) {
        const OutlineEntry& entry = entries[size_t(i)];
        if (entry.page < 0 || size_t(entry.page) >= kids.size())
            fail("et bogmærke peger på en side, der ikke findes");
        const int pageObject = kids[size_t(order[size_t(entry.page)])];
        QByteArray body = "<< /Title " + textString(entry.title) + " /Parent "
            + ref(entry.parent < 0 ? outlineRoot : entryObject(entry.parent));
        if (previous[size_t(i)] >= 0)
            body += " /Prev " + ref(entryObject(previous[size_t(i)]));
        if (next[size_t(i)] >= 0)
            body += " /Next " + ref(entryObject(next[size_t(i)]));
        const std::vector<qsizetype>& own = children[size_t(i)];
        // Closed: the count is minus the children shown when the entry is opened.
        if (!own.empty())
            body += " /First " + ref(entryObject(own.front())) + " /Last " + ref(entryObject(own.back())) + " /Count -"
                + QByteArray::number(qsizetype(own.size()));
        body += " /Dest [" + ref(pageObject) + " /XYZ null " + QByteArray::number(entry.top, 'f', 2) + " null] >>";
        object(entryObject(i), body);
    }

    const qsizetype xrefAt = pdf.size() + update.size();
    update += "xref\n";
    for (const auto& [number, offset] : offsets)
        update
            += QByteArray::number(number) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<< /Size " + QByteArray::number(entryObject(count)) + " /Root " + ref(root);
    if (info >= 0)
        update += " /Info " + ref(info);
    const QRegularExpressionMatch id = QRegularExpression(QStringLiteral("/ID\\s*\\[[^\\]]*\\]")).match(trailerText);
    if (id.hasMatch())
        update += ' ' + id.captured(0).toLatin1();
    update
        += " /Prev " + QByteArray::number(previousXref) + " >>\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return pdf + update;
}

} // namespace struktur::publish

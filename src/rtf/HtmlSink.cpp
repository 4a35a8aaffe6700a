// SPDX-License-Identifier: GPL-3.0-or-later
#include "HtmlSink.h"

#include "ListLabel.h"
#include "PictureImage.h"
#include "ReaderLimits.h"
#include "Shading.h"

#include <QBuffer>
#include <QImageReader>
#include <QUrl>

#include <algorithm>

namespace struktur::rtf {
namespace {

// The rules the document's markup relies on; the exported site's sheet holds the same.
constexpr QStringView kPageStyle = u".dokument p { margin: 0; white-space: pre-wrap; }\n"
                                   ".dokument li { white-space: pre-wrap; }\n"
                                   ".dokument ul, .dokument ol { margin: 0; }\n"
                                   ".dokument table { border-collapse: collapse; margin: .3em 0; }\n"
                                   ".dokument td { padding: 3px; vertical-align: top; }\n"
                                   ".dokument table.kanter td { border: 1px solid #808080; }\n"
                                   ".dokument img { max-width: 100%; height: auto; }\n"
                                   ".dokument .objekt { display: inline-block; box-sizing: border-box; "
                                   "background: #e0e0e0; border: 1px solid #808080; }\n"
                                   ".dokument .fodnoter { border-top: 1px solid #808080; margin-top: 1em; }\n";

QString pixels(double twips) { return QString::number(qRound(twips / kTwipsPerPixel * 10) / 10.0) + u"px"_qs; }

QString colour(int64_t rgb) { return QColor(QRgb(rgb)).name(QColor::HexRgb); }

/// Appends the entity for a character that markup gives a meaning; false for any other.
bool appendEntity(QString& out, QChar c)
{
    switch (c.unicode()) {
    case u'&':
        out += u"&amp;"_qs;
        return true;
    case u'<':
        out += u"&lt;"_qs;
        return true;
    case u'>':
        out += u"&gt;"_qs;
        return true;
    case u'"':
        out += u"&quot;"_qs;
        return true;
    default:
        return false;
    }
}

// Escapes into `out`; line breaks become <br>, and characters an HTML document may not hold
// (other controls, the object mark) are left out.
void appendEscaped(QString& out, QStringView text)
{
    for (QChar c : text) {
        if (appendEntity(out, c))
            continue;
        switch (c.unicode()) {
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
        case u'\n':
            out += u"<br>"_qs;
            break;
        case QChar::ObjectReplacementCharacter:
            break;
        case u'\t':
            out += c;
            break;
        default:
            if (c.unicode() >= 0x20 && c.unicode() != 0x7f && !(c.unicode() >= 0x80 && c.unicode() < 0xa0))
                out += c;
        }
    }
}

// A family name goes into a quoted CSS string inside a quoted attribute: characters that could
// end either are left out.
QString cssFamily(const QString& family)
{
    QString clean;
    for (QChar c : family) {
        if (c != u'\'' && c != u'"' && c != u'\\' && c != u'<' && c != u'>' && c != u'&' && c != u';' && c.isPrint())
            clean += c;
    }
    return clean;
}

bool isSafeLink(const QString& href)
{
    if (href.startsWith(u'#'))
        return true;
    const QUrl url(href);
    const QString scheme = url.scheme().toLower();
    return url.isValid()
        && (scheme == u"http"_qs || scheme == u"https"_qs || scheme == u"mailto"_qs || scheme == u"ftp"_qs);
}

bool isOrdered(QTextListFormat::Style style)
{
    return style != QTextListFormat::ListDisc && style != QTextListFormat::ListCircle
        && style != QTextListFormat::ListSquare && style != QTextListFormat::ListStyleUndefined;
}

QStringView listStyleType(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle: return u"circle";
    case QTextListFormat::ListSquare: return u"square";
    case QTextListFormat::ListDecimal: return u"decimal";
    case QTextListFormat::ListLowerAlpha: return u"lower-alpha";
    case QTextListFormat::ListUpperAlpha: return u"upper-alpha";
    case QTextListFormat::ListLowerRoman: return u"lower-roman";
    case QTextListFormat::ListUpperRoman: return u"upper-roman";
    default: return u"disc";
    }
}

// A numbered list whose labels CSS cannot draw ("(1)", "1)") writes them out itself.
bool writesOwnLabels(const ListInfo& list)
{
    return isOrdered(list.style) && (!list.prefix.isEmpty() || list.suffix != u"."_qs);
}

void appendStyleAttribute(QString& out, const QString& declarations)
{
    if (declarations.isEmpty())
        return;
    out += u" style=\""_qs;
    out += declarations;
    out += u'"';
}

} // namespace

QString escapeHtml(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        if (!appendEntity(escaped, c))
            escaped += c;
    }
    return escaped;
}

HtmlSink::HtmlSink(Writer write, HtmlOptions options, qsizetype pieceSize)
    : m_write(std::move(write))
    , m_options(std::move(options))
    , m_pieceSize(pieceSize)
{
    m_body.html.reserve(pieceSize + pieceSize / 4);
}

const QString& HtmlSink::charStyle(const CharProps& chr)
{
    if (m_hasStyle && m_styled == chr)
        return m_style;
    m_styled = chr;
    m_hasStyle = true;
    QString& style = m_style;
    style.clear();
    if (const FontEntry* font = tables->font(chr.font); font && !cssFamily(font->name).isEmpty())
        style += u"font-family:'"_qs + cssFamily(font->name) + u"';"_qs;
    style += u"font-size:"_qs + QString::number(chr.halfPoints / 2.0) + u"pt;"_qs;
    if (chr.bold)
        style += u"font-weight:bold;"_qs;
    if (chr.italic)
        style += u"font-style:italic;"_qs;
    const bool underline = chr.underline != Underline::None;
    if (underline && chr.strike)
        style += u"text-decoration:underline line-through;"_qs;
    else if (underline)
        style += u"text-decoration:underline;"_qs;
    else if (chr.strike)
        style += u"text-decoration:line-through;"_qs;
    switch (chr.underline) {
    case Underline::Dotted: style += u"text-decoration-style:dotted;"_qs; break;
    case Underline::Dash:
    case Underline::DashDot:
    case Underline::DashDotDot: style += u"text-decoration-style:dashed;"_qs; break;
    case Underline::Wave: style += u"text-decoration-style:wavy;"_qs; break;
    case Underline::None:
    case Underline::Single: break;
    }
    if (const int64_t rgb = tables->color(chr.color); rgb >= 0)
        style += u"color:"_qs + colour(rgb) + u';';
    if (const int64_t rgb = tables->color(chr.background); rgb >= 0)
        style += u"background-color:"_qs + colour(rgb) + u';';
    if (chr.vertical == VerticalPosition::Super)
        style += u"vertical-align:super;"_qs;
    else if (chr.vertical == VerticalPosition::Sub)
        style += u"vertical-align:sub;"_qs;
    if (chr.capitals == Capitals::All)
        style += u"text-transform:uppercase;"_qs;
    else if (chr.capitals == Capitals::Small)
        style += u"font-variant:small-caps;"_qs;
    return style;
}

QString HtmlSink::paragraphStyle(const ParaProps& para, bool inList) const
{
    QString style;
    if (para.alignment == Alignment::Center)
        style += u"text-align:center;"_qs;
    else if (para.alignment == Alignment::Right)
        style += u"text-align:right;"_qs;
    else if (para.alignment == Alignment::Justify)
        style += u"text-align:justify;"_qs;
    // Inside a list the list's own indent places the item.
    if (!inList) {
        if (para.leftIndent > 0)
            style += u"margin-left:"_qs + pixels(para.leftIndent) + u';';
        // A first line that would start left of the page starts at its edge.
        if (const int first = std::max(para.firstIndent, -std::max(0, para.leftIndent)); first != 0)
            style += u"text-indent:"_qs + pixels(first) + u';';
    }
    if (para.rightIndent > 0)
        style += u"margin-right:"_qs + pixels(para.rightIndent) + u';';
    if (para.spaceBefore > 0)
        style += u"margin-top:"_qs + pixels(para.spaceBefore) + u';';
    if (para.spaceAfter > 0)
        style += u"margin-bottom:"_qs + pixels(para.spaceAfter) + u';';
    if (para.lineSpacing != 0) {
        if (para.lineMultiple && para.lineSpacing > 0)
            style += u"line-height:"_qs + QString::number(qRound(para.lineSpacing / 2.4) / 100.0) + u';';
        else
            style += u"line-height:"_qs + pixels(std::abs(para.lineSpacing)) + u';';
    }
    if (const QColor shading = shadingColor(para, *tables); shading.isValid())
        style += u"background-color:"_qs + shading.name(QColor::HexRgb) + u';';
    if (para.pageBreakBefore)
        style += u"break-before:page;"_qs;
    return style;
}

void HtmlSink::text(QStringView text, const CharProps& chr)
{
    const bool link = chr.link >= 0 && chr.link < int(tables->links.size()) && isSafeLink(tables->links[chr.link]);
    if (link) {
        m_paragraph += u"<a href=\""_qs;
        m_paragraph += escapeHtml(tables->links[chr.link]);
        m_paragraph += u"\">"_qs;
    }
    const QString& style = charStyle(chr);
    if (!style.isEmpty()) {
        m_paragraph += u"<span"_qs;
        appendStyleAttribute(m_paragraph, style);
        m_paragraph += u'>';
    }
    appendEscaped(m_paragraph, text);
    if (!style.isEmpty())
        m_paragraph += u"</span>"_qs;
    if (link)
        m_paragraph += u"</a>"_qs;
}

// List items keep their white space (pre-wrap), which a nested list inherits: line breaks go
// only between the items of an outermost list, never inside an item.
void HtmlSink::closeList(Flow& flow)
{
    flow.html += flow.lists.back().ordered ? u"</li></ol>"_qs : u"</li></ul>"_qs;
    flow.lists.pop_back();
    if (flow.lists.empty())
        flow.html += u'\n';
}

void HtmlSink::closeLists(Flow& flow)
{
    while (!flow.lists.empty())
        closeList(flow);
}

// Opens the list item of a paragraph, nesting by level, so that a nested list stands inside the
// item before it as HTML wants. A list counts on from its first item's start number, also
// across paragraphs between its items.
bool HtmlSink::enterList(const ListInfo& list, Flow& flow, const QString& itemStyle)
{
    const int number = m_nextNumbers.try_emplace(list.key, list.start).first->second++;
    std::vector<OpenList>& open = flow.lists;
    const auto endsBefore = [&list](const OpenList& other) {
        return other.level > list.level || (other.level == list.level && other.key != list.key);
    };
    while (!open.empty() && endsBefore(open.back()))
        closeList(flow);
    if (!open.empty() && open.back().key == list.key) {
        flow.html += open.size() == 1 ? u"</li>\n"_qs : u"</li>"_qs;
    } else {
        const bool ordered = isOrdered(list.style);
        flow.html += ordered ? u"<ol"_qs : u"<ul"_qs;
        appendStyleAttribute(flow.html,
            u"list-style-type:"_qs + (writesOwnLabels(list) ? u"none"_qs : listStyleType(list.style).toString()));
        if (ordered && number != 1)
            flow.html += u" start=\""_qs + QString::number(number) + u'"';
        flow.html += open.empty() ? u">\n"_qs : u">"_qs;
        open.push_back({ list.key, list.level, ordered });
    }
    flow.html += u"<li"_qs;
    appendStyleAttribute(flow.html, itemStyle);
    flow.html += u'>';
    if (!writesOwnLabels(list))
        return false;
    appendEscaped(flow.html, listLabel(list.style, number, list.prefix, list.suffix));
    flow.html += u' ';
    return true;
}

void HtmlSink::writeParagraph(const ParaProps& para, const ListInfo& list, Flow& flow)
{
    const QString style = paragraphStyle(para, list.present);
    bool labelled = false;
    if (list.present) {
        labelled = enterList(list, flow, style);
    } else {
        closeLists(flow);
        flow.html += u"<p"_qs;
        appendStyleAttribute(flow.html, style);
        flow.html += u'>';
    }
    // An empty paragraph still takes its line.
    if (m_paragraph.isEmpty() && !labelled)
        flow.html += u"<br>"_qs;
    flow.html += m_paragraph;
    m_paragraph.resize(0);
    if (!list.present)
        flow.html += u"</p>\n"_qs;
}

void HtmlSink::paragraphEnd(const ParaProps& para, const ListInfo& list, const CharProps&)
{
    if (m_inRow) {
        writeParagraph(para, list, m_cell);
        return;
    }
    if (m_inTable)
        tableEnd();
    writeParagraph(para, list, m_body);
    flushIfFull();
}

void HtmlSink::rowStart(const RowDef& row)
{
    if (!m_inTable) {
        closeLists(m_body);
        m_inTable = true;
        m_borders = row.borders;
        m_widths.clear();
        int left = 0;
        for (const CellDef& cell : row.cells) {
            m_widths.push_back(std::max(120, cell.right - left));
            left = cell.right;
        }
        m_verticalStart.assign(size_t(kMaxCellsPerRow), -1);
        writeTableStart();
    }
    m_rows.emplace_back();
    m_inRow = true;
}

void HtmlSink::endCell()
{
    closeLists(m_cell);
    std::vector<Cell>& cells = m_rows.back();
    // Cells beyond the last column become paragraphs of the last cell.
    if (cells.size() >= size_t(kMaxCellsPerRow))
        cells.back().html += m_cell.html;
    else
        cells.push_back(Cell { m_cell.html });
    m_cell.html.resize(0);
}

void HtmlSink::cellEnd(const ParaProps& para, const ListInfo& list, const CharProps& chr)
{
    if (!m_inRow) {
        paragraphEnd(para, list, chr);
        return;
    }
    writeParagraph(para, list, m_cell);
    endCell();
}

void HtmlSink::coveredCellEnd()
{
    if (m_inRow)
        endCell();
}

void HtmlSink::rowEnd(const RowDef& row)
{
    if (!m_inRow)
        return;
    if (!m_cell.html.isEmpty())
        endCell();
    m_inRow = false;
    mergeCells(row);
    // Rows wait only while a cell of theirs may still grow downwards.
    if (std::all_of(m_verticalStart.begin(), m_verticalStart.end(), [](int start) { return start < 0; }))
        writeRows();
}

// The merges of the row just ended, as its definition marks them: a covered cell's content
// joins the cell that covers it. Row numbers count from the first row not yet written.
void HtmlSink::mergeCells(const RowDef& row)
{
    const int r = int(m_rows.size()) - 1;
    std::vector<Cell>& cells = m_rows.back();
    const int columns = std::min<int>(int(row.cells.size()), int(cells.size()));
    for (int c = 0; c < columns; ++c) {
        if (cells[c].covered) {
            m_verticalStart[c] = -1;
            continue;
        }
        const CellDef& def = row.cells[c];
        if (def.horizontal == CellMerge::First) {
            int span = 1;
            while (c + span < columns && row.cells[c + span].horizontal == CellMerge::Continue) {
                cells[c].html += cells[c + span].html;
                cells[c + span].covered = true;
                ++span;
            }
            cells[c].columnSpan = span;
        }
        if (def.vertical == CellMerge::First) {
            m_verticalStart[c] = r;
        } else if (def.vertical == CellMerge::Continue && m_verticalStart[c] >= 0 && cells[c].columnSpan == 1
            && c < int(m_rows[m_verticalStart[c]].size())) {
            Cell& start = m_rows[m_verticalStart[c]][c];
            if (start.columnSpan == 1 && !start.covered) {
                start.rowSpan = r - m_verticalStart[c] + 1;
                start.html += cells[c].html;
                cells[c].covered = true;
            }
        } else {
            m_verticalStart[c] = -1;
        }
    }
    // A row without the cell ends the merge in its column.
    std::fill(m_verticalStart.begin() + columns, m_verticalStart.end(), -1);
}

void HtmlSink::tableEnd()
{
    if (!m_inTable)
        return;
    if (m_inRow) {
        if (!m_cell.html.isEmpty())
            endCell();
        m_inRow = false;
    }
    writeRows();
    m_body.html += u"</table>\n"_qs;
    m_inTable = false;
    flushIfFull();
}

void HtmlSink::writeTableStart()
{
    QString& out = m_body.html;
    out += m_borders ? u"<table class=\"kanter\">\n"_qs : u"<table>\n"_qs;
    if (!m_widths.empty()) {
        out += u"<colgroup>"_qs;
        for (int width : m_widths)
            out += u"<col style=\"width:"_qs + pixels(width) + u"\">"_qs;
        out += u"</colgroup>\n"_qs;
    }
}

void HtmlSink::writeRows()
{
    QString& out = m_body.html;
    for (const std::vector<Cell>& row : m_rows) {
        out += u"<tr>"_qs;
        for (const Cell& cell : row) {
            if (cell.covered)
                continue;
            out += u"<td"_qs;
            if (cell.rowSpan > 1)
                out += u" rowspan=\""_qs + QString::number(cell.rowSpan) + u'"';
            if (cell.columnSpan > 1)
                out += u" colspan=\""_qs + QString::number(cell.columnSpan) + u'"';
            out += u">\n"_qs;
            out += cell.html;
            out += u"</td>"_qs;
        }
        out += u"</tr>\n"_qs;
        flushIfFull();
    }
    m_rows.clear();
}

// Shows a picture that can be shown, sized as the document sizes it; false for one that cannot.
bool HtmlSink::showPicture(const Picture& picture)
{
    double width = 0;
    double height = 0;
    QString address;
    if (picture.type == PictureType::Png || picture.type == PictureType::Jpeg) {
        // The header gives the size; the picture itself goes out as read.
        QByteArray data = picture.data;
        QBuffer buffer(&data);
        QImageReader reader(&buffer, picture.type == PictureType::Png ? "png" : "jpeg");
        const QSize size = reader.size();
        if (size.isEmpty())
            return false;
        width = picture.goalWidth > 0 ? picture.goalWidth / kTwipsPerPixel : size.width();
        height = picture.goalHeight > 0 ? picture.goalHeight / kTwipsPerPixel : size.height();
        width *= picture.scaleX / 100.0;
        height *= picture.scaleY / 100.0;
        if (m_options.storePicture)
            address = m_options.storePicture(
                picture.data, picture.type == PictureType::Png ? u"png"_qs : u"jpeg"_qs, QImage());
    } else if (picture.type == PictureType::Wmf || picture.type == PictureType::Emf) {
        if (!m_options.storePicture)
            return true;
        // Drawn at the size it is shown.
        const QImage image = pictureImage(picture);
        if (image.isNull())
            return false;
        width = image.width();
        height = image.height();
        address = m_options.storePicture(QByteArray(), QString(), image);
    } else {
        return false;
    }
    if (address.isEmpty())
        return true;
    m_paragraph += u"<img src=\""_qs + escapeHtml(address) + u"\" alt=\"\""_qs;
    const auto shown = [](double side) {
        return QString::number(qRound(std::clamp(side, 1.0, double(kMaxImageSide))));
    };
    m_paragraph += u" width=\""_qs + shown(width) + u"\" height=\""_qs + shown(height) + u"\">"_qs;
    return true;
}

// What cannot be shown stands as a grey box of its size.
void HtmlSink::placeholder(int widthTwips, int heightTwips)
{
    const int width = widthTwips > 0 ? std::clamp(int(widthTwips / kTwipsPerPixel), 8, 2000) : 96;
    const int height = heightTwips > 0 ? std::clamp(int(heightTwips / kTwipsPerPixel), 8, 2000) : 96;
    m_paragraph += u"<span class=\"objekt\" style=\"width:"_qs + QString::number(width) + u"px;height:"_qs
        + QString::number(height) + u"px\"></span>"_qs;
}

void HtmlSink::picture(const Picture& picture, QByteArrayView group, const CharProps&)
{
    if (!showPicture(picture) && !group.isEmpty())
        placeholder(picture.goalWidth * picture.scaleX / 100, picture.goalHeight * picture.scaleY / 100);
}

void HtmlSink::opaque(QByteArrayView, int widthTwips, int heightTwips, const CharProps&)
{
    placeholder(widthTwips, heightTwips);
}

void HtmlSink::pictureGroup(QByteArrayView, const Picture& shown, int widthTwips, int heightTwips, const CharProps&)
{
    if (!showPicture(shown))
        placeholder(widthTwips, heightTwips);
}

void HtmlSink::footnote(QStringView text, QByteArrayView)
{
    m_footnotes += text;
    if (!m_footnotes.endsWith(u'\n'))
        m_footnotes += u'\n';
}

void HtmlSink::writeFootnotes()
{
    if (m_footnotes.isEmpty())
        return;
    QString& out = m_body.html;
    out += u"<div class=\"fodnoter\">\n"_qs;
    for (QStringView line : QStringView(m_footnotes).split(u'\n', Qt::SkipEmptyParts)) {
        out += u"<p>"_qs;
        appendEscaped(out, line);
        out += u"</p>\n"_qs;
    }
    out += u"</div>\n"_qs;
    m_footnotes.clear();
}

void HtmlSink::finish()
{
    if (!m_paragraph.isEmpty())
        paragraphEnd(ParaProps {}, ListInfo {}, CharProps {});
    tableEnd();
    closeLists(m_body);
    writeFootnotes();
    m_body.html += u"</div>\n"_qs;
    if (m_options.page)
        m_body.html += u"</body>\n</html>\n"_qs;
    writeOut();
}

void HtmlSink::flushIfFull()
{
    if (m_body.html.size() >= m_pieceSize)
        writeOut();
}

void HtmlSink::writeOut()
{
    if (!m_started) {
        m_started = true;
        QString start;
        if (m_options.page) {
            // The header tables are read by the time the body fills a piece.
            const QString& title = tables && !tables->title.isEmpty() ? tables->title : m_options.title;
            start += u"<!DOCTYPE html>\n<html lang=\"da\">\n<head>\n<meta charset=\"utf-8\">\n<title>"_qs
                + escapeHtml(title) + u"</title>\n<style>\n"_qs + kPageStyle.toString()
                + u"</style>\n</head>\n<body>\n"_qs;
        }
        start += u"<div class=\"dokument\">\n"_qs;
        m_write(start);
    }
    if (!m_body.html.isEmpty())
        m_write(m_body.html);
    m_body.html.resize(0);
}

} // namespace struktur::rtf

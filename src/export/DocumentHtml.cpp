// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentHtml.h"

#include "rtf/DocumentProperties.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <vector>

namespace struktur::publish {
namespace {

QString colour(const QBrush& brush) { return brush.color().name(QColor::HexRgb); }

QString pixels(qreal value) { return QString::number(qRound(value * 10) / 10.0) + QStringLiteral("px"); }

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
    if (href.startsWith(QLatin1Char('#')))
        return true;
    const QUrl url(href);
    const QString scheme = url.scheme().toLower();
    return url.isValid()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto")
            || scheme == QLatin1String("ftp"));
}

QString listTag(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
    case QTextListFormat::ListStyleUndefined:
        return QStringLiteral("ul");
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        return QStringLiteral("ol");
    }
    return QStringLiteral("ul");
}

QString listStyleType(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListStyleUndefined:
        return QStringLiteral("disc");
    case QTextListFormat::ListCircle:
        return QStringLiteral("circle");
    case QTextListFormat::ListSquare:
        return QStringLiteral("square");
    case QTextListFormat::ListDecimal:
        return QStringLiteral("decimal");
    case QTextListFormat::ListLowerAlpha:
        return QStringLiteral("lower-alpha");
    case QTextListFormat::ListUpperAlpha:
        return QStringLiteral("upper-alpha");
    case QTextListFormat::ListLowerRoman:
        return QStringLiteral("lower-roman");
    case QTextListFormat::ListUpperRoman:
        return QStringLiteral("upper-roman");
    }
    return QStringLiteral("disc");
}

QString styleAttribute(const QString& declarations)
{
    return declarations.isEmpty() ? QString() : QStringLiteral(" style=\"") + declarations + QLatin1Char('"');
}

QString charStyle(const QTextCharFormat& format)
{
    QString style;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !cssFamily(families.first()).isEmpty())
        style += QStringLiteral("font-family:'") + cssFamily(families.first()) + QStringLiteral("';");
    if (format.fontPointSize() > 0)
        style += QStringLiteral("font-size:") + QString::number(format.fontPointSize()) + QStringLiteral("pt;");
    if (format.fontWeight() >= QFont::DemiBold)
        style += QStringLiteral("font-weight:bold;");
    if (format.fontItalic())
        style += QStringLiteral("font-style:italic;");
    if (format.fontUnderline() && format.fontStrikeOut())
        style += QStringLiteral("text-decoration:underline line-through;");
    else if (format.fontUnderline())
        style += QStringLiteral("text-decoration:underline;");
    else if (format.fontStrikeOut())
        style += QStringLiteral("text-decoration:line-through;");
    if (format.foreground().style() != Qt::NoBrush)
        style += QStringLiteral("color:") + colour(format.foreground()) + QLatin1Char(';');
    if (format.background().style() != Qt::NoBrush)
        style += QStringLiteral("background-color:") + colour(format.background()) + QLatin1Char(';');
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        style += QStringLiteral("vertical-align:super;");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        style += QStringLiteral("vertical-align:sub;");
    return style;
}

QString blockStyle(const QTextBlockFormat& format, const QTextDocument& document, bool inList)
{
    QString style;
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        style += QStringLiteral("text-align:center;");
    else if (alignment & Qt::AlignJustify)
        style += QStringLiteral("text-align:justify;");
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        style += QStringLiteral("text-align:right;");
    // Inside a list the list's own indent places the item.
    const qreal left = format.leftMargin() + (inList ? 0 : format.indent() * document.indentWidth());
    if (left > 0)
        style += QStringLiteral("margin-left:") + pixels(left) + QLatin1Char(';');
    if (format.rightMargin() > 0)
        style += QStringLiteral("margin-right:") + pixels(format.rightMargin()) + QLatin1Char(';');
    if (format.textIndent() != 0)
        style += QStringLiteral("text-indent:") + pixels(format.textIndent()) + QLatin1Char(';');
    if (format.topMargin() > 0)
        style += QStringLiteral("margin-top:") + pixels(format.topMargin()) + QLatin1Char(';');
    if (format.bottomMargin() > 0)
        style += QStringLiteral("margin-bottom:") + pixels(format.bottomMargin()) + QLatin1Char(';');
    return style;
}

class HtmlWriter {
public:
    HtmlWriter(const QTextDocument& document, const PictureStore& storePicture)
        : m_document(document)
        , m_storePicture(storePicture)
    {
    }

    QString write()
    {
        // The document's default font is the application's, not the author's: the site's own
        // sheet sets the face for text the document does not format.
        m_out += QStringLiteral("<div class=\"dokument\">\n");
        container(m_document.rootFrame()->begin(), m_document.rootFrame()->end());
        m_out += QStringLiteral("</div>\n");
        return m_out;
    }

private:
    struct OpenList {
        const QTextList* list;
        int indent;
        QString tag;
    };

    // Blocks, tables and frames from `it` to `end`: a frame's or a table cell's content.
    void container(QTextFrame::iterator it, const QTextFrame::iterator& end)
    {
        std::vector<OpenList> lists;
        for (; it != end && !it.atEnd(); ++it) {
            if (QTextFrame* frame = it.currentFrame()) {
                closeLists(lists);
                if (auto* table = qobject_cast<QTextTable*>(frame))
                    writeTable(*table);
                else
                    container(frame->begin(), frame->end());
                continue;
            }
            block(it.currentBlock(), lists);
        }
        closeLists(lists);
    }

    void closeLists(std::vector<OpenList>& lists)
    {
        while (!lists.empty()) {
            m_out += QStringLiteral("</li></") + lists.back().tag + QStringLiteral(">\n");
            lists.pop_back();
        }
    }

    // Opens the list item of a block in `list`, nesting by the lists' indents, so that a nested
    // list stands inside the item before it as HTML wants.
    void enterList(const QTextList& list, std::vector<OpenList>& lists, const QString& itemStyle)
    {
        const QTextListFormat format = list.format();
        const int indent = format.indent();
        while (!lists.empty()
            && (lists.back().indent > indent || (lists.back().indent == indent && lists.back().list != &list))) {
            m_out += QStringLiteral("</li></") + lists.back().tag + QStringLiteral(">\n");
            lists.pop_back();
        }
        if (!lists.empty() && lists.back().list == &list) {
            m_out += QStringLiteral("</li>\n");
        } else {
            const QString tag = listTag(format.style());
            QString attributes = styleAttribute(QStringLiteral("list-style-type:") + listStyleType(format.style()));
            if (format.hasProperty(rtf::kListStartProperty))
                attributes += QStringLiteral(" start=\"%1\"").arg(format.intProperty(rtf::kListStartProperty));
            m_out += QLatin1Char('<') + tag + attributes + QStringLiteral(">\n");
            lists.push_back({ &list, indent, tag });
        }
        m_out += QStringLiteral("<li") + styleAttribute(itemStyle) + QLatin1Char('>');
    }

    void block(const QTextBlock& block, std::vector<OpenList>& lists)
    {
        const QTextList* list = block.textList();
        const QString style = blockStyle(block.blockFormat(), m_document, list != nullptr);
        if (list) {
            enterList(*list, lists, style);
        } else {
            closeLists(lists);
            m_out += QStringLiteral("<p") + styleAttribute(style) + QLatin1Char('>');
        }
        const qsizetype before = m_out.size();
        for (auto it = block.begin(); !it.atEnd(); ++it)
            fragment(it.fragment());
        if (m_out.size() == before)
            m_out += QStringLiteral("<br>");
        if (!list)
            m_out += QStringLiteral("</p>\n");
    }

    void fragment(const QTextFragment& fragment)
    {
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            picture(format.toImageFormat());
            return;
        }
        const QString href = format.anchorHref();
        const bool link = !href.isEmpty() && isSafeLink(href);
        if (link)
            m_out += QStringLiteral("<a href=\"") + escapeHtml(href) + QStringLiteral("\">");
        const QString style = charStyle(format);
        if (!style.isEmpty())
            m_out += QStringLiteral("<span") + styleAttribute(style) + QLatin1Char('>');
        text(fragment.text());
        if (!style.isEmpty())
            m_out += QStringLiteral("</span>");
        if (link)
            m_out += QStringLiteral("</a>");
    }

    void text(const QString& text)
    {
        for (QChar c : text) {
            switch (c.unicode()) {
            case u'&':
                m_out += QStringLiteral("&amp;");
                break;
            case u'<':
                m_out += QStringLiteral("&lt;");
                break;
            case u'>':
                m_out += QStringLiteral("&gt;");
                break;
            case u'"':
                m_out += QStringLiteral("&quot;");
                break;
            case QChar::LineSeparator:
            case QChar::ParagraphSeparator:
                m_out += QStringLiteral("<br>");
                break;
            case QChar::ObjectReplacementCharacter:
                break;
            case u'\t':
                m_out += c;
                break;
            default:
                // Other control characters are not allowed in an HTML document.
                if (c.unicode() >= 0x20 && c.unicode() != 0x7f && !(c.unicode() >= 0x80 && c.unicode() < 0xa0))
                    m_out += c;
            }
        }
    }

    void picture(const QTextImageFormat& format)
    {
        const QImage image = m_document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
        const QString address = m_storePicture(format.property(rtf::kImageDataProperty).toByteArray(),
            format.stringProperty(rtf::kImageTypeProperty), image);
        if (address.isEmpty())
            return;
        m_out += QStringLiteral("<img src=\"") + escapeHtml(address) + QStringLiteral("\" alt=\"\"");
        if (format.width() > 0)
            m_out += QStringLiteral(" width=\"%1\"").arg(qRound(format.width()));
        if (format.height() > 0)
            m_out += QStringLiteral(" height=\"%1\"").arg(qRound(format.height()));
        m_out += QLatin1Char('>');
    }

    void writeTable(QTextTable& table)
    {
        const QTextTableFormat format = table.format();
        const bool borders = format.border() > 0;
        m_out += borders ? QStringLiteral("<table class=\"kanter\">\n") : QStringLiteral("<table>\n");
        const QList<QTextLength> widths = format.columnWidthConstraints();
        if (widths.size() == table.columns()) {
            m_out += QStringLiteral("<colgroup>");
            for (const QTextLength& width : widths)
                m_out += QStringLiteral("<col") + styleAttribute(QStringLiteral("width:") + pixels(width.rawValue()))
                    + QLatin1Char('>');
            m_out += QStringLiteral("</colgroup>\n");
        }
        for (int row = 0; row < table.rows(); ++row) {
            m_out += QStringLiteral("<tr>");
            for (int column = 0; column < table.columns(); ++column) {
                const QTextTableCell cell = table.cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                m_out += QStringLiteral("<td");
                if (cell.rowSpan() > 1)
                    m_out += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan());
                if (cell.columnSpan() > 1)
                    m_out += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan());
                const QTextCharFormat cellFormat = cell.format();
                if (cellFormat.background().style() != Qt::NoBrush)
                    m_out += styleAttribute(QStringLiteral("background-color:") + colour(cellFormat.background()));
                m_out += QStringLiteral(">\n");
                container(cell.begin(), cell.end());
                m_out += QStringLiteral("</td>");
            }
            m_out += QStringLiteral("</tr>\n");
        }
        m_out += QStringLiteral("</table>\n");
    }

    const QTextDocument& m_document;
    const PictureStore& m_storePicture;
    QString m_out;
};

} // namespace

QString escapeHtml(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            break;
        case u'<':
            escaped += QStringLiteral("&lt;");
            break;
        case u'>':
            escaped += QStringLiteral("&gt;");
            break;
        case u'"':
            escaped += QStringLiteral("&quot;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString documentHtml(const QTextDocument& document, const PictureStore& storePicture)
{
    return HtmlWriter(document, storePicture).write();
}

} // namespace struktur::publish

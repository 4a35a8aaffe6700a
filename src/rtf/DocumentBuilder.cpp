// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentBuilder.h"

#include "DocumentProperties.h"
#include "PictureImage.h"
#include "Shading.h"

#include <QColor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace struktur::rtf {
namespace {

constexpr int kMaxColumns = 64;

double pixels(int twips) { return twips / kTwipsPerPixel; }

Qt::Alignment qtAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Left: return Qt::AlignLeft;
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Justify: return Qt::AlignJustify;
    }
    return Qt::AlignLeft;
}

QTextCharFormat::UnderlineStyle qtUnderline(Underline underline)
{
    switch (underline) {
    case Underline::None: return QTextCharFormat::NoUnderline;
    case Underline::Single: return QTextCharFormat::SingleUnderline;
    case Underline::Dotted: return QTextCharFormat::DotLine;
    case Underline::Dash: return QTextCharFormat::DashUnderline;
    case Underline::DashDot: return QTextCharFormat::DashDotLine;
    case Underline::DashDotDot: return QTextCharFormat::DashDotDotLine;
    case Underline::Wave: return QTextCharFormat::WaveUnderline;
    }
    return QTextCharFormat::NoUnderline;
}

QTextOption::TabType qtTab(TabStop::Kind kind)
{
    switch (kind) {
    case TabStop::Kind::Left: return QTextOption::LeftTab;
    case TabStop::Kind::Center: return QTextOption::CenterTab;
    case TabStop::Kind::Right: return QTextOption::RightTab;
    case TabStop::Kind::Decimal: return QTextOption::DelimiterTab;
    }
    return QTextOption::LeftTab;
}

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument& document)
    : m_document(document)
    , m_cursor(&document)
{
}

void DocumentBuilder::ensureCell()
{
    if (!m_cellPending)
        return;
    m_cellPending = false;
    if (m_table->columns() < kMaxColumns) {
        m_table->appendColumns(1);
        moveToCell(m_column);
        return;
    }
    // Cells beyond the last column become paragraphs of the last cell.
    m_cellOverflow = true;
    m_needBlock = true;
}

void DocumentBuilder::ensureBlock()
{
    ensureCell();
    if (!m_needBlock)
        return;
    m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_needBlock = false;
}

QTextCharFormat DocumentBuilder::charFormat(const CharProps& chr)
{
    for (const CachedFormat& cached : m_formats) {
        if (cached.used && cached.props == chr)
            return cached.format;
    }
    QTextCharFormat format;
    if (const FontEntry* font = tables->font(chr.font); font && !font->name.isEmpty())
        format.setFontFamilies(QStringList { font->name });
    format.setFontPointSize(chr.halfPoints / 2.0);
    if (chr.bold)
        format.setFontWeight(QFont::Bold);
    if (chr.italic)
        format.setFontItalic(true);
    if (chr.strike)
        format.setFontStrikeOut(true);
    if (chr.underline != Underline::None)
        format.setUnderlineStyle(qtUnderline(chr.underline));
    if (chr.vertical == VerticalPosition::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (chr.vertical == VerticalPosition::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (chr.capitals == Capitals::All)
        format.setFontCapitalization(QFont::AllUppercase);
    else if (chr.capitals == Capitals::Small)
        format.setFontCapitalization(QFont::SmallCaps);
    if (const int64_t rgb = tables->color(chr.color); rgb >= 0)
        format.setForeground(QColor(QRgb(rgb)));
    if (const int64_t rgb = tables->color(chr.background); rgb >= 0)
        format.setBackground(QColor(QRgb(rgb)));
    if (chr.link >= 0 && chr.link < int(tables->links.size())) {
        format.setAnchor(true);
        format.setAnchorHref(tables->links[chr.link]);
    }
    CachedFormat& slot = m_formats[m_nextFormat];
    m_nextFormat = (m_nextFormat + 1) % m_formats.size();
    slot = CachedFormat { true, chr, format };
    return format;
}

void DocumentBuilder::text(QStringView text, const CharProps& chr)
{
    ensureBlock();
    m_cursor.insertText(text.toString(), charFormat(chr));
}

void DocumentBuilder::applyBlock(const ParaProps& para, const ListInfo& list, const CharProps& chr)
{
    QTextBlockFormat format;
    format.setAlignment(qtAlignment(para.alignment));
    if (!list.present) {
        if (para.leftIndent)
            format.setLeftMargin(pixels(para.leftIndent));
        if (para.firstIndent) {
            // A first line that would start left of the page starts at its edge; the indent as
            // read is kept for writing.
            const int shown = std::max(para.firstIndent, -std::max(0, para.leftIndent));
            format.setTextIndent(pixels(shown));
            if (shown != para.firstIndent)
                format.setProperty(kFirstIndentProperty, pixels(para.firstIndent));
        }
    }
    if (const QColor shading = shadingColor(para, *tables); shading.isValid())
        format.setBackground(shading);
    if (para.rightIndent)
        format.setRightMargin(pixels(para.rightIndent));
    if (para.spaceBefore)
        format.setTopMargin(pixels(para.spaceBefore));
    if (para.spaceAfter)
        format.setBottomMargin(pixels(para.spaceAfter));
    if (para.lineSpacing != 0) {
        if (para.lineMultiple && para.lineSpacing > 0)
            format.setLineHeight(para.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (para.lineSpacing < 0)
            format.setLineHeight(pixels(-para.lineSpacing), QTextBlockFormat::FixedHeight);
        else
            format.setLineHeight(pixels(para.lineSpacing), QTextBlockFormat::MinimumHeight);
    }
    if (!para.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (const TabStop& stop : para.tabs) {
            if (stop.position >= 0)
                tabs.append(QTextOption::Tab(pixels(stop.position), qtTab(stop.kind)));
        }
        format.setTabPositions(tabs);
    }
    if (para.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_cursor.setBlockFormat(format);
    m_cursor.setBlockCharFormat(charFormat(chr));
    if (!list.present)
        return;
    const auto found = m_lists.find(list.key);
    if (found != m_lists.end()) {
        found->second->add(m_cursor.block());
        return;
    }
    QTextListFormat listFormat;
    listFormat.setStyle(list.style);
    listFormat.setIndent(list.level);
    if (list.style != QTextListFormat::ListDisc && list.style != QTextListFormat::ListCircle
        && list.style != QTextListFormat::ListSquare) {
        listFormat.setNumberPrefix(list.prefix);
        listFormat.setNumberSuffix(list.suffix);
        if (list.start != 1)
            listFormat.setProperty(kListStartProperty, list.start);
    }
    m_lists[list.key] = m_cursor.createList(listFormat);
}

void DocumentBuilder::paragraphEnd(const ParaProps& para, const ListInfo& list, const CharProps& chr)
{
    ensureBlock();
    applyBlock(para, list, chr);
    m_needBlock = true;
}

void DocumentBuilder::moveToCell(int column)
{
    m_column = column;
    m_cursor = m_table->cellAt(m_row, column).firstCursorPosition();
    m_needBlock = false;
}

void DocumentBuilder::rowStart(const RowDef& row)
{
    const int wanted = std::clamp(int(row.cells.size()), 1, kMaxColumns);
    if (!m_table) {
        QTextTableFormat format;
        format.setBorder(row.borders ? 1 : 0);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(3);
        QList<QTextLength> widths;
        int left = 0;
        for (int i = 0; i < wanted && i < int(row.cells.size()); ++i) {
            const int right = row.cells[i].right;
            widths.append(QTextLength(QTextLength::FixedLength, std::max(8.0, pixels(right - left))));
            left = right;
        }
        if (widths.size() == wanted)
            format.setColumnWidthConstraints(widths);
        m_needBlock = false;
        m_table = m_cursor.insertTable(1, wanted, format);
        m_row = 0;
        m_verticalStart.assign(kMaxColumns, -1);
    } else {
        m_table->appendRows(1);
        ++m_row;
        if (m_table->columns() < wanted)
            m_table->appendColumns(wanted - m_table->columns());
    }
    m_cellOverflow = false;
    m_cellPending = false;
    moveToCell(0);
}

void DocumentBuilder::coveredCellEnd()
{
    ensureCell();
    nextCell();
}

void DocumentBuilder::cellEnd(const ParaProps& para, const ListInfo& list, const CharProps& chr)
{
    ensureBlock();
    applyBlock(para, list, chr);
    nextCell();
}

void DocumentBuilder::nextCell()
{
    if (!m_table)
        return;
    if (m_cellOverflow) {
        m_needBlock = true;
        return;
    }
    const int next = m_column + 1;
    if (next < m_table->columns()) {
        moveToCell(next);
        return;
    }
    m_column = next;
    m_cellPending = true;
}

void DocumentBuilder::rowEnd(const RowDef& row)
{
    if (!m_table)
        return;
    m_cellPending = false;
    const int columns = std::min<int>(int(row.cells.size()), m_table->columns());
    for (int c = 0; c < columns; ++c) {
        const CellDef& cell = row.cells[c];
        if (cell.horizontal == CellMerge::First) {
            int span = 1;
            while (c + span < columns && row.cells[c + span].horizontal == CellMerge::Continue)
                ++span;
            if (span > 1)
                m_table->mergeCells(m_row, c, 1, span);
        }
        if (cell.vertical == CellMerge::First) {
            m_verticalStart[c] = m_row;
        } else if (cell.vertical == CellMerge::Continue && m_verticalStart[c] >= 0
            && m_table->cellAt(m_row, c).columnSpan() == 1) {
            const int start = m_verticalStart[c];
            if (m_table->cellAt(start, c).columnSpan() == 1)
                m_table->mergeCells(start, c, m_row - start + 1, 1);
        } else {
            m_verticalStart[c] = -1;
        }
    }
}

void DocumentBuilder::tableEnd()
{
    if (!m_table)
        return;
    m_cursor = m_table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_table = nullptr;
    m_needBlock = false;
    m_cellPending = false;
}

QTextImageFormat DocumentBuilder::imageFormat(const Picture& picture, const QImage& image, const CharProps& chr)
{
    // A metafile is drawn at the size it is shown.
    const bool drawn = picture.type == PictureType::Wmf || picture.type == PictureType::Emf;
    const double scaleX = drawn ? 100.0 : picture.scaleX;
    const double scaleY = drawn ? 100.0 : picture.scaleY;
    const double width = picture.goalWidth > 0 && !drawn ? pixels(picture.goalWidth) : image.width();
    const double height = picture.goalHeight > 0 && !drawn ? pixels(picture.goalHeight) : image.height();
    const QString name = QStringLiteral("rtf-image-%1").arg(++m_resourceCount);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.merge(charFormat(chr));
    format.setName(name);
    format.setWidth(std::clamp(width * scaleX / 100.0, 1.0, double(kMaxImageSide)));
    format.setHeight(std::clamp(height * scaleY / 100.0, 1.0, double(kMaxImageSide)));
    if (picture.type == PictureType::Png || picture.type == PictureType::Jpeg) {
        format.setProperty(kImageDataProperty, picture.data);
        format.setProperty(kImageTypeProperty, picture.type == PictureType::Png ? QStringLiteral("png") : QStringLiteral("jpeg"));
    }
    return format;
}

void DocumentBuilder::picture(const Picture& picture, QByteArrayView group, const CharProps& chr)
{
    const QImage image = pictureImage(picture);
    if (image.isNull()) {
        if (!group.isEmpty())
            opaque(group, picture.goalWidth * picture.scaleX / 100, picture.goalHeight * picture.scaleY / 100, chr);
        return;
    }
    const QTextImageFormat format = imageFormat(picture, image, chr);
    ensureBlock();
    m_cursor.insertImage(format);
}

void DocumentBuilder::pictureGroup(QByteArrayView group, const Picture& shown, int widthTwips, int heightTwips,
    const CharProps& chr)
{
    const QImage image = pictureImage(shown);
    if (image.isNull()) {
        opaque(group, widthTwips, heightTwips, chr);
        return;
    }
    // Shown as its picture, written back as the whole group.
    QTextImageFormat format = imageFormat(shown, image, chr);
    format.setProperty(kOpaqueGroupProperty, group.toByteArray());
    ensureBlock();
    m_cursor.insertImage(format);
}

QString DocumentBuilder::placeholderFor(int width, int height)
{
    const int64_t key = int64_t(width) << 32 | uint32_t(height);
    const auto found = m_placeholders.find(key);
    if (found != m_placeholders.end())
        return found->second;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0xE0, 0xE0, 0xE0));
    const QRgb edge = qRgb(0x80, 0x80, 0x80);
    for (int x = 0; x < width; ++x) {
        image.setPixel(x, 0, edge);
        image.setPixel(x, height - 1, edge);
    }
    for (int y = 0; y < height; ++y) {
        image.setPixel(0, y, edge);
        image.setPixel(width - 1, y, edge);
    }
    const QString name = QStringLiteral("rtf-object-%1x%2").arg(width).arg(height);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    m_placeholders.emplace(key, name);
    return name;
}

void DocumentBuilder::opaque(QByteArrayView group, int widthTwips, int heightTwips, const CharProps& chr)
{
    const int width = widthTwips > 0 ? std::clamp(int(pixels(widthTwips)), 8, 2000) : 96;
    const int height = heightTwips > 0 ? std::clamp(int(pixels(heightTwips)), 8, 2000) : 96;
    QTextImageFormat format;
    format.merge(charFormat(chr));
    format.setName(placeholderFor(width, height));
    format.setWidth(width);
    format.setHeight(height);
    format.setProperty(kOpaqueGroupProperty, group.toByteArray());
    ensureBlock();
    m_cursor.insertImage(format);
}

// The footnote is not shown (its mark is, in the text), but kept where it stands as an object of
// a pixel that the writer puts back byte for byte, so that saving loses no footnote.
void DocumentBuilder::footnote(QStringView, QByteArrayView group)
{
    if (group.isEmpty())
        return;
    const QString name = QStringLiteral("rtf-footnote");
    if (!m_document.resource(QTextDocument::ImageResource, QUrl(name)).isValid()) {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    }
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(1);
    format.setHeight(1);
    format.setProperty(kOpaqueGroupProperty, group.toByteArray());
    ensureBlock();
    m_cursor.insertImage(format);
}

void DocumentBuilder::pageMargin(QByteArrayView group)
{
    m_pageMargins.append(group.data(), group.size());
}

void DocumentBuilder::finish()
{
    if (!m_pageMargins.isEmpty()) {
        QTextFrameFormat root = m_document.rootFrame()->frameFormat();
        root.setProperty(kPageMarginGroupsProperty, m_pageMargins);
        m_document.rootFrame()->setFrameFormat(root);
    }
    if (!tables->title.isEmpty())
        m_document.setMetaInformation(QTextDocument::DocumentTitle, tables->title);
}

} // namespace struktur::rtf

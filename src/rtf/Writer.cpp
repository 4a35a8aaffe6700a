// SPDX-License-Identifier: GPL-3.0-or-later
#include "Writer.h"

#include "DocumentProperties.h"
#include "ListLabel.h"

#include "platform/Cp1252.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <array>
#include <cmath>
#include <cstring>
#include <utility>

namespace struktur::rtf {
namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kDefaultTableWidth = 9360; // twips: 6.5 inches
constexpr char kHex[] = "0123456789abcdef";

// Printable ASCII that stands for itself in RTF text.
constexpr std::array<bool, 128> makeLiteral()
{
    std::array<bool, 128> table {};
    for (int c = 0x20; c < 0x7F; ++c)
        table[size_t(c)] = c != '\\' && c != '{' && c != '}';
    return table;
}
constexpr std::array<bool, 128> kLiteral = makeLiteral();

int twips(double pixels) { return int(std::lround(pixels * kTwipsPerPixel)); }

// The colours of Word's highlighter: only these are written as \highlight.
constexpr std::array<QRgb, 16> kHighlightColors = {
    0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0xFFFF00, 0xFFFFFF,
    0x000080, 0x008080, 0x008000, 0x800080, 0x800000, 0x808000, 0x808080, 0xC0C0C0,
};

bool isHighlightColor(QRgb rgb)
{
    return std::find(kHighlightColors.begin(), kHighlightColors.end(), rgb & 0xFFFFFF) != kHighlightColors.end();
}

bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}

const char* numberingWord(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return "\\pnlcltr";
    case QTextListFormat::ListUpperAlpha: return "\\pnucltr";
    case QTextListFormat::ListLowerRoman: return "\\pnlcrm";
    case QTextListFormat::ListUpperRoman: return "\\pnucrm";
    default: return "\\pndec";
    }
}

} // namespace

Writer::Writer(const QTextDocument& document)
    : m_document(document)
{
}

QByteArray Writer::write()
{
    m_out.reserve(m_document.characterCount() * 2 + 1024);
    findBullets();
    writeFrame(m_document.rootFrame(), false);
    switchLink(QString());
    m_out += "}\r\n";
    // The tables are complete only now; they go in front of the text.
    const QByteArray body = std::exchange(m_out, QByteArray());
    m_out.reserve(body.size() + 64 * (m_fonts.size() + m_colors.size()) + 1024);
    writeHeader();
    m_out += body;
    return m_out;
}

int Writer::fontIndex(const QString& family)
{
    const auto found = m_fontIndex.constFind(family);
    if (found != m_fontIndex.constEnd())
        return *found;
    const int index = int(m_fonts.size());
    m_fonts.append(family);
    m_fontIndex.insert(family, index);
    // Text in the bullets' font is written as Unicode from its first use on.
    if (m_discBullets && m_symbolFont < 0 && family == u"Symbol")
        m_symbolFont = index;
    else if (m_squareBullets && m_wingdingsFont < 0 && family == u"Wingdings")
        m_wingdingsFont = index;
    return index;
}

int Writer::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    const auto found = m_colorIndex.constFind(rgb);
    if (found != m_colorIndex.constEnd())
        return *found;
    m_colors.append(rgb);
    const int index = int(m_colors.size()); // entry 0 is the automatic colour
    m_colorIndex.insert(rgb, index);
    return index;
}

void Writer::findBullets()
{
    const QFont defaultFont = m_document.defaultFont();
    m_defaultFamily = defaultFont.family();
    if (defaultFont.pointSizeF() > 0)
        m_defaultHalfPoints = int(std::lround(defaultFont.pointSizeF() * 2));
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (const QTextList* list = block.textList()) {
            const auto style = list->format().style();
            m_discBullets = m_discBullets || style == QTextListFormat::ListDisc;
            m_squareBullets = m_squareBullets || style == QTextListFormat::ListSquare;
        }
    }
    fontIndex(m_defaultFamily);
}

void Writer::collectTables(const QTextBlock& block)
{
    // Fonts and colours enter the tables in the order of first use: each block's formats are
    // worked out before anything of the block is written.
    formatInfo(block.charFormatIndex(), [&] { return block.charFormat(); });
    if (const QBrush shading = block.blockFormat().background(); shading.style() != Qt::NoBrush)
        colorIndex(shading.color());
    // The block's fragments are kept for writing it: finding them again costs as much.
    m_fragments.clear();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        formatInfo(fragment.charFormatIndex(), [&] { return fragment.charFormat(); });
        m_fragments.push_back(fragment);
    }
    if (const QTextList* list = block.textList()) {
        const auto style = list->format().style();
        if (style == QTextListFormat::ListDisc && m_symbolFont < 0)
            m_symbolFont = fontIndex(QStringLiteral("Symbol"));
        else if (style == QTextListFormat::ListSquare && m_wingdingsFont < 0)
            m_wingdingsFont = fontIndex(QStringLiteral("Wingdings"));
    }
}

// QByteArray's own append goes through insert(); a resize and a copy cost less, and the writer
// appends a word or a number for nearly every change of formatting.
void Writer::put(const char* bytes, qsizetype length)
{
    const qsizetype at = m_out.size();
    m_out.resize(at + length);
    std::memcpy(m_out.data() + at, bytes, size_t(length));
}

void Writer::word(const char* name)
{
    put(name, qsizetype(std::strlen(name)));
    m_needDelimiter = true;
}

void Writer::word(const char* name, qint64 value)
{
    put(name, qsizetype(std::strlen(name)));
    appendNumber(value);
    m_needDelimiter = true;
}

void Writer::appendNumber(qint64 value)
{
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *--p = '-';
    put(p, end - p);
}

void Writer::writeHeader()
{
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1030{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        const bool symbol = i == m_symbolFont || i == m_wingdingsFont;
        m_out += "{\\f" + QByteArray::number(i) + (symbol ? "\\fnil\\fcharset2 " : "\\fnil\\fcharset0 ");
        m_needDelimiter = false;
        writeEscapedText(m_fonts[i]);
        m_out += ";}";
    }
    m_out += "}\r\n";
    if (!m_colors.isEmpty()) {
        m_out += "{\\colortbl ;";
        for (const QRgb rgb : m_colors) {
            m_out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue"
                + QByteArray::number(qBlue(rgb)) + ';';
        }
        m_out += "}\r\n";
    }
    const QString title = m_document.metaInformation(QTextDocument::DocumentTitle);
    if (!title.isEmpty()) {
        m_out += "{\\info{\\title ";
        m_needDelimiter = false;
        writeEscapedText(title);
        m_out += "}}\r\n";
    }
    m_out += "{\\*\\generator Strukturkonstruktoren;}\\viewkind4\\uc1 \r\n";
    // Headers and footers as they were read, before the text as their place is.
    const QByteArray pageMargins = m_document.rootFrame()->frameFormat().property(kPageMarginGroupsProperty).toByteArray();
    if (!pageMargins.isEmpty())
        m_out += pageMargins + "\r\n";
    m_state = CharState {};
    m_needDelimiter = false;
}

void Writer::writeFrame(const QTextFrame* frame, bool inTable)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            const auto* table = qobject_cast<const QTextTable*>(child);
            if (table && !inTable)
                writeTable(table);
            else
                writeFrame(child, inTable);
            continue;
        }
        writeBlock(it.currentBlock(), inTable, "\\par");
    }
}

void Writer::writeTable(const QTextTable* table)
{
    const QTextTableFormat format = table->format();
    const int columns = table->columns();
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    std::vector<int> rights;
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        int width = kDefaultTableWidth / columns;
        if (c < constraints.size()) {
            const QTextLength length = constraints[c];
            if (length.type() == QTextLength::FixedLength)
                width = twips(length.rawValue());
            else if (length.type() == QTextLength::PercentageLength)
                width = int(kDefaultTableWidth * length.rawValue() / 100);
        }
        right += std::max(width, 1);
        rights.push_back(right);
    }
    const bool borders = format.border() > 0;
    for (int r = 0; r < table->rows(); ++r) {
        switchLink(QString());
        m_out += "\\trowd\\trgaph108\\trleft0";
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c) {
                if (cell.columnSpan() > 1)
                    m_out += "\\clmgf";
                if (cell.rowSpan() > 1)
                    m_out += "\\clvmgf";
            } else if (cell.column() != c) {
                m_out += "\\clmrg";
            } else {
                m_out += "\\clvmrg";
            }
            if (borders)
                m_out += "\\clbrdrt\\brdrw10\\brdrs\\clbrdrl\\brdrw10\\brdrs\\clbrdrb\\brdrw10\\brdrs\\clbrdrr\\brdrw10\\brdrs";
            m_out += "\\cellx" + QByteArray::number(rights[c]);
        }
        m_out += "\r\n";
        m_needDelimiter = false;
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                m_out += "\\pard\\intbl\\cell";
                m_needDelimiter = true;
                continue;
            }
            // A cell's paragraphs end with \par, its last with \cell.
            std::vector<QTextBlock> blocks;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (const QTextFrame* child = it.currentFrame()) {
                    for (QTextBlock b = child->firstCursorPosition().block();
                         b.isValid() && b.position() <= child->lastPosition(); b = b.next())
                        blocks.push_back(b);
                } else {
                    blocks.push_back(it.currentBlock());
                }
            }
            for (size_t i = 0; i < blocks.size(); ++i)
                writeBlock(blocks[i], true, i + 1 == blocks.size() ? "\\cell" : "\\par");
            if (blocks.empty()) {
                m_out += "\\pard\\intbl\\cell";
                m_needDelimiter = true;
            }
        }
        m_out += "\\row\r\n";
        m_needDelimiter = false;
    }
}

void Writer::writeParagraphFormat(const QTextBlock& block, bool inTable)
{
    const QTextBlockFormat format = block.blockFormat();
    if (!inTable && format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        word("\\page");
    word("\\pard");
    if (inTable)
        word("\\intbl");
    writeListText(block);
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        word("\\qc");
    else if (alignment & (Qt::AlignRight))
        word("\\qr");
    else if (alignment & Qt::AlignJustify)
        word("\\qj");
    if (const QTextList* list = block.textList()) {
        word("\\fi", -360);
        word("\\li", 720 * std::max(1, list->format().indent()));
    } else {
        // A first-line indent shown clamped to the page edge is written as it was read.
        const QVariant asRead = format.property(kFirstIndentProperty);
        const double left = format.leftMargin() + format.indent() * m_document.indentWidth();
        const bool clamped = asRead.isValid() && format.textIndent() == std::max(asRead.toDouble(), -std::max(0.0, left));
        const double first = clamped ? asRead.toDouble() : format.textIndent();
        if (first != 0)
            word("\\fi", twips(first));
        if (left != 0)
            word("\\li", twips(left));
    }
    if (format.rightMargin() != 0)
        word("\\ri", twips(format.rightMargin()));
    if (format.background().style() != Qt::NoBrush)
        word("\\cbpat", colorIndex(format.background().color()));
    if (format.topMargin() != 0)
        word("\\sb", twips(format.topMargin()));
    if (format.bottomMargin() != 0)
        word("\\sa", twips(format.bottomMargin()));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (std::lround(format.lineHeight()) != 100) {
            word("\\sl", std::lround(format.lineHeight() * 240 / 100));
            word("\\slmult1");
        }
        break;
    case QTextBlockFormat::FixedHeight:
        word("\\sl", -twips(format.lineHeight()));
        word("\\slmult0");
        break;
    case QTextBlockFormat::MinimumHeight:
        word("\\sl", twips(format.lineHeight()));
        word("\\slmult0");
        break;
    default:
        break;
    }
    for (const QTextOption::Tab& tab : format.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            word("\\tqr");
        else if (tab.type == QTextOption::CenterTab)
            word("\\tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            word("\\tqdec");
        word("\\tx", twips(tab.position));
    }
}

// The rich edit control's list form: the item text for readers without lists, then the \pn
// description.
void Writer::writeListText(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list)
        return;
    const QTextListFormat format = list->format();
    const QTextListFormat::Style style = format.style();
    m_out += "{\\pntext";
    if (isBullet(style)) {
        const int font = style == QTextListFormat::ListDisc ? m_symbolFont
            : style == QTextListFormat::ListSquare         ? m_wingdingsFont
                                                           : 0;
        const QByteArray glyph = style == QTextListFormat::ListDisc ? "\\'B7"
            : style == QTextListFormat::ListSquare                 ? "\\'A7"
                                                                   : "o";
        m_out += "\\f" + QByteArray::number(font) + ' ' + glyph + "\\tab}{\\*\\pn\\pnlvlblt\\pnf"
            + QByteArray::number(font) + "\\pnindent0{\\pntxtb " + glyph + "}}";
        m_needDelimiter = true;
        return;
    }
    const int first = format.property(kListStartProperty).isValid() ? format.intProperty(kListStartProperty) : 1;
    const int number = list->itemNumber(block) + first;
    // Readers begin a new list after any paragraph outside it: an item that goes on counting
    // after such a paragraph says where it starts.
    const bool continues = block.previous().isValid() && block.previous().textList() == list;
    const int start = continues ? first : number;
    m_out += "\\f0 ";
    m_needDelimiter = false;
    writeEscapedText(format.numberPrefix() + itemNumber(style, number) + format.numberSuffix());
    m_out += "\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart" + QByteArray::number(start) + numberingWord(style);
    if (!format.numberPrefix().isEmpty()) {
        m_out += "{\\pntxtb ";
        m_needDelimiter = false;
        writeEscapedText(format.numberPrefix());
        m_out += '}';
    }
    m_out += "{\\pntxta ";
    m_needDelimiter = false;
    writeEscapedText(format.numberSuffix());
    m_out += "}}";
    m_needDelimiter = false;
}

Writer::CharState Writer::stateFor(const QTextCharFormat& format)
{
    CharState state;
    const QStringList families = format.fontFamilies().toStringList();
    state.font = families.isEmpty() || families.first().isEmpty() ? 0 : fontIndex(families.first());
    const double points = format.fontPointSize();
    state.halfPoints = points > 0 ? int(std::lround(points * 2)) : m_defaultHalfPoints;
    state.bold = format.fontWeight() >= QFont::DemiBold;
    state.italic = format.fontItalic();
    state.strike = format.fontStrikeOut();
    state.underline = format.underlineStyle();
    if (state.underline == QTextCharFormat::SpellCheckUnderline)
        state.underline = QTextCharFormat::WaveUnderline;
    state.vertical = format.verticalAlignment();
    if (state.vertical != QTextCharFormat::AlignSuperScript && state.vertical != QTextCharFormat::AlignSubScript)
        state.vertical = QTextCharFormat::AlignNormal;
    state.capitals = format.fontCapitalization();
    if (state.capitals != QFont::AllUppercase && state.capitals != QFont::SmallCaps)
        state.capitals = QFont::MixedCase;
    state.color = format.foreground().style() != Qt::NoBrush ? colorIndex(format.foreground().color()) : 0;
    state.background = format.background().style() != Qt::NoBrush ? colorIndex(format.background().color()) : 0;
    return state;
}

template <typename MakeFormat>
const Writer::FormatInfo& Writer::formatInfo(int index, const MakeFormat& makeFormat)
{
    const auto workOut = [this](FormatInfo& info, const QTextCharFormat& format) {
        info.state = stateFor(format);
        info.href = format.isAnchor() ? format.anchorHref() : QString();
        info.image = format.isImageFormat();
        info.known = true;
    };
    if (index < 0) {
        workOut(m_unindexed, makeFormat());
        return m_unindexed;
    }
    if (size_t(index) >= m_formats.size())
        m_formats.resize(size_t(index) + 1);
    FormatInfo& info = m_formats[size_t(index)];
    if (!info.known)
        workOut(info, makeFormat());
    return info;
}

void Writer::writeCharState(const CharState& next)
{
    if (next == m_state)
        return;
    const CharState& now = m_state;
    if (next.font != now.font)
        word("\\f", next.font);
    if (next.halfPoints != now.halfPoints)
        word("\\fs", next.halfPoints);
    if (next.bold != now.bold)
        word(next.bold ? "\\b" : "\\b0");
    if (next.italic != now.italic)
        word(next.italic ? "\\i" : "\\i0");
    if (next.strike != now.strike)
        word(next.strike ? "\\strike" : "\\strike0");
    if (next.underline != now.underline) {
        switch (next.underline) {
        case QTextCharFormat::NoUnderline: word("\\ulnone"); break;
        case QTextCharFormat::DotLine: word("\\uld"); break;
        case QTextCharFormat::DashUnderline: word("\\uldash"); break;
        case QTextCharFormat::DashDotLine: word("\\uldashd"); break;
        case QTextCharFormat::DashDotDotLine: word("\\uldashdd"); break;
        case QTextCharFormat::WaveUnderline: word("\\ulwave"); break;
        default: word("\\ul"); break;
        }
    }
    if (next.vertical != now.vertical) {
        word(next.vertical == QTextCharFormat::AlignSuperScript ? "\\super"
                : next.vertical == QTextCharFormat::AlignSubScript ? "\\sub"
                                                                   : "\\nosupersub");
    }
    if (next.capitals != now.capitals) {
        if (now.capitals == QFont::AllUppercase)
            word("\\caps0");
        else if (now.capitals == QFont::SmallCaps)
            word("\\scaps0");
        if (next.capitals == QFont::AllUppercase)
            word("\\caps");
        else if (next.capitals == QFont::SmallCaps)
            word("\\scaps");
    }
    if (next.color != now.color)
        word("\\cf", next.color);
    if (next.background != now.background) {
        if (next.background == 0)
            word("\\highlight0\\chcbpat0\\cb0");
        else if (isHighlightColor(m_colors[next.background - 1]))
            word("\\highlight", next.background);
        else
            word("\\chshdng0\\chcbpat", next.background), word("\\cb", next.background);
    }
    m_state = next;
}

void Writer::switchLink(const QString& href)
{
    if (href == m_link)
        return;
    if (!m_link.isEmpty()) {
        m_out += "}}}";
        m_state = m_fieldSavedState;
        m_needDelimiter = false;
    }
    m_link = href;
    if (href.isEmpty())
        return;
    m_fieldSavedState = m_state;
    QString target = href;
    QString anchor;
    if (const qsizetype hash = href.indexOf(u'#'); hash >= 0) {
        target = href.left(hash);
        anchor = href.mid(hash + 1);
    }
    const auto quoted = [](QString text) {
        text.replace(u'\\', QStringLiteral("\\\\"));
        text.replace(u'"', QStringLiteral("\\\""));
        return u'"' + text + u'"';
    };
    QString instruction = QStringLiteral("HYPERLINK ");
    if (!target.isEmpty())
        instruction += quoted(target);
    if (!anchor.isEmpty())
        instruction += (target.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("\\l ") + quoted(anchor);
    m_out += "{\\field{\\*\\fldinst{";
    m_needDelimiter = false;
    writeEscapedText(instruction);
    m_out += "}}{\\fldrslt{";
    m_needDelimiter = false;
}

void Writer::writeImage(const QTextImageFormat& format)
{
    const QVariant opaque = format.property(kOpaqueGroupProperty);
    if (opaque.isValid()) {
        m_out += opaque.toByteArray();
        m_needDelimiter = false;
        return;
    }
    QByteArray data = format.property(kImageDataProperty).toByteArray();
    QString type = format.stringProperty(kImageTypeProperty);
    QSize size;
    if (data.isEmpty() || (type != u"png" && type != u"jpeg")) {
        const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage image;
        if (resource.canConvert<QImage>())
            image = resource.value<QImage>();
        if (image.isNull() && resource.canConvert<QPixmap>())
            image = resource.value<QPixmap>().toImage();
        if (image.isNull() && resource.typeId() == QMetaType::QByteArray)
            image.loadFromData(resource.toByteArray());
        if (image.isNull())
            return;
        data.clear();
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        type = QStringLiteral("png");
        size = image.size();
    }
    const int width = format.width() > 0 ? twips(format.width()) : size.width() * 15;
    const int height = format.height() > 0 ? twips(format.height()) : size.height() * 15;
    m_out += "{\\pict";
    m_out += type == u"png" ? "\\pngblip" : "\\jpegblip";
    // \picw and \pich in hundredths of a millimetre, as the rich edit control writes them.
    m_out += "\\picw" + QByteArray::number(qint64(width) * 2540 / 1440) + "\\pich"
        + QByteArray::number(qint64(height) * 2540 / 1440) + "\\picwgoal" + QByteArray::number(width) + "\\pichgoal"
        + QByteArray::number(height) + "\r\n";
    const qsizetype start = m_out.size();
    m_out.resize(start + data.size() * 2 + data.size() / 64 * 2);
    char* out = m_out.data() + start;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        *out++ = kHex[b >> 4];
        *out++ = kHex[b & 15];
        if (i % 64 == 63) {
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    m_out.truncate(out - m_out.constData());
    m_out += '}';
    m_needDelimiter = false;
}

void Writer::writeBlock(const QTextBlock& block, bool inTable, const char* terminator)
{
    collectTables(block);
    switchLink(QString());
    writeParagraphFormat(block, inTable);
    // The block's text once, rather than a string per fragment; the fragments follow one
    // another in it, so their places are counted rather than looked up.
    const QString blockText = block.text();
    qsizetype offset = 0;
    for (const QTextFragment& fragment : m_fragments) {
        const FormatInfo& info = formatInfo(fragment.charFormatIndex(), [&] { return fragment.charFormat(); });
        switchLink(info.href);
        writeCharState(info.state);
        const QStringView text = QStringView(blockText).sliced(offset, fragment.length());
        offset += fragment.length();
        if (info.image) {
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            for (const QChar ch : text) {
                if (ch == QChar::ObjectReplacementCharacter)
                    writeImage(image);
            }
            continue;
        }
        writeText(text);
    }
    switchLink(QString());
    if (block.length() <= 1)
        writeCharState(formatInfo(block.charFormatIndex(), [&] { return block.charFormat(); }).state);
    word(terminator);
    m_out += "\r\n";
    m_needDelimiter = false;
}

void Writer::writeText(QStringView text)
{
    if (text.isEmpty())
        return;
    if (m_needDelimiter) {
        m_out += ' ';
        m_needDelimiter = false;
    }
    m_unicodeOnly = m_state.font >= 0 && (m_state.font == m_symbolFont || m_state.font == m_wingdingsFont);
    writeEscapedText(text);
    m_unicodeOnly = false;
}

// Written through a pointer into room for the longest form of every character ("\u-32768?"),
// cut to size after: one resize per text rather than an append per escape.
void Writer::writeEscapedText(QStringView text)
{
    if (text.isEmpty())
        return;
    constexpr qsizetype kLongestForm = 9;
    const qsizetype start = m_out.size();
    m_out.resize(start + text.size() * kLongestForm);
    char* const first = m_out.data() + start;
    char* out = first;
    const auto put = [&out](const char* literal, size_t length) {
        std::memcpy(out, literal, length);
        out += length;
    };
    for (const QChar c : text) {
        const char16_t ch = c.unicode();
        if (ch < 0x80 && kLiteral[ch] && !m_unicodeOnly) {
            *out++ = char(ch);
            continue;
        }
        switch (ch) {
        case u'\\': put("\\\\", 2); break;
        case u'{': put("\\{", 2); break;
        case u'}': put("\\}", 2); break;
        case u'\t': put("\\tab ", 5); break;
        case 0x2028: put("\\line ", 6); break;
        case 0x00A0: put("\\~", 2); break;
        case 0x00AD: put("\\-", 2); break;
        case 0x2011: put("\\_", 2); break;
        default: {
            if (ch < 0x20 || ch == 0x2029 || ch == QChar::ObjectReplacementCharacter)
                break;
            const int byte = m_unicodeOnly ? -1 : cp1252::byteFor(ch);
            if (byte >= 0x80 && !(byte >= 0x80 && byte < 0xA0 && ch == byte)) {
                const char escape[4] = { '\\', '\'', kHex[byte >> 4], kHex[byte & 15] };
                put(escape, 4);
            } else {
                put("\\u", 2);
                int value = int16_t(ch);
                if (value < 0) {
                    *out++ = '-';
                    value = -value;
                }
                char digits[6];
                int count = 0;
                do {
                    digits[count++] = char('0' + value % 10);
                    value /= 10;
                } while (value);
                while (count > 0)
                    *out++ = digits[--count];
                *out++ = '?';
            }
            break;
        }
        }
    }
    m_out.truncate(start + (out - first));
    m_needDelimiter = false;
}

} // namespace struktur::rtf

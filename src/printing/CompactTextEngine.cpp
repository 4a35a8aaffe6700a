// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompactTextEngine.h"

#include <QtGui/private/qfontengine_p.h>
#include <QtGui/private/qfontsubset_p.h>
#include <QtGui/private/qpdf_p.h>
#include <QtGui/private/qtextengine_p.h>
#include <QtPrintSupport/private/qprintengine_pdf_p.h>

#include <cmath>
#include <charconv>

namespace struktur {
namespace {

static_assert(QT_VERSION >= QT_VERSION_CHECK(6, 4, 0) && QT_VERSION < QT_VERSION_CHECK(6, 5, 0),
    "the compact text writes into Qt's PDF engine as it is in Qt 6.4; check its private parts anew");

QPdfEnginePrivate& engineData(QPaintEngine& engine)
{
    // QPaintEngine keeps its private part where derived engines can reach it.
    struct Access : QPaintEngine {
        static QPaintEnginePrivate* of(QPaintEngine& e) { return static_cast<Access&>(e).d_ptr.data(); }
    };
    return *static_cast<QPdfEnginePrivate*>(Access::of(engine));
}

/// Appends to the page being drawn. Qt does not export its page stream's functions, so the bytes go
/// to the buffer behind it: the stream's first member, written at its end as the stream writes.
void appendToPage(QPdfEnginePrivate& d, const QByteArray& bytes)
{
    QIODevice* buffer = *reinterpret_cast<QIODevice**>(static_cast<QPdf::ByteStream*>(d.currentPage));
    if (buffer->pos() != buffer->size())
        buffer->seek(buffer->size());
    buffer->write(bytes);
}

/// A real number as PDF writes one: fixed point (PDF has no exponents), trailing zeros dropped.
void appendReal(QByteArray& out, qreal value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6).ptr;
    qsizetype length = end - buffer;
    while (length > 1 && buffer[length - 1] == '0')
        --length;
    if (buffer[length - 1] == '.')
        --length;
    out.append(buffer, length);
}

QByteArray matrixOperator(const QTransform& m)
{
    QByteArray out;
    for (const qreal value : { m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy() }) {
        appendReal(out, value);
        out.append(' ');
    }
    return out.append("cm\n");
}

void appendInteger(QByteArray& out, long long value)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end - buffer);
}

/// A number of hundredths as a decimal number, without trailing zeros.
void appendHundredths(QByteArray& out, long long hundredths)
{
    if (hundredths < 0) {
        out.append('-');
        hundredths = -hundredths;
    }
    appendInteger(out, hundredths / 100);
    const int part = int(hundredths % 100);
    if (part == 0)
        return;
    out.append('.');
    out.append(char('0' + part / 10));
    if (part % 10 != 0)
        out.append(char('0' + part % 10));
}

long long hundredths(qreal value) { return std::llround(value * 100); }

/// A glyph's two-byte code in a literal string: the bytes as they are but for the three a string
/// must escape and a carriage return, which a reader would take for a line end.
void appendGlyph(QByteArray& out, qsizetype index)
{
    for (const char byte : { char(index >> 8), char(index & 0xff) }) {
        if (byte == '(' || byte == ')' || byte == '\\')
            out.append('\\').append(byte);
        else if (byte == '\r')
            out.append("\\r");
        else
            out.append(byte);
    }
}

/// True for text Qt's engine must draw itself: links and anchors get annotations there, synthesized
/// styles a text matrix of their own, and fonts that may not be embedded are drawn as outlines.
bool drawnByQt(const QTextItemInt& item, const QPdfEnginePrivate& d)
{
    const QFontEngine& font = *item.fontEngine;
    return item.charFormat.hasProperty(QTextFormat::AnchorHref) || item.charFormat.hasProperty(QTextFormat::AnchorName)
        || font.synthesized() != 0 || !d.embedFonts || font.faceId().filename.isEmpty() || (font.fsType & 0x200)
        || font.fsType == 2 || d.stroker.matrix.type() >= QTransform::TxProject;
}

} // namespace

template <class Engine>
void CompactTextEngine<Engine>::closeText()
{
    if (!m_textOpen)
        return;
    appendToPage(engineData(*this), QByteArrayLiteral("ET\nQ\n"));
    m_textOpen = false;
}

template <class Engine>
void CompactTextEngine<Engine>::setInformation(const QString& title, const QString& creator)
{
    QPdfEnginePrivate& d = engineData(*this);
    d.title = title;
    d.creator = creator;
}

template <class Engine>
bool CompactTextEngine<Engine>::end()
{
    closeText();
    m_subsets.clear();
    return Engine::end();
}

template <class Engine>
void CompactTextEngine<Engine>::updateState(const QPaintEngineState& state)
{
    // A new pen colour alone keeps the text object: colours and line styles may be set inside one,
    // and Qt's engine writes nothing else for it. Anything more (a transformation or a clip) makes
    // Qt's engine restore its graphics state, which must not fall inside the text object.
    QPdfEnginePrivate& d = engineData(*this);
    const QPen& pen = state.pen();
    if (m_textOpen && state.state() == QPaintEngine::DirtyPen && pen.style() == Qt::SolidLine
        && pen.brush().style() == Qt::SolidPattern && pen.isCosmetic() == d.stroker.cosmeticPen) {
        Engine::updateState(state);
        fillWithPen(d);
        return;
    }
    closeText();
    Engine::updateState(state);
}

template <class Engine>
void CompactTextEngine<Engine>::fillWithPen(QPdfEnginePrivate& d)
{
    // Text is filled with the pen's colour, as Qt's engine fills it.
    const bool hadPen = d.hasPen;
    const QBrush brush = d.brush;
    d.hasPen = false;
    d.brush = d.pen.brush();
    this->setBrush();
    d.hasPen = hadPen;
    d.brush = brush;
}

template <class Engine>
qsizetype CompactTextEngine<Engine>::subsetIndex(Subset& subset, QFontSubset& font, uint glyph)
{
    if (subset.indexOfGlyph.size() <= glyph)
        subset.indexOfGlyph.resize(size_t(glyph) + 256, -1);
    int& known = subset.indexOfGlyph[glyph];
    if (known >= 0)
        return known;
    // The subset also grows by the text Qt's engine draws, so a glyph not seen here may be in it.
    qsizetype index = font.glyph_indices.indexOf(glyph);
    if (index < 0) {
        index = font.glyph_indices.size();
        font.glyph_indices.append(glyph);
    }
    known = int(index);
    return index;
}

template <class Engine>
int CompactTextEngine<Engine>::advance(Subset& subset, QFontSubset& font, qsizetype subsetIndex, uint glyph)
{
    if (subset.unitsPerEm == 0)
        subset.unitsPerEm = font.fontEngine->properties().emSquare.toReal();
    if (qsizetype(subset.widths.size()) <= subsetIndex)
        subset.widths.resize(size_t(subsetIndex) + 64, -1);
    int& width = subset.widths[size_t(subsetIndex)];
    if (width < 0) {
        // The same numbers the embedded subset gets: its glyphs are remade on a 2048-unit em,
        // and its width array gives those in thousandths of the em, rounded.
        QPainterPath outline;
        glyph_metrics_t metrics;
        font.fontEngine->getUnscaledGlyph(glyph, &outline, &metrics);
        const int units = int(quint16(qRound(metrics.xoff.toReal() * 2048. / subset.unitsPerEm)));
        width = qRound(units * 1000. / 2048);
    }
    return width;
}

template <class Engine>
void CompactTextEngine<Engine>::drawTextItem(const QPointF& origin, const QTextItem& textItem)
{
    QPdfEnginePrivate& d = engineData(*this);
    if (!d.hasPen || (d.clipEnabled && d.allClipped))
        return;
    const QTextItemInt& item = static_cast<const QTextItemInt&>(textItem);
    Q_ASSERT_X(item.fontEngine->type() != QFontEngine::Multi, "CompactTextEngine", "a text item of several fonts");
    if (drawnByQt(item, d)) {
        closeText();
        Engine::drawTextItem(origin, textItem);
        return;
    }

    QFontEngine* fontEngine = item.fontEngine;
    QVarLengthArray<glyph_t> glyphs;
    QVarLengthArray<QFixedPoint> positions;
    fontEngine->getGlyphPositions(
        item.glyphs, QTransform::fromTranslate(origin.x(), origin.y()), item.flags, glyphs, positions);
    if (glyphs.isEmpty())
        return;

    // A font's first text goes through Qt's engine, which makes the font's subset.
    QFontSubset* font = d.fonts.value(fontEngine->faceId(), nullptr);
    if (!font) {
        closeText();
        Engine::drawTextItem(origin, textItem);
        return;
    }
    if (!d.currentPage->fonts.contains(font->object_id))
        d.currentPage->fonts.append(font->object_id);

    m_text.clear();
    if (!m_textOpen) {
        // The state Qt's engine sets up for text: the transformation, and the pen's colour as fill.
        appendToPage(d, d.needsTransform ? "q\n" + matrixOperator(d.stroker.matrix) : QByteArrayLiteral("q\n"));
        fillWithPen(d);
        m_text.append("BT\n");
        m_textOpen = true;
        m_font = 0;
        m_size = 0;
        m_lineStarted = false;
    }
    const qreal size = fontEngine->fontDef.pixelSize;
    if (font->object_id != m_font || size != m_size) {
        m_text.append("/F");
        appendInteger(m_text, font->object_id);
        m_text.append(' ');
        appendHundredths(m_text, hundredths(size));
        m_text.append(" Tf\n");
        m_font = font->object_id;
        m_size = size;
    }

    // One TJ string for each baseline. A string that goes on along the baseline the last one
    // ended on starts where the reader's pen stands; one on another baseline moves there from the
    // last baseline's start (the first in a text object is placed outright). The pen is followed
    // in full precision, so that the rounding of one adjustment is made good at the next glyph
    // instead of adding up.
    const qreal unitsPerThousand = size / 1000;
    Subset& subset = m_subsets[font];
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const qreal x = positions[i].x.toReal();
        const qreal y = positions[i].y.toReal();
        const bool newString = i == 0 || y != positions[i - 1].y.toReal();
        if (newString && i > 0)
            m_text.append(")] TJ\n");
        if (newString && m_lineStarted && y == m_penY) {
            m_text.append('[');
            appendAdjustment(x, unitsPerThousand, false);
            m_text.append('(');
        } else if (newString) {
            const long long lineX = hundredths(x);
            const long long lineY = hundredths(y);
            if (m_lineStarted) {
                appendHundredths(m_text, lineX - m_lineX);
                m_text.append(' ');
                appendHundredths(m_text, m_lineY - lineY);
                m_text.append(" Td [(");
            } else {
                m_text.append("1 0 0 -1 ");
                appendHundredths(m_text, lineX);
                m_text.append(' ');
                appendHundredths(m_text, lineY);
                m_text.append(" Tm [(");
                m_lineStarted = true;
            }
            m_lineX = lineX;
            m_lineY = lineY;
            m_pen = qreal(lineX) / 100;
            m_penY = y;
        } else {
            appendAdjustment(x, unitsPerThousand, true);
        }
        const qsizetype index = subsetIndex(subset, *font, glyphs[i]);
        appendGlyph(m_text, index);
        m_pen += advance(subset, *font, index, glyphs[i]) * unitsPerThousand;
    }
    m_text.append(")] TJ\n");
    appendToPage(d, m_text);
}

template <class Engine>
void CompactTextEngine<Engine>::appendAdjustment(qreal x, qreal unitsPerThousand, bool inString)
{
    // The widths are whole thousandths and the layout's places are not, so the pen strays by a
    // fraction of a unit from glyph to glyph; it is put right once it is 1.5 units off (under
    // 0.02 pt at 12 pt), not at every half unit, which would write an adjustment of one unit
    // back and forth every few glyphs.
    const qreal error = (m_pen - x) / unitsPerThousand;
    if (std::abs(error) < 1.5)
        return;
    const long long adjustment = std::llround(error);
    if (inString)
        m_text.append(')');
    appendInteger(m_text, adjustment);
    if (inString)
        m_text.append('(');
    m_pen -= qreal(adjustment) * unitsPerThousand;
}

template <class Engine>
void CompactTextEngine<Engine>::drawPoints(const QPointF* points, int count)
{
    closeText();
    Engine::drawPoints(points, count);
}

template <class Engine>
void CompactTextEngine<Engine>::drawLines(const QLineF* lines, int count)
{
    closeText();
    Engine::drawLines(lines, count);
}

template <class Engine>
void CompactTextEngine<Engine>::drawRects(const QRectF* rects, int count)
{
    closeText();
    Engine::drawRects(rects, count);
}

template <class Engine>
void CompactTextEngine<Engine>::drawPolygon(const QPointF* points, int count, QPaintEngine::PolygonDrawMode mode)
{
    closeText();
    Engine::drawPolygon(points, count, mode);
}

template <class Engine>
void CompactTextEngine<Engine>::drawPath(const QPainterPath& path)
{
    closeText();
    Engine::drawPath(path);
}

template <class Engine>
void CompactTextEngine<Engine>::drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source)
{
    closeText();
    Engine::drawPixmap(target, pixmap, source);
}

template <class Engine>
void CompactTextEngine<Engine>::drawImage(
    const QRectF& target, const QImage& image, const QRectF& source, Qt::ImageConversionFlags flags)
{
    closeText();
    Engine::drawImage(target, image, source, flags);
}

template <class Engine>
void CompactTextEngine<Engine>::drawTiledPixmap(const QRectF& target, const QPixmap& pixmap, const QPointF& offset)
{
    closeText();
    Engine::drawTiledPixmap(target, pixmap, offset);
}

template class CompactTextEngine<QPdfEngine>;
template class CompactTextEngine<QPdfPrintEngine>;

} // namespace struktur

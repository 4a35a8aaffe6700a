// SPDX-License-Identifier: GPL-3.0-or-later
#include "EnhancedMetafile.h"
#include "MetafileRecords.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <variant>
#include <vector>

namespace struktur::rtf {
namespace {

constexpr int kMaxRecords = 200000;
constexpr uint32_t kMaxObjects = 4096;
constexpr int kMaxSide = 2000; // pixels drawn
constexpr uint32_t kMaxPoints = 1u << 20;
constexpr uint32_t kSignature = 0x464D4520; // " EMF"
constexpr uint32_t kStockObject = 0x80000000;

enum Record : uint32_t {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetMapMode = 17,
    SetPolyFillMode = 19,
    SetTextAlign = 22,
    SetTextColor = 24,
    MoveToEx = 27,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    LineTo = 54,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    BitBlt = 76,
    StretchBlt = 77,
    StretchDibits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    ExtCreatePen = 95,
    AlphaBlend = 114,
};

constexpr uint32_t kPatternCopy = 0x00F00021;

// The raster operations icons and masks are drawn with; any other copies the source.
QPainter::CompositionMode composition(uint32_t rasterOperation)
{
    switch (rasterOperation) {
    case 0x008800C6: return QPainter::RasterOp_SourceAndDestination; // SRCAND
    case 0x00EE0086: return QPainter::RasterOp_SourceOrDestination; // SRCPAINT
    case 0x00660046: return QPainter::RasterOp_SourceXorDestination; // SRCINVERT
    default: return QPainter::CompositionMode_SourceOver;
    }
}

enum MapMode : uint32_t { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };

using Object = std::variant<std::monostate, QPen, QBrush, QFont>;

struct DcState {
    uint32_t mapMode = Text;
    QPointF windowOrigin { 0, 0 };
    QSizeF windowExtent { 1, 1 };
    QPointF viewportOrigin { 0, 0 };
    QSizeF viewportExtent { 1, 1 };
    QTransform world;
    QPen pen { QColor(Qt::black), 0 };
    QBrush brush { QColor(Qt::white) };
    QFont font;
    QColor textColor { Qt::black };
    uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position { 0, 0 };
};

QPen stockPen(uint32_t index)
{
    switch (index) {
    case 6: return QPen(QColor(Qt::white), 0);
    case 8: return QPen(Qt::NoPen);
    default: return QPen(QColor(Qt::black), 0);
    }
}

QBrush stockBrush(uint32_t index)
{
    static constexpr int grey[] = { 255, 192, 128, 64, 0 };
    if (index <= 4)
        return QBrush(QColor(grey[index], grey[index], grey[index]));
    return QBrush(Qt::NoBrush);
}

class Player {
public:
    Player(QByteArrayView data, QSize size)
        : m_data(reinterpret_cast<const uchar*>(data.data()))
        , m_size(data.size())
        , m_target(size)
    {
    }

    QImage play()
    {
        if (m_size < 88)
            return {};
        Params header(m_data, m_size);
        if (header.u32(0) != Header || header.u32(40) != kSignature)
            return {};
        // The picture's extent in the reference device's pixels, inclusive on both sides.
        m_bounds = QRectF(QPointF(header.i32(8), header.i32(12)), QPointF(header.i32(16) + 1, header.i32(20) + 1));
        const double mmWide = header.i32(80), mmHigh = header.i32(84);
        const double pxWide = header.i32(72), pxHigh = header.i32(76);
        if (mmWide > 0 && mmHigh > 0 && pxWide > 0 && pxHigh > 0)
            m_pixelsPerMm = QSizeF(pxWide / mmWide, pxHigh / mmHigh);
        if (m_bounds.width() <= 0 || m_bounds.height() <= 0)
            return {};

        m_image = QImage(m_target.boundedTo(QSize(kMaxSide, kMaxSide)).expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        m_image.fill(Qt::white);
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing);
        m_painter = &painter;
        qsizetype pos = 0;
        for (int count = 0; count < kMaxRecords && pos + 8 <= m_size; ++count) {
            Params head(m_data + pos, 8);
            const uint32_t type = head.u32(0);
            const qint64 bytes = head.u32(4);
            if (bytes < 8 || bytes > m_size - pos || type == Eof)
                break;
            Params params(m_data + pos, bytes);
            record(type, params);
            if (params.bad())
                break;
            pos += (bytes + 3) & ~qint64(3);
        }
        painter.end();
        return m_drew ? m_image : QImage();
    }

private:
    // Logical coordinates to the image: world transform, then the mapping mode's page transform,
    // then the reference device's picture bounds onto the image.
    QTransform transform() const
    {
        QTransform page;
        const DcState& s = m_state;
        double sx = 1, sy = 1;
        switch (s.mapMode) {
        case LoMetric: sx = m_pixelsPerMm.width() / 10; sy = -m_pixelsPerMm.height() / 10; break;
        case HiMetric: sx = m_pixelsPerMm.width() / 100; sy = -m_pixelsPerMm.height() / 100; break;
        case LoEnglish: sx = m_pixelsPerMm.width() * 0.254; sy = -m_pixelsPerMm.height() * 0.254; break;
        case HiEnglish: sx = m_pixelsPerMm.width() * 0.0254; sy = -m_pixelsPerMm.height() * 0.0254; break;
        case Twips: sx = m_pixelsPerMm.width() * 25.4 / 1440; sy = -m_pixelsPerMm.height() * 25.4 / 1440; break;
        case Isotropic:
        case Anisotropic:
            if (s.windowExtent.width() != 0 && s.windowExtent.height() != 0) {
                sx = s.viewportExtent.width() / s.windowExtent.width();
                sy = s.viewportExtent.height() / s.windowExtent.height();
                if (s.mapMode == Isotropic) {
                    const double scale = std::min(std::abs(sx), std::abs(sy));
                    sx = std::copysign(scale, sx);
                    sy = std::copysign(scale, sy);
                }
            }
            break;
        default: break;
        }
        page.translate(s.viewportOrigin.x(), s.viewportOrigin.y());
        page.scale(sx, sy);
        page.translate(-s.windowOrigin.x(), -s.windowOrigin.y());
        QTransform device;
        device.scale(m_image.width() / m_bounds.width(), m_image.height() / m_bounds.height());
        device.translate(-m_bounds.left(), -m_bounds.top());
        return s.world * page * device;
    }

    bool ready()
    {
        const QTransform t = transform();
        if (!t.isInvertible())
            return false;
        m_painter->setTransform(t);
        m_painter->setPen(drawablePen(m_state.pen, t, kMaxSide));
        m_painter->setBrush(m_state.brush);
        m_drew = true;
        return true;
    }

    void addObject(uint32_t index, Object object)
    {
        if (index >= kMaxObjects)
            return;
        if (index >= m_objects.size())
            m_objects.resize(index + 1);
        m_objects[index] = std::move(object);
    }

    // `count` points from `at`, as 32-bit or 16-bit pairs; empty when they do not fit.
    QPolygonF points(Params& p, qsizetype at, uint32_t count, bool small)
    {
        const qsizetype step = small ? 4 : 8;
        if (count > kMaxPoints || at < 0 || at + qsizetype(count) * step > p.size())
            return {};
        QPolygonF polygon;
        polygon.reserve(qsizetype(count));
        for (qsizetype i = 0; i < qsizetype(count); ++i) {
            const qsizetype here = at + i * step;
            polygon.append(small ? QPointF(p.i16(here), p.i16(here + 2)) : QPointF(p.i32(here), p.i32(here + 4)));
        }
        return polygon;
    }

    QRectF box(Params& p, qsizetype at)
    {
        return QRectF(QPointF(p.i32(at), p.i32(at + 4)), QPointF(p.i32(at + 8), p.i32(at + 12))).normalized();
    }

    // Bézier points after a start point: groups of two controls and an end.
    static void addBeziers(QPainterPath& path, const QPolygonF& points, qsizetype from)
    {
        for (qsizetype i = from; i + 2 < points.size(); i += 3)
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
    }

    void drawPath(const QPainterPath& path, bool fill, bool stroke)
    {
        if (!ready())
            return;
        if (!fill)
            m_painter->setBrush(Qt::NoBrush);
        if (!stroke)
            m_painter->setPen(Qt::NoPen);
        m_painter->drawPath(path);
    }

    void shape(uint32_t type, const QPolygonF& polygon)
    {
        if (polygon.isEmpty())
            return;
        const bool bezier = type == PolyBezier || type == PolyBezierTo;
        const bool continues = type == PolyBezierTo || type == PolylineTo;
        const bool closed = type == Polygon;
        // Inside a path bracket the figure goes on in the path, so that a closed outline drawn
        // in pieces fills as one.
        QPainterPath local;
        QPainterPath& path = m_inPath ? m_path : local;
        if (!continues)
            path.moveTo(polygon.first());
        else if (path.elementCount() == 0 || path.currentPosition() != m_state.position)
            path.moveTo(m_state.position);
        const qsizetype from = continues ? 0 : 1;
        if (bezier) {
            addBeziers(path, polygon, from);
        } else {
            for (qsizetype i = from; i < polygon.size(); ++i)
                path.lineTo(polygon[i]);
        }
        if (closed)
            path.closeSubpath();
        if (continues)
            m_state.position = path.currentPosition();
        if (!m_inPath) {
            path.setFillRule(m_state.fillRule);
            drawPath(path, closed, true);
        }
    }

    void polyShapes(uint32_t type, Params& p, bool small)
    {
        const uint32_t shapes = p.u32(24);
        const uint32_t total = p.u32(28);
        if (shapes > kMaxPoints || total > kMaxPoints)
            return;
        qsizetype at = 32 + qsizetype(shapes) * 4;
        const QPolygonF all = points(p, at, total, small);
        if (qsizetype(all.size()) != qsizetype(total))
            return;
        const bool closed = type == PolyPolygon || type == PolyPolygon16;
        QPainterPath path;
        path.setFillRule(m_state.fillRule);
        qsizetype next = 0;
        for (uint32_t i = 0; i < shapes; ++i) {
            const uint32_t count = p.u32(32 + qsizetype(i) * 4);
            if (count > uint32_t(all.size() - next) || p.bad())
                return;
            if (count > 0) {
                path.moveTo(all[next]);
                for (qsizetype k = 1; k < qsizetype(count); ++k)
                    path.lineTo(all[next + k]);
                if (closed)
                    path.closeSubpath();
            }
            next += count;
        }
        if (m_inPath)
            m_path.addPath(path);
        else
            drawPath(path, closed, true);
    }

    // The sum of a text record's character advances in logical units, 0 without them.
    static double spacing(Params& p, uint32_t count)
    {
        const uint32_t at = p.u32(72);
        const qsizetype step = (p.u32(52) & 0x2000) ? 8 : 4; // ETO_PDY: x and y per character
        if (at == 0 || at > p.size() || qsizetype(count) * step > p.size() - at)
            return 0;
        double sum = 0;
        for (qsizetype i = 0; i < qsizetype(count); ++i)
            sum += p.i32(at + i * step);
        return sum;
    }

    // Text is drawn upright at its place, whichever way the page's axes point.
    void text(Params& p, bool wide)
    {
        const QPointF reference(p.i32(36), p.i32(40));
        const uint32_t count = p.u32(44);
        const uint32_t offset = p.u32(48);
        if (count > kMaxPoints)
            return;
        const QByteArrayView bytes = p.bytes(offset, qsizetype(count) * (wide ? 2 : 1));
        if (p.bad() || !ready())
            return;
        QString string = wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), qsizetype(count))
                              : QString::fromLatin1(bytes);
        string.remove(QChar(0));
        const uint32_t align = m_state.textAlign;
        const QTransform t = m_painter->transform();
        QPointF position = t.map((align & 1) ? m_state.position : reference); // TA_UPDATECP
        QFont font = m_state.font;
        const double scale = std::sqrt(std::abs(t.determinant()));
        font.setPixelSize(std::clamp(int(std::lround(m_state.font.pixelSize() * scale)), 1, kMaxSide));
        double advance = QFontMetricsF(font).horizontalAdvance(string);
        // The writer placed every character (the spacing array); a stand-in face of other widths
        // is stretched to the same overall width, so that text keeps to its place in a drawing.
        if (const double placed = spacing(p, count) * std::abs(t.m11()); placed > 0 && advance > 0) {
            font.setStretch(std::clamp(int(std::lround(100 * placed / advance)), 25, 400));
            advance = QFontMetricsF(font).horizontalAdvance(string);
        }
        drawAlignedText(*m_painter, font, m_state.textColor, position, align, string, advance);
    }

    void bitmap(QRectF destination, Params& p, qsizetype infoAt, qsizetype pixelsAt, uint32_t rasterOperation, bool alpha = false)
    {
        const QByteArrayView info = p.bytes(p.u32(infoAt), p.u32(infoAt + 4));
        const QByteArrayView pixels = p.bytes(p.u32(pixelsAt), p.u32(pixelsAt + 4));
        if (p.bad() || info.isEmpty())
            return;
        QByteArray dib;
        dib.reserve(info.size() + pixels.size());
        dib.append(info.data(), info.size());
        dib.append(pixels.data(), pixels.size());
        const QImage image = readDib(dib, uint32_t(info.size()), alpha);
        if (image.isNull() || !ready())
            return;
        m_painter->setCompositionMode(composition(rasterOperation));
        m_painter->drawImage(destination, image);
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    // The block transfers share their first fields: bounds, destination rectangle, raster
    // operation, source origin and transform, background, usage, bitmap offsets and sizes. One
    // without a bitmap fills its rectangle with the brush.
    void blit(Params& p)
    {
        const QRectF destination(p.i32(24), p.i32(28), p.i32(32), p.i32(36));
        if (p.u32(88) > 0) {
            // An alpha blend's function: operation, flags, constant alpha, alpha format.
            const bool alpha = p.u32(0) == AlphaBlend && (p.u32(40) >> 24 & 0xFF) == 1;
            bitmap(destination, p, 84, 92, alpha ? 0 : p.u32(40), alpha);
        } else if (p.u32(40) == kPatternCopy && ready()) {
            m_painter->setPen(Qt::NoPen);
            m_painter->drawRect(destination);
        }
    }

    void select(uint32_t index)
    {
        if (index & kStockObject) {
            const uint32_t stock = index & ~kStockObject;
            if (stock <= 5)
                m_state.brush = stockBrush(stock);
            else if (stock <= 8)
                m_state.pen = stockPen(stock);
            else if (stock >= 10 && stock <= 17)
                m_state.font = QFont();
            return;
        }
        if (index >= m_objects.size())
            return;
        const Object& object = m_objects[index];
        if (const auto* pen = std::get_if<QPen>(&object))
            m_state.pen = *pen;
        else if (const auto* brush = std::get_if<QBrush>(&object))
            m_state.brush = *brush;
        else if (const auto* font = std::get_if<QFont>(&object))
            m_state.font = *font;
    }

    static QPen pen(uint32_t style, double width, QColor color)
    {
        QPen pen(color, std::min(std::abs(width), 30000.0));
        pen.setStyle(penStyle(style));
        if (pen.widthF() == 0)
            pen.setCosmetic(true);
        return pen;
    }

    QFont font(Params& p)
    {
        QFont font;
        font.setPixelSize(std::clamp(std::abs(p.i32(12)), 1, 30000));
        font.setWeight(p.i32(28) >= 600 ? QFont::Bold : QFont::Normal);
        const QByteArrayView flags = p.bytes(32, 3);
        if (flags.size() == 3) {
            font.setItalic(flags[0] != 0);
            font.setUnderline(flags[1] != 0);
            font.setStrikeOut(flags[2] != 0);
        }
        const qsizetype nameAt = 40;
        const QByteArrayView name = p.bytes(nameAt, std::clamp<qsizetype>(p.size() - nameAt, 0, 64));
        QString family = QString::fromUtf16(reinterpret_cast<const char16_t*>(name.data()), name.size() / 2);
        if (const qsizetype end = family.indexOf(QChar(0)); end >= 0)
            family.truncate(end);
        if (!family.isEmpty())
            font.setFamilies({ family });
        return font;
    }

    void record(uint32_t type, Params& p)
    {
        switch (type) {
        case SetMapMode:
            m_state.mapMode = p.u32(8);
            break;
        case SetWindowExtEx:
            m_state.windowExtent = QSizeF(p.i32(8), p.i32(12));
            break;
        case SetWindowOrgEx:
            m_state.windowOrigin = QPointF(p.i32(8), p.i32(12));
            break;
        case SetViewportExtEx:
            m_state.viewportExtent = QSizeF(p.i32(8), p.i32(12));
            break;
        case SetViewportOrgEx:
            m_state.viewportOrigin = QPointF(p.i32(8), p.i32(12));
            break;
        case SetWorldTransform:
        case ModifyWorldTransform: {
            const QTransform given(p.f32(8), p.f32(12), p.f32(16), p.f32(20), p.f32(24), p.f32(28));
            const uint32_t mode = type == SetWorldTransform ? 4 : p.u32(32);
            if (!std::isfinite(given.m11()) || !std::isfinite(given.m12()) || !std::isfinite(given.m21())
                || !std::isfinite(given.m22()) || !std::isfinite(given.dx()) || !std::isfinite(given.dy()))
                break;
            if (mode == 1)
                m_state.world = QTransform();
            else if (mode == 2)
                m_state.world = given * m_state.world;
            else if (mode == 3)
                m_state.world = m_state.world * given;
            else if (mode == 4)
                m_state.world = given;
            break;
        }
        case SaveDc:
            if (m_saved.size() < 256)
                m_saved.push_back(m_state);
            break;
        case RestoreDc: {
            const int32_t relative = p.i32(8);
            if (relative < 0 && qsizetype(-qint64(relative)) <= qsizetype(m_saved.size())) {
                m_saved.resize(m_saved.size() + relative + 1);
                m_state = m_saved.back();
                m_saved.pop_back();
            }
            break;
        }
        case SetPolyFillMode:
            m_state.fillRule = p.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case SetTextColor:
            m_state.textColor = p.color(8);
            break;
        case SetTextAlign:
            m_state.textAlign = p.u32(8);
            break;
        case CreatePen: // index, style, width as a point, colour
            addObject(p.u32(8), pen(p.u32(12), p.i32(16), p.color(24)));
            break;
        case ExtCreatePen: // index, bitmap offsets and sizes, style, width, brush style, colour
            addObject(p.u32(8), p.u32(36) == 1 ? QPen(Qt::NoPen) : pen(p.u32(28), p.u32(32), p.color(40)));
            break;
        case CreateBrushIndirect: {
            const uint32_t style = p.u32(12);
            QBrush brush(p.color(16));
            if (style == 1)
                brush = QBrush(Qt::NoBrush);
            else if (style == 2)
                brush.setStyle(Qt::DiagCrossPattern);
            addObject(p.u32(8), brush);
            break;
        }
        case ExtCreateFontIndirectW:
            addObject(p.u32(8), font(p));
            break;
        case SelectObject:
            select(p.u32(8));
            break;
        case DeleteObject:
            if (const uint32_t index = p.u32(8); index < m_objects.size())
                m_objects[index] = std::monostate {};
            break;
        case MoveToEx:
            m_state.position = QPointF(p.i32(8), p.i32(12));
            if (m_inPath)
                m_path.moveTo(m_state.position);
            break;
        case LineTo: {
            const QPointF to(p.i32(8), p.i32(12));
            if (m_inPath) {
                if (m_path.elementCount() == 0)
                    m_path.moveTo(m_state.position);
                m_path.lineTo(to);
            } else if (ready()) {
                m_painter->drawLine(m_state.position, to);
            }
            m_state.position = to;
            break;
        }
        case Rectangle:
        case Ellipse:
        case RoundRect: {
            const QRectF r = box(p, 8);
            QPainterPath path;
            if (type == Rectangle)
                path.addRect(r);
            else if (type == Ellipse)
                path.addEllipse(r);
            else
                path.addRoundedRect(r, p.i32(24) / 2.0, p.i32(28) / 2.0);
            if (m_inPath)
                m_path.addPath(path);
            else
                drawPath(path, true, true);
            break;
        }
        case PolyBezier:
        case Polygon:
        case Polyline:
        case PolyBezierTo:
        case PolylineTo:
            shape(type, points(p, 28, p.u32(24), false));
            break;
        case PolyBezier16:
        case Polygon16:
        case Polyline16:
        case PolyBezierTo16:
        case PolylineTo16:
            shape(type - (PolyBezier16 - PolyBezier), points(p, 28, p.u32(24), true));
            break;
        case PolyPolyline:
        case PolyPolygon:
            polyShapes(type, p, false);
            break;
        case PolyPolyline16:
        case PolyPolygon16:
            polyShapes(type - (PolyPolyline16 - PolyPolyline), p, true);
            break;
        case BeginPath:
            m_inPath = true;
            m_path = QPainterPath();
            break;
        case EndPath:
            m_inPath = false;
            break;
        case CloseFigure:
            m_path.closeSubpath();
            break;
        case FillPath:
        case StrokeAndFillPath:
        case StrokePath:
            m_path.setFillRule(m_state.fillRule);
            drawPath(m_path, type != StrokePath, type != FillPath);
            m_path = QPainterPath();
            break;
        case ExtTextOutA:
        case ExtTextOutW:
            text(p, type == ExtTextOutW);
            break;
        case StretchDibits: // bounds, destination x and y, source rectangle, bitmap offsets and
                            // sizes, usage, raster operation, destination width and height
            bitmap(QRectF(p.i32(24), p.i32(28), p.i32(72), p.i32(76)), p, 48, 56, p.u32(68));
            break;
        case BitBlt:
        case StretchBlt:
        case AlphaBlend:
            blit(p);
            break;
        default:
            break;
        }
    }

    const uchar* m_data;
    qsizetype m_size;
    QSize m_target;
    QRectF m_bounds;
    QSizeF m_pixelsPerMm { 96 / 25.4, 96 / 25.4 };
    QImage m_image;
    QPainter* m_painter = nullptr;
    DcState m_state;
    std::vector<DcState> m_saved;
    std::vector<Object> m_objects;
    QPainterPath m_path;
    bool m_inPath = false;
    bool m_drew = false;
};

} // namespace

QImage drawEnhancedMetafile(QByteArrayView data, QSize size)
{
    if (size.isEmpty())
        return {};
    return Player(data, size).play();
}

} // namespace struktur::rtf

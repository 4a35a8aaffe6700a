// SPDX-License-Identifier: GPL-3.0-or-later
#include "Metafile.h"
#include "MetafileRecords.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>
#include <vector>

namespace struktur::rtf {
namespace {

constexpr int kMaxRecords = 200000;
constexpr int kMaxObjects = 4096;
constexpr int kMaxSide = 2000; // pixels drawn

enum Record : uint16_t {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DeleteObject = 0x01F0,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    RoundRect = 0x061C,
    DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    DibStretchBlt = 0x0B41,
    StretchDib = 0x0F43,
};

using Object = std::variant<std::monostate, QPen, QBrush, QFont>;

struct DcState {
    QPointF windowOrigin { 0, 0 };
    QSizeF windowExtent { 0, 0 };
    QPen pen { QColor(Qt::black), 0 };
    QBrush brush { QColor(Qt::white) };
    QFont font;
    QColor textColor { Qt::black };
    uint16_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position { 0, 0 };
};

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
        qsizetype pos = 0;
        QRectF placeable;
        if (m_size >= 22 && Params(m_data, m_size).u32(0) == 0x9AC6CDD7u) {
            Params header(m_data, 22);
            placeable = QRectF(QPointF(header.i16(6), header.i16(8)), QPointF(header.i16(10), header.i16(12)));
            pos = 22;
        }
        if (m_size - pos < 18)
            return {};
        Params header(m_data + pos, 18);
        const uint16_t type = header.u16(0);
        const uint16_t headerWords = header.u16(2);
        if ((type != 1 && type != 2) || headerWords != 9)
            return {};
        pos += 18;
        m_state.windowOrigin = placeable.topLeft();
        m_state.windowExtent = placeable.size();

        m_image = QImage(m_target.boundedTo(QSize(kMaxSide, kMaxSide)).expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        m_image.fill(Qt::white);
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing);
        m_painter = &painter;
        for (int count = 0; count < kMaxRecords && pos + 6 <= m_size; ++count) {
            Params head(m_data + pos, 6);
            const qint64 bytes = qint64(head.u32(0)) * 2;
            const uint16_t function = head.u16(4);
            if (bytes < 6 || bytes > m_size - pos || function == Eof)
                break;
            Params params(m_data + pos + 6, bytes - 6);
            record(function, params);
            if (params.bad())
                break;
            pos += bytes;
        }
        painter.end();
        return m_drew ? m_image : QImage();
    }

private:
    void applyTransform()
    {
        const QSizeF extent = m_state.windowExtent;
        QTransform transform;
        if (extent.width() != 0 && extent.height() != 0) {
            transform.scale(m_image.width() / extent.width(), m_image.height() / extent.height());
            transform.translate(-m_state.windowOrigin.x(), -m_state.windowOrigin.y());
        }
        m_painter->setTransform(transform);
    }

    bool ready()
    {
        if (m_state.windowExtent.width() == 0 || m_state.windowExtent.height() == 0)
            return false;
        applyTransform();
        m_painter->setPen(drawablePen(m_state.pen, m_painter->transform(), kMaxSide));
        m_painter->setBrush(m_state.brush);
        m_drew = true;
        return true;
    }

    void addObject(Object object)
    {
        for (auto& slot : m_objects) {
            if (std::holds_alternative<std::monostate>(slot)) {
                slot = std::move(object);
                return;
            }
        }
        if (m_objects.size() < size_t(kMaxObjects))
            m_objects.push_back(std::move(object));
    }

    QPolygonF points(Params& p, qsizetype at, int count)
    {
        QPolygonF polygon;
        if (count < 0 || at + qsizetype(count) * 4 > p.size())
            return polygon;
        polygon.reserve(count);
        for (int i = 0; i < count; ++i)
            polygon.append(QPointF(p.i16(at + i * 4), p.i16(at + i * 4 + 2)));
        return polygon;
    }

    QRectF rect(Params& p, qsizetype at) // bottom, right, top, left
    {
        return QRectF(QPointF(p.i16(at + 6), p.i16(at + 4)), QPointF(p.i16(at + 2), p.i16(at))).normalized();
    }

    // Text is drawn upright at its device position, whichever way the window's axes point.
    void text(QPointF at, QByteArrayView bytes)
    {
        if (!ready())
            return;
        const QString string = QString::fromLatin1(bytes).remove(QChar(0));
        const QTransform transform = m_painter->transform();
        QFont font = m_state.font;
        font.setPixelSize(std::clamp(int(std::lround(m_state.font.pixelSize() * std::abs(transform.m22()))), 1, kMaxSide));
        drawAlignedText(*m_painter, font, m_state.textColor, transform.map(at), m_state.textAlign, string,
            QFontMetricsF(font).horizontalAdvance(string));
    }

    void bitmap(QRectF destination, QByteArrayView dib)
    {
        const QImage image = readDib(dib);
        if (image.isNull() || !ready())
            return;
        m_painter->drawImage(destination, image);
    }

    void record(uint16_t function, Params& p)
    {
        switch (function) {
        case SetWindowOrg:
            m_state.windowOrigin = QPointF(p.i16(2), p.i16(0));
            break;
        case SetWindowExt:
            m_state.windowExtent = QSizeF(p.i16(2), p.i16(0));
            break;
        case SaveDc:
            if (m_saved.size() < 256)
                m_saved.push_back(m_state);
            break;
        case RestoreDc:
            if (!m_saved.empty()) {
                m_state = m_saved.back();
                m_saved.pop_back();
            }
            break;
        case SetPolyFillMode:
            m_state.fillRule = p.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case SetTextColor:
            m_state.textColor = p.color(0);
            break;
        case SetTextAlign:
            m_state.textAlign = p.u16(0);
            break;
        case CreatePenIndirect: {
            const uint16_t style = p.u16(0);
            QPen pen(p.color(6), std::abs(p.i16(2)));
            pen.setStyle(penStyle(style));
            if (pen.widthF() == 0)
                pen.setCosmetic(true);
            addObject(pen);
            break;
        }
        case CreateBrushIndirect: {
            const uint16_t style = p.u16(0);
            QBrush brush(p.color(2));
            if (style == 1)
                brush = QBrush(Qt::NoBrush);
            else if (style == 2)
                brush.setStyle(Qt::DiagCrossPattern);
            addObject(brush);
            break;
        }
        case CreateFontIndirect: {
            QFont font;
            const int height = std::abs(p.i16(0));
            font.setPixelSize(std::clamp(height, 1, 30000));
            font.setWeight(p.i16(8) >= 600 ? QFont::Bold : QFont::Normal);
            const QByteArrayView flags = p.bytes(10, 3);
            if (flags.size() == 3) {
                font.setItalic(flags[0] != 0);
                font.setUnderline(flags[1] != 0);
                font.setStrikeOut(flags[2] != 0);
            }
            const qsizetype nameAt = 18;
            if (p.size() > nameAt) {
                QByteArrayView name = p.bytes(nameAt, std::min<qsizetype>(32, p.size() - nameAt));
                if (const qsizetype end = name.indexOf('\0'); end >= 0)
                    name = name.first(end);
                if (!name.isEmpty())
                    font.setFamilies({ QString::fromLatin1(name) });
            }
            addObject(font);
            break;
        }
        case SelectObject: {
            const uint16_t index = p.u16(0);
            if (index >= m_objects.size())
                break;
            const Object& object = m_objects[index];
            if (const auto* pen = std::get_if<QPen>(&object))
                m_state.pen = *pen;
            else if (const auto* brush = std::get_if<QBrush>(&object))
                m_state.brush = *brush;
            else if (const auto* font = std::get_if<QFont>(&object))
                m_state.font = *font;
            break;
        }
        case DeleteObject:
            if (const uint16_t index = p.u16(0); index < m_objects.size())
                m_objects[index] = std::monostate {};
            break;
        case MoveTo:
            m_state.position = QPointF(p.i16(2), p.i16(0));
            break;
        case LineTo: {
            const QPointF to(p.i16(2), p.i16(0));
            if (ready())
                m_painter->drawLine(m_state.position, to);
            m_state.position = to;
            break;
        }
        case Rectangle:
            if (const QRectF r = rect(p, 0); ready())
                m_painter->drawRect(r);
            break;
        case RoundRect:
            if (const QRectF r = rect(p, 4); ready())
                m_painter->drawRoundedRect(r, p.i16(2) / 2.0, p.i16(0) / 2.0);
            break;
        case Ellipse:
            if (const QRectF r = rect(p, 0); ready())
                m_painter->drawEllipse(r);
            break;
        case Polygon:
        case Polyline: {
            const QPolygonF polygon = points(p, 2, p.i16(0));
            if (polygon.isEmpty() || !ready())
                break;
            if (function == Polygon)
                m_painter->drawPolygon(polygon, m_state.fillRule);
            else
                m_painter->drawPolyline(polygon);
            break;
        }
        case PolyPolygon: {
            const int polygons = p.u16(0);
            qsizetype at = 2 + qsizetype(polygons) * 2;
            QPainterPath path;
            path.setFillRule(m_state.fillRule);
            for (int i = 0; i < polygons && !p.bad(); ++i) {
                const int count = p.u16(2 + i * 2);
                const QPolygonF polygon = points(p, at, count);
                if (polygon.size() != count)
                    return;
                path.addPolygon(polygon);
                path.closeSubpath();
                at += qsizetype(count) * 4;
            }
            if (ready())
                m_painter->drawPath(path);
            break;
        }
        case TextOut: {
            const int count = p.i16(0);
            const qsizetype padded = (count + 1) & ~1;
            const QByteArrayView string = p.bytes(2, count);
            text(QPointF(p.i16(2 + padded + 2), p.i16(2 + padded)), string);
            break;
        }
        case ExtTextOut: {
            const QPointF at(p.i16(2), p.i16(0));
            const int count = p.i16(4);
            const uint16_t options = p.u16(6);
            const qsizetype stringAt = 8 + ((options & 0x0006) ? 8 : 0);
            text(at, p.bytes(stringAt, count));
            break;
        }
        case StretchDib: // rop(4) usage(2) srcH srcW ySrc xSrc destH destW yDest xDest, DIB
            bitmap(QRectF(p.i16(20), p.i16(18), p.i16(16), p.i16(14)), p.bytes(22, p.size() - 22));
            break;
        case DibStretchBlt: // rop(4) srcH srcW ySrc xSrc destH destW yDest xDest, DIB
            if (p.size() > 20)
                bitmap(QRectF(p.i16(18), p.i16(16), p.i16(14), p.i16(12)), p.bytes(20, p.size() - 20));
            break;
        case DibBitBlt: // rop(4) ySrc xSrc height width yDest xDest, DIB
            if (p.size() > 16)
                bitmap(QRectF(p.i16(14), p.i16(12), p.i16(10), p.i16(8)), p.bytes(16, p.size() - 16));
            break;
        default:
            break;
        }
    }

    const uchar* m_data;
    qsizetype m_size;
    QSize m_target;
    QImage m_image;
    QPainter* m_painter = nullptr;
    DcState m_state;
    std::vector<DcState> m_saved;
    std::vector<Object> m_objects;
    bool m_drew = false;
};

} // namespace

QImage drawMetafile(QByteArrayView data, QSize size)
{
    if (size.isEmpty())
        return {};
    return Player(data, size).play();
}

} // namespace struktur::rtf

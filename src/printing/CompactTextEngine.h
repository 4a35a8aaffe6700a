// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPaintEngine>
#include <QString>

#include <unordered_map>
#include <vector>

class QFontSubset;
class QPdfEnginePrivate;

namespace struktur {

/// Qt's PDF engine with its text written compactly: where Qt gives each text item its own
/// graphics state and text object and places every glyph with a move of its own (`x y Td <g> Tj`,
/// some 30 bytes a glyph), this one keeps one text object open across the text items that follow
/// each other in one state, changes fonts inside it, and writes each run of glyphs on one baseline
/// as one `TJ` string of two-byte codes whose adjustments put every glyph exactly where the layout placed it.
/// Everything else (paths, pictures, clips, links, fonts, the file itself) is Qt's own; text Qt
/// draws another way (links and anchors, synthesized italic or stretch, fonts that may not be
/// embedded, perspective) goes through Qt's engine unchanged.
///
/// `Engine` is QPdfEngine (a PDF file) or QPdfPrintEngine (a QPrinter's PDF output).
template <class Engine>
class CompactTextEngine : public Engine {
public:
    using Engine::Engine;

    bool end() override;
    void updateState(const QPaintEngineState& state) override;
    void drawTextItem(const QPointF& origin, const QTextItem& item) override;
    void drawPoints(const QPointF* points, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawPolygon(const QPointF* points, int count, QPaintEngine::PolygonDrawMode mode) override;
    void drawPath(const QPainterPath& path) override;
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override;
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
        Qt::ImageConversionFlags flags = Qt::AutoColor) override;
    void drawTiledPixmap(const QRectF& target, const QPixmap& pixmap, const QPointF& offset) override;

    /// Ends the open text object; called before the page ends and before anything else is drawn.
    void closeText();

    /// The document's title and creating program in the file's information.
    void setInformation(const QString& title, const QString& creator);

private:
    void fillWithPen(QPdfEnginePrivate& d);
    /// Writes the TJ adjustment that takes the reader's pen to `x`, when it is not there already;
    /// `inString` when a string is open, which the adjustment ends and begins anew.
    void appendAdjustment(qreal x, qreal unitsPerThousand, bool inString);
    /// What is known of one embedded font subset, looked up once for each text item.
    struct Subset {
        qreal unitsPerEm = 0;
        std::vector<int> widths; // by subset index; -1 until known
        std::vector<int> indexOfGlyph; // by glyph; -1 until known
    };

    /// The index of `glyph` in the embedded subset of `font`, which it joins when new.
    static qsizetype subsetIndex(Subset& subset, QFontSubset& font, uint glyph);
    /// The advance the embedded subset gives glyph `subsetIndex` of `font`, in its thousandths
    /// of the font size: what a PDF reader moves by after drawing the glyph.
    static int advance(Subset& subset, QFontSubset& font, qsizetype subsetIndex, uint glyph);

    bool m_textOpen = false;
    uint m_font = 0;
    qreal m_size = 0;
    // Where the last TJ string began, in hundredths of a device pixel: the next moves from there.
    bool m_lineStarted = false;
    long long m_lineX = 0;
    long long m_lineY = 0;
    // Where the reader's pen stands after the last string: its baseline and its place on it.
    qreal m_pen = 0;
    qreal m_penY = 0;
    QByteArray m_text;
    std::unordered_map<const QFontSubset*, Subset> m_subsets;
};

} // namespace struktur

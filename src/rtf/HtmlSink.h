// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sink.h"

#include <QString>

#include <functional>
#include <unordered_map>
#include <vector>

class QImage;

namespace struktur::rtf {

/// Stores a picture of a document and returns the address its page refers to it by (empty: the
/// picture is left out). `bytes` is the file as read with `type` "png" or "jpeg" when there is
/// one; else `image` is the picture drawn.
using PictureStore = std::function<QString(const QByteArray& bytes, const QString& type, const QImage& image)>;

struct HtmlOptions {
    /// A whole HTML5 page (UTF-8, Danish, with the document's style sheet) rather than a fragment.
    bool page = false;
    /// The page's title when the document names none.
    QString title;
    /// Where pictures go; without one they are left out.
    PictureStore storePicture;
};

/// Writes HTML as the reader reports the document, in pieces of about `pieceSize` characters,
/// so that neither the document nor the page is ever held whole: only an open paragraph waits,
/// and the rows of a table while a vertically merged cell in them may still grow. The document
/// is a <div class="dokument"> of paragraphs, lists and tables, with fonts, sizes, colours,
/// bold, italic, underline, alignment and indents as inline styles; footnotes follow it. Links
/// keep their address only for the web's own schemes (http, https, mailto, ftp) and in-page
/// anchors: any other, "javascript:" first of all, is shown as plain text. Text is escaped, so
/// no markup in a document reaches the page.
class HtmlSink : public Sink {
public:
    using Writer = std::function<void(QStringView)>;
    static constexpr qsizetype kPieceSize = 64 * 1024;

    HtmlSink(Writer write, HtmlOptions options, qsizetype pieceSize = kPieceSize);

    void text(QStringView text, const CharProps& chr) override;
    void paragraphEnd(const ParaProps& para, const ListInfo& list, const CharProps& chr) override;
    void rowStart(const RowDef& row) override;
    void cellEnd(const ParaProps& para, const ListInfo& list, const CharProps& chr) override;
    void coveredCellEnd() override;
    void rowEnd(const RowDef& row) override;
    void tableEnd() override;
    void picture(const Picture& picture, QByteArrayView group, const CharProps& chr) override;
    void opaque(QByteArrayView group, int widthTwips, int heightTwips, const CharProps& chr) override;
    void pictureGroup(QByteArrayView group, const Picture& shown, int widthTwips, int heightTwips,
        const CharProps& chr) override;
    void footnote(QStringView text, QByteArrayView group) override;

    /// Writes what is left: an unfinished paragraph or table, the footnotes, the page's end.
    void finish();

private:
    struct OpenList {
        int64_t key;
        int level;
        bool ordered;
    };
    /// Where finished paragraphs go: the body, or the open table cell.
    struct Flow {
        QString html;
        std::vector<OpenList> lists;
    };
    struct Cell {
        QString html;
        int rowSpan = 1;
        int columnSpan = 1;
        bool covered = false;
    };

    void writeParagraph(const ParaProps& para, const ListInfo& list, Flow& flow);
    /// True when it wrote the item's label itself.
    bool enterList(const ListInfo& list, Flow& flow, const QString& itemStyle);
    static void closeList(Flow& flow);
    static void closeLists(Flow& flow);
    void endCell();
    void mergeCells(const RowDef& row);
    void writeTableStart();
    void writeRows();
    void writeFootnotes();
    bool showPicture(const Picture& picture);
    void placeholder(int widthTwips, int heightTwips);
    const QString& charStyle(const CharProps& chr);
    QString paragraphStyle(const ParaProps& para, bool inList) const;
    void flushIfFull();
    void writeOut();

    Writer m_write;
    HtmlOptions m_options;
    qsizetype m_pieceSize;
    bool m_started = false;

    QString m_paragraph; ///< the open paragraph's content
    Flow m_body;

    bool m_inTable = false;
    bool m_inRow = false;
    bool m_borders = false;
    std::vector<int> m_widths; ///< of the first row's cells, twips
    std::vector<std::vector<Cell>> m_rows; ///< not yet written
    Flow m_cell;
    std::vector<int> m_verticalStart; ///< per column, the row a vertical merge starts in

    QString m_footnotes;
    std::unordered_map<int64_t, int> m_nextNumbers; ///< of each list

    CharProps m_styled; ///< the properties m_style was made for
    bool m_hasStyle = false;
    QString m_style;
};

/// Text escaped for HTML content and attribute values.
QString escapeHtml(QStringView text);

} // namespace struktur::rtf

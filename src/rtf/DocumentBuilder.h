// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sink.h"

#include <QImage>
#include <QTextCharFormat>
#include <QTextCursor>

#include <array>
#include <unordered_map>

class QTextDocument;
class QTextList;
class QTextTable;

namespace struktur::rtf {

/// Builds a QTextDocument from what the reader reports: one text run per formatting change,
/// Qt lists for both kinds of RTF lists, QTextTable for rows, images for pictures and grey
/// placeholders that carry the RTF of anything that cannot be shown.
class DocumentBuilder : public Sink {
public:
    explicit DocumentBuilder(QTextDocument& document);

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

    void pageMargin(QByteArrayView group) override;
    void footnote(QStringView text, QByteArrayView group) override;

    /// Completes the document (meta information); call once after the reader ran.
    void finish();

private:
    void ensureBlock();
    void ensureCell();
    void applyBlock(const ParaProps& para, const ListInfo& list, const CharProps& chr);
    void moveToCell(int column);
    void nextCell();
    QTextCharFormat charFormat(const CharProps& chr);
    QString placeholderFor(int width, int height);
    QTextImageFormat imageFormat(const Picture& picture, const QImage& image, const CharProps& chr);

    QTextDocument& m_document;
    QTextCursor m_cursor;
    bool m_needBlock = false;
    std::unordered_map<int64_t, QTextList*> m_lists;

    QTextTable* m_table = nullptr;
    int m_row = -1;
    int m_column = 0;
    bool m_cellOverflow = false;
    bool m_cellPending = false; ///< a \cell ended the last column; the next content needs a new one
    std::vector<int> m_verticalStart;

    struct CachedFormat {
        bool used = false;
        CharProps props;
        QTextCharFormat format;
    };
    std::array<CachedFormat, 16> m_formats;
    size_t m_nextFormat = 0;
    int m_resourceCount = 0;
    std::unordered_map<int64_t, QString> m_placeholders;
    QByteArray m_pageMargins;
};

} // namespace struktur::rtf

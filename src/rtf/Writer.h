// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextObject>

#include <vector>

class QTextBlock;
class QTextDocument;
class QTextFrame;
class QTextTable;
class QTextImageFormat;

namespace struktur::rtf {

/// Writes a QTextDocument as the Windows rich edit control writes RTF: the header
/// \rtf1\ansi\ansicpg1252\deff0 with font and colour tables, every paragraph starting with \pard,
/// formatting switched on and off explicitly, Windows-1252 characters as \'hh and all others as
/// \uN with a "?" fallback. Tables become \trowd rows, lists \pn paragraphs, links HYPERLINK
/// fields; pictures are PNG or JPEG, and what was read as an opaque group is written back as it was.
class Writer {
public:
    explicit Writer(const QTextDocument& document);
    QByteArray write();

private:
    struct CharState {
        int font = 0;
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
        QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
        QFont::Capitalization capitals = QFont::MixedCase;
        int color = 0;
        int background = 0;
        bool operator==(const CharState&) const = default;
    };

    /// What the body needs of one character format of the document, worked out once per format
    /// index: documents have few distinct formats and many fragments sharing them.
    struct FormatInfo {
        CharState state;
        QString href; ///< link target, empty outside links
        bool image = false;
        bool known = false;
    };

    /// Whether the lists need the bullet fonts, and the default font: known before the text.
    void findBullets();
    void collectTables(const QTextBlock& block);
    /// The format of `index`, worked out on first sight from `makeFormat()` (which is called only
    /// then); a format without an index is worked out every time.
    template <typename MakeFormat> const FormatInfo& formatInfo(int index, const MakeFormat& makeFormat);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void writeHeader();
    void writeFrame(const QTextFrame* frame, bool inTable);
    void writeTable(const QTextTable* table);
    void writeBlock(const QTextBlock& block, bool inTable, const char* terminator);
    void writeParagraphFormat(const QTextBlock& block, bool inTable);
    void writeListText(const QTextBlock& block);
    void writeCharState(const CharState& next);
    void switchLink(const QString& href);
    void writeImage(const QTextImageFormat& format);
    void writeText(QStringView text);
    void writeEscapedText(QStringView text);
    void word(const char* name);
    void word(const char* name, qint64 value);
    void put(const char* bytes, qsizetype length);
    void appendNumber(qint64 value);
    CharState stateFor(const QTextCharFormat& format);

    const QTextDocument& m_document;
    QByteArray m_out;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    QString m_defaultFamily;
    int m_defaultHalfPoints = 24;
    int m_symbolFont = -1;
    int m_wingdingsFont = -1;
    std::vector<QTextFragment> m_fragments; ///< of the block being written
    bool m_discBullets = false;
    bool m_squareBullets = false;
    std::vector<FormatInfo> m_formats; ///< by format index
    FormatInfo m_unindexed; ///< for a format without an index
    CharState m_state;
    CharState m_fieldSavedState;
    QString m_link;
    bool m_needDelimiter = false;
    bool m_unicodeOnly = false; ///< in a symbol-charset font, where bytes would be read as glyph numbers
};

} // namespace struktur::rtf

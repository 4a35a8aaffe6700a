// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextListFormat>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace struktur::rtf {

enum class Underline : uint8_t { None, Single, Dotted, Dash, DashDot, DashDotDot, Wave };
enum class VerticalPosition : uint8_t { Normal, Super, Sub };
enum class Capitals : uint8_t { Normal, All, Small };

/// Character properties as RTF keeps them: table indexes, not resolved values, so that
/// comparing two states is cheap.
struct CharProps {
    int32_t font = -1; ///< font table id; -1 is the document's default font
    int32_t halfPoints = 24;
    int32_t color = 0; ///< colour table index; 0 is the automatic colour
    int32_t background = 0; ///< colour table index; 0 is none
    int32_t link = -1; ///< index of the hyperlink target, -1 for none
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    Underline underline = Underline::None;
    VerticalPosition vertical = VerticalPosition::Normal;
    Capitals capitals = Capitals::Normal;

    bool operator==(const CharProps&) const = default;
};

enum class Alignment : uint8_t { Left, Center, Right, Justify };

struct TabStop {
    enum class Kind : uint8_t { Left, Center, Right, Decimal };
    int32_t position = 0; ///< twips
    Kind kind = Kind::Left;
    bool operator==(const TabStop&) const = default;
};

/// The rich edit control's own list description (\pn), kept per paragraph.
struct PnProps {
    enum class Level : uint8_t { None, Bullet, Body, Continue, Outline };
    Level level = Level::None;
    int32_t outlineLevel = 1;
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    int32_t start = 1;
    int32_t font = -1;
    QString before;
    QString after;
};

/// Paragraph properties; lengths in twips.
struct ParaProps {
    Alignment alignment = Alignment::Left;
    int32_t leftIndent = 0;
    int32_t rightIndent = 0;
    int32_t firstIndent = 0;
    int32_t spaceBefore = 0;
    int32_t spaceAfter = 0;
    int32_t lineSpacing = 0; ///< \sl: 0 single, > 0 at least, < 0 exactly
    bool lineMultiple = false; ///< \slmult1: lineSpacing is in 240ths of a line
    bool inTable = false;
    bool pageBreakBefore = false;
    int32_t shadingBackground = 0; ///< \cbpat: colour table index, 0 for none
    int32_t shadingPattern = 0; ///< \cfpat: colour table index of the pattern, 0 for black
    int32_t shading = 0; ///< \shading: share of the pattern colour, in hundredths of a percent
    int32_t wordList = 0; ///< \ls, 0 for none
    int32_t wordLevel = 0; ///< \ilvl
    std::vector<TabStop> tabs;
    PnProps pn;
};

/// A paragraph's list membership as the document builder needs it: paragraphs with the same key
/// are items of one list.
struct ListInfo {
    bool present = false;
    int64_t key = 0;
    int level = 1; ///< 1 for the outermost level
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    int start = 1;
    QString prefix;
    QString suffix = QStringLiteral(".");
};

enum class CellMerge : uint8_t { None, First, Continue };

struct CellDef {
    int32_t right = 0; ///< \cellx, twips from the row's left edge
    CellMerge horizontal = CellMerge::None;
    CellMerge vertical = CellMerge::None;
};

struct RowDef {
    std::vector<CellDef> cells;
    bool borders = false;
};

enum class PictureType : uint8_t { Unknown, Png, Jpeg, Wmf, Emf };

struct Picture {
    PictureType type = PictureType::Unknown;
    QByteArray data;
    int32_t width = 0; ///< \picw
    int32_t height = 0;
    int32_t goalWidth = 0; ///< \picwgoal, twips
    int32_t goalHeight = 0;
    int32_t scaleX = 100;
    int32_t scaleY = 100;
};

struct FontEntry {
    QString name;
    int codePage = 0; ///< 0: the document's code page
};

/// The header tables, shared by reader and document builder.
struct Tables {
    std::unordered_map<int, FontEntry> fonts;
    std::vector<int64_t> colors; ///< 0xRRGGBB, or -1 for the automatic colour
    std::vector<QString> links;
    int defaultFont = 0;
    QString title;

    const FontEntry* font(int id) const
    {
        const auto found = fonts.find(id < 0 ? defaultFont : id);
        return found == fonts.end() ? nullptr : &found->second;
    }
    int64_t color(int index) const { return index > 0 && index < int(colors.size()) ? colors[index] : -1; }
};

} // namespace struktur::rtf

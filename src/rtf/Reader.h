// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CodePages.h"
#include "Keywords.h"
#include "PictureContainer.h"
#include "Properties.h"
#include "Sink.h"
#include "TextRun.h"
#include "Tokenizer.h"

#include <QByteArrayView>

#include <vector>

namespace struktur::rtf {

/// Reads RTF in one forward pass with an explicit state stack (no recursion) and reports the
/// document body to a Sink. Understands what the rich edit control, Word and LibreOffice write;
/// ignores what it does not know. Resources are bounded: group depth, table sizes, cells,
/// picture data and field nesting have caps, beyond which the content is read as plain text or
/// dropped.
class Reader {
public:
    Reader(QByteArrayView input, Sink& sink);
    void run();

    const Tables& tables() const { return m_tables; }

private:
    enum class Destination : uint8_t {
        Body,
        Skip,
        FontTable,
        ColorTable,
        Info,
        InfoTitle,
        ListTable,
        List,
        ListLevel,
        LevelText,
        ListOverrideTable,
        ListOverride,
        Pn,
        PnTextBefore,
        PnTextAfter,
        FieldInstruction,
        Picture,
        Container, ///< inside a PictureContainer group: only its pictures are read
        Footnote,
        PageMargin, ///< a header or footer: not read, kept whole
        Upr,
        UprChild,
    };

    struct State {
        CharProps chr;
        ParaProps para;
        Destination dest = Destination::Body;
        uint8_t unicodeSkip = 1;
        bool starred = false;
        bool ownsField = false;
        bool groupStart = false; ///< no token seen yet in this group
        bool nestedRowDef = false; ///< inside \nesttableprops: row definitions of nested tables
        int codePage = 1252;
        qsizetype groupOffset = 0;
    };

    struct ListLevelDef {
        int nfc = 0;
        int start = 1;
        QString text; ///< \leveltext: length character, then text with level placeholders
    };
    struct ListDef {
        int id = 0;
        std::vector<ListLevelDef> levels;
    };
    struct Field {
        QString instruction;
        int link = -1;
        bool parsed = false;
    };

    void groupOpen(const Token& token);
    void groupClose(const Token& token);
    void finishGroup(const State& child, qsizetype closeOffset);
    bool containerWord(Keyword keyword);
    void finishContainer(qsizetype closeOffset);
    void word(const Token& token);
    bool wordStartsDestination(Keyword keyword);
    void bodyWord(Keyword keyword, const Token& token);
    void tableWord(Keyword keyword, const Token& token);
    void otherWord(Keyword keyword, const Token& token);
    void symbol(char c);
    void bytes(QByteArrayView text);
    void hexByte(uint8_t byte);
    void unicode(int value);
    void character(char16_t ch);

    void bodyBytes(QByteArrayView text, bool withHex = false);
    void bodyChar(char16_t ch);
    void beginContent();
    void flushBytes();
    void endRun();
    void flushText();
    void endParagraph();
    void endCell();
    void endRow();
    void syncTable(bool wantTable);
    ListInfo listInfo(const ParaProps& para);
    void commitFont();
    void commitColor();
    void parseFieldInstruction(Field& field);
    int resolveCodePage(int fontId) const;
    void resetCodePage() { m_state.codePage = resolveCodePage(m_state.chr.font); }
    QString decodeForDestination(QByteArrayView text);

    QByteArrayView m_input;
    Tokenizer m_tokenizer;
    Sink& m_sink;
    Tables m_tables;
    CodePageDecoder m_decoder;

    State m_state;
    std::vector<State> m_stack;
    /// Groups deeper than the state stack holds: only their destination and \uc are kept per
    /// group, so their text is read with the formatting of the deepest full state.
    struct OverflowGroup {
        Destination dest;
        uint8_t unicodeSkip;
    };
    std::vector<OverflowGroup> m_overflow;
    int m_fallbackToSkip = 0;
    bool m_done = false;
    int m_ansiCodePage = 1252;

    // Body text waiting for a formatting change.
    TextRun m_pendingText;
    QByteArray m_pendingBytes;
    int m_pendingBytesCodePage = 0;
    CharProps m_pendingChr;
    int m_bodyCodePage = -1; ///< the code page body text was last decoded in, and its table
    bool m_bodyMultiByte = false;
    TextRun::Table m_bodyTable {};
    bool m_paragraphHasContent = false;
    bool m_pageBreakPending = false;

    // Tables.
    RowDef m_rowDef;
    CellMerge m_nextHorizontalMerge = CellMerge::None;
    CellMerge m_nextVerticalMerge = CellMerge::None;
    bool m_inTable = false;
    bool m_inRow = false;
    size_t m_cellIndex = 0;
    int64_t m_cellBudget;

    // Header tables being read.
    int m_fontId = -1;
    QByteArray m_fontName;
    QString m_fontNameText; ///< the part of the name before the last \u
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorHasValue = false;
    std::vector<ListDef> m_lists;
    std::unordered_map<int, int> m_overrides; ///< \ls number to \listid
    int m_overrideList = 0;
    int m_overrideNumber = 0;
    QString m_levelText;
    std::unordered_map<int64_t, int> m_listGenerations;
    PnProps m_pnScratch;
    struct PnRun {
        PnProps::Level level;
        QTextListFormat::Style style;
        int64_t run;
    };
    std::vector<PnRun> m_pnRuns; ///< the open list of each level, outermost first
    int64_t m_pnRunCount = 0;

    std::vector<Field> m_fields;
    rtf::Picture m_picture;
    int m_pictureNibble = -1;
    PictureContainer m_container;
    bool m_firstInGroup = false; ///< the token being read is the first of its group
    bool m_wordOpensGroup = false; ///< the word being read is its group's first, after any \*
    QString m_footnoteText;
    int m_footnoteCount = 0;
};

} // namespace struktur::rtf

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CodePages.h"
#include "FieldStack.h"
#include "HeaderTables.h"
#include "Keywords.h"
#include "ListNumbering.h"
#include "PictureContainer.h"
#include "Properties.h"
#include "Sink.h"
#include "TableRows.h"
#include "TextRun.h"
#include "Tokenizer.h"

#include <QByteArrayView>

#include <vector>

namespace struktur::rtf {

/// Reads RTF in one forward pass with an explicit state stack (no recursion) and reports the
/// document body to a Sink. The reader follows groups and destinations and reads body text;
/// what a destination holds is read by its own class: the header tables (HeaderTableReader),
/// list numbering (ListNumbering), tables (TableRows), fields (FieldStack), pictures
/// (PictureContainer). Understands what the rich edit control, Word and LibreOffice write;
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

    HeaderTableReader m_headerTables;
    ListNumbering m_lists;
    FieldStack m_fields;
    TableRows m_rows;

    rtf::Picture m_picture;
    int m_pictureNibble = -1;
    PictureContainer m_container;
    bool m_firstInGroup = false; ///< the token being read is the first of its group
    bool m_wordOpensGroup = false; ///< the word being read is its group's first, after any \*
    QString m_footnoteText;
    int m_footnoteCount = 0;
    bool m_footnoteMarked = false; ///< the current footnote's mark was counted in the text
};

} // namespace struktur::rtf

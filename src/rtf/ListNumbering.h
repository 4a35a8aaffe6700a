// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Keywords.h"
#include "Properties.h"
#include "Tokenizer.h"

#include <unordered_map>
#include <vector>

namespace struktur::rtf {

/// Both kinds of RTF list numbering: Word's list and list override tables (\ls, \ilvl) and the
/// rich edit control's per-paragraph \pn descriptions. Reads their definitions and tells, for
/// each paragraph, which list it is an item of (ListInfo::key), counting levels as Word does.
class ListNumbering {
public:
    // \listtable: {\list\listid {\listlevel\levelnfc\levelstartat{\leveltext ...}}}
    void beginList();
    void beginLevel();
    void listWord(Keyword keyword, const Token& token); ///< inside \list
    void levelWord(Keyword keyword, const Token& token); ///< inside \listlevel
    void beginLevelText() { m_levelText.clear(); }
    void levelTextBytes(QByteArrayView text);
    void levelTextCharacter(char16_t ch);
    void finishLevelText();

    // \listoverridetable: {\listoverride\listid\ls}
    void beginOverride() { m_overrideList = m_overrideNumber = 0; }
    void overrideWord(Keyword keyword, const Token& token);
    void finishOverride();

    // {\*\pn ...{\pntxtb ...}{\pntxta ...}}
    void beginPn() { m_pn = {}; }
    void pnWord(Keyword keyword, const Token& token);
    void pnTextBefore(char16_t ch);
    void pnTextAfter(char16_t ch);
    const PnProps& pn() const { return m_pn; }

    /// The list a paragraph with these properties belongs to; call once per paragraph, in order.
    ListInfo forParagraph(const ParaProps& para);

private:
    struct LevelDef {
        int nfc = 0;
        int start = 1;
        QString text; ///< \leveltext: length character, then text with level placeholders
    };
    struct ListDef {
        int id = 0;
        std::vector<LevelDef> levels;
    };
    struct PnRun {
        PnProps::Level level;
        QTextListFormat::Style style;
        int64_t run;
    };

    std::vector<ListDef> m_lists;
    std::unordered_map<int, int> m_overrides; ///< \ls number to \listid
    int m_overrideList = 0;
    int m_overrideNumber = 0;
    QString m_levelText;
    std::unordered_map<int64_t, int> m_listGenerations;

    PnProps m_pn; ///< the \pn being read
    std::vector<PnRun> m_pnRuns; ///< the open list of each level, outermost first
    int64_t m_pnRunCount = 0;
};

} // namespace struktur::rtf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListNumbering.h"

#include "ReaderLimits.h"

namespace struktur::rtf {
namespace {

QTextListFormat::Style styleForNfc(int nfc)
{
    switch (nfc) {
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 23: return QTextListFormat::ListDisc;
    default: return QTextListFormat::ListDecimal;
    }
}

QTextListFormat::Style bulletStyle(QStringView text)
{
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'o':
        case 0x25CB:
        case 0x25E6:
            return QTextListFormat::ListCircle;
        case 0xF0A7:
        case 0xF06E:
        case 0x25A0:
        case 0x25AA:
        case 0x00A7:
            return QTextListFormat::ListSquare;
        default:
            break;
        }
    }
    return QTextListFormat::ListDisc;
}

} // namespace

void ListNumbering::beginList()
{
    if (m_lists.size() < size_t(kMaxLists))
        m_lists.push_back({});
}

void ListNumbering::beginLevel()
{
    if (!m_lists.empty() && m_lists.back().levels.size() < size_t(kMaxLevels))
        m_lists.back().levels.push_back({});
}

void ListNumbering::listWord(Keyword keyword, const Token& token)
{
    if (keyword == Keyword::listid && !m_lists.empty())
        m_lists.back().id = token.param;
}

void ListNumbering::levelWord(Keyword keyword, const Token& token)
{
    if (m_lists.empty() || m_lists.back().levels.empty())
        return;
    if (keyword == Keyword::levelnfc || keyword == Keyword::levelnfcn)
        m_lists.back().levels.back().nfc = clampParam(token, 0, 255, 0);
    else if (keyword == Keyword::levelstartat)
        m_lists.back().levels.back().start = clampParam(token, 0, 32767, 1);
}

void ListNumbering::levelTextBytes(QByteArrayView text)
{
    if (m_levelText.size() < kMaxSideText)
        m_levelText += QString::fromLatin1(text);
}

void ListNumbering::levelTextCharacter(char16_t ch)
{
    if (m_levelText.size() < kMaxSideText)
        m_levelText += QChar(ch);
}

void ListNumbering::finishLevelText()
{
    if (!m_lists.empty() && !m_lists.back().levels.empty())
        m_lists.back().levels.back().text = m_levelText;
}

void ListNumbering::overrideWord(Keyword keyword, const Token& token)
{
    if (keyword == Keyword::listid)
        m_overrideList = token.param;
    else if (keyword == Keyword::ls)
        m_overrideNumber = clampParam(token, 0, 1 << 20, 0);
}

void ListNumbering::finishOverride()
{
    if (m_overrideNumber > 0 && m_overrides.size() < size_t(kMaxLists))
        m_overrides[m_overrideNumber] = m_overrideList;
}

void ListNumbering::pnWord(Keyword keyword, const Token& token)
{
    switch (keyword) {
    case Keyword::pnlvlblt:
        m_pn.level = PnProps::Level::Bullet;
        m_pn.style = QTextListFormat::ListDisc;
        break;
    case Keyword::pnlvlbody:
        m_pn.level = PnProps::Level::Body;
        break;
    case Keyword::pnlvlcont:
        m_pn.level = PnProps::Level::Continue;
        break;
    case Keyword::pnlvl:
        m_pn.level = PnProps::Level::Outline;
        m_pn.outlineLevel = clampParam(token, 1, kMaxLevels, 1);
        break;
    case Keyword::pndec:
    case Keyword::pnord:
    case Keyword::pnordt:
    case Keyword::pncard:
    case Keyword::pncardt:
        m_pn.style = QTextListFormat::ListDecimal;
        break;
    case Keyword::pnucltr: m_pn.style = QTextListFormat::ListUpperAlpha; break;
    case Keyword::pnlcltr: m_pn.style = QTextListFormat::ListLowerAlpha; break;
    case Keyword::pnucrm: m_pn.style = QTextListFormat::ListUpperRoman; break;
    case Keyword::pnlcrm: m_pn.style = QTextListFormat::ListLowerRoman; break;
    case Keyword::pnstart: m_pn.start = clampParam(token, 0, 32767, 1); break;
    case Keyword::pnf: m_pn.font = clampParam(token, 0, 1 << 20, 0); break;
    default: break;
    }
}

void ListNumbering::pnTextBefore(char16_t ch)
{
    if (m_pn.before.size() < 64)
        m_pn.before += QChar(ch);
}

void ListNumbering::pnTextAfter(char16_t ch)
{
    if (m_pn.after.size() < 64)
        m_pn.after += QChar(ch);
}

ListInfo ListNumbering::forParagraph(const ParaProps& para)
{
    ListInfo info;
    const ListDef* def = nullptr;
    if (para.wordList > 0) {
        if (const auto override = m_overrides.find(para.wordList); override != m_overrides.end()) {
            for (const ListDef& candidate : m_lists) {
                if (candidate.id == override->second) {
                    def = &candidate;
                    break;
                }
            }
        }
    }
    // A list number without a list table entry: the paragraph's own \pn description, when it has
    // one, says what the list looks like.
    const bool pnInstead = !def && para.pn.level != PnProps::Level::None;
    if (para.wordList > 0 && !pnInstead) {
        const int level = para.wordLevel;
        const LevelDef* levelDef = def && level < int(def->levels.size()) ? &def->levels[level] : nullptr;
        // A list number that the list table does not define makes no list, as in Word.
        if (!def || (levelDef && levelDef->nfc == 255))
            return info;
        info.present = true;
        info.level = level + 1;
        info.style = levelDef ? styleForNfc(levelDef->nfc) : QTextListFormat::ListDisc;
        info.start = levelDef ? levelDef->start : 1;
        if (levelDef && !levelDef->text.isEmpty()) {
            const QString text = levelDef->text.mid(1, levelDef->text.at(0).unicode());
            if (info.style == QTextListFormat::ListDisc) {
                info.style = bulletStyle(text);
            } else {
                qsizetype first = -1, last = -1;
                for (qsizetype i = 0; i < text.size(); ++i) {
                    if (text[i].unicode() < 9) {
                        if (first < 0)
                            first = i;
                        last = i;
                    }
                }
                if (first >= 0) {
                    info.prefix = text.left(first);
                    info.suffix = text.mid(last + 1);
                } else if (!text.trimmed().isEmpty()) {
                    // A numbering whose text holds no number shows that text: a bullet.
                    info.style = bulletStyle(text);
                }
            }
        }
        // A deeper level starts counting again after each item of a shallower one.
        const int64_t base = int64_t(para.wordList) << 8;
        for (int deeper = level + 1; deeper < kMaxLevels; ++deeper)
            ++m_listGenerations[base + deeper];
        const int generation = m_listGenerations[base + level];
        info.key = (base + level) * 65536 + generation;
        return info;
    }
    const PnProps& pn = para.pn;
    if (pn.level == PnProps::Level::None || pn.level == PnProps::Level::Continue) {
        m_pnRuns.clear();
        return info;
    }
    info.present = true;
    info.level = pn.level == PnProps::Level::Outline ? pn.outlineLevel
                                                     : std::clamp(int((para.leftIndent + 360) / 720), 1, kMaxLevels);
    info.style = pn.level == PnProps::Level::Bullet ? bulletStyle(pn.before) : pn.style;
    info.start = pn.start;
    if (pn.level != PnProps::Level::Bullet) {
        info.prefix = pn.before;
        info.suffix = pn.after;
    }
    // Items of one level continue their list until a paragraph outside any list; a shallower
    // item ends the deeper lists.
    m_pnRuns.resize(std::min<size_t>(m_pnRuns.size(), size_t(info.level)));
    if (m_pnRuns.size() == size_t(info.level) && m_pnRuns.back().style == info.style
        && m_pnRuns.back().level == pn.level) {
        info.key = -m_pnRuns.back().run;
        return info;
    }
    m_pnRuns.resize(size_t(info.level), PnRun { PnProps::Level::None, QTextListFormat::ListStyleUndefined, 0 });
    m_pnRuns.back() = PnRun { pn.level, info.style, ++m_pnRunCount };
    info.key = -m_pnRunCount;
    return info;
}

} // namespace struktur::rtf

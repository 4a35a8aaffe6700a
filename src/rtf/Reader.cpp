// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reader.h"

#include <algorithm>

namespace struktur::rtf {
namespace {

constexpr qsizetype kMaxDepth = 1000;
constexpr int kMaxFonts = 8192;
constexpr int kMaxColors = 8192;
constexpr int kMaxLists = 2048;
constexpr int kMaxLevels = 9;
constexpr int kMaxCellsPerRow = 64;
constexpr int kMaxTabs = 64;
constexpr int kMaxFieldNesting = 32;
constexpr qsizetype kMaxPictureBytes = qsizetype(64) << 20;
constexpr qsizetype kMaxSideText = 64 * 1024; ///< font names, instructions, list texts
constexpr int64_t kMinCellBudget = 200000;

int clampParam(const Token& token, int low, int high, int fallback)
{
    return token.hasParam ? std::clamp<int>(token.param, low, high) : fallback;
}

bool toggleOn(const Token& token) { return !token.hasParam || token.param != 0; }

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

Reader::Reader(QByteArrayView input, Sink& sink)
    : m_input(input)
    , m_tokenizer(input)
    , m_sink(sink)
    , m_cellBudget(std::max<int64_t>(kMinCellBudget, input.size() / 8))
{
    m_sink.tables = &m_tables;
    m_stack.reserve(64);
}

void Reader::run()
{
    while (!m_done) {
        // Body text takes its \'hh escapes in the same run: they decode the same as its bytes.
        const Token token = m_state.dest == Destination::Body && m_fallbackToSkip == 0 ? m_tokenizer.nextInText()
                                                                                       : m_tokenizer.next();
        if (token.kind == Token::Kind::End)
            break;
        if (token.kind == Token::Kind::GroupOpen) {
            groupOpen(token);
            continue;
        }
        if (token.kind == Token::Kind::GroupClose) {
            groupClose(token);
            continue;
        }
        const bool first = m_state.groupStart;
        m_state.groupStart = false;
        m_firstInGroup = first;
        if (m_state.dest == Destination::UprChild) {
            // Of \upr's two renderings only the Unicode one, {\*\ud ...}, is read.
            if (token.kind == Token::Kind::Symbol && token.symbol == '*')
                continue;
            if (token.kind == Token::Kind::Word && token.word == "ud") {
                m_state.dest = m_stack.size() >= 2 ? m_stack[m_stack.size() - 2].dest : Destination::Body;
                continue;
            }
            m_state.dest = Destination::Skip;
            continue;
        }
        if (m_state.dest == Destination::Skip || m_state.dest == Destination::PageMargin)
            continue;
        switch (token.kind) {
        case Token::Kind::Word:
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                continue;
            }
            word(token);
            break;
        case Token::Kind::Symbol:
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                continue;
            }
            if (token.symbol == '*' && first)
                m_state.starred = true;
            else
                symbol(token.symbol);
            break;
        case Token::Kind::Text:
            bytes(token.text);
            break;
        case Token::Kind::TextWithHex:
            bodyBytes(token.text, true);
            break;
        case Token::Kind::Hex:
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                continue;
            }
            hexByte(token.byte);
            break;
        case Token::Kind::Binary:
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                continue;
            }
            if (m_state.dest == Destination::Picture
                && m_picture.data.size() + token.text.size() <= kMaxPictureBytes)
                m_picture.data.append(token.text.data(), token.text.size());
            break;
        default:
            break;
        }
    }
    // End of input, or the root group closed: what is open is closed.
    m_overflow.clear();
    while (!m_stack.empty()) {
        if (m_state.dest == Destination::Body && m_paragraphHasContent)
            endParagraph();
        State child = m_state;
        m_state = m_stack.back();
        m_stack.pop_back();
        finishGroup(child, -1);
    }
    m_state.dest = Destination::Body;
    flushText();
    if (m_paragraphHasContent)
        endParagraph();
    syncTable(false);
}

void Reader::groupOpen(const Token& token)
{
    m_fallbackToSkip = 0;
    if (!m_overflow.empty() || qsizetype(m_stack.size()) >= kMaxDepth) {
        m_overflow.push_back({ m_state.dest, m_state.unicodeSkip });
        m_state.groupStart = true;
        m_state.starred = false;
        return;
    }
    m_stack.push_back(m_state);
    m_state.groupStart = true;
    m_state.starred = false;
    m_state.ownsField = false;
    m_state.groupOffset = token.offset;
    if (m_state.dest == Destination::Upr)
        m_state.dest = Destination::UprChild;
}

void Reader::groupClose(const Token& token)
{
    m_fallbackToSkip = 0;
    if (!m_overflow.empty()) {
        m_state.dest = m_overflow.back().dest;
        m_state.unicodeSkip = m_overflow.back().unicodeSkip;
        m_overflow.pop_back();
        return;
    }
    if (m_stack.empty()) {
        m_done = true;
        return;
    }
    // A last paragraph without \par has the paragraph format in force at the end.
    if (m_stack.size() == 1 && m_state.dest == Destination::Body && m_paragraphHasContent)
        endParagraph();
    const State child = m_state;
    m_state = m_stack.back();
    m_stack.pop_back();
    finishGroup(child, token.offset);
    if (m_stack.empty())
        m_done = true;
}

void Reader::finishGroup(const State& child, qsizetype closeOffset)
{
    if (child.ownsField && !m_fields.empty())
        m_fields.pop_back();
    if (child.dest == m_state.dest)
        return;
    // A group cut off by the end of the input is not kept whole: writing it back would unbalance
    // the braces of the document it goes into.
    const bool complete = closeOffset >= 0;
    const QByteArrayView group
        = complete ? m_input.sliced(child.groupOffset, closeOffset + 1 - child.groupOffset) : QByteArrayView();
    switch (child.dest) {
    case Destination::FontTable:
        commitFont();
        resetCodePage();
        break;
    case Destination::Pn:
        m_state.para.pn = m_pnScratch;
        break;
    case Destination::LevelText:
        if (!m_lists.empty() && !m_lists.back().levels.empty())
            m_lists.back().levels.back().text = m_levelText;
        break;
    case Destination::ListOverride:
        if (m_overrideNumber > 0 && m_overrides.size() < size_t(kMaxLists))
            m_overrides[m_overrideNumber] = m_overrideList;
        break;
    case Destination::FieldInstruction:
        if (!m_fields.empty())
            parseFieldInstruction(m_fields.back());
        break;
    case Destination::Picture:
        if (m_state.dest == Destination::Skip)
            break;
        if (m_state.dest == Destination::Container) {
            m_container.offer(m_picture);
            m_picture = {};
            break;
        }
        flushText();
        beginContent();
        if (m_picture.type == PictureType::Unknown || m_picture.type == PictureType::Wmf) {
            // Drawn, if at all, from a form that cannot be written back: kept as read.
            if (!complete)
                break;
            m_sink.pictureGroup(group, m_picture, m_picture.goalWidth * m_picture.scaleX / 100,
                m_picture.goalHeight * m_picture.scaleY / 100, m_state.chr);
        } else {
            m_sink.picture(m_picture, group, m_state.chr);
        }
        m_picture = {};
        m_paragraphHasContent = true;
        break;
    case Destination::Container:
        finishContainer(closeOffset);
        break;
    case Destination::PageMargin:
        if (complete && m_state.dest == Destination::Body)
            m_sink.pageMargin(group);
        break;
    case Destination::Footnote:
        if (m_state.dest == Destination::Body) {
            m_sink.footnote(m_footnoteText);
            m_footnoteText.clear();
        }
        break;
    default:
        break;
    }
}

// A control word that begins a destination this reader understands, entered at the start of
// its group; `\*` before any other word skips the group.
bool Reader::wordStartsDestination(Keyword keyword)
{
    if (m_state.dest == Destination::Container)
        return containerWord(keyword);
    if (m_state.dest == Destination::Footnote) {
        // A footnote's text is read; what it embeds is not.
        switch (keyword) {
        case Keyword::pict:
        case Keyword::object:
        case Keyword::shp:
        case Keyword::shpgrp:
        case Keyword::shppict:
        case Keyword::nonshppict:
            m_state.dest = Destination::Skip;
            return true;
        default:
            break;
        }
    }
    Destination dest;
    switch (keyword) {
    case Keyword::fonttbl:
        dest = Destination::FontTable;
        m_fontId = -1;
        m_fontName.clear();
        break;
    case Keyword::colortbl:
        dest = Destination::ColorTable;
        m_colorHasValue = false;
        m_red = m_green = m_blue = 0;
        break;
    case Keyword::info:
        dest = Destination::Info;
        break;
    case Keyword::title:
        if (m_state.dest != Destination::Info)
            return false;
        dest = Destination::InfoTitle;
        m_tables.title.clear();
        break;
    case Keyword::listtable:
        dest = Destination::ListTable;
        break;
    case Keyword::list:
        if (m_state.dest != Destination::ListTable)
            return false;
        dest = Destination::List;
        if (m_lists.size() < size_t(kMaxLists))
            m_lists.push_back({});
        break;
    case Keyword::listlevel:
        if (m_state.dest != Destination::List)
            return false;
        dest = Destination::ListLevel;
        if (!m_lists.empty() && m_lists.back().levels.size() < size_t(kMaxLevels))
            m_lists.back().levels.push_back({});
        break;
    case Keyword::leveltext:
        if (m_state.dest != Destination::ListLevel)
            return false;
        dest = Destination::LevelText;
        m_levelText.clear();
        break;
    case Keyword::listoverridetable:
        dest = Destination::ListOverrideTable;
        break;
    case Keyword::listoverride:
        if (m_state.dest != Destination::ListOverrideTable)
            return false;
        dest = Destination::ListOverride;
        m_overrideList = m_overrideNumber = 0;
        break;
    case Keyword::pn:
        if (m_state.dest != Destination::Body)
            return false;
        dest = Destination::Pn;
        m_pnScratch = {};
        break;
    case Keyword::pntxtb:
    case Keyword::pntxta:
        if (m_state.dest != Destination::Pn)
            return false;
        dest = keyword == Keyword::pntxtb ? Destination::PnTextBefore : Destination::PnTextAfter;
        break;
    case Keyword::fldinst:
        if (m_fields.empty())
            return false;
        dest = Destination::FieldInstruction;
        break;
    case Keyword::pict:
        if (m_state.dest != Destination::Body)
            return false;
        dest = Destination::Picture;
        m_picture = {};
        m_pictureNibble = -1;
        break;
    case Keyword::object:
    case Keyword::shp:
    case Keyword::shpgrp:
    case Keyword::shppict:
    case Keyword::nonshppict: {
        // Only a group that starts with the word is kept whole.
        if (m_state.dest != Destination::Body || !m_wordOpensGroup || !m_overflow.empty()) {
            if (keyword != Keyword::nonshppict)
                return false;
            dest = Destination::Skip;
            break;
        }
        if (keyword == Keyword::nonshppict && m_container.awaitingFallback()) {
            m_container.continueWithFallback();
        } else {
            using Kind = PictureContainer::Kind;
            const Kind kind = keyword == Keyword::object ? Kind::Object
                : keyword == Keyword::shppict           ? Kind::Picture
                : keyword == Keyword::nonshppict        ? Kind::Fallback
                                                        : Kind::Shape;
            // A shape without a picture (a line, a text box) is read as before: its text shows.
            if (kind == Kind::Shape && !PictureContainer::containsPicture(m_input, m_state.groupOffset))
                return false;
            m_container.begin(kind, m_state.groupOffset);
        }
        dest = Destination::Container;
        break;
    }
    case Keyword::upr:
        dest = Destination::Upr;
        break;
    case Keyword::header:
    case Keyword::headerl:
    case Keyword::headerr:
    case Keyword::headerf:
    case Keyword::footer:
    case Keyword::footerl:
    case Keyword::footerr:
    case Keyword::footerf:
        dest = m_state.dest == Destination::Body ? Destination::PageMargin : Destination::Skip;
        break;
    case Keyword::footnote:
        if (m_state.dest != Destination::Body) {
            dest = Destination::Skip;
            break;
        }
        dest = Destination::Footnote;
        m_footnoteText.clear();
        break;
    case Keyword::nesttableprops:
        // Some writers put the nested cells' text in here too, so it is read as body text.
        m_state.nestedRowDef = true;
        return false;
    case Keyword::fldrslt:
    case Keyword::field:
    case Keyword::ud:
        return false;
    case Keyword::stylesheet:
    case Keyword::generator:
    case Keyword::annotation:
    case Keyword::xe:
    case Keyword::tc:
    case Keyword::txe:
    case Keyword::rxe:
    case Keyword::pnseclvl:
    case Keyword::filetbl:
    case Keyword::revtbl:
    case Keyword::listpicture:
    case Keyword::shpinst:
    case Keyword::atnauthor:
    case Keyword::atnid:
    case Keyword::bkmkstart:
    case Keyword::bkmkend:
    case Keyword::nonesttables:
    case Keyword::themedata:
    case Keyword::datastore:
    case Keyword::pntext:
    case Keyword::listtext:
    case Keyword::subject:
    case Keyword::author:
    case Keyword::keywords:
    case Keyword::comment:
    case Keyword::doccomm:
        dest = Destination::Skip;
        break;
    default:
        return false;
    }
    // Too deep to be finished when it ends: a destination there is not read.
    if (!m_overflow.empty())
        dest = Destination::Skip;
    if (dest != Destination::Skip && dest != Destination::Info && dest != Destination::PageMargin
        && m_state.dest == Destination::Body)
        flushText();
    m_state.dest = dest;
    return true;
}

// Inside a picture container only the pictures matter, wherever they are: in a shape's
// properties, its result, an object's result, or the fallback copy.
bool Reader::containerWord(Keyword keyword)
{
    switch (keyword) {
    case Keyword::pict:
        m_state.dest = Destination::Picture;
        m_picture = {};
        m_pictureNibble = -1;
        return true;
    case Keyword::shp:
    case Keyword::shpgrp:
    case Keyword::shpinst:
    case Keyword::shprslt:
    case Keyword::sp:
    case Keyword::sv:
    case Keyword::shppict:
    case Keyword::nonshppict:
    case Keyword::object:
    case Keyword::result:
        return true;
    default:
        return false;
    }
}

void Reader::finishContainer(qsizetype closeOffset)
{
    if (m_state.dest != Destination::Body) {
        m_container.take();
        return;
    }
    if (closeOffset >= 0 && m_container.kind() == PictureContainer::Kind::Picture
        && qsizetype(m_stack.size()) + 1 < kMaxDepth && PictureContainer::fallbackFollows(m_input, closeOffset + 1)) {
        m_container.awaitFallback();
        return;
    }
    const int width = m_container.widthTwips();
    const int height = m_container.heightTwips();
    const qsizetype start = m_container.start();
    const Picture shown = m_container.take();
    flushText();
    beginContent();
    if (closeOffset >= 0) {
        m_sink.pictureGroup(m_input.sliced(start, closeOffset + 1 - start), shown, width, height, m_state.chr);
    } else if (shown.type != PictureType::Unknown) {
        // Cut off by the end of the input: the group cannot be kept, its picture can.
        m_sink.picture(shown, QByteArrayView(), m_state.chr);
    }
    m_paragraphHasContent = true;
}

void Reader::word(const Token& token)
{
    const Keyword keyword = lookupKeyword(token.word);
    m_wordOpensGroup = m_firstInGroup || m_state.starred;
    if (m_state.starred) {
        m_state.starred = false;
        if (!wordStartsDestination(keyword)) {
            const bool known = keyword == Keyword::shppict || keyword == Keyword::ud || keyword == Keyword::nesttableprops;
            if (!known) {
                m_state.dest = Destination::Skip;
                return;
            }
        } else {
            return;
        }
    } else if (wordStartsDestination(keyword)) {
        return;
    }
    if (keyword == Keyword::fldrslt && m_state.dest == Destination::FieldInstruction) {
        // The instruction was not in a group of its own: the result ends it.
        if (!m_fields.empty())
            parseFieldInstruction(m_fields.back());
        m_state.dest = Destination::Body;
    }
    switch (m_state.dest) {
    case Destination::Body:
        bodyWord(keyword, token);
        break;
    default:
        otherWord(keyword, token);
        break;
    }
}

void Reader::bodyWord(Keyword keyword, const Token& token)
{
    CharProps& chr = m_state.chr;
    ParaProps& para = m_state.para;
    switch (keyword) {
    // Document.
    case Keyword::ansi:
        m_ansiCodePage = 1252;
        resetCodePage();
        break;
    case Keyword::mac:
        m_ansiCodePage = 10000;
        resetCodePage();
        break;
    case Keyword::pc:
        m_ansiCodePage = 437;
        resetCodePage();
        break;
    case Keyword::pca:
        m_ansiCodePage = 850;
        resetCodePage();
        break;
    case Keyword::ansicpg:
        if (token.hasParam && token.param > 0) {
            m_ansiCodePage = token.param;
            resetCodePage();
        }
        break;
    case Keyword::deff:
        m_tables.defaultFont = clampParam(token, 0, 1 << 20, 0);
        resetCodePage();
        break;
    case Keyword::uc:
        m_state.unicodeSkip = uint8_t(clampParam(token, 0, 16, 1));
        break;
    case Keyword::u:
        if (token.hasParam)
            unicode(token.param);
        break;
    case Keyword::field:
        if (m_overflow.empty() && m_fields.size() < size_t(kMaxFieldNesting)) {
            m_fields.push_back({});
            m_state.ownsField = true;
        }
        break;
    case Keyword::fldrslt:
        if (!m_fields.empty()) {
            Field& field = m_fields.back();
            if (!field.parsed)
                parseFieldInstruction(field);
            if (field.link >= 0)
                chr.link = field.link;
        }
        break;

    // Characters.
    case Keyword::plain:
        chr = CharProps {};
        resetCodePage();
        break;
    case Keyword::f:
        chr.font = clampParam(token, 0, 1 << 20, 0);
        resetCodePage();
        break;
    case Keyword::fs:
        chr.halfPoints = clampParam(token, 2, 3276, 24);
        break;
    case Keyword::b:
        chr.bold = toggleOn(token);
        break;
    case Keyword::i:
        chr.italic = toggleOn(token);
        break;
    case Keyword::strike:
    case Keyword::striked:
        chr.strike = toggleOn(token);
        break;
    case Keyword::v:
        chr.hidden = toggleOn(token);
        break;
    case Keyword::caps:
        chr.capitals = toggleOn(token) ? Capitals::All : Capitals::Normal;
        break;
    case Keyword::scaps:
        chr.capitals = toggleOn(token) ? Capitals::Small : Capitals::Normal;
        break;
    case Keyword::ul:
    case Keyword::uldb:
    case Keyword::ulth:
    case Keyword::ulw:
        chr.underline = toggleOn(token) ? Underline::Single : Underline::None;
        break;
    case Keyword::uld:
    case Keyword::ulthd:
        chr.underline = toggleOn(token) ? Underline::Dotted : Underline::None;
        break;
    case Keyword::uldash:
    case Keyword::ulldash:
    case Keyword::ulthdash:
    case Keyword::ulthldash:
        chr.underline = toggleOn(token) ? Underline::Dash : Underline::None;
        break;
    case Keyword::uldashd:
    case Keyword::ulthdashd:
        chr.underline = toggleOn(token) ? Underline::DashDot : Underline::None;
        break;
    case Keyword::uldashdd:
    case Keyword::ulthdashdd:
        chr.underline = toggleOn(token) ? Underline::DashDotDot : Underline::None;
        break;
    case Keyword::ulwave:
    case Keyword::ulhwave:
    case Keyword::ululdbwave:
        chr.underline = toggleOn(token) ? Underline::Wave : Underline::None;
        break;
    case Keyword::ulnone:
        chr.underline = Underline::None;
        break;
    case Keyword::cf:
        chr.color = clampParam(token, 0, kMaxColors, 0);
        break;
    case Keyword::cb:
    case Keyword::highlight:
    case Keyword::chcbpat:
        chr.background = clampParam(token, 0, kMaxColors, 0);
        break;
    case Keyword::super:
        chr.vertical = toggleOn(token) ? VerticalPosition::Super : VerticalPosition::Normal;
        break;
    case Keyword::sub:
        chr.vertical = toggleOn(token) ? VerticalPosition::Sub : VerticalPosition::Normal;
        break;
    case Keyword::up:
        chr.vertical = clampParam(token, 0, 1, 1) ? VerticalPosition::Super : VerticalPosition::Normal;
        break;
    case Keyword::dn:
        chr.vertical = clampParam(token, 0, 1, 1) ? VerticalPosition::Sub : VerticalPosition::Normal;
        break;
    case Keyword::nosupersub:
        chr.vertical = VerticalPosition::Normal;
        break;

    // Paragraphs.
    case Keyword::pard:
        para = ParaProps {};
        break;
    case Keyword::ql:
        para.alignment = Alignment::Left;
        break;
    case Keyword::qc:
        para.alignment = Alignment::Center;
        break;
    case Keyword::qr:
        para.alignment = Alignment::Right;
        break;
    case Keyword::qj:
    case Keyword::qd:
        para.alignment = Alignment::Justify;
        break;
    case Keyword::li:
    case Keyword::lin:
        para.leftIndent = clampParam(token, -31680, 31680, 0);
        break;
    case Keyword::ri:
    case Keyword::rin:
        para.rightIndent = clampParam(token, -31680, 31680, 0);
        break;
    case Keyword::fi:
        para.firstIndent = clampParam(token, -31680, 31680, 0);
        break;
    case Keyword::sb:
        para.spaceBefore = clampParam(token, 0, 31680, 0);
        break;
    case Keyword::sa:
        para.spaceAfter = clampParam(token, 0, 31680, 0);
        break;
    case Keyword::sl:
        para.lineSpacing = clampParam(token, -31680, 31680, 0);
        break;
    case Keyword::slmult:
        para.lineMultiple = toggleOn(token);
        break;
    case Keyword::tqr:
    case Keyword::tqc:
    case Keyword::tqdec:
        if (para.tabs.size() < size_t(kMaxTabs)) {
            TabStop stop;
            stop.position = -1;
            stop.kind = keyword == Keyword::tqr ? TabStop::Kind::Right
                : keyword == Keyword::tqc       ? TabStop::Kind::Center
                                                : TabStop::Kind::Decimal;
            para.tabs.push_back(stop);
        }
        break;
    case Keyword::tx: {
        const int position = clampParam(token, 0, 31680, 0);
        if (!para.tabs.empty() && para.tabs.back().position < 0)
            para.tabs.back().position = position;
        else if (para.tabs.size() < size_t(kMaxTabs))
            para.tabs.push_back(TabStop { position, TabStop::Kind::Left });
        break;
    }
    case Keyword::pagebb:
        para.pageBreakBefore = toggleOn(token);
        break;
    case Keyword::cbpat:
        para.shadingBackground = clampParam(token, 0, kMaxColors, 0);
        break;
    case Keyword::cfpat:
        para.shadingPattern = clampParam(token, 0, kMaxColors, 0);
        break;
    case Keyword::shading:
        para.shading = clampParam(token, 0, 10000, 0);
        break;
    case Keyword::ls:
        para.wordList = clampParam(token, 0, 1 << 20, 0);
        break;
    case Keyword::ilvl:
        para.wordLevel = clampParam(token, 0, kMaxLevels - 1, 0);
        break;

    // Breaks and special characters.
    case Keyword::par:
        endParagraph();
        break;
    case Keyword::sect:
        endParagraph();
        break;
    case Keyword::page:
        if (m_paragraphHasContent)
            endParagraph();
        m_pageBreakPending = true;
        break;
    case Keyword::line:
        bodyChar(0x2028);
        break;
    case Keyword::chftn:
        // The automatic footnote mark: the footnote's number.
        for (const QChar ch : QString::number(++m_footnoteCount))
            bodyChar(ch.unicode());
        break;
    case Keyword::tab:
        bodyChar(u'\t');
        break;
    case Keyword::emdash: bodyChar(0x2014); break;
    case Keyword::endash: bodyChar(0x2013); break;
    case Keyword::lquote: bodyChar(0x2018); break;
    case Keyword::rquote: bodyChar(0x2019); break;
    case Keyword::ldblquote: bodyChar(0x201C); break;
    case Keyword::rdblquote: bodyChar(0x201D); break;
    case Keyword::bullet: bodyChar(0x2022); break;
    case Keyword::emspace: bodyChar(0x2003); break;
    case Keyword::enspace: bodyChar(0x2002); break;
    case Keyword::qmspace: bodyChar(0x2005); break;
    case Keyword::zwj: bodyChar(0x200D); break;
    case Keyword::zwnj: bodyChar(0x200C); break;
    case Keyword::ltrmark: bodyChar(0x200E); break;
    case Keyword::rtlmark: bodyChar(0x200F); break;
    case Keyword::zwbo: bodyChar(0x200B); break;
    case Keyword::zwnbo: bodyChar(0x2060); break;

    default:
        tableWord(keyword, token);
        break;
    }
}

void Reader::tableWord(Keyword keyword, const Token& token)
{
    ParaProps& para = m_state.para;
    if (m_state.nestedRowDef && keyword != Keyword::nestcell && keyword != Keyword::intbl && keyword != Keyword::itap)
        return;
    switch (keyword) {
    case Keyword::intbl:
        para.inTable = toggleOn(token);
        break;
    case Keyword::itap:
        para.inTable = clampParam(token, 0, 64, 1) > 0;
        break;
    case Keyword::trowd:
        m_rowDef = RowDef {};
        m_nextHorizontalMerge = m_nextVerticalMerge = CellMerge::None;
        break;
    case Keyword::cellx:
        if (m_rowDef.cells.size() < size_t(kMaxCellsPerRow)) {
            CellDef cell;
            cell.right = clampParam(token, -31680, 31680 * 4, 0);
            cell.horizontal = m_nextHorizontalMerge;
            cell.vertical = m_nextVerticalMerge;
            m_rowDef.cells.push_back(cell);
        }
        m_nextHorizontalMerge = m_nextVerticalMerge = CellMerge::None;
        break;
    case Keyword::clmgf:
        m_nextHorizontalMerge = CellMerge::First;
        break;
    case Keyword::clmrg:
        m_nextHorizontalMerge = CellMerge::Continue;
        break;
    case Keyword::clvmgf:
        m_nextVerticalMerge = CellMerge::First;
        break;
    case Keyword::clvmrg:
        m_nextVerticalMerge = CellMerge::Continue;
        break;
    case Keyword::clbrdrt:
    case Keyword::clbrdrb:
    case Keyword::clbrdrl:
    case Keyword::clbrdrr:
    case Keyword::trbrdrt:
    case Keyword::trbrdrb:
    case Keyword::trbrdrl:
    case Keyword::trbrdrr:
        m_rowDef.borders = true;
        break;
    case Keyword::cell:
        endCell();
        break;
    case Keyword::row:
        endRow();
        break;
    case Keyword::nestcell:
        // Nested tables are read as paragraphs of the outer cell.
        endParagraph();
        break;
    default:
        break;
    }
}

void Reader::otherWord(Keyword keyword, const Token& token)
{
    switch (m_state.dest) {
    case Destination::FontTable:
        if (keyword == Keyword::f) {
            commitFont();
            m_fontId = clampParam(token, 0, 1 << 20, 0);
            if (m_tables.fonts.size() < size_t(kMaxFonts))
                m_tables.fonts.try_emplace(m_fontId);
        } else if (keyword == Keyword::fcharset || keyword == Keyword::cpg) {
            const auto found = m_tables.fonts.find(m_fontId);
            const int codePage = keyword == Keyword::cpg ? clampParam(token, 0, 65535, 0)
                                                         : codePageForCharset(clampParam(token, 0, 255, 0));
            if (found != m_tables.fonts.end() && (keyword == Keyword::fcharset || codePage > 0))
                found->second.codePage = codePage;
        } else if (keyword == Keyword::u && token.hasParam) {
            unicode(token.param);
        }
        break;
    case Destination::ColorTable:
        if (keyword == Keyword::red || keyword == Keyword::green || keyword == Keyword::blue) {
            const int value = clampParam(token, 0, 255, 0);
            (keyword == Keyword::red ? m_red : keyword == Keyword::green ? m_green : m_blue) = value;
            m_colorHasValue = true;
        }
        break;
    case Destination::ListLevel:
        if (m_lists.empty() || m_lists.back().levels.empty())
            break;
        if (keyword == Keyword::levelnfc || keyword == Keyword::levelnfcn)
            m_lists.back().levels.back().nfc = clampParam(token, 0, 255, 0);
        else if (keyword == Keyword::levelstartat)
            m_lists.back().levels.back().start = clampParam(token, 0, 32767, 1);
        break;
    case Destination::List:
        if (keyword == Keyword::listid && !m_lists.empty())
            m_lists.back().id = token.param;
        break;
    case Destination::ListOverride:
        if (keyword == Keyword::listid)
            m_overrideList = token.param;
        else if (keyword == Keyword::ls)
            m_overrideNumber = clampParam(token, 0, 1 << 20, 0);
        break;
    case Destination::Pn:
        switch (keyword) {
        case Keyword::pnlvlblt:
            m_pnScratch.level = PnProps::Level::Bullet;
            m_pnScratch.style = QTextListFormat::ListDisc;
            break;
        case Keyword::pnlvlbody:
            m_pnScratch.level = PnProps::Level::Body;
            break;
        case Keyword::pnlvlcont:
            m_pnScratch.level = PnProps::Level::Continue;
            break;
        case Keyword::pnlvl:
            m_pnScratch.level = PnProps::Level::Outline;
            m_pnScratch.outlineLevel = clampParam(token, 1, kMaxLevels, 1);
            break;
        case Keyword::pndec:
        case Keyword::pnord:
        case Keyword::pnordt:
        case Keyword::pncard:
        case Keyword::pncardt:
            m_pnScratch.style = QTextListFormat::ListDecimal;
            break;
        case Keyword::pnucltr: m_pnScratch.style = QTextListFormat::ListUpperAlpha; break;
        case Keyword::pnlcltr: m_pnScratch.style = QTextListFormat::ListLowerAlpha; break;
        case Keyword::pnucrm: m_pnScratch.style = QTextListFormat::ListUpperRoman; break;
        case Keyword::pnlcrm: m_pnScratch.style = QTextListFormat::ListLowerRoman; break;
        case Keyword::pnstart: m_pnScratch.start = clampParam(token, 0, 32767, 1); break;
        case Keyword::pnf: m_pnScratch.font = clampParam(token, 0, 1 << 20, 0); break;
        default: break;
        }
        break;
    case Destination::Picture:
        switch (keyword) {
        case Keyword::pngblip: m_picture.type = PictureType::Png; break;
        case Keyword::jpegblip: m_picture.type = PictureType::Jpeg; break;
        case Keyword::wmetafile: m_picture.type = PictureType::Wmf; break;
        case Keyword::emfblip:
        case Keyword::macpict:
        case Keyword::dibitmap:
        case Keyword::wbitmap:
        case Keyword::pmmetafile:
            m_picture.type = PictureType::Unknown;
            break;
        case Keyword::picw: m_picture.width = clampParam(token, 0, 1 << 24, 0); break;
        case Keyword::pich: m_picture.height = clampParam(token, 0, 1 << 24, 0); break;
        case Keyword::picwgoal: m_picture.goalWidth = clampParam(token, 0, 31680 * 4, 0); break;
        case Keyword::pichgoal: m_picture.goalHeight = clampParam(token, 0, 31680 * 4, 0); break;
        case Keyword::picscalex: m_picture.scaleX = clampParam(token, 1, 1000, 100); break;
        case Keyword::picscaley: m_picture.scaleY = clampParam(token, 1, 1000, 100); break;
        default: break;
        }
        break;
    case Destination::Container:
        if (keyword == Keyword::objw)
            m_container.setObjectSize(clampParam(token, 0, 31680 * 4, 0), 0);
        else if (keyword == Keyword::objh)
            m_container.setObjectSize(0, clampParam(token, 0, 31680 * 4, 0));
        break;
    case Destination::Footnote:
        if (keyword == Keyword::par || keyword == Keyword::line || keyword == Keyword::sect) {
            if (m_footnoteText.size() < kMaxSideText)
                m_footnoteText += u'\n';
            break;
        }
        if (keyword == Keyword::chftn) {
            if (m_footnoteText.size() < kMaxSideText)
                m_footnoteText += QString::number(std::max(1, m_footnoteCount));
            break;
        }
        [[fallthrough]];
    case Destination::FieldInstruction:
    case Destination::InfoTitle:
    case Destination::LevelText:
    case Destination::PnTextBefore:
    case Destination::PnTextAfter:
        if (keyword == Keyword::u && token.hasParam)
            unicode(token.param);
        else if (keyword == Keyword::uc)
            m_state.unicodeSkip = uint8_t(clampParam(token, 0, 16, 1));
        else if (keyword == Keyword::f)
            m_state.codePage = resolveCodePage(clampParam(token, 0, 1 << 20, 0));
        else if (keyword == Keyword::tab)
            character(u'\t');
        break;
    default:
        break;
    }
}

void Reader::symbol(char c)
{
    switch (c) {
    case '~': character(0x00A0); break;
    case '-': character(0x00AD); break;
    case '_': character(0x2011); break;
    default: break;
    }
}

int Reader::resolveCodePage(int fontId) const
{
    const FontEntry* font = m_tables.font(fontId);
    return font && font->codePage > 0 ? font->codePage : m_ansiCodePage;
}

QString Reader::decodeForDestination(QByteArrayView text)
{
    QString out;
    m_decoder.decode(text, m_state.codePage, out);
    return out;
}

void Reader::bytes(QByteArrayView text)
{
    if (m_fallbackToSkip > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_fallbackToSkip, text.size());
        m_fallbackToSkip -= int(skipped);
        text = text.sliced(skipped);
        if (text.isEmpty())
            return;
    }
    switch (m_state.dest) {
    case Destination::Body:
        bodyBytes(text);
        break;
    case Destination::FontTable:
        for (const char c : text) {
            if (c == ';')
                commitFont();
            else if (m_fontName.size() < kMaxSideText)
                m_fontName.append(c);
        }
        break;
    case Destination::ColorTable:
        for (const char c : text) {
            if (c == ';')
                commitColor();
        }
        break;
    case Destination::LevelText:
        if (m_levelText.size() < kMaxSideText)
            m_levelText += QString::fromLatin1(text);
        break;
    case Destination::Picture:
        for (const char c : text) {
            const int digit = hexValue(c);
            if (digit < 0)
                continue;
            if (m_pictureNibble < 0) {
                m_pictureNibble = digit;
            } else {
                if (m_picture.data.size() < kMaxPictureBytes)
                    m_picture.data.append(char(m_pictureNibble * 16 + digit));
                m_pictureNibble = -1;
            }
        }
        break;
    case Destination::FieldInstruction:
    case Destination::InfoTitle:
    case Destination::PnTextBefore:
    case Destination::PnTextAfter:
    case Destination::Footnote:
        for (const QChar ch : decodeForDestination(text))
            character(ch.unicode());
        break;
    default:
        break;
    }
}

void Reader::hexByte(uint8_t byte)
{
    const char c = char(byte);
    switch (m_state.dest) {
    case Destination::Body:
        bodyBytes(QByteArrayView(&c, 1));
        break;
    case Destination::FontTable:
        if (m_fontName.size() < kMaxSideText)
            m_fontName.append(c);
        break;
    case Destination::LevelText:
        if (m_levelText.size() < kMaxSideText)
            m_levelText += QChar(byte);
        break;
    case Destination::FieldInstruction:
    case Destination::InfoTitle:
    case Destination::PnTextBefore:
    case Destination::PnTextAfter:
    case Destination::Footnote:
        for (const QChar ch : decodeForDestination(QByteArrayView(&c, 1)))
            character(ch.unicode());
        break;
    default:
        break;
    }
}

void Reader::unicode(int value)
{
    m_fallbackToSkip = 0;
    if (value < 0)
        value += 65536;
    if (value >= 0 && value <= 0xFFFF) {
        char16_t ch = char16_t(value);
        // Symbol-font text in the private-use page is shown with its real character.
        if (ch >= 0xF020 && ch <= 0xF0FF && resolveCodePage(m_state.chr.font) == kSymbolCodePage)
            ch = symbolFontCharacter(uint8_t(ch - 0xF000));
        if (m_state.dest == Destination::FontTable) {
            const FontEntry* font = m_tables.font(m_fontId);
            m_decoder.decode(m_fontName, font && font->codePage > 0 ? font->codePage : m_ansiCodePage, m_fontNameText);
            m_fontName.clear();
            if (m_fontNameText.size() < kMaxSideText)
                m_fontNameText += QChar(ch);
        } else {
            character(ch);
        }
    }
    m_fallbackToSkip = m_state.unicodeSkip;
}

void Reader::character(char16_t ch)
{
    switch (m_state.dest) {
    case Destination::Body:
        bodyChar(ch);
        break;
    case Destination::FieldInstruction:
        if (!m_fields.empty() && m_fields.back().instruction.size() < kMaxSideText)
            m_fields.back().instruction += QChar(ch);
        break;
    case Destination::InfoTitle:
        if (m_tables.title.size() < kMaxSideText && !isUnstorable(ch))
            m_tables.title += QChar(ch);
        break;
    case Destination::LevelText:
        if (m_levelText.size() < kMaxSideText)
            m_levelText += QChar(ch);
        break;
    case Destination::PnTextBefore:
        if (m_pnScratch.before.size() < 64)
            m_pnScratch.before += QChar(ch);
        break;
    case Destination::PnTextAfter:
        if (m_pnScratch.after.size() < 64)
            m_pnScratch.after += QChar(ch);
        break;
    case Destination::Footnote:
        if (m_footnoteText.size() < kMaxSideText && !isUnstorable(ch))
            m_footnoteText += QChar(ch == 0x2028 ? u'\n' : ch);
        break;
    default:
        break;
    }
}

void Reader::beginContent()
{
    syncTable(m_state.para.inTable);
    m_paragraphHasContent = true;
}

void Reader::bodyBytes(QByteArrayView text, bool withHex)
{
    if (m_state.chr.hidden)
        return;
    if (!m_paragraphHasContent)
        beginContent();
    const bool pending = !m_pendingText.isEmpty() || !m_pendingBytes.isEmpty();
    if (pending && !(m_pendingChr == m_state.chr))
        endRun();
    if (m_pendingText.isEmpty() && m_pendingBytes.isEmpty())
        m_pendingChr = m_state.chr;
    const int codePage = m_state.codePage;
    if (codePage != m_bodyCodePage) {
        m_bodyCodePage = codePage;
        m_bodyMultiByte = isMultiByteCodePage(codePage);
        m_bodyTable.set(m_decoder.table(codePage));
    }
    if (m_bodyMultiByte) {
        if (!m_pendingBytes.isEmpty() && m_pendingBytesCodePage != codePage)
            flushBytes();
        m_pendingBytesCodePage = codePage;
        if (!withHex) {
            m_pendingBytes.append(text.data(), text.size());
            return;
        }
        for (const char *p = text.data(), *end = p + text.size(); p < end; ++p) {
            if (*p == '\\') {
                m_pendingBytes.append(char(hexValue(p[2]) * 16 + hexValue(p[3])));
                p += 3;
            } else {
                m_pendingBytes.append(*p);
            }
        }
        return;
    }
    if (!m_pendingBytes.isEmpty())
        flushBytes();
    m_pendingText.appendBytes(text, m_bodyTable, withHex);
}

void Reader::bodyChar(char16_t ch)
{
    if (m_state.chr.hidden || isUnstorable(ch))
        return;
    if (!m_paragraphHasContent)
        beginContent();
    if ((!m_pendingText.isEmpty() || !m_pendingBytes.isEmpty()) && !(m_pendingChr == m_state.chr))
        endRun();
    if (m_pendingText.isEmpty() && m_pendingBytes.isEmpty())
        m_pendingChr = m_state.chr;
    if (!m_pendingBytes.isEmpty())
        flushBytes();
    m_pendingText.append(ch);
}

void Reader::flushBytes()
{
    QString decoded;
    m_decoder.decode(m_pendingBytes, m_pendingBytesCodePage, decoded);
    m_pendingBytes.clear();
    decoded.removeIf([](QChar ch) { return isUnstorable(ch.unicode()); });
    m_pendingText.append(decoded);
}

// A change of formatting ends a run of text. A sink that ignores formatting gets the runs of a
// paragraph as one, each still checked on its own for a broken surrogate pair.
void Reader::endRun()
{
    if (m_sink.formatted) {
        flushText();
        return;
    }
    if (!m_pendingBytes.isEmpty())
        flushBytes();
    m_pendingText.closeSegment();
    m_pendingChr = m_state.chr;
}

void Reader::flushText()
{
    if (!m_pendingBytes.isEmpty())
        flushBytes();
    if (m_pendingText.isEmpty())
        return;
    m_pendingText.closeSegment();
    m_sink.text(m_pendingText.text(), m_pendingChr);
    m_pendingText.clear();
}

void Reader::syncTable(bool wantTable)
{
    if (wantTable && !m_inRow && m_cellBudget <= 0)
        wantTable = false;
    if (wantTable) {
        if (!m_inRow) {
            m_inRow = true;
            m_inTable = true;
            m_cellBudget -= std::max<int64_t>(1, int64_t(m_rowDef.cells.size()));
            m_cellIndex = 0;
            m_sink.rowStart(m_rowDef);
        }
        return;
    }
    if (!m_inTable)
        return;
    if (m_inRow) {
        m_inRow = false;
        m_sink.rowEnd(m_rowDef);
    }
    m_inTable = false;
    m_sink.tableEnd();
}

ListInfo Reader::listInfo(const ParaProps& para)
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
        const ListLevelDef* levelDef = def && level < int(def->levels.size()) ? &def->levels[level] : nullptr;
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

void Reader::endParagraph()
{
    flushText();
    syncTable(m_state.para.inTable);
    ParaProps para = m_state.para;
    para.pageBreakBefore = para.pageBreakBefore || m_pageBreakPending;
    m_pageBreakPending = false;
    m_sink.paragraphEnd(para, listInfo(para), m_state.chr);
    m_paragraphHasContent = false;
}

void Reader::endCell()
{
    flushText();
    if (!m_inRow && m_cellBudget <= 0) {
        endParagraph();
        return;
    }
    syncTable(true);
    const size_t index = m_cellIndex++;
    const bool covered = index < m_rowDef.cells.size()
        && (m_rowDef.cells[index].horizontal == CellMerge::Continue
            || m_rowDef.cells[index].vertical == CellMerge::Continue);
    if (covered && !m_paragraphHasContent) {
        m_sink.coveredCellEnd();
        return;
    }
    ParaProps para = m_state.para;
    para.pageBreakBefore = false;
    m_sink.cellEnd(para, listInfo(para), m_state.chr);
    m_paragraphHasContent = false;
}

void Reader::endRow()
{
    flushText();
    if (!m_inRow)
        return;
    if (m_paragraphHasContent)
        endCell();
    m_inRow = false;
    m_sink.rowEnd(m_rowDef);
}

void Reader::commitFont()
{
    const auto found = m_fontId < 0 ? m_tables.fonts.end() : m_tables.fonts.find(m_fontId);
    if (found != m_tables.fonts.end() && found->second.name.isEmpty()) {
        QString name = m_fontNameText;
        m_decoder.decode(m_fontName, found->second.codePage > 0 ? found->second.codePage : m_ansiCodePage, name);
        found->second.name = name.trimmed();
    }
    m_fontName.clear();
    m_fontNameText.clear();
    m_fontId = -1;
}

void Reader::commitColor()
{
    if (m_tables.colors.size() < size_t(kMaxColors))
        m_tables.colors.push_back(m_colorHasValue ? (int64_t(m_red) << 16 | m_green << 8 | m_blue) : -1);
    m_colorHasValue = false;
    m_red = m_green = m_blue = 0;
}

// HYPERLINK "target" [\l "anchor"] [\o "tip"] ...: everything but the target and the anchor
// is ignored, and no other field kind is acted on.
void Reader::parseFieldInstruction(Field& field)
{
    field.parsed = true;
    const QString& text = field.instruction;
    qsizetype pos = 0;
    const auto skipSpace = [&] {
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
    };
    const auto argument = [&]() -> QString {
        skipSpace();
        QString value;
        if (pos < text.size() && text[pos] == u'"') {
            ++pos;
            while (pos < text.size() && text[pos] != u'"') {
                if (text[pos] == u'\\' && pos + 1 < text.size())
                    ++pos;
                value += text[pos++];
            }
            ++pos;
            return value;
        }
        while (pos < text.size() && !text[pos].isSpace())
            value += text[pos++];
        return value;
    };
    skipSpace();
    if (argument().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return;
    QString target;
    QString anchor;
    bool haveTarget = false;
    while (true) {
        skipSpace();
        if (pos >= text.size())
            break;
        if (text[pos] == u'\\' && pos + 1 < text.size()) {
            const QChar sw = text[pos + 1];
            pos += 2;
            if (sw == u'l')
                anchor = argument();
            else if (sw == u'o' || sw == u't')
                argument();
            continue;
        }
        const QString value = argument();
        if (!haveTarget) {
            target = value;
            haveTarget = true;
        }
    }
    if (!anchor.isEmpty())
        target += u'#' + anchor;
    if (target.isEmpty())
        return;
    field.link = int(m_tables.links.size());
    m_tables.links.push_back(target);
}

} // namespace struktur::rtf

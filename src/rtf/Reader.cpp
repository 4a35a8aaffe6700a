// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reader.h"

#include "ReaderLimits.h"

#include <algorithm>

namespace struktur::rtf {
namespace {

constexpr qsizetype kMaxDepth = 1000;
constexpr int kMaxTabs = 64;
constexpr qsizetype kMaxPictureBytes = qsizetype(64) << 20;

} // namespace

Reader::Reader(QByteArrayView input, Sink& sink)
    : m_input(input)
    , m_tokenizer(input)
    , m_sink(sink)
    , m_headerTables(m_tables, m_decoder, m_ansiCodePage)
    , m_fields(m_tables)
    , m_rows(sink, input.size())
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
    m_rows.sync(false);
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
    if (child.ownsField)
        m_fields.close();
    if (child.dest == m_state.dest)
        return;
    // A group cut off by the end of the input is not kept whole: writing it back would unbalance
    // the braces of the document it goes into.
    const bool complete = closeOffset >= 0;
    const QByteArrayView group
        = complete ? m_input.sliced(child.groupOffset, closeOffset + 1 - child.groupOffset) : QByteArrayView();
    switch (child.dest) {
    case Destination::FontTable:
        m_headerTables.finishFonts();
        resetCodePage();
        break;
    case Destination::Pn:
        m_state.para.pn = m_lists.pn();
        break;
    case Destination::LevelText:
        m_lists.finishLevelText();
        break;
    case Destination::ListOverride:
        m_lists.finishOverride();
        break;
    case Destination::FieldInstruction:
        m_fields.finishInstruction();
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
        if (m_picture.type == PictureType::Unknown || m_picture.type == PictureType::Wmf
            || m_picture.type == PictureType::Emf) {
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
            flushText();
            m_footnoteMarked = false;
            m_sink.footnote(m_footnoteText, group);
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
        m_headerTables.beginFonts();
        break;
    case Keyword::colortbl:
        dest = Destination::ColorTable;
        m_headerTables.beginColors();
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
        m_lists.beginList();
        break;
    case Keyword::listlevel:
        if (m_state.dest != Destination::List)
            return false;
        dest = Destination::ListLevel;
        m_lists.beginLevel();
        break;
    case Keyword::leveltext:
        if (m_state.dest != Destination::ListLevel)
            return false;
        dest = Destination::LevelText;
        m_lists.beginLevelText();
        break;
    case Keyword::listoverridetable:
        dest = Destination::ListOverrideTable;
        break;
    case Keyword::listoverride:
        if (m_state.dest != Destination::ListOverrideTable)
            return false;
        dest = Destination::ListOverride;
        m_lists.beginOverride();
        break;
    case Keyword::pn:
        if (m_state.dest != Destination::Body)
            return false;
        dest = Destination::Pn;
        m_lists.beginPn();
        break;
    case Keyword::pntxtb:
    case Keyword::pntxta:
        if (m_state.dest != Destination::Pn)
            return false;
        dest = keyword == Keyword::pntxtb ? Destination::PnTextBefore : Destination::PnTextAfter;
        break;
    case Keyword::fldinst:
        if (m_fields.isEmpty())
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
        m_fields.finishInstruction();
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
        if (m_overflow.empty() && m_fields.open())
            m_state.ownsField = true;
        break;
    case Keyword::fldrslt:
        if (const int link = m_fields.resultLink(); link >= 0)
            chr.link = link;
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
        m_footnoteMarked = true;
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
        m_rows.rowWord(keyword, token);
        break;
    }
}

void Reader::otherWord(Keyword keyword, const Token& token)
{
    switch (m_state.dest) {
    case Destination::FontTable:
        if (keyword == Keyword::u && token.hasParam)
            unicode(token.param);
        else
            m_headerTables.fontWord(keyword, token);
        break;
    case Destination::ColorTable:
        m_headerTables.colorWord(keyword, token);
        break;
    case Destination::ListLevel:
        m_lists.levelWord(keyword, token);
        break;
    case Destination::List:
        m_lists.listWord(keyword, token);
        break;
    case Destination::ListOverride:
        m_lists.overrideWord(keyword, token);
        break;
    case Destination::Pn:
        m_lists.pnWord(keyword, token);
        break;
    case Destination::Picture:
        switch (keyword) {
        case Keyword::pngblip: m_picture.type = PictureType::Png; break;
        case Keyword::jpegblip: m_picture.type = PictureType::Jpeg; break;
        case Keyword::wmetafile: m_picture.type = PictureType::Wmf; break;
        case Keyword::emfblip: m_picture.type = PictureType::Emf; break;
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
            // A footnote whose mark in the text is plain digits (as this system writes it back)
            // still counts.
            if (!m_footnoteMarked) {
                ++m_footnoteCount;
                m_footnoteMarked = true;
            }
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
        m_headerTables.fontBytes(text);
        break;
    case Destination::ColorTable:
        m_headerTables.colorBytes(text);
        break;
    case Destination::LevelText:
        m_lists.levelTextBytes(text);
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
        m_headerTables.fontHexByte(c);
        break;
    case Destination::LevelText:
        m_lists.levelTextCharacter(byte);
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
            m_headerTables.fontCharacter(ch);
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
        m_fields.instructionCharacter(ch);
        break;
    case Destination::InfoTitle:
        if (m_tables.title.size() < kMaxSideText && !isUnstorable(ch))
            m_tables.title += QChar(ch);
        break;
    case Destination::LevelText:
        m_lists.levelTextCharacter(ch);
        break;
    case Destination::PnTextBefore:
        m_lists.pnTextBefore(ch);
        break;
    case Destination::PnTextAfter:
        m_lists.pnTextAfter(ch);
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
    m_rows.sync(m_state.para.inTable);
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

void Reader::endParagraph()
{
    flushText();
    m_rows.sync(m_state.para.inTable);
    ParaProps para = m_state.para;
    para.pageBreakBefore = para.pageBreakBefore || m_pageBreakPending;
    m_pageBreakPending = false;
    m_sink.paragraphEnd(para, m_lists.forParagraph(para), m_state.chr);
    m_paragraphHasContent = false;
}

void Reader::endCell()
{
    flushText();
    if (!m_rows.mayOpenRow()) {
        endParagraph();
        return;
    }
    m_rows.sync(true);
    const bool covered = m_rows.nextCellCovered();
    if (covered && !m_paragraphHasContent) {
        m_sink.coveredCellEnd();
        return;
    }
    ParaProps para = m_state.para;
    para.pageBreakBefore = false;
    m_sink.cellEnd(para, m_lists.forParagraph(para), m_state.chr);
    m_paragraphHasContent = false;
}

void Reader::endRow()
{
    flushText();
    if (!m_rows.inRow())
        return;
    if (m_paragraphHasContent)
        endCell();
    m_rows.closeRow();
}

} // namespace struktur::rtf

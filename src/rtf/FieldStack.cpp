// SPDX-License-Identifier: GPL-3.0-or-later
#include "FieldStack.h"

#include "ReaderLimits.h"

namespace struktur::rtf {

bool FieldStack::open()
{
    if (m_fields.size() >= size_t(kMaxFieldNesting))
        return false;
    m_fields.push_back({});
    return true;
}

void FieldStack::close()
{
    if (!m_fields.empty())
        m_fields.pop_back();
}

void FieldStack::instructionCharacter(char16_t ch)
{
    if (!m_fields.empty() && m_fields.back().instruction.size() < kMaxSideText)
        m_fields.back().instruction += QChar(ch);
}

void FieldStack::finishInstruction()
{
    if (!m_fields.empty())
        parse(m_fields.back());
}

int FieldStack::resultLink()
{
    if (m_fields.empty())
        return -1;
    Field& field = m_fields.back();
    if (!field.parsed)
        parse(field);
    return field.link;
}

// HYPERLINK "target" [\l "anchor"] [\o "tip"] ...: everything but the target and the anchor
// is ignored, and no other field kind is acted on.
void FieldStack::parse(Field& field)
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureContainer.h"

#include <QtGlobal>

#include <algorithm>

namespace struktur::rtf {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

bool PictureContainer::containsPicture(QByteArrayView input, qsizetype groupOffset)
{
    const char* p = input.data() + groupOffset;
    const char* const end = input.data() + input.size();
    int depth = 0;
    while (p < end) {
        const char c = *p++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth <= 0)
                return false;
        } else if (c == '\\' && p < end) {
            if (!isLetter(*p)) {
                ++p; // a control symbol, escaped brace or backslash
                continue;
            }
            const char* word = p;
            while (p < end && isLetter(*p) && p - word < 32)
                ++p;
            const QByteArrayView name(word, p - word);
            if (name == "pict")
                return true;
            const bool negative = p < end && *p == '-';
            if (negative)
                ++p;
            qint64 param = 0;
            int digits = 0;
            while (p < end && isDigit(*p)) {
                if (digits++ < 10)
                    param = param * 10 + (*p - '0');
                ++p;
            }
            if (p < end && *p == ' ')
                ++p;
            // Binary data is not RTF: its bytes may be braces.
            if (name == "bin" && !negative && digits > 0)
                p += std::min<qint64>(param, end - p);
        }
    }
    return false;
}

bool PictureContainer::fallbackFollows(QByteArrayView input, qsizetype offset)
{
    while (offset < input.size() && (input[offset] == '\r' || input[offset] == '\n'))
        ++offset;
    QByteArrayView rest = input.sliced(std::min(offset, input.size()));
    if (!rest.startsWith('{'))
        return false;
    rest = rest.sliced(1);
    if (rest.startsWith("\\*"))
        rest = rest.sliced(2);
    constexpr QByteArrayView word = "\\nonshppict";
    return rest.startsWith(word) && (rest.size() == word.size() || !isLetter(rest[word.size()]));
}

void PictureContainer::begin(Kind kind, qsizetype groupOffset)
{
    *this = PictureContainer {};
    m_active = true;
    m_kind = kind;
    m_start = groupOffset;
}

namespace {

// PNG and JPEG are shown as they are, a metafile is drawn, the rest cannot be shown.
int rank(PictureType type)
{
    switch (type) {
    case PictureType::Png:
    case PictureType::Jpeg:
        return 2;
    case PictureType::Wmf:
    case PictureType::Emf:
        return 1;
    case PictureType::Unknown:
        break;
    }
    return 0;
}

} // namespace

void PictureContainer::offer(const Picture& picture)
{
    if (m_haveShown && rank(picture.type) <= rank(m_shown.type))
        return;
    m_shown = picture;
    m_haveShown = true;
}

void PictureContainer::setObjectSize(int widthTwips, int heightTwips)
{
    if (widthTwips > 0)
        m_objectWidth = widthTwips;
    if (heightTwips > 0)
        m_objectHeight = heightTwips;
}

int PictureContainer::widthTwips() const
{
    return m_objectWidth > 0 ? m_objectWidth : int(qint64(m_shown.goalWidth) * m_shown.scaleX / 100);
}

int PictureContainer::heightTwips() const
{
    return m_objectHeight > 0 ? m_objectHeight : int(qint64(m_shown.goalHeight) * m_shown.scaleY / 100);
}

Picture PictureContainer::take()
{
    m_active = false;
    m_awaitingFallback = false;
    Picture shown = std::move(m_shown);
    m_shown = {};
    m_haveShown = false;
    return shown;
}

} // namespace struktur::rtf

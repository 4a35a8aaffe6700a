// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"

#include "Error.h"

#include <limits>

namespace struktur {
namespace {

int digitValue(char16_t c, int base)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (base == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

int toInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        throw Error::notAnInteger(text);
    qint64 value = 0;
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i].unicode(), base);
        if (digit < 0)
            throw Error::notAnInteger(text);
        value = value * base + digit;
        if (value > limit)
            throw Error::notAnInteger(text);
    }
    return int(negative ? -value : value);
}

} // namespace struktur

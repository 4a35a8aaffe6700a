// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintValues.h"

#include "platform/Error.h"

#include <charconv>
#include <limits>

namespace struktur {
namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isSeparator(QChar c) { return c == u',' || c == u'.'; }

QString keep(const QString& S, bool (*wanted)(QChar))
{
    QString result;
    result.reserve(S.size());
    for (const QChar c : S) {
        if (wanted(c))
            result.append(c);
    }
    return result;
}

// Checks the accepted form and rewrites it without its sign in the notation of from_chars, which
// does not depend on the process's locale.
bool normalizeDecimal(const QString& text, QByteArray& out, bool& negative)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&] {
        while (i < n && text[i] == u' ')
            ++i;
    };
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < n && isDigit(text[i]))
            out.append(char(text[i++].unicode()));
        return i - start;
    };
    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    out.append('0'); // so that ",5" and "," read as numbers
    const qsizetype whole = digits();
    bool separator = false;
    if (i < n && isSeparator(text[i])) {
        separator = true;
        out.append('.');
        ++i;
        digits();
    }
    if (whole == 0 && !separator)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        out.append('e');
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            out.append(char(text[i++].unicode()));
        if (digits() == 0)
            return false;
    }
    skipBlanks();
    return i == n;
}

// Whether an out-of-range number is too small rather than too large: its first significant digit
// lies to the right of the decimal point once the exponent is applied.
bool isUnderflow(const QByteArray& number)
{
    const qsizetype exponentAt = number.indexOf('e');
    const QByteArray mantissa = exponentAt < 0 ? number : number.left(exponentAt);
    long long exponent = 0;
    if (exponentAt >= 0) {
        const char* begin = number.constData() + exponentAt + 1;
        const char* end = number.constData() + number.size();
        const bool negative = *begin == '-';
        if (*begin == '-' || *begin == '+')
            ++begin;
        if (std::from_chars(begin, end, exponent).ec != std::errc())
            exponent = std::numeric_limits<int>::max(); // beyond any magnitude that matters
        if (negative)
            exponent = -exponent;
    }
    const qsizetype point = mantissa.contains('.') ? mantissa.indexOf('.') : mantissa.size();
    qsizetype first = 0;
    while (first < mantissa.size() && (mantissa[first] == '0' || mantissa[first] == '.'))
        ++first;
    const long long magnitude = (first < point ? point - first : point - first + 1) + exponent;
    return magnitude <= 0;
}

} // namespace

QString IntegerKon(const QString& S) { return keep(S, isDigit); }

QString Floatkon(const QString& S)
{
    return keep(S, [](QChar c) { return isDigit(c) || isSeparator(c); });
}

long double marginValue(const QString& text)
{
    QByteArray normalized;
    bool negative = false;
    if (!normalizeDecimal(text, normalized, negative))
        throw Error::notAFloat(text);
    long double value = 0;
    const char* end = normalized.constData() + normalized.size();
    const auto [rest, error] = std::from_chars(normalized.constData(), end, value);
    if (error == std::errc::result_out_of_range) {
        if (!isUnderflow(normalized))
            throw Error::notAFloat(text);
        value = 0;
    } else if (error != std::errc() || rest != end) {
        throw Error::notAFloat(text);
    }
    return negative ? -value : value;
}

qint32 copiesValue(const QString& text)
{
    if (text.isEmpty() || IntegerKon(text) != text)
        throw Error::notAnInteger(text);
    qint64 value = 0;
    for (const QChar c : text) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max())
            throw Error::notAnInteger(text);
    }
    return static_cast<qint32>(value);
}

} // namespace struktur

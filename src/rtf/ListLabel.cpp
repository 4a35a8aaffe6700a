// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListLabel.h"

#include <utility>

namespace struktur::rtf {
namespace {

QString alphabetic(int n, bool upper)
{
    QString text;
    while (n > 0) {
        --n;
        text.prepend(QChar((upper ? u'A' : u'a') + n % 26));
        n /= 26;
    }
    return text;
}

QString roman(int n, bool upper)
{
    if (n <= 0 || n >= 4000)
        return QString::number(n);
    static const std::pair<int, const char*> parts[] = { { 1000, "m" }, { 900, "cm" }, { 500, "d" }, { 400, "cd" },
        { 100, "c" }, { 90, "xc" }, { 50, "l" }, { 40, "xl" }, { 10, "x" }, { 9, "ix" }, { 5, "v" }, { 4, "iv" },
        { 1, "i" } };
    QString text;
    for (const auto& [value, letters] : parts) {
        while (n >= value) {
            text += QLatin1StringView(letters);
            n -= value;
        }
    }
    return upper ? text.toUpper() : text;
}

} // namespace

QString itemNumber(QTextListFormat::Style style, int n)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return alphabetic(n, false);
    case QTextListFormat::ListUpperAlpha: return alphabetic(n, true);
    case QTextListFormat::ListLowerRoman: return roman(n, false);
    case QTextListFormat::ListUpperRoman: return roman(n, true);
    default: return QString::number(n);
    }
}

QString listLabel(QTextListFormat::Style style, int number, const QString& prefix, const QString& suffix)
{
    switch (style) {
    case QTextListFormat::ListDisc: return QStringLiteral("\u2022");
    case QTextListFormat::ListCircle: return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare: return QStringLiteral("\u25AA");
    default: return prefix + itemNumber(style, number) + suffix;
    }
}

} // namespace struktur::rtf

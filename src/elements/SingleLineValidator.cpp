// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleLineValidator.h"

namespace struktur::elements {

QString singleLine(QString text)
{
    for (QChar& ch : text) {
        if (ch == u'\r' || ch == u'\n' || ch == QChar(0))
            ch = u' ';
    }
    return text;
}

QValidator::State SingleLineValidator::validate(QString& input, int&) const
{
    fixup(input);
    return Acceptable;
}

void SingleLineValidator::fixup(QString& input) const { input = singleLine(input); }

} // namespace struktur::elements

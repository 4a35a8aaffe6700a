// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/CliRun.h"
#include "support/Files.h"

#include <QByteArray>

namespace struktur::test {

/// A structure of `count` elements on three levels, as another program might have written it:
/// lines ended by LF alone, so that a save (CR LF) always gives different bytes.
inline QByteArray structureWithLf(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        bytes += QByteArray(i % 3, '\t');
        bytes += "Element \xE6\xF8\xE5 " + QByteArray::number(i) + '\n';
    }
    return bytes;
}

inline QByteArray dataWithLf(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(i % 9) + "dokument" + QByteArray::number(i) + '\n';
    return bytes;
}

/// The same bytes as a save writes them.
inline QByteArray withCrLf(QByteArray bytes) { return bytes.replace("\n", "\r\n"); }

} // namespace struktur::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Reads clipboard contents as a paste does: as the own element form and as plain text from
// another program. Whatever decodes must encode and decode back to the same elements, and plain
// text must read as a well-formed list of storable captions that reads the same from its own text.
#include "model/ElementClipboard.h"

#include <cstdint>
#include <cstdlib>

using namespace struktur;
using namespace struktur::clipboard;

namespace {

void checkWellFormed(const CopiedElements& elements)
{
    int previous = -1;
    for (const CopiedElement& element : elements) {
        if (element.level < 0 || element.level > previous + 1)
            std::abort();
        previous = element.level;
    }
}

bool same(const CopiedElements& a, const CopiedElements& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].level != b[i].level || a[i].text != b[i].text || a[i].hasData != b[i].hasData || a[i].data != b[i].data
            || a[i].icon != b[i].icon || a[i].document != b[i].document)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));

    if (const auto decoded = decode(input)) {
        checkWellFormed(decoded->elements);
        const auto again = decode(encode(decoded->elements, decoded->cutMark));
        if (!again || !same(again->elements, decoded->elements) || again->cutMark != decoded->cutMark)
            std::abort();
    }

    const CopiedElements parsed = parsePlainText(QString::fromUtf8(input));
    checkWellFormed(parsed);
    if (!parsed.empty() && parsed.front().level != 0)
        std::abort();
    for (const CopiedElement& element : parsed) {
        if (element.text.trimmed().isEmpty() || storableElementText(element.text) != element.text)
            std::abort();
    }
    if (!same(parsePlainText(plainText(parsed)), parsed))
        std::abort();
    return 0;
}

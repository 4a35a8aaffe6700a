// SPDX-License-Identifier: GPL-3.0-or-later
#include "Keywords.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace struktur::rtf {
namespace {

struct Entry {
    std::string_view name;
    Keyword keyword;
};

constexpr auto makeTable()
{
    std::array table {
#define STRUKTUR_RTF_ENTRY(name) Entry { #name, Keyword::name },
        STRUKTUR_RTF_KEYWORDS(STRUKTUR_RTF_ENTRY)
#undef STRUKTUR_RTF_ENTRY
    };
    std::sort(table.begin(), table.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return table;
}

constexpr auto kTable = makeTable();

} // namespace

Keyword lookupKeyword(QByteArrayView word)
{
    const std::string_view name(word.data(), word.size());
    const auto found = std::lower_bound(
        kTable.begin(), kTable.end(), name, [](const Entry& e, std::string_view n) { return e.name < n; });
    if (found == kTable.end() || found->name != name)
        return Keyword::Unknown;
    return found->keyword;
}

} // namespace struktur::rtf

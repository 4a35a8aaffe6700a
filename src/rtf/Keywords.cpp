// SPDX-License-Identifier: GPL-3.0-or-later
#include "Keywords.h"

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
    return table;
}

constexpr auto kTable = makeTable();

// Open addressing over a table four times the number of keywords, so that a lookup usually
// compares one name: the reader looks up every control word of a document.
constexpr size_t kSlots = 1024;
static_assert(kSlots >= 4 * kTable.size());

constexpr uint32_t hashName(std::string_view name)
{
    uint32_t hash = 2166136261u;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

constexpr auto makeSlots()
{
    std::array<int16_t, kSlots> slots {};
    for (auto& slot : slots)
        slot = -1;
    for (size_t i = 0; i < kTable.size(); ++i) {
        size_t at = hashName(kTable[i].name) & (kSlots - 1);
        while (slots[at] >= 0)
            at = (at + 1) & (kSlots - 1);
        slots[at] = int16_t(i);
    }
    return slots;
}

constexpr auto kSlotTable = makeSlots();

bool sameLetters(const char* a, const char* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace

Keyword lookupKeyword(QByteArrayView word)
{
    const std::string_view name(word.data(), size_t(word.size()));
    for (size_t at = hashName(name) & (kSlots - 1);; at = (at + 1) & (kSlots - 1)) {
        const int16_t slot = kSlotTable[at];
        if (slot < 0)
            return Keyword::Unknown;
        // Compared in place: control words are short, and a library call per word costs more.
        const std::string_view candidate = kTable[size_t(slot)].name;
        if (candidate.size() == name.size() && sameLetters(candidate.data(), name.data(), name.size()))
            return kTable[size_t(slot)].keyword;
    }
}

} // namespace struktur::rtf

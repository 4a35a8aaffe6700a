// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementOrder.h"

#include <algorithm>
#include <cstring>
#include <unicode/ucol.h>

namespace struktur {
namespace {

QLocale collationLocale(const QLocale& locale)
{
    // The C locale collates by code point; the interface is Danish, so sort as Danish.
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::Danish, QLocale::Denmark);
    return locale;
}

const UChar* units(QStringView text) { return reinterpret_cast<const UChar*>(text.utf16()); }

int32_t length(QStringView text) { return int32_t(std::min<qsizetype>(text.size(), INT32_MAX)); }

} // namespace

void ElementOrder::Close::operator()(UCollator* collator) const { ucol_close(collator); }

ElementOrder::ElementOrder()
    : ElementOrder(QLocale::system())
{
}

ElementOrder::ElementOrder(const QLocale& locale)
    : m_locale(collationLocale(locale))
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator.reset(ucol_open(m_locale.bcp47Name().replace(u'-', u'_').toLatin1().constData(), &status));
    if (U_FAILURE(status) || !m_collator) {
        // ICU without the locale's data still has its root collation.
        status = U_ZERO_ERROR;
        m_collator.reset(ucol_open("", &status));
    }
    if (!m_collator)
        qFatal("ICU has no collation data");
    // Canonically equivalent texts (a composed "å" and "a" with a combining ring) compare equal.
    ucol_setAttribute(m_collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(m_collator.get(), UCOL_CASE_FIRST, UCOL_LOWER_FIRST, &status);
}

ElementOrder::~ElementOrder() = default;
ElementOrder::ElementOrder(ElementOrder&&) noexcept = default;
ElementOrder& ElementOrder::operator=(ElementOrder&&) noexcept = default;

int ElementOrder::compare(QStringView a, QStringView b) const
{
    return int(ucol_strcoll(m_collator.get(), units(a), length(a), units(b), length(b)));
}

void ElementOrder::appendSortKey(QStringView text, std::vector<unsigned char>& key) const
{
    const size_t start = key.size();
    // Most keys are under twice the text's length; a longer one is asked for again at its size.
    key.resize(start + size_t(2 * text.size() + 16));
    int32_t needed = ucol_getSortKey(m_collator.get(), units(text), length(text), key.data() + start,
        int32_t(std::min<size_t>(key.size() - start, INT32_MAX)));
    if (needed > int32_t(key.size() - start)) {
        key.resize(start + size_t(needed));
        needed = ucol_getSortKey(m_collator.get(), units(text), length(text), key.data() + start, needed);
    }
    // A text ICU cannot collate (none is known) gets the empty key rather than none.
    key.resize(start + size_t(std::max(needed, 1)));
    if (needed < 1)
        key[start] = 0;
}

namespace {

/// A sibling as the sort sees it: the first bytes of its sort key as a number, where its whole key
/// starts, and the element.
struct SortEntry {
    quint64 prefix;
    size_t key;
    Element* element;
};

quint64 keyPrefix(const unsigned char* key)
{
    // A key ends at its first zero byte; the bytes after it in the prefix stay zero.
    quint64 prefix = 0;
    for (int i = 0; i < 8; ++i) {
        prefix = prefix << 8 | key[i];
        if (!key[i]) {
            prefix <<= 8 * (7 - i);
            break;
        }
    }
    return prefix;
}

} // namespace

bool sortTree(ElementTree& tree, const ElementOrder& order, SortPermutation* permutation)
{
    bool moved = false;
    if (permutation)
        permutation->clear();
    std::vector<unsigned char> keys;
    std::vector<SortEntry> siblings;
    std::vector<Element*> sorted;
    // Pre-order over the elements that have children, the root included; sorting a group never
    // changes which elements are still to be visited below it.
    for (Element* parent = tree.root(); parent; parent = tree.next(parent)) {
        if (parent->childCount() < 2)
            continue;
        // Every text's collation is worked out once, into a sort key; the sort then compares bytes.
        keys.clear();
        siblings.clear();
        for (int row = 0; row < parent->childCount(); ++row) {
            Element* child = parent->child(row);
            siblings.push_back({ 0, keys.size(), child });
            order.appendSortKey(child->text, keys);
        }
        keys.resize(keys.size() + 8, 0);
        for (SortEntry& entry : siblings)
            entry.prefix = keyPrefix(keys.data() + entry.key);
        const auto* base = reinterpret_cast<const char*>(keys.data());
        std::sort(siblings.begin(), siblings.end(), [base](const SortEntry& a, const SortEntry& b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix;
            return std::strcmp(base + a.key, base + b.key) < 0;
        });
        sorted.clear();
        for (const SortEntry& entry : siblings) {
            moved = moved || entry.element->row() != int(sorted.size());
            sorted.push_back(entry.element);
            if (permutation)
                permutation->push_back(entry.element->row());
        }
        tree.reorder(parent, sorted);
    }
    return moved;
}

void applySortPermutation(ElementTree& tree, const SortPermutation& permutation)
{
    // The same walk as the sort's: a group is rearranged before the walk goes below it.
    size_t at = 0;
    std::vector<Element*> order;
    for (Element* parent = tree.root(); parent; parent = tree.next(parent)) {
        const int count = parent->childCount();
        if (count < 2)
            continue;
        Q_ASSERT_X(at + size_t(count) <= permutation.size(), "applySortPermutation", "permutation of another tree");
        order.clear();
        for (int row = 0; row < count; ++row)
            order.push_back(parent->child(permutation[at + size_t(row)]));
        at += size_t(count);
        tree.reorder(parent, order);
    }
}

void revertSortPermutation(ElementTree& tree, const SortPermutation& permutation)
{
    // The sorted tree's walk meets the groups in the order the sort did; they are collected first,
    // since putting one back would change the walk.
    std::vector<Element*> groups;
    for (Element* parent = tree.root(); parent; parent = tree.next(parent)) {
        if (parent->childCount() >= 2)
            groups.push_back(parent);
    }
    size_t at = 0;
    std::vector<Element*> order;
    for (Element* parent : groups) {
        const int count = parent->childCount();
        Q_ASSERT_X(at + size_t(count) <= permutation.size(), "revertSortPermutation", "permutation of another tree");
        order.assign(size_t(count), nullptr);
        for (int row = 0; row < count; ++row)
            order[size_t(permutation[at + size_t(row)])] = parent->child(row);
        at += size_t(count);
        tree.reorder(parent, order);
    }
}

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementOrder.h"

#include <algorithm>

namespace struktur {
namespace {

QLocale collationLocale(const QLocale& locale)
{
    // The C locale collates by code point; the interface is Danish, so sort as Danish.
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::Danish, QLocale::Denmark);
    return locale;
}

} // namespace

ElementOrder::ElementOrder()
    : ElementOrder(QLocale::system())
{
}

ElementOrder::ElementOrder(const QLocale& locale)
    : m_caseSensitive(collationLocale(locale))
    , m_caseInsensitive(collationLocale(locale))
{
    m_caseSensitive.setCaseSensitivity(Qt::CaseSensitive);
    m_caseInsensitive.setCaseSensitivity(Qt::CaseInsensitive);
    m_upperCaseFirst = m_caseSensitive.compare(u"a", u"A") > 0;
}

int ElementOrder::compare(QStringView a, QStringView b) const
{
    if (!m_upperCaseFirst)
        return m_caseSensitive.compare(a, b);
    // Texts that differ beyond case are ordered as the locale orders them; between texts that
    // differ only in case the locale's upper-case-first verdict is turned round.
    const int ignoringCase = m_caseInsensitive.compare(a, b);
    if (ignoringCase != 0)
        return ignoringCase;
    return -m_caseSensitive.compare(a, b);
}

namespace {

/// A sibling as the sort sees it: its text's characters beside the element, so that comparing
/// two siblings does not first have to reach the elements themselves.
struct SortEntry {
    QStringView text;
    Element* element;
};

} // namespace

void sortTree(ElementTree& tree, const ElementOrder& order)
{
    constexpr int packedGroupSize = 4096;
    std::vector<SortEntry> siblings;
    std::vector<Element*> sorted;
    QString arena;
    // Pre-order over the elements that have children, the root included; sorting a group never
    // changes which elements are still to be visited below it.
    for (Element* parent = tree.root(); parent; parent = tree.next(parent)) {
        if (parent->childCount() < 2)
            continue;
        siblings.clear();
        arena.clear();
        // A large group's texts are copied side by side first: the comparisons then read one
        // compact block instead of strings scattered over the whole heap.
        const bool packed = parent->childCount() >= packedGroupSize;
        if (packed) {
            qsizetype length = 0;
            for (int row = 0; row < parent->childCount(); ++row)
                length += parent->child(row)->text.size();
            arena.reserve(length);
            for (int row = 0; row < parent->childCount(); ++row)
                arena += parent->child(row)->text;
        }
        qsizetype offset = 0;
        for (int row = 0; row < parent->childCount(); ++row) {
            Element* child = parent->child(row);
            const QStringView text = packed ? QStringView(arena).sliced(offset, child->text.size()) : QStringView(child->text);
            offset += child->text.size();
            siblings.push_back({ text, child });
        }
        std::sort(siblings.begin(), siblings.end(),
            [&order](const SortEntry& a, const SortEntry& b) { return order.compare(a.text, b.text) < 0; });
        sorted.clear();
        for (const SortEntry& entry : siblings)
            sorted.push_back(entry.element);
        tree.reorder(parent, sorted);
    }
}

} // namespace struktur

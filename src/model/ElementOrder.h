// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ElementTree.h"

#include <QLocale>
#include <memory>
#include <vector>

struct UCollator;

namespace struktur {

/// The order of element texts in a sort: the user's locale (Danish when the locale is C or
/// POSIX), case-sensitive, lower case before upper case between texts that differ only in case
/// ("a" < "A" < "b" < "B"), and in Danish Æ, Ø, Å after Z. Some locales' collation rules (Danish
/// among them) put upper case first; the order asks the collator for lower case first instead.
class ElementOrder {
public:
    /// The order for the user's locale.
    ElementOrder();
    explicit ElementOrder(const QLocale& locale);
    ~ElementOrder();
    ElementOrder(ElementOrder&&) noexcept;
    ElementOrder& operator=(ElementOrder&&) noexcept;

    /// Negative, zero or positive as `a` sorts before, with or after `b`.
    int compare(QStringView a, QStringView b) const;
    bool operator()(QStringView a, QStringView b) const { return compare(a, b) < 0; }

    /// Appends the sort key of `text` to `key`: keys compare bytewise (as unsigned, up to their
    /// terminating zero) as their texts compare.
    void appendSortKey(QStringView text, std::vector<unsigned char>& key) const;

    /// The locale the texts are collated in.
    QLocale locale() const { return m_locale; }

private:
    struct Close {
        void operator()(UCollator* collator) const;
    };
    QLocale m_locale;
    std::unique_ptr<UCollator, Close> m_collator;
};

/// How a sort rearranged a tree: for each group of two or more siblings, in the order the sort
/// visits them, the former row of the sibling now at each row. Four bytes per sorted element,
/// whatever the texts hold.
using SortPermutation = std::vector<int>;

/// Orders every group of siblings by their texts, top level first and then depth first; no element
/// changes parent. The order of siblings whose texts compare equal is not defined. With
/// `permutation`, records how the groups were rearranged (replacing what it held). Returns true
/// when any element changed its row.
bool sortTree(ElementTree& tree, const ElementOrder& order, SortPermutation* permutation = nullptr);

/// Rearranges the unsorted tree a permutation was recorded on exactly as its sort did.
void applySortPermutation(ElementTree& tree, const SortPermutation& permutation);
/// Puts the sorted tree a permutation was recorded on back into its order before the sort.
void revertSortPermutation(ElementTree& tree, const SortPermutation& permutation);

} // namespace struktur

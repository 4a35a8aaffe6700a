// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ElementTree.h"

#include <QCollator>
#include <QLocale>

namespace struktur {

/// The order of element texts in a sort: the user's locale (Danish when the locale is C or
/// POSIX), case-sensitive, lower case before upper case between texts that differ only in case
/// ("a" < "A" < "b" < "B"), and in Danish Æ, Ø, Å after Z. Some locales' collation rules (Danish
/// among them) put upper case first; the order corrects that.
class ElementOrder {
public:
    /// The order for the user's locale.
    ElementOrder();
    explicit ElementOrder(const QLocale& locale);

    /// Negative, zero or positive as `a` sorts before, with or after `b`.
    int compare(QStringView a, QStringView b) const;
    bool operator()(QStringView a, QStringView b) const { return compare(a, b) < 0; }

    /// The locale the texts are collated in.
    QLocale locale() const { return m_caseSensitive.locale(); }

private:
    QCollator m_caseSensitive;
    QCollator m_caseInsensitive;
    bool m_upperCaseFirst = false;
};

/// Orders every group of siblings by their texts, top level first and then depth first; no element
/// changes parent. The order of siblings whose texts compare equal is not defined.
void sortTree(ElementTree& tree, const ElementOrder& order);

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "InsertMethods.h"

#include <algorithm>

namespace struktur::elements {

QStringList insertMethodCaptions()
{
    return {
        QStringLiteral("Indsæt på linie som sidste"),
        QStringLiteral("Indsæt på linie som første"),
        QStringLiteral("Indsæt på linie før"),
        QStringLiteral("Indsæt som sidste underpunkt"),
        QStringLiteral("Indsæt som første underpunkt"),
        QStringLiteral("Indsæt som grundelement"),
    };
}

std::optional<TNodeAttachMode> attachModeForChoice(int choice)
{
    // The order of the box is not the order of the enumeration: "før" comes third.
    switch (choice) {
    case 0:
        return naAdd;
    case 1:
        return naAddFirst;
    case 2:
        return naInsert;
    case 3:
        return naAddChild;
    case 4:
        return naAddChildFirst;
    default:
        return std::nullopt;
    }
}

int iconChoiceFor(int iconIndex) { return std::clamp(iconIndex, 0, iconChoiceCount - 1); }

} // namespace struktur::elements

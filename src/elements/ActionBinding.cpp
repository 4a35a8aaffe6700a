// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActionBinding.h"

#include "ui/HintLine.h"

#include <QAbstractButton>
#include <QAction>

namespace struktur::elements {

void bindToAction(QAbstractButton* button, QAction* action)
{
    auto reflect = [button, action] {
        button->setText(action->text());
        button->setIcon(action->icon());
        setHint(button, action->property(hintProperty).toString());
        button->setEnabled(action->isEnabled());
    };
    reflect();
    QObject::connect(action, &QAction::changed, button, reflect);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

} // namespace struktur::elements

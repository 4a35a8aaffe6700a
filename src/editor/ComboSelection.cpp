// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComboSelection.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace struktur {

void selectKeepingText(QComboBox& box, int index)
{
    QLineEdit* field = box.lineEdit();
    if (!field) {
        box.setCurrentIndex(index);
        return;
    }
    const QString text = field->text();
    const int caret = field->cursorPosition();
    box.setCurrentIndex(index);
    if (field->text() == text)
        return;
    const QSignalBlocker blocker(field);
    field->setText(text);
    field->setCursorPosition(caret);
}

void selectEntryMatchingText(QComboBox& box)
{
    selectKeepingText(box, box.findText(box.currentText(), Qt::MatchFixedString));
}

} // namespace struktur

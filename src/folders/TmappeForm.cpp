// SPDX-License-Identifier: GPL-3.0-or-later
#include "TmappeForm.h"

#include <QPlainTextEdit>

TmappeForm::TmappeForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("mappeForm"));
    setWindowTitle(QStringLiteral("Strukturmappe"));
    setModal(true);
    setFixedSize(514, 404);
    dirMemo = new QPlainTextEdit(this);
    dirMemo->setObjectName(QStringLiteral("dirMemo"));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;

/// The modal "Strukturmappe" dialog: composes the path of a structure folder from a base folder
/// and a typed name, and can delete an empty folder. It creates no folder itself.
class TmappeForm : public QDialog {
    Q_OBJECT

public:
    explicit TmappeForm(QWidget* parent = nullptr);

    /// The composed folder; its whole text is the dialog's result after "Indfør".
    QPlainTextEdit* dirMemo = nullptr;
};

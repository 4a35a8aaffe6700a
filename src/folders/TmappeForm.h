// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class DriveComboBox;
class FileListBox;
class FolderListBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QFrame;
class QToolButton;

namespace struktur {
class ImageList;
}

/// The modal "Strukturmappe" dialog: composes the path of a structure folder from a base folder
/// and a typed name, and can delete an empty folder. It creates no folder itself. It is hidden,
/// not destroyed, when it closes, and keeps its folder for the next showing.
class TmappeForm : public QDialog {
    Q_OBJECT

public:
    explicit TmappeForm(QWidget* parent = nullptr);

    /// Shows the dialog modally and returns the composed folder, without line breaks, after
    /// "Indfør"; nothing after "Annuller" or closing the dialog.
    std::optional<QString> chooseFolder();

    /// The special folders of the current user. Each throws struktur::Error with its own message
    /// when the system has no such folder or it does not exist.
    QString GetMyDesktop() const;
    QString GetMyDocuments() const;
    QString GetMyApp() const;

    QLabel* Label1 = nullptr;
    FolderListBox* dirBox = nullptr;
    DriveComboBox* driveBox = nullptr;
    /// The tool buttons' three 32 x 32 pictures: desktop, documents, program.
    struktur::ImageList* ImageList1 = nullptr;
    QFrame* ToolBar1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton6 = nullptr;
    QLabel* Label5 = nullptr;
    /// The composed folder; its whole text is what `chooseFolder` returns after "Indfør".
    QPlainTextEdit* dirMemo = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* mappeEdit = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* sletKnap = nullptr;
    FileListBox* filBox = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createWidgets();
    void createLayout();
    void createConnections();
    void FormCreate();
    void FormShow();

    void dirBoxChange();
    void driveBoxChange(const QString& folder);
    void mappeEditChange();
    void ToolButton2Click();
    void ToolButton4Click();
    void ToolButton6Click();
    void sletKnapClick();

    void showComposedPath();
};

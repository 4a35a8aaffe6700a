// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class FileListBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace struktur {

class ProjectsHost;

/// The projects page "Projekter": the list of known structures with the paths of the chosen
/// one and the files of its document folder; it loads, creates and deletes structures and opens
/// the document folder or one of its files in other programs. It keeps no state beyond its
/// controls: which structure is open is the element tree's business.
class ProjectsPage : public QWidget {
    Q_OBJECT

public:
    ProjectsPage(ProjectsHost& host, QWidget* parent = nullptr);

    /// Fills the list from the registry files in the program folder; afterwards nothing is selected.
    void LoadStrukturBoks();
    /// Shows a folder as the document folder: in `Edit3` and in the file list. Throws
    /// struktur::Error, after `Edit3` is set, when the folder cannot be listed.
    void showDocumentFolder(const QString& folder);
    /// Shows the program folder as the document folder, as at start; a program folder that
    /// does not exist leaves the file list empty without an error.
    void showProgramFolder();
    /// Empties a document folder of its files (the path ends in a separator).
    void SletFiler(const QString& folder);

private:
    void createWidgets();
    void createLayout();
    void createConnections();
    bool eventFilter(QObject* watched, QEvent* event) override;

    void strukturboksClick();
    void strukturboksDblClick();
    void redigerKnapClick();
    void opretKnapClick();
    void sletKnapClick();
    void SpeedButton2Click();
    void ToolButton20Click();
    void ToolButton21Click();

    /// The first selected entry, or with `orFirst` the first entry; empty when there is none.
    QString chosenEntry(bool orFirst) const;

    ProjectsHost& m_host;
    /// The list's current row when the last key went down there.
    int m_rowAtKeyPress = -1;

    QLabel* Label1 = nullptr;
    QListWidget* strukturboks = nullptr;
    QPushButton* redigerKnap = nullptr;
    QPushButton* sletKnap = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* navnEdit = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* strukturmappeEdit = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* opretKnap = nullptr;
    QLabel* Label9 = nullptr;
    FileListBox* filbox = nullptr;
    QToolButton* ToolButton20 = nullptr;
    QToolButton* ToolButton21 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit3 = nullptr;
};

} // namespace struktur

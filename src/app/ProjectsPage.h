// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

class FileListBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

/// The registry of known structures: one registry file "<name>.txt" directly in the program
/// folder per structure, holding the paths of its structure file, data file and document folder.
namespace struktur::registry {

struct StructurePaths {
    QString structureFile;
    QString dataFile;
    /// Ends in a separator.
    QString documentFolder;
};

/// The registry file of an entry: the program folder, a separator and the entry.
QString registryFilePath(const QString& programdir, const QString& entry);

/// The entries of the registry: the names of the ".txt" files directly in the program folder
/// (hidden ones included), in name order. Empty when the folder cannot be read.
QStringList registryEntries(const QString& programdir);

/// Line `index` of a registry file's lines; throws "List index out of bounds" when it has fewer.
QString registryLine(const QStringList& lines, int index);

/// The fixed paths of the two built-in entries "Information.txt" and "Enhedsinformation.txt"
/// (exact, case-sensitive match); nothing for any other entry.
std::optional<StructurePaths> builtInPaths(const QString& programdir, const QString& entry);

/// The three paths of an entry: fixed for a built-in entry, else the first three lines of its
/// registry file. Throws struktur::Error for a missing or short registry file.
StructurePaths resolveEntry(const QString& programdir, const QString& entry);

/// The paths a new structure in `folderText` gets, formed from the text as typed.
StructurePaths pathsForFolder(const QString& folderText);

/// The name with only the letters A to Z turned into lower case; every other character as it is.
QString foldAsciiLetters(const QString& text);

/// True when `name` + ".txt" equals one of the entries once A to Z are folded on both sides.
bool doFileExists(const QString& name, const QStringList& entries);

/// Every folder the folder text passes through, shortest first: the text before each separator,
/// then the whole text ("/a/b": "/a", "/a/b"; an empty part before a leading separator is left out).
QStringList folderLevels(const QString& folderText);

/// False for a document folder that must never be emptied: an empty or blank text, a
/// file-system root, the home folder and the program folder.
bool mayEmptyFolder(const QString& folder, const QString& programdir);

/// Deletes every file directly in `folder` (hidden ones included); subfolders and files that
/// cannot be deleted stay.
void deleteFilesIn(const QString& folder);

} // namespace struktur::registry

namespace struktur {

class Tmainform;

/// The projects page "Projekter": the list of known structures with the paths of the chosen
/// one and the files of its document folder; it loads, creates and deletes structures and opens
/// the document folder or one of its files in other programs. It keeps no state beyond its
/// controls: which structure is open is the element tree's business.
class ProjectsPage : public QWidget {
    Q_OBJECT

public:
    ProjectsPage(Tmainform& mainform, QWidget* parent = nullptr);

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
    /// Shows the structure page with the structure's name and brings up the document editor.
    void showOpenedStructure(const QString& entry);

    Tmainform& m_mainform;
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

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProjectsHost.h"

#include <QMainWindow>
#include <QString>

#include <functional>

class QMenu;
class QStatusBar;
class QTabWidget;
class TStruktur;
class TmappeForm;

namespace struktur {

class EditActionList;
class ImageList;
class ProjectsPage;
class StructurePage;
class TeditForm;
class Tprintform;
class WindowBounds;

/// The main window "Struktur konstruktøren": the page control `bog` with the projects page
/// `side1` and the structure page `side2`, the status bar `infoBar` that shows the hint line,
/// the program folder with its Options folder, and the main options file mainopt.txt. It owns
/// the one element tree `Struktur`; the structure page lays it out. It is the projects page's
/// host: what the page needs of the tree and the other windows, it asks here.
class Tmainform : public QMainWindow, public ProjectsHost {
    Q_OBJECT

public:
    explicit Tmainform(QWidget* parent = nullptr);
    ~Tmainform() override;

    /// The images the pages' buttons use from `ImageList1`, by index.
    enum ButtonImage { ListImage, ScissorsImage, TextLinesImage, FolderImage, ExpandImage, CollapseImage,
        AbcImage, FloppyImage };
    /// The images of the projects page's tool bar in `ImageList32`, by index.
    enum ToolImage { OpenFolderImage, EditSheetImage, ClosedFolderImage, SheetImage };

    /// What the structure page lends the frame once it is composed on `side2`: emptying the
    /// element fields `tekstEdit` and `dataEdit` (with the focus into `tekstEdit` when asked),
    /// and the document path formed from them for "Rediger i andet program".
    struct ElementFields {
        std::function<void(bool Efocus)> clear;
        std::function<QString()> documentPath;
    };
    void setElementFields(ElementFields fields);

    /// The document editor and the print window, whose options files closing writes and whose
    /// document `ClearToNew` empties, and the folder chooser the projects page asks for (wired
    /// when the windows are created).
    void attachWindows(TeditForm* editor, Tprintform* printWindow, ::TmappeForm* folderChooser);

    /// Empties the element fields and the document editor's text; with `Efocus` puts the
    /// keyboard focus into the text field, otherwise leaves it where it is.
    void ClearToNew(bool Efocus) override;
    /// "Skriv tekst": hides the document editor when it is visible, otherwise shows it.
    void skrivKnapClick();
    /// The document path of the element being written; empty before the structure page is there.
    QString currentDocumentPath() const;

    /// When the element tree holds unsaved changes, asks "Strukturen er ændret. Skal ændringerne
    /// gemmes?" (Ja / Nej / Annuller): Ja saves first, Nej drops them. Returns false, to stop what
    /// was about to happen, on Annuller or when saving fails (the error is shown); true otherwise.
    bool confirmUnsavedChanges() override;

    /// Shows the long part of the current hint in the status bar.
    void Info(const QString& hint);

    /// Reads mainopt.txt into the window's bounds; throws struktur::Error for a short or bad file.
    void HentOpt();
    /// Writes the window's bounds to mainopt.txt; throws "Cannot create file" on failure.
    void GemOpt();

    /// The program folder, without a trailing separator.
    QString programdir;

    QTabWidget* bog = nullptr;
    QWidget* side1 = nullptr;
    QWidget* side2 = nullptr;
    QStatusBar* infoBar = nullptr;
    TStruktur* Struktur = nullptr;
    /// The projects page on `side1`.
    ProjectsPage* projectsPage = nullptr;
    /// The structure page on `side2`, composed once the document editor is attached.
    StructurePage* structurePage = nullptr;

    ImageList* ImageList1 = nullptr;
    ImageList* ImageList2 = nullptr;
    ImageList* ImageList32 = nullptr;

    /// The editor's edit and format actions again, bound to no control: they act through their
    /// shortcuts on the main window's focused edit field.
    EditActionList* ActionListEdit = nullptr;
    ImageList* ImageListEdit = nullptr;
    QMenu* PopupMenuEdit = nullptr;

    /// Puts a page's content on one of the two pages, filling it.
    template<typename Page> Page* placeOnPage(QWidget* side, Page* content)
    {
        addToPage(side, content);
        return content;
    }

Q_SIGNALS:
    /// The window has closed; the program ends with it.
    void closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createWidgets();
    void createImageLists();
    void createActions();
    void createLayout();
    void FormCreate();
    void FormClose();
    void addToPage(QWidget* side, QWidget* content);

    // What the projects page asks of its host.
    QString programDir() const override;
    QIcon picture(Picture picture) const override;
    void openStructure(const registry::StructurePaths& paths) override;
    void startStructure(const registry::StructurePaths& paths) override;
    void showStructure(const QString& entry) override;
    std::optional<QString> chooseFolder() override;

    QString optfil;
    QString Dir;

    WindowBounds* m_bounds = nullptr;
    ElementFields m_elementFields;
    TeditForm* m_editor = nullptr;
    Tprintform* m_printWindow = nullptr;
    ::TmappeForm* m_folderChooser = nullptr;
};

} // namespace struktur

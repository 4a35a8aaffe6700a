// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QToolButton;
class TStruktur;

namespace struktur {

class SearchBar;
class StructureExport;
class TeditForm;
class WrappingToolBar;
namespace elements {
class TreeCommands;
}

/// The structure page "Strukturen": the fields of the element being written, the element tree
/// with its tool bar and method choice, and the commands that insert, edit, delete, save and
/// reload elements. The tree belongs to the main window and is only laid out here; the page
/// keeps no state beyond its controls.
class StructurePage : public QWidget {
    Q_OBJECT

public:
    StructurePage(TStruktur* struktur, TeditForm* editor, QWidget* parent = nullptr);

    /// The element text and the element file name being written.
    QLineEdit* tekstEdit = nullptr;
    QLineEdit* dataEdit = nullptr;

    /// Shows which structure is loaded; the caption is the whole text ("Strukturnavn: " + name).
    void setInfoLabel(const QString& caption);
    QString infoLabel() const;

    /// The icon choice (0-8).
    int iconChoice() const;
    /// The method choice (0-5).
    int methodChoice() const;

    /// Empties both fields and the editor's document; with `Efocus` puts the focus into the text field.
    void ClearToNew(bool Efocus);
    /// The part of ClearToNew that concerns the page: empties both fields, with `Efocus` focuses the text field.
    void clearFields(bool Efocus);
    /// Shows the document editor, or hides it when it is visible.
    void skrivKnapClick();

    /// The document path the editor's "edit in another program" opens: empty while the file-name
    /// field or the document folder is empty.
    QString currentDocumentPath() const;

    /// Re-evaluates the action rules (also run after every handled input event).
    void updateActions();

public Q_SLOTS:
    void StrukturClick();
    void StrukturMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void StrukturMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void flytBoxClick(int choice);

    void AclearExecute();
    void AinsertExecute();
    void AredigerExecute();
    void AsletExecute();
    void AgemExecute();
    void AreloadExecute();
    void AfortrydExecute();
    void AgentagExecute();

    void ToolButton1Click();
    void ToolButton4Click();
    void ToolButton5Click();

    /// Enter in the text or file-name field: inserts a new element, with "Auto navn" under a constructed name.
    void tekstEditKeyPress();
    void fnKnapClick();
    void checkKnapClick();
    /// Opens the search bar under the tree.
    void AsoegExecute();

private:
    void createWidgets();
    void createLayout();
    void createActions();
    void createConnections();

    QWidget* createLeftPane();
    QWidget* createRightPane();
    WrappingToolBar* createToolBar();

    void AclearUpdate();
    void AinsertUpdate();
    void AredigerUpdate();
    void AsletUpdate();
    void AgemUpdate();
    void AreloadUpdate();
    void AfortrydUpdate();
    void AgentagUpdate();

    bool isArranging() const;
    QString documentPathFor(const QString& fileName) const;

    TStruktur* m_struktur;
    TeditForm* m_editor;

    QSplitter* m_splitter = nullptr;
    QCheckBox* gemCheck = nullptr;
    QCheckBox* sorterCheck = nullptr;
    QCheckBox* autoNavn = nullptr;
    QPushButton* skrivKnap = nullptr;
    QGroupBox* ikonBox = nullptr;
    QButtonGroup* m_iconChoices = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* checkKnap = nullptr;
    QPushButton* fnKnap = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* InfoLabel = nullptr;
    WrappingToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QToolButton* ToolButton7 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* soegKnap = nullptr;
    SearchBar* m_searchBar = nullptr;
    elements::TreeCommands* m_treeCommands = nullptr;
    StructureExport* m_export = nullptr;
    QCheckBox* flytmodeBox = nullptr;
    QGroupBox* flytBox = nullptr;
    QButtonGroup* m_methodChoices = nullptr;

    QAction* Aclear = nullptr;
    QAction* Ainsert = nullptr;
    QAction* Arediger = nullptr;
    QAction* Aslet = nullptr;
    QAction* Agem = nullptr;
    QAction* Areload = nullptr;
    QAction* Asoeg = nullptr;
    QAction* Afortryd = nullptr;
    QAction* Agentag = nullptr;
};

} // namespace struktur

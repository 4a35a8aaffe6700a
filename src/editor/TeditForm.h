// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace struktur {

class DisplayLines;
class LazyLayout;
class EditActionList;
class FindBar;
class ImageList;
class SpellChecking;
class TColorGrid;
class TFontSizeComboBox;
class WindowBounds;

/// The document editor window "Struktur tekst": one instance for the whole run, holding the
/// program's one document buffer `infoTekst` with its face, size and colour controls, format
/// tool bar and caret status. It never names a document file itself: the structure page loads
/// and saves through clearDocument/loadDocument/saveDocument.
class TeditForm : public QWidget {
    Q_OBJECT

public:
    explicit TeditForm(const QString& programdir, QWidget* parent = nullptr);
    ~TeditForm() override;

    /// Reads position and size from editopt.txt; nothing happens without the file. A short or
    /// broken file throws, with the values before the bad line applied.
    void HentOpt();
    /// Writes the window's position and size to editopt.txt; throws struktur::Error on failure.
    void GemOpt();

    /// Shows line count, caret line and position, and brings the face box, size box and colour
    /// grid in line with the selection.
    void XYinfo();
    /// Shows line count, caret line and position only.
    void showCaretPlace();
    /// Fills the face box with every installed face, sorted.
    void GetFontNames();
    /// Selects the face box entry for a face (none when it is not listed), only when the face
    /// differs from the last one seen.
    void FontFelter(const QString& FontNavn);
    /// Rebuilds the size box when the face changed and selects `Fontdim`, or the smallest size
    /// when the face lacks it; returns the size now selected (`Fontdim` when the list is empty).
    int FontFelterSize(const QString& FontNavn, int Fontdim);
    /// A quick size: selects it and applies it to the selection; does nothing when the size box
    /// does not list it.
    void SetSize(int Siz);

    /// Empties the document; the next text starts in the default format.
    void clearDocument();
    /// Loads a document file (RTF, else plain text); throws "Cannot open file" on failure and
    /// then leaves the document as it was.
    void loadDocument(const QString& path);
    /// Saves the document as RTF, replacing the file atomically; throws "Cannot create file".
    void saveDocument(const QString& path);

    /// The window the print button shows.
    void setPrintWindow(QWidget* window);
    /// Supplies the path "Rediger i andet program" hands to another program: the document folder,
    /// the element file name and ".rtf", or an empty string when the file-name field or the
    /// document folder is empty, which disables the command.
    void setDocumentPathSource(std::function<QString()> source);

    /// Spell checking of the document: its action, underlining and pop-up menu entries.
    SpellChecking& spellChecking() const { return *m_spelling; }
    /// The find and replace bar under the document.
    FindBar& findBar() const { return *m_findBar; }
    /// The pop-up menu a right click at `position` (viewport coordinates of `infoTekst`) opens.
    QMenu* popupMenuAt(const QPoint& position);

    /// The text of status panel 0–6.
    QString statusPanelText(int panel) const;
    /// The path of the options file.
    const QString& optionsFile() const { return optfil; }

    QTextEdit* infoTekst = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createWidgets();
    void createPanel();
    void createToolBar();
    void createStatusBar();
    void createLayout();
    void createActions();
    void createConnections();
    void FormCreate();
    void applyDefaultFormat();

    void FontNameChange();
    void SizBoxChange();
    void ColorGridClick();
    void AgoEditExecute();
    bool AgoEditUpdate() const;
    void ToolButton3Click();
    void FormActivate();
    void infoTekstContextMenu(const QPoint& position);

    QFrame* Panel1 = nullptr;
    TColorGrid* ColorGrid = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* FontName = nullptr;
    QLabel* Label2 = nullptr;
    TFontSizeComboBox* SizBox = nullptr;
    QToolButton* SpeedButtons[4] = {};
    QToolBar* ToolBar2 = nullptr;
    QStatusBar* Info = nullptr;
    QLabel* InfoPanels[7] = {};
    EditActionList* ActionListEdit = nullptr;
    QMenu* PopupEdit = nullptr;
    QMenu* PopupDropDown = nullptr;

    QString OldFontSizname;
    QString OldFontname;
    QString optfil;
    QWidget* m_printWindow = nullptr;
    std::function<QString()> m_documentPath;
    WindowBounds* m_bounds = nullptr;
    ImageList* m_images = nullptr;
    DisplayLines* m_displayLines = nullptr;
    LazyLayout* m_lazyLayout = nullptr;
    SpellChecking* m_spelling = nullptr;
    FindBar* m_findBar = nullptr;
};

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TeditForm.h"

#include "editor/CaretPlace.h"
#include "editor/ComboSelection.h"
#include "editor/DocumentEdit.h"
#include "editor/DocumentFile.h"
#include "editor/EditActionList.h"
#include "editor/FindBar.h"
#include "editor/FaceNames.h"
#include "editor/ImageListEdit.h"
#include "editor/LazyLayout.h"
#include "editor/SelectionFormat.h"
#include "editor/SpellChecking.h"
#include "editor/TColorGrid.h"
#include "editor/TFontSizeComboBox.h"
#include "platform/Error.h"
#include "platform/OptionsFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"
#include "ui/CreationGuard.h"
#include "ui/HintLine.h"
#include "ui/ImageList.h"
#include "ui/WindowBounds.h"

#include <QCollator>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace struktur {

namespace {

const QString defaultFace = QStringLiteral("Courier New");
constexpr int defaultSize = 10;
constexpr int quickSizes[4] = { 10, 11, 12, 14 };
constexpr int panelWidths[7] = { 64, 48, 36, 48, 50, 48, 50 };
constexpr int panelIndent = 2;
const QSize designedClientSize(784, 274);
const QSize smallestOuterSize(411, 312);
// The frame the designed figures assume around the client area (outer minus client size).
const QSize designedFrame(16, 38);

QCollator faceCollator()
{
    // The user's order; Danish where the locale says nothing (the interface is Danish).
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Danish, QLocale::Denmark);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

QLabel* createBlueLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    return label;
}

QComboBox* createEditableBox(QComboBox* box, const char* name, int width)
{
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setFixedWidth(width);
    return box;
}

} // namespace

TeditForm::TeditForm(const QString& programdir, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("editForm"));
    setWindowTitle(QStringLiteral("Struktur tekst"));
    optfil = programdir + pathSeparator() + QStringLiteral("Options") + pathSeparator() + QStringLiteral("editopt.txt");
    createWidgets();
    createLayout();
    createActions();
    createConnections();
    FormCreate();
}

TeditForm::~TeditForm() = default;

void TeditForm::createWidgets()
{
    setFont(windowFont());
    QPalette skyBlue = palette();
    skyBlue.setColor(QPalette::Window, QColor(166, 202, 240));
    setPalette(skyBlue);
    setAutoFillBackground(true);
    m_bounds = new WindowBounds(this, smallestOuterSize, designedFrame);
    resize(designedClientSize);

    createPanel();
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setIconSize(QSize(16, 16));
    ToolBar2->setMovable(false);
    ToolBar2->setFloatable(false);

    auto* edit = new DocumentEdit(this);
    edit->setObjectName(QStringLiteral("infoTekst"));
    edit->setAcceptRichText(true);
    edit->setReadOnly(false);
    edit->setLineWrapMode(QTextEdit::WidgetWidth);
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    // Text without a colour of its own shows in the system's window-text colour, as it prints and
    // as the colour grid reads it; the application's look must not tint it.
    edit->setStyleSheet(QStringLiteral("QTextEdit#infoTekst { color: %1; }")
                            .arg(QGuiApplication::palette().color(QPalette::Text).name()));
    infoTekst = edit;
    m_displayLines = new DisplayLines(infoTekst->document(), this);
    m_lazyLayout = new LazyLayout(infoTekst->document(), this);
    m_findBar = new FindBar(infoTekst, this);
    createStatusBar();
    // The designed minimum assumes the designed fonts; where this machine's are wider, the window
    // stays wide enough for the panel's last caption and the status panels side by side.
    int panelRight = 0;
    for (const QWidget* child : Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        panelRight = std::max(panelRight, child->x() + std::max(child->width(), child->sizeHint().width()));
    int statusWidth = 0;
    for (const QLabel* panel : InfoPanels)
        statusWidth += panel->width() + Info->layout()->spacing();
    const int needed = std::max(panelRight + 4, statusWidth) + designedFrame.width();
    m_bounds->setMinimumOuter(smallestOuterSize.expandedTo(QSize(needed, 0)));
}

void TeditForm::createPanel()
{
    facenames::installStandIns();
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setFixedHeight(85);

    ColorGrid = new TColorGrid(Panel1);
    ColorGrid->setObjectName(QStringLiteral("ColorGrid"));
    ColorGrid->move(8, 6);

    Label1 = createBlueLabel(QStringLiteral("Fontnavn"), "Label1", Panel1);
    Label1->move(124, 8);
    FontName = createEditableBox(new QComboBox(Panel1), "FontName", 197);
    FontName->setMaxVisibleItems(12);
    FontName->move(124, 24);

    Label2 = createBlueLabel(QStringLiteral("Font størrelse"), "Label2", Panel1);
    Label2->move(336, 8);
    SizBox = new TFontSizeComboBox(Panel1);
    createEditableBox(SizBox, "SizBox", 61);
    SizBox->move(336, 24);

    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(Panel1);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        button->setText(QString::number(quickSizes[i]));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(25, 22);
        button->move(336 + i * 27, 52);
        SpeedButtons[i] = button;
    }
}

void TeditForm::createStatusBar()
{
    Info = new QStatusBar(this);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setFixedHeight(19);
    const QString fixedTexts[7]
        = { QStringLiteral("Linie antal"), {}, QStringLiteral("Linie"), {}, QStringLiteral("Position"), {}, {} };
    for (int i = 0; i < 7; ++i) {
        auto* panel = new QLabel(fixedTexts[i], Info);
        panel->setObjectName(QStringLiteral("InfoPanel%1").arg(i));
        // A caption gets at least the room its text needs in the font this machine draws it in.
        const int captionWidth = panel->fontMetrics().horizontalAdvance(fixedTexts[i]) + 2 * panelIndent + 6;
        panel->setFixedWidth(fixedTexts[i].isEmpty() ? panelWidths[i] : qMax(panelWidths[i], captionWidth));
        // The status bar draws each panel's edge itself; the text gets the whole width.
        panel->setFrameShape(QFrame::NoFrame);
        panel->setIndent(panelIndent);
        Info->addWidget(panel);
        InfoPanels[i] = panel;
    }
}

void TeditForm::createLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(ToolBar2);
    layout->addWidget(infoTekst, 1);
    layout->addWidget(m_findBar);
    layout->addWidget(Info);
}

void TeditForm::createActions()
{
    ActionListEdit
        = new EditActionList(this, [this]() -> QWidget* { return focusWidget() == infoTekst ? infoTekst : nullptr; });
    ActionListEdit->setAgoEdit([this] { AgoEditExecute(); }, [this] { return AgoEditUpdate(); });
    PopupEdit = ActionListEdit->createPopupMenu(this, QStringLiteral("PopupEdit"),
        { QStringLiteral("Annuller1"), QStringLiteral("N1"), QStringLiteral("Klip1"), QStringLiteral("Kopier1"),
            QStringLiteral("Indst1"), QStringLiteral("N2"), QStringLiteral("Vlgalt1"), QStringLiteral("Slet1") });
    QStringList dropDownItems;
    for (int i = 1; i <= 8; ++i)
        dropDownItems.append(QStringLiteral("MenuItem%1").arg(i));
    PopupDropDown = ActionListEdit->createPopupMenu(this, QStringLiteral("PopupDropDown"), dropDownItems);
    QList<QIcon> images;
    for (int i = 0; i < ImageListEdit::count; ++i)
        images.append(ImageListEdit::image(i));
    m_images = new ImageList(QStringLiteral("ImageListEdit"), QSize(16, 16), images, this);
    m_spelling = new SpellChecking(infoTekst, QFileInfo(optfil).path(), this);
    createToolBar();
}

void TeditForm::createToolBar()
{
    const auto addButton = [this](const char* name, QAction* action) {
        auto* button = new QToolButton(ToolBar2);
        button->setObjectName(QLatin1String(name));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        if (action)
            button->setDefaultAction(action);
        ToolBar2->addWidget(button);
        return button;
    };
    ToolBar2->addSeparator();
    QToolButton* print = addButton("ToolButton3", nullptr);
    print->setIcon(m_images->icon(ImageListEdit::printImage));
    setHint(print, QStringLiteral("Åben printboksen"));
    connect(print, &QToolButton::clicked, this, &TeditForm::ToolButton3Click);
    ToolBar2->addSeparator();
    QToolButton* copy = addButton("ToolButton1", ActionListEdit->EditCopy1);
    copy->setMenu(PopupDropDown);
    copy->setPopupMode(QToolButton::MenuButtonPopup);
    ToolBar2->addSeparator();
    addButton("ToolButton10", ActionListEdit->RichEditBold1);
    addButton("ToolButton11", ActionListEdit->RichEditItalic1);
    addButton("ToolButton12", ActionListEdit->RichEditUnderline1);
    ToolBar2->addSeparator();
    addButton("ToolButton14", ActionListEdit->RichEditAlignLeft1);
    addButton("ToolButton15", ActionListEdit->RichEditAlignCenter1);
    addButton("ToolButton16", ActionListEdit->RichEditAlignRight1);
    ToolBar2->addSeparator();
    addButton("ToolButton18", ActionListEdit->RichEditBullets1);
    ToolBar2->addSeparator();
    addButton("redigerAndetKnap", ActionListEdit->AgoEdit);
    ToolBar2->addSeparator();
    addButton("stavningKnap", m_spelling->Astavning);
    addButton("soegKnap", m_findBar->Afind);
}

void TeditForm::createConnections()
{
    connect(static_cast<DocumentEdit*>(infoTekst), &DocumentEdit::inputHandled, this, &TeditForm::XYinfo);
    // While a long document is laid out after loading, the line count grows step by step.
    connect(m_displayLines, &DisplayLines::linesMoved, this, &TeditForm::showCaretPlace);
    connect(infoTekst, &QWidget::customContextMenuRequested, this, &TeditForm::infoTekstContextMenu);
    connect(FontName, &QComboBox::activated, this, &TeditForm::FontNameChange);
    connect(FontName->lineEdit(), &QLineEdit::textEdited, this, [this] {
        selectEntryMatchingText(*FontName);
        FontNameChange();
    });
    connect(SizBox, &TFontSizeComboBox::changed, this, &TeditForm::SizBoxChange);
    connect(ColorGrid, &TColorGrid::clicked, this, &TeditForm::ColorGridClick);
    for (int i = 0; i < 4; ++i)
        connect(SpeedButtons[i], &QToolButton::clicked, this, [this, i] { SetSize(quickSizes[i]); });
}

void TeditForm::FormCreate()
{
    // A short or broken options file is reported, and the window is still completed.
    reportErrors([this] { HentOpt(); });
    m_bounds->keepOnScreen();
    GetFontNames();
    FontFelter(defaultFace);
    FontFelterSize(defaultFace, defaultSize);
    OldFontname.clear();
    applyDefaultFormat();
    infoTekst->setFocus();
}

void TeditForm::applyDefaultFormat()
{
    infoTekst->setFont(QFont(defaultFace, defaultSize));
    infoTekst->document()->setDefaultFont(QFont(defaultFace, defaultSize));
    QTextCharFormat format;
    format.setFontFamilies({ defaultFace });
    format.setFontPointSize(defaultSize);
    infoTekst->setCurrentCharFormat(format);
    QPalette palette = infoTekst->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Active, QPalette::Base));
    infoTekst->setPalette(palette);
}

void TeditForm::HentOpt() { m_bounds->readOptions(optfil); }

void TeditForm::GemOpt() { m_bounds->writeOptions(optfil); }

void TeditForm::GetFontNames()
{
    QStringList faces = facenames::plainFamilies(QFontDatabase::families());
    const QCollator collator = faceCollator();
    std::sort(faces.begin(), faces.end(), [&collator](const QString& a, const QString& b) { return collator(a, b); });
    FontName->clear();
    FontName->addItems(faces);
}

void TeditForm::FontFelter(const QString& FontNavn)
{
    if (FontNavn != OldFontname && FontName->count() > 0) {
        FontName->setCurrentIndex(FontName->findText(FontNavn, Qt::MatchFixedString));
        // A face the document names but this machine lacks keeps its name in the box; it is
        // drawn with its stand-in until the user chooses another.
        if (FontName->currentIndex() < 0)
            FontName->setEditText(FontNavn);
    }
    OldFontname = FontNavn;
}

int TeditForm::FontFelterSize(const QString& FontNavn, int Fontdim)
{
    if (FontNavn != OldFontSizname) {
        SizBox->setFontName(FontNavn);
        OldFontSizname = FontNavn;
    }
    if (SizBox->count() == 0)
        return Fontdim;
    int index = SizBox->findText(QString::number(Fontdim));
    if (index < 0)
        index = 0;
    SizBox->setCurrentIndex(index);
    return SizBox->itemText(index).toInt();
}

void TeditForm::XYinfo()
{
    const QString face = selection::font(*infoTekst).family();
    FontFelter(face);
    FontFelterSize(face, selection::pointSize(*infoTekst));
    ColorGrid->setForegroundIndex(TColorGrid::colorToIndex(selection::color(*infoTekst)));
    ColorGrid->setBackgroundIndex(15);
    showCaretPlace();
}

void TeditForm::showCaretPlace()
{
    const CaretPlace place = m_displayLines->place(infoTekst->textCursor());
    InfoPanels[1]->setText(QString::number(place.lineCount));
    InfoPanels[3]->setText(QString::number(place.line + 1) + QLatin1Char(' '));
    InfoPanels[5]->setText(QString::number(place.column) + QLatin1Char(' '));
}

void TeditForm::FontNameChange()
{
    const int index = FontName->currentIndex();
    if (index < 0)
        return;
    const QString face = FontName->itemText(index);
    selection::setFaceName(*infoTekst, face);
    const int current = selection::pointSize(*infoTekst);
    const int size = FontFelterSize(face, current);
    if (size != current)
        selection::setPointSize(*infoTekst, size);
    OldFontname = face;
}

void TeditForm::SizBoxChange()
{
    const int index = SizBox->currentIndex();
    if (index < 0)
        return;
    selection::setPointSize(*infoTekst, SizBox->itemText(index).toInt());
}

void TeditForm::SetSize(int Siz)
{
    const int index = SizBox->findText(QString::number(Siz));
    if (index < 0)
        return;
    SizBox->setCurrentIndex(index);
    selection::setPointSize(*infoTekst, Siz);
}

void TeditForm::ColorGridClick()
{
    ColorGrid->setBackgroundIndex(15);
    selection::setColor(*infoTekst, ColorGrid->foregroundColor());
}

void TeditForm::AgoEditExecute()
{
    const QString path = m_documentPath ? m_documentPath() : QString();
    if (!path.isEmpty())
        shellExecute(ShellVerb::Edit, path);
}

bool TeditForm::AgoEditUpdate() const { return m_documentPath && !m_documentPath().isEmpty(); }

void TeditForm::ToolButton3Click()
{
    if (!m_printWindow)
        return;
    m_printWindow->show();
    m_printWindow->raise();
    m_printWindow->activateWindow();
}

void TeditForm::FormActivate() { XYinfo(); }

QMenu* TeditForm::popupMenuAt(const QPoint& position)
{
    QMenu* spelling = m_spelling->createPopupMenu(position, PopupEdit->actions(), this);
    return spelling ? spelling : PopupEdit;
}

void TeditForm::infoTekstContextMenu(const QPoint& position)
{
    popupMenuAt(position)->popup(infoTekst->viewport()->mapToGlobal(position));
}

void TeditForm::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
    XYinfo();
}

void TeditForm::keyReleaseEvent(QKeyEvent* event)
{
    QWidget::keyReleaseEvent(event);
    XYinfo();
}

void TeditForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TeditForm::clearDocument()
{
    infoTekst->clear();
    applyDefaultFormat();
    XYinfo();
}

void TeditForm::loadDocument(const QString& path)
{
    const QByteArray bytes = documentfile::readBytes(path);
    QTextDocument* document = infoTekst->document();
    // A loaded document starts a fresh undo history and brings its own formatting.
    document->setUndoRedoEnabled(false);
    infoTekst->clear();
    document->setDefaultFont(QFont(defaultFace, defaultSize));
    // With a null page size the document is not laid out at all, and nothing that asks where
    // text stands lays it out; the caret goes to the start meanwhile (from the end it would make
    // the view lay out all text above it). Given its width back, the document is one change of
    // the whole text, which Qt's layout does lazily: what is shown at once, the rest in steps from
    // a timer, so a long document opens about as fast as a short one.
    const QSizeF pageSize = document->pageSize();
    document->setPageSize(QSizeF(0, 0));
    documentfile::load(bytes, *document);
    infoTekst->setTextCursor(QTextCursor(document));
    document->setPageSize(pageSize);
    m_lazyLayout->watch();
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    XYinfo();
}

void TeditForm::saveDocument(const QString& path) { documentfile::write(path, *infoTekst->document()); }

void TeditForm::setPrintWindow(QWidget* window) { m_printWindow = window; }

void TeditForm::setDocumentPathSource(std::function<QString()> source)
{
    m_documentPath = std::move(source);
    ActionListEdit->updateActions();
}

QString TeditForm::statusPanelText(int panel) const
{
    if (panel < 0 || panel >= 7)
        return {};
    return InfoPanels[panel]->text();
}

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tmainform.h"

#include "ProjectsPage.h"

#include "editor/EditActionList.h"
#include "editor/TeditForm.h"
#include "elements/StructurePage.h"
#include "folders/TmappeForm.h"
#include "model/ElementIcons.h"
#include "model/Registry.h"
#include "model/TStruktur.h"
#include "platform/OptionsFile.h"
#include "platform/ProgramFolder.h"
#include "printing/Tprintform.h"
#include "ui/CreationGuard.h"
#include "ui/Dialogs.h"
#include "ui/GuardedConnection.h"
#include "ui/HintLine.h"
#include "ui/ImageList.h"
#include "ui/WindowBounds.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

static void registerAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace struktur {
namespace {

// The window's design figures: its client area, and the outer minimum they add up to with
// the frame the design assumes.
constexpr QSize designedClient(584, 562);
constexpr QSize minimumOuter(600, 600);
// The hint line's room is the bar less its size grip and the margins around the message.
constexpr int hintLineReserve = 24;
constexpr qreal smallestHintPoints = 6;
const QColor skyBlue(0xA6, 0xCA, 0xF0);

QList<QIcon> iconsFrom(const QStringList& names)
{
    QList<QIcon> icons;
    for (const QString& name : names)
        icons.append(QIcon(QStringLiteral(":/app/") + name));
    return icons;
}

} // namespace

Tmainform::Tmainform(QWidget* parent)
    : QMainWindow(parent)
{
    registerAppResources();
    createWidgets();
    createImageLists();
    createActions();
    createLayout();
    projectsPage = placeOnPage(side1, new ProjectsPage(*this, side1));
    runCreationHandler([this] { FormCreate(); });
}

Tmainform::~Tmainform()
{
    // The hint line outlives the window; its children go before QObject would disconnect it.
    disconnect(&HintLine::instance(), nullptr, this, nullptr);
}

void Tmainform::createWidgets()
{
    setObjectName(QStringLiteral("mainform"));
    setWindowTitle(QStringLiteral("Struktur konstruktøren"));
    setWindowIcon(QIcon(QStringLiteral(":/app/mainform.svg")));
    setFont(windowFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, skyBlue);
    setPalette(colours);
    setAutoFillBackground(true);

    bog = new QTabWidget(this);
    bog->setObjectName(QStringLiteral("bog"));
    side1 = new QWidget(bog);
    side1->setObjectName(QStringLiteral("side1"));
    side2 = new QWidget(bog);
    side2->setObjectName(QStringLiteral("side2"));

    infoBar = new QStatusBar(this);
    infoBar->setObjectName(QStringLiteral("infoBar"));
    // A hint drawn smaller does not make the bar lower.
    infoBar->setMinimumHeight(infoBar->sizeHint().height());

    Struktur = new TStruktur(side2);
    Struktur->setObjectName(QStringLiteral("Struktur"));
    Struktur->setDataOn(true);
}

void Tmainform::createImageLists()
{
    ImageList1 = new ImageList(QStringLiteral("ImageList1"), QSize(16, 16),
        iconsFrom({QStringLiteral("images16/list.svg"), QStringLiteral("images16/scissors.svg"),
            QStringLiteral("images16/textlines.svg"), QStringLiteral("images16/folder.svg"),
            QStringLiteral("images16/expand.svg"), QStringLiteral("images16/collapse.svg"),
            QStringLiteral("images16/abc.svg"), QStringLiteral("images16/floppy.svg")}),
        this);
    QList<QIcon> elementIcons;
    for (int index = 0; index < 9; ++index)
        elementIcons.append(::elementIcon(index));
    ImageList2 = new ImageList(QStringLiteral("ImageList2"), QSize(16, 16), elementIcons, this);
    ImageList32 = new ImageList(QStringLiteral("ImageList32"), QSize(32, 32),
        iconsFrom({QStringLiteral("images32/openfolder.svg"), QStringLiteral("images32/editsheet.svg"),
            QStringLiteral("images32/folder.svg"), QStringLiteral("images32/sheet.svg")}),
        this);
}

void Tmainform::createActions()
{
    ActionListEdit = new EditActionList(this, [this]() -> QWidget* { return qobject_cast<QLineEdit*>(focusWidget()); });
    ActionListEdit->setObjectName(QStringLiteral("ActionListEdit"));
    QList<QIcon> images;
    for (const QAction* action : ActionListEdit->actions())
        images.append(action->icon());
    ImageListEdit = new ImageList(QStringLiteral("ImageListEdit"), QSize(16, 16), images, this);
    PopupMenuEdit = ActionListEdit->createPopupMenu(this, QStringLiteral("PopupMenuEdit"),
        {QStringLiteral("Annuller1"), QStringLiteral("N1"), QStringLiteral("Klip1"), QStringLiteral("Kopier1"),
            QStringLiteral("Indst1"), QStringLiteral("N2"), QStringLiteral("Vlgalt1"), QStringLiteral("Slet1")});
}

void Tmainform::createLayout()
{
    for (QWidget* side : {side1, side2}) {
        auto* layout = new QVBoxLayout(side);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    bog->addTab(side1, QStringLiteral("Projekter"));
    bog->addTab(side2, QStringLiteral("Strukturen"));
    bog->setCurrentWidget(side1);
    // The structure page takes the tree into its own layout once it is composed.
    side2->layout()->addWidget(Struktur);
    setCentralWidget(bog);
    setStatusBar(infoBar);

    m_bounds = new WindowBounds(this, minimumOuter, minimumOuter - designedClient);
    resize(designedClient);
}

void Tmainform::addToPage(QWidget* side, QWidget* content)
{
    Q_ASSERT_X(side == side1 || side == side2, "Tmainform::placeOnPage", "content goes on side1 or side2");
    side->layout()->addWidget(content);
}

void Tmainform::FormCreate()
{
    connectGuarded(&HintLine::instance(), &HintLine::hintChanged, this, &Tmainform::Info);
    Dir = driveName();
    programdir = programFolder();
    const QString optionsFolder = programdir + pathSeparator() + QStringLiteral("Options");
    // One level each; a folder that cannot be made shows up as a failure to write at close.
    QDir folders;
    if (!QFileInfo::exists(programdir))
        folders.mkdir(programdir);
    if (!QFileInfo::exists(optionsFolder))
        folders.mkdir(optionsFolder);
    optfil = optionsFolder + pathSeparator() + QStringLiteral("mainopt.txt");

    // A short or broken options file is reported, and the rest of start-up still runs.
    reportErrors([this] { HentOpt(); });
    m_bounds->keepOnScreen();

    projectsPage->LoadStrukturBoks();
    projectsPage->showProgramFolder();
}

void Tmainform::HentOpt()
{
    m_bounds->readOptions(optfil);
}

void Tmainform::GemOpt()
{
    m_bounds->writeOptions(optfil);
}

void Tmainform::setElementFields(ElementFields fields)
{
    m_elementFields = std::move(fields);
}

void Tmainform::attachWindows(TeditForm* editor, Tprintform* printWindow, ::TmappeForm* folderChooser)
{
    m_editor = editor;
    m_printWindow = printWindow;
    m_folderChooser = folderChooser;
    // The structure page needs the editor, so it is composed here rather than with the frame.
    structurePage = placeOnPage(side2, new StructurePage(Struktur, editor, side2));
    setElementFields({[this](bool Efocus) { structurePage->clearFields(Efocus); },
        [this] { return structurePage->currentDocumentPath(); }});
}

void Tmainform::ClearToNew(bool Efocus)
{
    if (m_elementFields.clear)
        m_elementFields.clear(Efocus);
    if (m_editor)
        m_editor->clearDocument();
}

QString Tmainform::programDir() const { return programdir; }

QIcon Tmainform::picture(Picture picture) const
{
    switch (picture) {
    case Picture::List:
        return ImageList1->icon(ListImage);
    case Picture::Scissors:
        return ImageList1->icon(ScissorsImage);
    case Picture::TextLines:
        return ImageList1->icon(TextLinesImage);
    case Picture::Folder:
        return ImageList1->icon(FolderImage);
    case Picture::OpenFolder:
        return ImageList32->icon(OpenFolderImage);
    case Picture::EditSheet:
        return ImageList32->icon(EditSheetImage);
    }
    return {};
}

void Tmainform::openStructure(const registry::StructurePaths& paths)
{
    Struktur->setStrukturfile(paths.structureFile);
    Struktur->setDatafile(paths.dataFile);
    Struktur->setInfomappe(paths.documentFolder);
    Struktur->HentStruktur();
}

void Tmainform::startStructure(const registry::StructurePaths& paths)
{
    Struktur->setInfomappe(paths.documentFolder);
    Struktur->setStrukturfile(paths.structureFile);
    Struktur->setDatafile(paths.dataFile);
}

void Tmainform::showStructure(const QString& entry)
{
    bog->setCurrentWidget(side2);
    if (structurePage)
        structurePage->setInfoLabel(QStringLiteral("Strukturnavn: ") + entry);
    if (m_editor) {
        m_editor->show();
        m_editor->raise();
    }
}

std::optional<QString> Tmainform::chooseFolder()
{
    if (!m_folderChooser)
        return std::nullopt;
    return m_folderChooser->chooseFolder();
}

void Tmainform::skrivKnapClick()
{
    // The button lives on the structure page, which shows and hides the editor.
    if (structurePage)
        structurePage->skrivKnapClick();
}

QString Tmainform::currentDocumentPath() const
{
    return m_elementFields.documentPath ? m_elementFields.documentPath() : QString();
}

void Tmainform::Info(const QString& hint)
{
    // A long hint is drawn smaller rather than cut, down to a size still readable.
    QFont font = this->font();
    const int room = infoBar->contentsRect().width() - hintLineReserve;
    while (font.pointSizeF() > smallestHintPoints && QFontMetrics(font).horizontalAdvance(hint) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    infoBar->setFont(font);
    infoBar->showMessage(hint);
}

bool Tmainform::event(QEvent* event)
{
    // Menus and actions send status tips when the pointer crosses them; the status bar shows
    // only the hint line.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void Tmainform::closeEvent(QCloseEvent* event)
{
    if (!confirmUnsavedChanges()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    Q_EMIT closed();
}

// Unsaved changes of the element tree are not dropped without a word.
bool Tmainform::confirmUnsavedChanges()
{
    if (!Struktur || !Struktur->Modified())
        return true;
    switch (Dialogs::askYesNoCancel(this, QStringLiteral("Strukturen er ændret. Skal ændringerne gemmes?"))) {
    case Dialogs::Answer::Yes:
        return reportErrors([this] { Struktur->GemStruktur(); });
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Cancel:
    case Dialogs::Answer::Ok:
    case Dialogs::Answer::Close:
        return false;
    }
    return false;
}

// The three options files in their order; the first that cannot be written is reported and
// the ones after it are left, but the window closes all the same.
void Tmainform::FormClose()
{
    reportErrors([this] {
        if (m_editor)
            m_editor->GemOpt();
        if (m_printWindow)
            m_printWindow->GemOpt();
        GemOpt();
    });
}

} // namespace struktur

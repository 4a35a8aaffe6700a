// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProjectsPage.h"

#include "ProjectsHost.h"
#include "folders/FileListBox.h"
#include "model/Registry.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"
#include "platform/TextFile.h"
#include "ui/Dialogs.h"
#include "ui/GuardedConnection.h"
#include "ui/HintLine.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace struktur {
namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1StringView(name));
    return widget;
}

QLabel* heading(const char* name, const QString& caption, QWidget* parent)
{
    auto* label = named(new QLabel(caption, parent), name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

QPushButton* pictureButton(
    const char* name, const QString& caption, const QIcon& picture, const QString& hint, QWidget* parent)
{
    auto* button = named(new QPushButton(picture, caption, parent), name);
    button->setIconSize(QSize(16, 16));
    button->setAutoDefault(false);
    setHint(button, hint);
    return button;
}

QToolButton* largeToolButton(
    const char* name, const QString& caption, const QIcon& picture, const QString& hint, QWidget* parent)
{
    auto* button = named(new QToolButton(parent), name);
    button->setText(caption);
    button->setIcon(picture);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumHeight(56);
    setHint(button, hint);
    return button;
}

QLineEdit* pathField(const char* name, const QString& text, QWidget* parent)
{
    auto* field = named(new QLineEdit(text, parent), name);
    field->setReadOnly(true);
    return field;
}

bool isListMove(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

ProjectsPage::ProjectsPage(ProjectsHost& host, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("ProjectsPage"));
    createWidgets();
    createLayout();
    createConnections();
}

void ProjectsPage::createWidgets()
{
    using Picture = ProjectsHost::Picture;
    const auto picture = [this](Picture which) { return m_host.picture(which); };

    Label1 = heading("Label1", QStringLiteral("Eksisterende strukturer"), this);
    strukturboks = named(new QListWidget(this), "strukturboks");
    strukturboks->setSelectionMode(QAbstractItemView::SingleSelection);
    redigerKnap = pictureButton("redigerKnap", QStringLiteral("Indlæs struktur"), picture(Picture::List),
        QStringLiteral("Rediger valgte struktur"), this);
    sletKnap = pictureButton("sletKnap", QStringLiteral("Slet struktur"), picture(Picture::Scissors),
        QStringLiteral("Slet valgte struktur med den angivne strukturmappe"), this);

    Label2 = heading("Label2", QStringLiteral("Struktur navn"), this);
    navnEdit = named(new QLineEdit(this), "navnEdit");
    setHint(navnEdit, QStringLiteral("Indfør strukturens unikke navn"));
    Label3 = heading("Label3", QStringLiteral("Struktur mappe"), this);
    strukturmappeEdit = named(new QLineEdit(this), "strukturmappeEdit");
    setHint(strukturmappeEdit,
        QStringLiteral("Indfør den mappe som strukturen skal pladseres i, relateret til det program, der skal "
                       "anvende strukturen"));
    SpeedButton2 = named(new QToolButton(this), "SpeedButton2");
    SpeedButton2->setIcon(picture(Picture::Folder));
    SpeedButton2->setIconSize(QSize(16, 16));
    SpeedButton2->setAutoRaise(true);
    setHint(SpeedButton2, QStringLiteral("Find mappe i dialogboks, og tilføj eventuelt nye mapper"));
    opretKnap = pictureButton("opretKnap", QStringLiteral("Opret ny struktur"), picture(Picture::TextLines),
        QStringLiteral("Gem og opret ny struktur"), this);
    Label9 = heading("Label9", QStringLiteral("Filer i dokumentmappe"), this);
    filbox = named(new FileListBox(this), "filbox");

    ToolButton20 = largeToolButton("ToolButton20", QStringLiteral("Dokumentmappe"), picture(Picture::OpenFolder),
        QStringLiteral("Åben aktuelle dokumentmappe i stifinder"), this);
    ToolButton21 = largeToolButton("ToolButton21", QStringLiteral("Rediger"), picture(Picture::EditSheet),
        QStringLiteral("Rediger valgte fil fi fillisten"), this);

    Label5 = heading("Label5", QStringLiteral("Strukturfil"), this);
    Edit1 = pathField("Edit1", QStringLiteral("Strukturfil navn"), this);
    Label7 = heading("Label7", QStringLiteral("Datafil"), this);
    Edit2 = pathField("Edit2", QStringLiteral("Datafil navn"), this);
    Label8 = heading("Label8", QStringLiteral("Dokumentmappe"), this);
    Edit3 = pathField("Edit3", QStringLiteral("Dokumentmappe navn"), this);
}

void ProjectsPage::createLayout()
{
    auto* list = new QVBoxLayout;
    list->addWidget(Label1);
    list->addWidget(strukturboks, 1);
    list->addWidget(redigerKnap);
    list->addWidget(sletKnap);

    // The folder button stands in its own narrow column, level with the folder field.
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(2);
    fields->addWidget(Label2, 0, 0);
    fields->addWidget(navnEdit, 1, 0);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(strukturmappeEdit, 3, 0);
    fields->addWidget(SpeedButton2, 3, 1);
    fields->addWidget(opretKnap, 4, 0);
    fields->addWidget(Label9, 5, 0);
    fields->addWidget(filbox, 6, 0);
    fields->setRowStretch(6, 1);
    fields->setColumnMinimumWidth(1, 24);

    auto* tools = new QVBoxLayout;
    tools->addSpacing(Label1->sizeHint().height());
    tools->addWidget(ToolButton20);
    tools->addWidget(ToolButton21);
    tools->addStretch(1);
    const int toolWidth = std::max(ToolButton20->sizeHint().width(), ToolButton21->sizeHint().width());
    ToolButton20->setFixedWidth(toolWidth);
    ToolButton21->setFixedWidth(toolWidth);

    auto* columns = new QHBoxLayout;
    columns->addLayout(list, 4);
    columns->addLayout(fields, 5);
    columns->addLayout(tools);

    auto* paths = new QVBoxLayout;
    paths->setSpacing(2);
    for (auto [label, field] : { std::pair { Label5, Edit1 }, { Label7, Edit2 }, { Label8, Edit3 } }) {
        paths->addWidget(label);
        paths->addWidget(field);
    }

    auto* page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    page->addSpacing(6);
    page->addLayout(paths);
}

void ProjectsPage::createConnections()
{
    connectGuarded(strukturboks, &QListWidget::itemClicked, this, &ProjectsPage::strukturboksClick);
    strukturboks->installEventFilter(this);
    // A double click anywhere on the list loads, also below its last entry.
    strukturboks->viewport()->installEventFilter(this);
    connectGuarded(redigerKnap, &QPushButton::clicked, this, &ProjectsPage::redigerKnapClick);
    connectGuarded(sletKnap, &QPushButton::clicked, this, &ProjectsPage::sletKnapClick);
    connectGuarded(opretKnap, &QPushButton::clicked, this, &ProjectsPage::opretKnapClick);
    connectGuarded(SpeedButton2, &QToolButton::clicked, this, &ProjectsPage::SpeedButton2Click);
    connectGuarded(ToolButton20, &QToolButton::clicked, this, &ProjectsPage::ToolButton20Click);
    connectGuarded(ToolButton21, &QToolButton::clicked, this, &ProjectsPage::ToolButton21Click);
}

// Moving through the list with the keys (the arrows and pages, or typing an entry's first
// letters) is a click on the entry reached, as with the mouse. The list always has one entry
// selected once one is chosen: Ctrl neither deselects it nor moves without selecting.
bool ProjectsPage::eventFilter(QObject* watched, QEvent* event)
{
    const bool listEvent = watched == strukturboks || watched == strukturboks->viewport();
    const bool pressOrRelease = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
        || event->type() == QEvent::KeyPress;
    if (listEvent && pressOrRelease) {
        auto* input = static_cast<QInputEvent*>(event);
        input->setModifiers(input->modifiers() & ~Qt::ControlModifier);
    }
    if (watched == strukturboks->viewport() && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        reportErrors([this] { strukturboksDblClick(); });
        return true;
    }
    if (watched == strukturboks && event->type() == QEvent::KeyPress)
        m_rowAtKeyPress = strukturboks->currentRow();
    if (watched == strukturboks && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && (isListMove(key->key()) || strukturboks->currentRow() != m_rowAtKeyPress))
            reportErrors([this] { strukturboksClick(); });
    }
    return QWidget::eventFilter(watched, event);
}

void ProjectsPage::LoadStrukturBoks()
{
    strukturboks->clear();
    strukturboks->addItems(registry::registryEntries(m_host.programDir()));
}

void ProjectsPage::showDocumentFolder(const QString& folder)
{
    Edit3->setText(folder);
    filbox->applyFilePath(folder);
}

void ProjectsPage::showProgramFolder()
{
    const QString folder = m_host.programDir();
    // A program folder that could not be made is not reported at start; the options files
    // that cannot be written at close report it.
    if (!QFileInfo(folder).isDir()) {
        Edit3->setText(folder);
        return;
    }
    showDocumentFolder(folder);
}

QString ProjectsPage::chosenEntry(bool orFirst) const
{
    const QList<QListWidgetItem*> selected = strukturboks->selectedItems();
    if (!selected.isEmpty())
        return selected.first()->text();
    if (orFirst && strukturboks->count() > 0)
        return strukturboks->item(0)->text();
    return QString();
}

void ProjectsPage::strukturboksClick()
{
    if (strukturboks->count() == 0)
        return;
    const QString entry = chosenEntry(true);
    const QString programdir = m_host.programDir();
    if (const auto paths = registry::builtInPaths(programdir, entry)) {
        Edit1->setText(paths->structureFile);
        Edit2->setText(paths->dataFile);
        Edit3->setText(paths->documentFolder);
    } else {
        // Shown line by line: a short file leaves the fields before the missing line filled.
        const QStringList lines = textfile::readLines(registry::registryFilePath(programdir, entry));
        Edit1->setText(registry::registryLine(lines, 0));
        Edit2->setText(registry::registryLine(lines, 1));
        Edit3->setText(registry::registryLine(lines, 2));
    }
    filbox->applyFilePath(Edit3->text());
}

void ProjectsPage::strukturboksDblClick() { redigerKnapClick(); }

void ProjectsPage::redigerKnapClick()
{
    if (strukturboks->count() == 0) {
        m_host.ClearToNew(false);
        return;
    }
    const QString entry = chosenEntry(true);
    // All three paths are read before the tree is touched, so a broken registry file never
    // leaves the tree bound half to one structure and half to another.
    const registry::StructurePaths paths = registry::resolveEntry(m_host.programDir(), entry);
    if (!m_host.confirmUnsavedChanges())
        return;
    m_host.ClearToNew(false);
    m_host.openStructure(paths);
    m_host.showStructure(entry);
}

void ProjectsPage::opretKnapClick()
{
    m_host.ClearToNew(false);
    const QString name = navnEdit->text();
    const QString folderText = withoutLineBreaks(strukturmappeEdit->text());
    if (name.isEmpty()) {
        Dialogs::inform(this, QStringLiteral("Der mangler et strukturnavn!"));
        return;
    }
    if (folderText.isEmpty()) {
        Dialogs::inform(this, QStringLiteral("Der mangler en strukturmappe!"));
        return;
    }
    QStringList entries;
    for (int row = 0; row < strukturboks->count(); ++row)
        entries.append(strukturboks->item(row)->text());
    if (registry::doFileExists(name, entries)) {
        Dialogs::inform(this, QStringLiteral("Strukturen eksisterer allerede!"));
        return;
    }
    // A separator would put the registry file outside the program folder, where it could
    // replace another file (an options file, say) and never be listed.
    if (name.contains(pathSeparator())) {
        Dialogs::inform(this, QStringLiteral("Strukturnavnet må ikke indeholde \"%1\"!").arg(pathSeparator()));
        return;
    }
    const QString entry = name + QStringLiteral(".txt");
    const QString registryFile = registry::registryFilePath(m_host.programDir(), entry);

    QDir folders;
    for (const QString& level : registry::folderLevels(folderText)) {
        if (!QFileInfo::exists(level))
            folders.mkdir(level);
    }
    const registry::StructurePaths paths = registry::pathsForFolder(folderText);
    if (!QFileInfo::exists(paths.documentFolder))
        folders.mkdir(paths.documentFolder);

    // Registered first: a registry file that cannot be written leaves the tree on its old files.
    textfile::writeLines(registryFile, { paths.structureFile, paths.dataFile, paths.documentFolder });
    m_host.startStructure(paths);

    LoadStrukturBoks();
    m_host.showStructure(entry);
}

void ProjectsPage::sletKnapClick()
{
    if (strukturboks->count() == 0)
        return;
    const QList<QListWidgetItem*> selected = strukturboks->selectedItems();
    if (selected.isEmpty()) {
        Dialogs::inform(this, QStringLiteral("Der er ikke valgt nogen struktur."));
        return;
    }
    QListWidgetItem* item = selected.first();
    const QString entry = item->text();
    if (!Dialogs::askYesNo(this, QStringLiteral("Skal strukturen %1 slettes totalt?").arg(entry)))
        return;

    // The whole registry file is read before anything goes: a broken one removes nothing.
    const QString registryFile = registry::registryFilePath(m_host.programDir(), entry);
    const QStringList lines = textfile::readLines(registryFile);
    const QString structureFile = registry::registryLine(lines, 0);
    const QString dataFile = registry::registryLine(lines, 1);
    const QString documentFolder = registry::registryLine(lines, 2);

    // Nothing stays selected: the list would otherwise move the selection on to the next
    // entry, whose paths the fields do not show and which a second "Slet struktur" would offer.
    strukturboks->setCurrentItem(nullptr);
    delete strukturboks->takeItem(strukturboks->row(item));
    for (const QString& file : { structureFile, dataFile }) {
        if (QFileInfo(file).isFile())
            QFile::remove(file);
    }
    if (QFileInfo(documentFolder).isDir() && registry::mayEmptyFolder(documentFolder, m_host.programDir())) {
        SletFiler(documentFolder);
        QDir().rmdir(documentFolder);
    }
    QFile::remove(registryFile);
}

void ProjectsPage::SletFiler(const QString& folder) { registry::deleteFilesIn(folder); }

void ProjectsPage::SpeedButton2Click()
{
    if (const std::optional<QString> folder = m_host.chooseFolder())
        strukturmappeEdit->setText(*folder);
}

void ProjectsPage::ToolButton20Click() { shellExecute(ShellVerb::Open, Edit3->text()); }

void ProjectsPage::ToolButton21Click()
{
    const QString file = filbox->fileName();
    if (file.isEmpty()) {
        Dialogs::inform(this, QStringLiteral("Der er ikke valgt en fil!"));
        return;
    }
    shellExecute(ShellVerb::Edit, file);
}

} // namespace struktur

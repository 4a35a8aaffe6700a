// SPDX-License-Identifier: GPL-3.0-or-later
#include "TmappeForm.h"

#include "DriveComboBox.h"
#include "FileListBox.h"
#include "FolderListBox.h"
#include "FolderPaths.h"
#include "FolderPictures.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"
#include "ui/Dialogs.h"
#include "ui/GuardedConnection.h"
#include "ui/HintLine.h"
#include "ui/ImageList.h"

#include <QDir>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

using namespace struktur;

namespace {

const QColor moneyGreen(0xC0, 0xDC, 0xC0);
constexpr int leftPanelWidth = 281;

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1StringView(name));
    return widget;
}

QLabel* blueLabel(const char* name, const QString& caption, QWidget* parent)
{
    auto* label = named(new QLabel(caption, parent), name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

const QString folderCaptions[3]
    = { QStringLiteral("Skrivebord"), QStringLiteral("Dokumenter"), QStringLiteral("Program") };

/// The window font, made smaller where the font this machine draws is wider than Tahoma, so
/// that every folder caption fits its 65-pixel button. One font for all three, so the captions
/// match and sit on one line.
QFont folderCaptionFont()
{
    QFont font = windowFont();
    const auto widest = [](const QFont& candidate) {
        int width = 0;
        for (const QString& caption : folderCaptions)
            width = qMax(width, QFontMetrics(candidate).horizontalAdvance(caption));
        return width;
    };
    while (font.pointSizeF() > 6 && widest(font) > 59)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

QToolButton* folderButton(
    const char* name, const QIcon& picture, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = named(new QToolButton(parent), name);
    button->setIcon(picture);
    button->setIconSize(QSize(32, 32));
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(65, 52);
    button->setFont(folderCaptionFont());
    button->setAutoRaise(true);
    setHint(button, hint);
    return button;
}

QFrame* toolSeparator(const char* name, QWidget* parent)
{
    auto* separator = named(new QFrame(parent), name);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setFixedWidth(4);
    return separator;
}

QPushButton* plainButton(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = named(new QPushButton(caption, parent), name);
    // Enter belongs to the folder list and the name field, never to a button.
    button->setAutoDefault(false);
    setHint(button, hint);
    return button;
}

QString existingSpecialFolder(SpecialFolder which, const QString& failure)
{
    const QString path = specialFolderPath(which);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        throw Error(failure);
    return path;
}

} // namespace

TmappeForm::TmappeForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("mappeForm"));
    setWindowTitle(QStringLiteral("Strukturmappe"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(514, 404);
    QPalette background = palette();
    background.setColor(QPalette::Window, moneyGreen);
    setPalette(background);
    setAutoFillBackground(true);
    setFont(windowFont());

    createWidgets();
    createLayout();
    createConnections();
    FormCreate();
}

void TmappeForm::createWidgets()
{
    Label1 = blueLabel("Label1", QStringLiteral("Vælg grundmappe"), this);
    dirBox = named(new FolderListBox(this), "dirBox");
    driveBox = named(new DriveComboBox(this), "driveBox");

    // A plain row rather than a QToolBar: the panel is too narrow for a tool bar's handle and
    // overflow button, and all three buttons must stay in sight.
    ToolBar1 = named(new QFrame(this), "ToolBar1");
    ImageList1 = new ImageList(QStringLiteral("ImageList1"), QSize(32, 32),
        { folderPictures::desktop(), folderPictures::documents(), folderPictures::program() }, this);
    ToolButton2 = folderButton(
        "ToolButton2", ImageList1->icon(0), folderCaptions[0], QStringLiteral("Desktop mappe"), ToolBar1);
    ToolButton4 = folderButton(
        "ToolButton4", ImageList1->icon(1), folderCaptions[1], QStringLiteral("Dokument mappe"), ToolBar1);
    ToolButton6 = folderButton(
        "ToolButton6", ImageList1->icon(2), folderCaptions[2], QStringLiteral("Program mappe"), ToolBar1);
    auto* row = new QHBoxLayout(ToolBar1);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(toolSeparator("ToolButton1", ToolBar1));
    row->addWidget(ToolButton2);
    row->addWidget(toolSeparator("ToolButton3", ToolBar1));
    row->addWidget(ToolButton4);
    row->addWidget(toolSeparator("ToolButton5", ToolBar1));
    row->addWidget(ToolButton6);
    row->addWidget(toolSeparator("ToolButton7", ToolBar1));
    row->addStretch(1);

    Label5 = blueLabel("Label5", QStringLiteral("Strukturmappe"), this);
    dirMemo = named(new QPlainTextEdit(this), "dirMemo");
    dirMemo->setTabChangesFocus(true);
    Label4 = blueLabel("Label4", QStringLiteral("Mappenavn"), this);
    mappeEdit = named(new QLineEdit(this), "mappeEdit");
    setHint(mappeEdit, QStringLiteral("Indfør selve mappenavnet, husk eventuelt: ") + QDir::separator());
    Button1
        = plainButton("Button1", QStringLiteral("Indfør"), QStringLiteral("Luk og indfør strukturens mappenavn"), this);
    Button2 = plainButton("Button2", QStringLiteral("Annuller"), QStringLiteral("Luk uden at indføre mappenavn"), this);
    sletKnap = plainButton("sletKnap", QStringLiteral("Slet"), QStringLiteral("Slet valgte tomme mappe"), this);
    filBox = named(new FileListBox(this), "filBox");
}

void TmappeForm::createLayout()
{
    auto* left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(dirBox, 1);
    left->addWidget(driveBox);
    auto* leftPanel = new QWidget(this);
    leftPanel->setFixedWidth(leftPanelWidth);
    leftPanel->setLayout(left);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(sletKnap);

    auto* right = new QVBoxLayout;
    // The buttons keep clear of the window's edge and of the caption below them.
    right->setContentsMargins(0, 4, 0, 0);
    right->addWidget(ToolBar1);
    right->addSpacing(4);
    right->addWidget(Label5);
    right->addWidget(dirMemo);
    right->addWidget(Label4);
    right->addWidget(mappeEdit);
    right->addLayout(buttons);
    right->addWidget(filBox, 1);
    dirMemo->setFixedHeight(56);

    auto* frame = new QHBoxLayout(this);
    frame->setContentsMargins(0, 0, 3, 6);
    frame->setSpacing(0);
    frame->addWidget(leftPanel);
    frame->addLayout(right, 1);
}

void TmappeForm::createConnections()
{
    connectGuarded(dirBox, &FolderListBox::directoryChanged, this, &TmappeForm::dirBoxChange);
    connectGuarded(driveBox, &DriveComboBox::driveChosen, this, &TmappeForm::driveBoxChange);
    connectGuarded(mappeEdit, &QLineEdit::textChanged, this, &TmappeForm::mappeEditChange);
    connectGuarded(ToolButton2, &QToolButton::clicked, this, &TmappeForm::ToolButton2Click);
    connectGuarded(ToolButton4, &QToolButton::clicked, this, &TmappeForm::ToolButton4Click);
    connectGuarded(ToolButton6, &QToolButton::clicked, this, &TmappeForm::ToolButton6Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connectGuarded(sletKnap, &QPushButton::clicked, this, &TmappeForm::sletKnapClick);
}

std::optional<QString> TmappeForm::chooseFolder()
{
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return withoutLineBreaks(dirMemo->toPlainText());
}

void TmappeForm::FormCreate() { dirBox->setDirectory(QDir::rootPath()); }

void TmappeForm::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TmappeForm::FormShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    mappeEdit->clear();
    dirMemo->setPlainText(dirBox->directory());
}

void TmappeForm::showComposedPath()
{
    dirMemo->setPlainText(folders::composedPath(dirBox->directory(), mappeEdit->text()));
}

void TmappeForm::dirBoxChange()
{
    driveBox->followFolder(dirBox->directory());
    showComposedPath();
    filBox->applyFilePath(dirBox->directory());
}

void TmappeForm::driveBoxChange(const QString& folder)
{
    try {
        dirBox->setDirectory(folder);
    } catch (...) {
        // The list stays where it was, so the drive list goes back to the list's drive.
        driveBox->followFolder(dirBox->directory());
        throw;
    }
    showComposedPath();
}

void TmappeForm::mappeEditChange() { showComposedPath(); }

QString TmappeForm::GetMyDesktop() const
{
    return existingSpecialFolder(SpecialFolder::Desktop, QStringLiteral("Kunne ikke finde skrivebordsmappen."));
}

QString TmappeForm::GetMyDocuments() const
{
    return existingSpecialFolder(SpecialFolder::Documents, QStringLiteral("Kunne ikke finde dokumentmappen."));
}

QString TmappeForm::GetMyApp() const
{
    return existingSpecialFolder(
        SpecialFolder::LocalApplicationData, QStringLiteral("Kunne ikke finde programmappen."));
}

void TmappeForm::ToolButton2Click() { dirBox->setDirectory(GetMyDesktop()); }

void TmappeForm::ToolButton4Click() { dirBox->setDirectory(GetMyDocuments()); }

void TmappeForm::ToolButton6Click() { dirBox->setDirectory(GetMyApp()); }

void TmappeForm::sletKnapClick()
{
    const QString valgteDir = dirBox->directory();
    if (!Dialogs::askYesNo(this, QStringLiteral("Skal mappen %1 slettes?").arg(valgteDir)))
        return;
    // Leave the folder first: the working folder cannot be removed.
    dirBox->setDirectory(folders::parentFolder(valgteDir));
    dirBox->refresh();
    QDir().rmdir(valgteDir);
    dirBox->refresh();
    filBox->refresh();
}

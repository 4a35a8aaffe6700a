// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructurePage.h"

#include "ActionBinding.h"
#include "ElementFileNames.h"
#include "InsertMethods.h"
#include "SearchBar.h"
#include "SingleLineValidator.h"
#include "StructureExport.h"
#include "TreeCommands.h"
#include "editor/TeditForm.h"
#include "model/ElementIcons.h"
#include "model/TStruktur.h"
#include "ui/ActionUpdates.h"
#include "ui/Dialogs.h"
#include "ui/GuardedConnection.h"
#include "ui/HintLine.h"
#include "ui/WrappingToolBar.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

static void initElementsPageResources() { Q_INIT_RESOURCE(elements_page); }

namespace struktur {
namespace {

using namespace struktur::elements;

constexpr int leftPaneMinimumWidth = 292;
const auto headingStyle = QStringLiteral("color: #0000c0;");
const auto groupHeadingStyle = QStringLiteral("QGroupBox::title { color: #0000c0; }");

QChar carriageReturn() { return QChar(u'\r'); }

QIcon picture(const char* name)
{
    return QIcon(QStringLiteral(":/elements-page/") + QLatin1String(name) + QStringLiteral(".svg"));
}

/// The element fields' pane: at least 292 pixels wide, and never narrower than its captions
/// need in the fonts and look in use.
class LeftPane : public QWidget {
public:
    using QWidget::QWidget;
    QSize minimumSizeHint() const override
    {
        return QWidget::minimumSizeHint().expandedTo(QSize(leftPaneMinimumWidth, 0));
    }
};

QCheckBox* checkBox(const char* name, const QString& caption, const QString& hint, bool ticked, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    setHint(box, hint);
    box->setChecked(ticked);
    return box;
}

QPushButton* pushButton(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    setHint(button, hint);
    button->setAutoDefault(false);
    return button;
}

QLabel* wrappedText(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

QLabel* heading(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(headingStyle);
    return label;
}

/// A radio group: a titled box whose buttons carry ids 0.. in caption order, the first chosen.
QButtonGroup* radioGroup(QGroupBox* box, const QStringList& captions, int columns)
{
    auto* group = new QButtonGroup(box);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    const int rows = (int(captions.size()) + columns - 1) / columns;
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], box);
        button->setObjectName(box->objectName() + QString::number(i));
        group->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    group->button(0)->setChecked(true);
    return group;
}

QAction* action(const char* name, const QString& caption, const QString& hint, QObject* parent)
{
    auto* result = new QAction(caption, parent);
    result->setObjectName(QLatin1String(name));
    setHint(result, hint);
    return result;
}

QString deleteQuestion(bool isFirst, bool hasChildren, const QString& text)
{
    if (isFirst)
        return QStringLiteral("Skal hele strukturen slettes?");
    if (hasChildren)
        return QStringLiteral("Skal elementet ") + text + QStringLiteral(" med underelementer slettes?");
    return QStringLiteral("Skal elementet ") + text + QStringLiteral(" slettes?");
}

} // namespace

StructurePage::StructurePage(TStruktur* struktur, TeditForm* editor, QWidget* parent)
    : QWidget(parent)
    , m_struktur(struktur)
    , m_editor(editor)
{
    Q_ASSERT_X(struktur && editor, "StructurePage", "the page lays out the main window's tree and uses the editor");
    initElementsPageResources();
    setObjectName(QStringLiteral("strukturside"));
    createWidgets();
    createLayout();
    createActions();
    createConnections();
    updateActions();
}

void StructurePage::createWidgets()
{
    gemCheck = checkBox("gemCheck", QStringLiteral("Auto gem"),
        QStringLiteral("Gem automatisk strukturen ved Indsæt og Rediger"), true, this);
    sorterCheck = checkBox("sorterCheck", QStringLiteral("Sorter"),
        QStringLiteral("Sorter elementerne alfabetisk ved Indsæt og Rediger"), false, this);
    autoNavn = checkBox("autoNavn", QStringLiteral("Auto navn"), QString(), false, this);
    skrivKnap
        = pushButton("skrivKnap", QStringLiteral("Skriv tekst"), QStringLiteral("Åben eller luk teksteditor"), this);

    ikonBox = new QGroupBox(QStringLiteral("Element ikon"), this);
    ikonBox->setObjectName(QStringLiteral("ikonBox"));
    ikonBox->setStyleSheet(groupHeadingStyle);
    m_iconChoices = radioGroup(ikonBox, elementIconNames().mid(0, iconChoiceCount), 3);
    for (int i = 0; i < m_iconChoices->buttons().size(); ++i)
        m_iconChoices->button(i)->setIcon(elementIcon(i));

    Label6 = heading("Label6", QStringLiteral("Tekst"), this);
    tekstEdit = new QLineEdit(this);
    tekstEdit->setObjectName(QStringLiteral("tekstEdit"));
    Label6->setBuddy(tekstEdit);
    Label4 = heading("Label4", QStringLiteral("Elementets filnavn"), this);
    dataEdit = new QLineEdit(this);
    dataEdit->setObjectName(QStringLiteral("dataEdit"));
    Label4->setBuddy(dataEdit);
    // A line break in a text or file name would split the element's line in the structure or data file.
    tekstEdit->setValidator(new SingleLineValidator(tekstEdit));
    dataEdit->setValidator(new SingleLineValidator(dataEdit));

    Button4 = pushButton("Button4", QString(), QString(), this);
    Button5 = pushButton("Button5", QString(), QString(), this);
    Button3 = pushButton("Button3", QString(), QString(), this);
    checkKnap = pushButton("checkKnap", QStringLiteral("Inf"), QStringLiteral("Check om filnavnet eksisterer"), this);
    fnKnap = pushButton("fnKnap", QStringLiteral("Fn"), QStringLiteral("Indsæt konstrueret filnavn"), this);
    for (QPushButton* small : { checkKnap, fnKnap })
        small->setFixedWidth(small->fontMetrics().horizontalAdvance(QStringLiteral("Inf")) + 30);

    Label10 = wrappedText("Label10",
        QStringLiteral("Ved redigering og indførelse af nye elementer, så tænk over hvordan strukturen bruges!"), this);
    Label11 = wrappedText("Label11",
        QStringLiteral("Sortering, sletning og flytning af strukturelementer kan fortrydes med Fortryd, indtil "
                       "strukturen genindlæses eller en anden struktur indlæses."),
        this);
    Label12 = wrappedText("Label12",
        QStringLiteral(
            "Visse handlinger som for eksempel Slet-handling og Sorter-handling er ikke omfattet af Auto gem; "
            "de kan fortrydes med Fortryd, og alt der ikke er gemt kan annuleres ved Genindlæs."),
        this);
    InfoLabel = heading("InfoLabel", QStringLiteral("Strukturnavn: "), this);

    flytmodeBox = checkBox("flytmodeBox", QStringLiteral("Arranger elementer"),
        QStringLiteral("Afkryds boksen for at flytte rundt på elementerne, afkryds bagefter"), false, this);
    flytBox = new QGroupBox(QStringLiteral("Indsæt og flyt metode"), this);
    flytBox->setObjectName(QStringLiteral("flytBox"));
    flytBox->setStyleSheet(groupHeadingStyle);
    m_methodChoices = radioGroup(flytBox, insertMethodCaptions(), 1);
}

QWidget* StructurePage::createLeftPane()
{
    auto* pane = new LeftPane(m_splitter);
    pane->setObjectName(QStringLiteral("leftPane"));

    auto* checks = new QHBoxLayout;
    checks->addWidget(gemCheck);
    checks->addWidget(sorterCheck);
    checks->addWidget(autoNavn);
    checks->addStretch();
    checks->addWidget(skrivKnap);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* button : { Button4, Button5, Button3, checkKnap, fnKnap })
        buttons->addWidget(button);
    buttons->addStretch();

    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(6, 6, 6, 6);
    column->addLayout(checks);
    column->addWidget(ikonBox);
    column->addWidget(Label6);
    column->addWidget(tekstEdit);
    column->addWidget(Label4);
    column->addWidget(dataEdit);
    column->addLayout(buttons);
    column->addSpacing(8);
    column->addWidget(Label10);
    column->addWidget(Label11);
    column->addWidget(Label12);
    column->addStretch();
    column->addWidget(InfoLabel);
    return pane;
}

WrappingToolBar* StructurePage::createToolBar()
{
    // The bar continues on a second row rather than hide a command when the pane is narrow.
    auto* bar = new WrappingToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setIconSize(QSize(16, 16));
    auto toolButton = [bar](const char* name) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QLatin1String(name));
        button->setAutoRaise(true);
        return button;
    };
    ToolButton1 = toolButton("ToolButton1");
    ToolButton1->setIcon(picture("expand"));
    setHint(ToolButton1, QStringLiteral("Udfold strukturen"));
    ToolButton4 = toolButton("ToolButton4");
    ToolButton4->setIcon(picture("collapse"));
    setHint(ToolButton4, QStringLiteral("Sammenfold strukturen"));
    ToolButton5 = toolButton("ToolButton5");
    ToolButton5->setIcon(picture("sort"));
    setHint(ToolButton5, QStringLiteral("Sorter strukturen alfabetisk"));
    ToolButton7 = toolButton("ToolButton7");
    ToolButton7->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SpeedButton1 = toolButton("SpeedButton1");
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SpeedButton3 = toolButton("SpeedButton3");
    SpeedButton3->setToolButtonStyle(Qt::ToolButtonTextOnly);
    soegKnap = toolButton("soegKnap");
    soegKnap->setToolButtonStyle(Qt::ToolButtonIconOnly);

    bar->addSeparator();
    bar->addWidget(ToolButton1);
    bar->addWidget(ToolButton4);
    bar->addSeparator();
    bar->addWidget(ToolButton5);
    bar->addSeparator();
    bar->addWidget(ToolButton7);
    bar->addWidget(SpeedButton1);
    bar->addWidget(SpeedButton3);
    bar->addSeparator();
    bar->addWidget(soegKnap);
    // The structure's name is what the info label shows after its fixed prefix.
    m_export = new StructureExport(
        m_struktur, [this] { return infoLabel().mid(QStringLiteral("Strukturnavn: ").size()); }, this);
    bar->addWidget(m_export->button());
    return bar;
}

QWidget* StructurePage::createRightPane()
{
    auto* pane = new QWidget(m_splitter);
    pane->setObjectName(QStringLiteral("rightPane"));
    ToolBar1 = createToolBar();
    // The main window holds the tree in its page until the page lays it out here.
    if (QWidget* holder = m_struktur->parentWidget(); holder && holder->layout())
        holder->layout()->removeWidget(m_struktur);

    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    column->addWidget(ToolBar1);
    column->addWidget(m_struktur, 1);
    m_searchBar = new SearchBar(m_struktur, pane);
    column->addWidget(m_searchBar, 1);
    column->addWidget(flytmodeBox);
    column->addWidget(flytBox);
    return pane;
}

void StructurePage::createLayout()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(createLeftPane());
    m_splitter->addWidget(createRightPane());
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
}

void StructurePage::createActions()
{
    Aclear = action("Aclear", QStringLiteral("Klargør"), QStringLiteral("Klargør til nyt element"), this);
    Ainsert = action("Ainsert", QStringLiteral("Indsæt"), QStringLiteral("Indsæt som nyt element"), this);
    Arediger = action("Arediger", QStringLiteral("Rediger"), QStringLiteral("Rediger valgte element"), this);
    Aslet = action("Aslet", QStringLiteral("Slet"), QStringLiteral("Slet valgte element"), this);
    Aslet->setIcon(picture("scissors"));
    Agem = action("Agem", QStringLiteral("Gem"), QStringLiteral("Gem strukturen"), this);
    Agem->setIcon(picture("floppy"));
    Areload = action("Areload", QStringLiteral("Genindlæs"),
        QStringLiteral("Genindlæs struktur ved fortrydelse af ændring der ikke er gemt"), this);
    Asoeg = action(
        "Asoeg", QStringLiteral("Søg"), QStringLiteral("Søg efter tekst i elementerne og deres dokumenter"), this);
    Asoeg->setIcon(picture("search"));
    Asoeg->setShortcut(QKeySequence::Find);
    Asoeg->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addActions({ Aclear, Ainsert, Arediger, Aslet, Agem, Areload, Asoeg });

    bindToAction(Button4, Aclear);
    bindToAction(Button5, Ainsert);
    bindToAction(Button3, Arediger);
    ToolButton7->setDefaultAction(Aslet);
    SpeedButton1->setDefaultAction(Agem);
    SpeedButton3->setDefaultAction(Areload);
    soegKnap->setDefaultAction(Asoeg);

    Afortryd = action(
        "Afortryd", QStringLiteral("Fortryd"), QStringLiteral("Fortryd den sidste ændring af strukturen"), this);
    Afortryd->setIcon(picture("undo"));
    Afortryd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Agentag = action("Agentag", QStringLiteral("Gentag"), QStringLiteral("Gentag den ændring der blev fortrudt"), this);
    Agentag->setIcon(picture("redo"));
    Agentag->setShortcuts({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    // The keys belong to the tree and its tool bar; the fields and the editor keep their own undo.
    // On the tool bar directly after "Genindlæs", before what follows its button.
    QAction* afterReload = nullptr;
    const QList<QAction*> items = ToolBar1->actions();
    for (qsizetype i = 0; i + 1 < items.size(); ++i) {
        if (ToolBar1->widgetForAction(items[i]) == SpeedButton3)
            afterReload = items[i + 1];
    }
    for (QAction* history : { Afortryd, Agentag }) {
        history->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ToolBar1->insertAction(afterReload, history);
        m_struktur->addAction(history);
    }
    ToolBar1->widgetForAction(Afortryd)->setObjectName(QStringLiteral("FortrydKnap"));
    ToolBar1->widgetForAction(Agentag)->setObjectName(QStringLiteral("GentagKnap"));
    m_treeCommands = new TreeCommands(m_struktur, this);
}

void StructurePage::createConnections()
{
    connectGuarded(Aclear, &QAction::triggered, this, &StructurePage::AclearExecute);
    connectGuarded(Ainsert, &QAction::triggered, this, &StructurePage::AinsertExecute);
    connectGuarded(Arediger, &QAction::triggered, this, &StructurePage::AredigerExecute);
    connectGuarded(Aslet, &QAction::triggered, this, &StructurePage::AsletExecute);
    connectGuarded(Agem, &QAction::triggered, this, &StructurePage::AgemExecute);
    connectGuarded(Areload, &QAction::triggered, this, &StructurePage::AreloadExecute);
    connectGuarded(Asoeg, &QAction::triggered, this, &StructurePage::AsoegExecute);
    connectGuarded(m_searchBar, &SearchBar::resultChosen, this, [this] {
        StrukturClick();
        m_searchBar->selectHitIn(m_editor->infoTekst);
    });
    connectGuarded(Afortryd, &QAction::triggered, this, &StructurePage::AfortrydExecute);
    connectGuarded(Agentag, &QAction::triggered, this, &StructurePage::AgentagExecute);
    connectGuarded(&ActionUpdates::instance(), &ActionUpdates::updateRequested, this, &StructurePage::updateActions);

    connectGuarded(ToolButton1, &QToolButton::clicked, this, &StructurePage::ToolButton1Click);
    connectGuarded(ToolButton4, &QToolButton::clicked, this, &StructurePage::ToolButton4Click);
    connectGuarded(ToolButton5, &QToolButton::clicked, this, &StructurePage::ToolButton5Click);
    connectGuarded(skrivKnap, &QPushButton::clicked, this, &StructurePage::skrivKnapClick);
    connectGuarded(fnKnap, &QPushButton::clicked, this, &StructurePage::fnKnapClick);
    connectGuarded(checkKnap, &QPushButton::clicked, this, &StructurePage::checkKnapClick);
    connectGuarded(tekstEdit, &QLineEdit::returnPressed, this, &StructurePage::tekstEditKeyPress);
    connectGuarded(dataEdit, &QLineEdit::returnPressed, this, &StructurePage::tekstEditKeyPress);
    connectGuarded(m_methodChoices, &QButtonGroup::idClicked, this, &StructurePage::flytBoxClick);

    connectGuarded(m_struktur, &TStruktur::treeClicked, this, &StructurePage::StrukturClick);
    connectGuarded(m_struktur, &TStruktur::mousePressed, this, &StructurePage::StrukturMouseDown);
    connectGuarded(m_struktur, &TStruktur::mouseReleased, this, &StructurePage::StrukturMouseUp);
}

void StructurePage::setInfoLabel(const QString& caption) { InfoLabel->setText(caption); }

QString StructurePage::infoLabel() const { return InfoLabel->text(); }

int StructurePage::iconChoice() const { return m_iconChoices->checkedId(); }

int StructurePage::methodChoice() const { return m_methodChoices->checkedId(); }

bool StructurePage::isArranging() const { return flytmodeBox->isChecked(); }

QString StructurePage::documentPathFor(const QString& fileName) const
{
    return documentPath(m_struktur->Infomappe(), fileName);
}

QString StructurePage::currentDocumentPath() const
{
    if (dataEdit->text().isEmpty() || m_struktur->Infomappe().isEmpty())
        return {};
    return documentPathFor(dataEdit->text());
}

void StructurePage::ClearToNew(bool Efocus)
{
    clearFields(Efocus);
    m_editor->clearDocument();
}

void StructurePage::clearFields(bool Efocus)
{
    tekstEdit->clear();
    dataEdit->clear();
    if (Efocus)
        tekstEdit->setFocus();
}

void StructurePage::skrivKnapClick()
{
    if (m_editor->isVisible()) {
        m_editor->hide();
        return;
    }
    m_editor->show();
    m_editor->raise();
}

// Handlers

void StructurePage::StrukturClick()
{
    ClearToNew(false);
    // Arranging elements should not fill the fields and the editor at every press.
    if (isArranging() || !m_struktur->hasSelection())
        return;
    const QString fileName = m_struktur->SelectedData();
    tekstEdit->setText(m_struktur->selectedText());
    dataEdit->setText(fileName);
    m_iconChoices->button(iconChoiceFor(m_struktur->selectedIcon()))->setChecked(true);
    // An element without a file name has no document, whatever lies at the bare ".rtf" path.
    if (fileName.isEmpty())
        return;
    const QString path = documentPathFor(fileName);
    if (QFileInfo(path).isFile())
        m_editor->loadDocument(path);
}

// Every press and release reaches the tree, whatever the button and whether or not arranging is
// ticked: arranging only keeps clicks from filling the fields.
void StructurePage::StrukturMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    m_struktur->MusDown(X, Y);
}

void StructurePage::StrukturMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    m_struktur->MusUp(X, Y, methodChoice() == topLevelChoice);
}

void StructurePage::flytBoxClick(int choice)
{
    if (const auto mode = attachModeForChoice(choice))
        m_struktur->setFlytmode(*mode);
}

void StructurePage::AclearExecute() { ClearToNew(true); }

void StructurePage::AinsertExecute()
{
    const QString fileName = dataEdit->text();
    if (fileName.isEmpty()) {
        Dialogs::informWithIcon(this, QStringLiteral("Der mangler et filnavn!"));
        return;
    }
    const QString path = documentPathFor(fileName);
    if (pathExists(path)) {
        Dialogs::informWithIcon(this, fileNameReport(fileName, true));
        return;
    }
    m_struktur->NyNode(tekstEdit->text(), fileName, iconChoice(), sorterCheck->isChecked(), gemCheck->isChecked());
    // A failed write leaves the fields as they are, so the document is not lost with them.
    m_editor->saveDocument(path);
    ClearToNew(true);
}

void StructurePage::AredigerExecute()
{
    const QString fileName = dataEdit->text();
    if (fileName != m_struktur->SelectedData()
        && !Dialogs::askYesNo(this,
            QStringLiteral("Filnavnene er forskellige.") + carriageReturn()
                + QStringLiteral("Skal valgte element alligevel overskrives?")))
        return;
    m_struktur->RedigerNode(tekstEdit->text(), fileName, iconChoice(), sorterCheck->isChecked(), gemCheck->isChecked());
    if (!fileName.isEmpty())
        m_editor->saveDocument(documentPathFor(fileName));
    ClearToNew(true);
}

void StructurePage::AsletExecute()
{
    if (!m_struktur->hasSelection())
        return;
    const QString question
        = deleteQuestion(m_struktur->selectedIsFirst(), m_struktur->selectedHasChildren(), m_struktur->selectedText());
    if (!Dialogs::askYesNo(this, question))
        return;
    m_struktur->SletNode();
    ClearToNew(true);
}

void StructurePage::AgemExecute() { m_struktur->GemStruktur(); }

void StructurePage::AreloadExecute()
{
    m_struktur->HentStruktur();
    ClearToNew(true);
}

void StructurePage::AfortrydExecute()
{
    if (m_struktur->canUndo())
        m_struktur->undo();
}

void StructurePage::AgentagExecute()
{
    if (m_struktur->canRedo())
        m_struktur->redo();
}

void StructurePage::ToolButton1Click()
{
    if (!m_struktur->isEmpty())
        m_struktur->FullExpand();
}

void StructurePage::ToolButton4Click()
{
    if (!m_struktur->isEmpty())
        m_struktur->FullCollapse();
}

void StructurePage::ToolButton5Click()
{
    if (m_struktur->isEmpty())
        return;
    m_struktur->AlphaSort();
    m_struktur->setModified(true);
}

void StructurePage::tekstEditKeyPress()
{
    if (autoNavn->isChecked())
        fnKnapClick();
    AinsertExecute();
}

void StructurePage::fnKnapClick()
{
    dataEdit->setText(constructedFileName(m_struktur->elementCount(), m_struktur->Infomappe()));
}

void StructurePage::checkKnapClick()
{
    const QString fileName = dataEdit->text();
    if (fileName.isEmpty()) {
        Dialogs::inform(this, QStringLiteral("Der er ikke noget aktuelt filnavn!"));
        return;
    }
    const QString nameWithExtension = fileName + QStringLiteral(".rtf");
    Dialogs::inform(this, fileNameReport(nameWithExtension, pathExists(m_struktur->Infomappe() + nameWithExtension)));
}

void StructurePage::AsoegExecute() { m_searchBar->open(); }

// Action rules: a field counts as empty only when it has no characters at all.

void StructurePage::updateActions()
{
    AclearUpdate();
    AinsertUpdate();
    AredigerUpdate();
    AsletUpdate();
    AgemUpdate();
    AreloadUpdate();
    AfortrydUpdate();
    AgentagUpdate();
    m_treeCommands->updateActions();
}

void StructurePage::AclearUpdate() { Aclear->setEnabled(!tekstEdit->text().isEmpty() || !dataEdit->text().isEmpty()); }

void StructurePage::AinsertUpdate() { Ainsert->setEnabled(!tekstEdit->text().isEmpty()); }

void StructurePage::AredigerUpdate()
{
    Arediger->setEnabled(m_struktur->hasSelection() && !tekstEdit->text().isEmpty());
}

void StructurePage::AsletUpdate() { Aslet->setEnabled(m_struktur->hasSelection() && !tekstEdit->text().isEmpty()); }

void StructurePage::AgemUpdate() { Agem->setEnabled(m_struktur->Modified()); }

void StructurePage::AreloadUpdate() { Areload->setEnabled(m_struktur->Modified()); }

void StructurePage::AfortrydUpdate() { Afortryd->setEnabled(m_struktur->canUndo()); }

void StructurePage::AgentagUpdate() { Agentag->setEnabled(m_struktur->canRedo()); }

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TreeCommands.h"

#include "SubtreeClipboard.h"
#include "model/ElementModel.h"
#include "model/StructureDocument.h"
#include "model/TStruktur.h"
#include "ui/CreationGuard.h"
#include "ui/GuardedConnection.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

namespace struktur::elements {

namespace {

QAction* treeAction(
    const char* name, const QString& caption, const QString& hint, const QKeySequence& key, TStruktur* tree)
{
    auto* action = new QAction(caption, tree);
    action->setObjectName(QLatin1String(name));
    setHint(action, hint);
    action->setShortcut(key);
    // Only while the tree itself has the focus: an in-place edit and the fields keep their keys.
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setShortcutVisibleInContextMenu(true);
    tree->addAction(action);
    return action;
}

bool isArrow(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

TreeCommands::TreeCommands(TStruktur* tree, QObject* parent)
    : QObject(parent)
    , m_tree(tree)
    , m_clipboard(new SubtreeClipboard(tree, this))
{
    createActions();
    createMenu();
    m_tree->installEventFilter(this);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &TreeCommands::showContextMenu);
    // The clipboard changes without an input event here when another program copies.
    connect(m_clipboard, &SubtreeClipboard::changed, this, &TreeCommands::updateActions);
    updateActions();
}

void TreeCommands::createActions()
{
    Aflytop = treeAction("Aflytop", QStringLiteral("Flyt op"),
        QStringLiteral("Flyt valgte element en plads op på linie"), QKeySequence(Qt::ALT | Qt::Key_Up), m_tree);
    Aflytned = treeAction("Aflytned", QStringLiteral("Flyt ned"),
        QStringLiteral("Flyt valgte element en plads ned på linie"), QKeySequence(Qt::ALT | Qt::Key_Down), m_tree);
    Arykind = treeAction("Arykind", QStringLiteral("Ryk ind"),
        QStringLiteral("Gør valgte element til sidste underpunkt af elementet over det"),
        QKeySequence(Qt::ALT | Qt::Key_Right), m_tree);
    Arykud = treeAction("Arykud", QStringLiteral("Ryk ud"),
        QStringLiteral("Flyt valgte element ud på linie efter det element det er underpunkt af"),
        QKeySequence(Qt::ALT | Qt::Key_Left), m_tree);
    Aklip = treeAction("Aklip", QStringLiteral("Klip"),
        QStringLiteral("Klip valgte element med underelementer, så det flyttes ved Sæt ind"),
        QKeySequence(Qt::CTRL | Qt::Key_X), m_tree);
    Akopier = treeAction("Akopier", QStringLiteral("Kopiér"),
        QStringLiteral("Kopiér valgte element med underelementer og deres dokumenter"),
        QKeySequence(Qt::CTRL | Qt::Key_C), m_tree);
    Asaetind = treeAction("Asaetind", QStringLiteral("Sæt ind"),
        QStringLiteral("Sæt det klippede eller kopierede ind efter indsæt og flyt metoden"),
        QKeySequence(Qt::CTRL | Qt::Key_V), m_tree);
    Aannullerklip = treeAction("Aannullerklip", QStringLiteral("Annuller klip"),
        QStringLiteral("Annuller klip, så elementet bliver hvor det er"), QKeySequence(Qt::Key_Escape), m_tree);
    Audfold = treeAction("Audfold", QStringLiteral("Udfold"),
        QStringLiteral("Udfold valgte element med underelementer"), QKeySequence(Qt::Key_Asterisk), m_tree);
    Asammenfold = treeAction("Asammenfold", QStringLiteral("Sammenfold"),
        QStringLiteral("Sammenfold valgte element med underelementer"), QKeySequence(Qt::Key_Minus), m_tree);

    connectGuarded(Aflytop, &QAction::triggered, this, &TreeCommands::AflytopExecute);
    connectGuarded(Aflytned, &QAction::triggered, this, &TreeCommands::AflytnedExecute);
    connectGuarded(Arykind, &QAction::triggered, this, &TreeCommands::ArykindExecute);
    connectGuarded(Arykud, &QAction::triggered, this, &TreeCommands::ArykudExecute);
    connectGuarded(Aklip, &QAction::triggered, this, &TreeCommands::AklipExecute);
    connectGuarded(Akopier, &QAction::triggered, this, &TreeCommands::AkopierExecute);
    connectGuarded(Asaetind, &QAction::triggered, this, &TreeCommands::AsaetindExecute);
    connectGuarded(Aannullerklip, &QAction::triggered, this, &TreeCommands::AannullerklipExecute);
    connectGuarded(Audfold, &QAction::triggered, this, &TreeCommands::AudfoldExecute);
    connectGuarded(Asammenfold, &QAction::triggered, this, &TreeCommands::AsammenfoldExecute);
}

void TreeCommands::createMenu()
{
    m_menu = new QMenu(m_tree);
    m_menu->setObjectName(QStringLiteral("strukturMenu"));
    m_menu->addActions({ Aflytop, Aflytned, Arykind, Arykud });
    m_menu->addSeparator();
    m_menu->addActions({ Aklip, Akopier, Asaetind, Aannullerklip });
    m_menu->addSeparator();
    m_menu->addActions({ Audfold, Asammenfold });
}

void TreeCommands::showContextMenu(const QPoint& position)
{
    // The right press picked the element under the pointer up for arranging; the menu takes
    // the release, so the tree would never put it down.
    m_tree->dropPickedUp();
    updateActions();
    m_menu->popup(m_tree->viewport()->mapToGlobal(position));
}

bool TreeCommands::eventFilter(QObject* watched, QEvent* event)
{
    // A command's key that reaches the tree found the command disabled (at the first place,
    // without a selection): it must not fall through to the tree's own keys, which would move
    // the selection or copy a caption.
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool altArrow = key->modifiers() == Qt::AltModifier && isArrow(key->key());
        if (altArrow || key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy)
            || key->matches(QKeySequence::Paste))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void TreeCommands::move(bool (StructureDocument::*command)(Element*))
{
    Element* selected = m_tree->selectedElement();
    if (!selected)
        return;
    Element* formerParent = selected->parent();
    if ((m_tree->document()->*command)(selected))
        m_tree->showMoved(selected, formerParent);
}

void TreeCommands::AflytopExecute() { move(&StructureDocument::moveUp); }

void TreeCommands::AflytnedExecute() { move(&StructureDocument::moveDown); }

void TreeCommands::ArykindExecute() { move(&StructureDocument::indent); }

void TreeCommands::ArykudExecute() { move(&StructureDocument::outdent); }

// Reading and writing documents may fail; the error box reports it inside the handler, not
// through the signal machinery.
void TreeCommands::AklipExecute()
{
    reportErrors([this] { m_clipboard->cut(); });
}

void TreeCommands::AkopierExecute()
{
    reportErrors([this] { m_clipboard->copy(); });
}

void TreeCommands::AsaetindExecute()
{
    reportErrors([this] { m_clipboard->paste(); });
}

void TreeCommands::AannullerklipExecute() { m_clipboard->cancelCut(); }

void TreeCommands::AudfoldExecute()
{
    if (Element* selected = m_tree->selectedElement())
        m_tree->expandBelow(selected);
}

void TreeCommands::AsammenfoldExecute()
{
    if (Element* selected = m_tree->selectedElement())
        m_tree->collapseBelow(selected);
}

void TreeCommands::updateActions()
{
    const Element* selected = m_tree->selectedElement();
    const bool isTop = selected && selected->parent() == m_tree->elementModel()->tree().root();
    Aflytop->setEnabled(selected && selected->row() > 0);
    Aflytned->setEnabled(selected && selected->row() + 1 < selected->parent()->childCount());
    Arykind->setEnabled(selected && selected->row() > 0);
    Arykud->setEnabled(selected && !isTop);
    Aklip->setEnabled(selected);
    Akopier->setEnabled(selected);
    Asaetind->setEnabled(m_clipboard->canPaste());
    Aannullerklip->setEnabled(m_clipboard->hasCut());
    Audfold->setEnabled(selected && selected->hasChildren());
    Asammenfold->setEnabled(selected && selected->hasChildren());
}

} // namespace struktur::elements

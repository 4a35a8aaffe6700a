// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPoint;
class TStruktur;

namespace struktur {
class Element;
class StructureDocument;
} // namespace struktur

namespace struktur::elements {

class SubtreeClipboard;

/// The tree's keyboard and context-menu commands: move the selected element up, down, in and
/// out (Alt+arrows), cut, copy and paste it with its subtree (Ctrl+X, Ctrl+C, Ctrl+V, Escape
/// cancels a cut), and expand or collapse its subtree. The keys act only while the tree itself
/// has the focus; the context menu (right button) acts on the selected element and does not
/// change the selection. Every move and paste is one step of the tree's history and is never
/// saved on its own.
class TreeCommands : public QObject {
    Q_OBJECT

public:
    explicit TreeCommands(TStruktur* tree, QObject* parent = nullptr);

    QMenu* contextMenu() const { return m_menu; }
    /// Opens the context menu at a point of the tree's viewport.
    void showContextMenu(const QPoint& position);

    /// Re-evaluates the commands' rules (with the page's own, after every handled input event).
    void updateActions();

    void AflytopExecute();
    void AflytnedExecute();
    void ArykindExecute();
    void ArykudExecute();
    void AklipExecute();
    void AkopierExecute();
    void AsaetindExecute();
    void AannullerklipExecute();
    void AudfoldExecute();
    void AsammenfoldExecute();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenu();
    void move(bool (StructureDocument::*command)(Element*));

    TStruktur* m_tree;
    SubtreeClipboard* m_clipboard;
    QMenu* m_menu = nullptr;

    QAction* Aflytop = nullptr;
    QAction* Aflytned = nullptr;
    QAction* Arykind = nullptr;
    QAction* Arykud = nullptr;
    QAction* Aklip = nullptr;
    QAction* Akopier = nullptr;
    QAction* Asaetind = nullptr;
    QAction* Aannullerklip = nullptr;
    QAction* Audfold = nullptr;
    QAction* Asammenfold = nullptr;
};

} // namespace struktur::elements

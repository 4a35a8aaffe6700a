// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace struktur {

/// The fourteen clipboard, format and hand-over actions, with their captions, hints, shortcuts,
/// images and their enabling and checked rules. The clipboard actions work on the target
/// control of the moment (a rich-text control or a one-line edit field); the format actions
/// only on a rich-text control, and stay disabled and unpressed elsewhere. The rules run on
/// every idle-time update.
class EditActionList : public QObject {
    Q_OBJECT

public:
    /// The control the actions work on now, or nullptr when there is none.
    using TargetSource = std::function<QWidget*()>;

    /// `owner` carries the actions, so their shortcuts work while its window is active.
    EditActionList(QWidget* owner, TargetSource target);

    /// The fourteen actions in table order.
    QList<QAction*> actions() const;

    /// AgoEdit's execute and update events; until they are set it stays disabled.
    void setAgoEdit(std::function<void()> execute, std::function<bool()> update);

    /// Runs every enabling and checked rule once.
    void updateActions();

    /// A pop-up menu with the items undo, separator, cut, copy, paste, separator, select all,
    /// delete; each item shows its action's caption, image, key and hint and triggers it.
    /// `itemNames` names the eight items (separators included).
    QMenu* createPopupMenu(QWidget* parent, const QString& menuName, const QStringList& itemNames);

    QAction* EditCut1;
    QAction* EditCopy1;
    QAction* EditPaste1;
    QAction* EditSelectAll1;
    QAction* EditUndo1;
    QAction* EditDelete1;
    QAction* RichEditBold1;
    QAction* RichEditItalic1;
    QAction* RichEditUnderline1;
    QAction* RichEditBullets1;
    QAction* RichEditAlignLeft1;
    QAction* RichEditAlignRight1;
    QAction* RichEditAlignCenter1;
    QAction* AgoEdit;

private:
    QAction* createAction(const char* name, const QString& caption, const QString& hint, int key, int image);
    void createConnections();

    void updateSelectionActions();
    void updatePaste();
    void updateSelectAll();
    void updateUndo();
    void updateCharacterActions();
    void updateParagraphActions();
    void updateAgoEdit();

    void cut();
    void copy();
    void paste();
    void selectAll();
    void undo();
    void deleteSelection();
    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    void toggleBullets();
    void align(Qt::Alignment alignment);

    QWidget* m_owner;
    TargetSource m_target;
    std::function<void()> m_agoEditExecute;
    std::function<bool()> m_agoEditUpdate;
};

} // namespace struktur

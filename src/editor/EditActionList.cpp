// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditActionList.h"

#include "editor/ImageListEdit.h"
#include "editor/SelectionFormat.h"
#include "ui/ActionUpdates.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace struktur {

namespace {

QTextEdit* richText(QWidget* target)
{
    auto* edit = qobject_cast<QTextEdit*>(target);
    return edit && edit->acceptRichText() && !edit->isReadOnly() ? edit : nullptr;
}

bool hasSelection(QWidget* target)
{
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        return edit->textCursor().hasSelection();
    if (auto* field = qobject_cast<QLineEdit*>(target))
        return field->hasSelectedText();
    return false;
}

bool isWritable(QWidget* target)
{
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        return !edit->isReadOnly();
    if (auto* field = qobject_cast<QLineEdit*>(target))
        return !field->isReadOnly();
    return false;
}

bool clipboardHoldsText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

Qt::Alignment horizontalAlignment(const QTextEdit& edit)
{
    return edit.alignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
}

} // namespace

EditActionList::EditActionList(QWidget* owner, TargetSource target)
    : QObject(owner)
    , m_owner(owner)
    , m_target(std::move(target))
{
    setObjectName(QStringLiteral("ActionListEdit"));
    const auto ctrl = [](int key) { return int(Qt::CTRL) | key; };
    EditCut1 = createAction("EditCut1", QStringLiteral("Klip"),
        QStringLiteral("Klipper valgte tekst ud og anbringer det på klipbordet"), ctrl(Qt::Key_X), 0);
    EditCopy1 = createAction("EditCopy1", QStringLiteral("Kopier"),
        QStringLiteral("Kopierer valgte og anbringer det på klipbordet"), ctrl(Qt::Key_C), 1);
    EditPaste1 = createAction(
        "EditPaste1", QStringLiteral("Indsæt"), QStringLiteral("Indsæt fra klipbord"), ctrl(Qt::Key_V), 2);
    EditSelectAll1 = createAction(
        "EditSelectAll1", QStringLiteral("Vælg alt"), QStringLiteral("Vælger hele dokumentet"), ctrl(Qt::Key_A), -1);
    EditUndo1 = createAction(
        "EditUndo1", QStringLiteral("Annuller"), QStringLiteral("Annuller sidste handling"), ctrl(Qt::Key_Z), 3);
    EditDelete1 = createAction(
        "EditDelete1", QStringLiteral("Slet"), QStringLiteral("Slet valgte del fra dokumentet"), Qt::Key_Delete, 4);
    RichEditBold1
        = createAction("RichEditBold1", QStringLiteral("Fed"), QStringLiteral("Fed skrift"), ctrl(Qt::Key_B), 5);
    RichEditItalic1
        = createAction("RichEditItalic1", QStringLiteral("Kursiv"), QStringLiteral("Kursiv tekst"), ctrl(Qt::Key_I), 6);
    RichEditUnderline1 = createAction(
        "RichEditUnderline1", QStringLiteral("Understreg"), QStringLiteral("Understreg tekst"), ctrl(Qt::Key_U), 7);
    RichEditBullets1 = createAction(
        "RichEditBullets1", QStringLiteral("Prik"), QStringLiteral("Indsæt prik før aktuelle linie"), 0, 9);
    RichEditAlignLeft1 = createAction(
        "RichEditAlignLeft1", QStringLiteral("Venstrestil"), QStringLiteral("Venstrestiller teksten"), 0, 10);
    RichEditAlignRight1 = createAction(
        "RichEditAlignRight1", QStringLiteral("Højrestil"), QStringLiteral("Højrestiller teksten"), 0, 11);
    RichEditAlignCenter1
        = createAction("RichEditAlignCenter1", QStringLiteral("Centrer"), QStringLiteral("Centrerer teksten"), 0, 12);
    AgoEdit = createAction(
        "AgoEdit", QStringLiteral("Rediger i andet program"), QStringLiteral("Rediger i andet program"), 0, 13);
    for (QAction* action : { RichEditBold1, RichEditItalic1, RichEditUnderline1, RichEditBullets1, RichEditAlignLeft1,
             RichEditAlignRight1, RichEditAlignCenter1 })
        action->setCheckable(true);
    createConnections();
    updateActions();
}

QAction* EditActionList::createAction(const char* name, const QString& caption, const QString& hint, int key, int image)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    setHint(action, hint);
    if (key != 0)
        action->setShortcut(QKeySequence(key));
    action->setShortcutContext(Qt::WindowShortcut);
    if (image >= 0)
        action->setIcon(ImageListEdit::image(image));
    m_owner->addAction(action);
    return action;
}

void EditActionList::createConnections()
{
    const auto run = [this](QAction* action, void (EditActionList::*execute)()) {
        connect(action, &QAction::triggered, this, [this, execute] {
            (this->*execute)();
            updateActions();
        });
    };
    run(EditCut1, &EditActionList::cut);
    run(EditCopy1, &EditActionList::copy);
    run(EditPaste1, &EditActionList::paste);
    run(EditSelectAll1, &EditActionList::selectAll);
    run(EditUndo1, &EditActionList::undo);
    run(EditDelete1, &EditActionList::deleteSelection);
    run(RichEditBold1, &EditActionList::toggleBold);
    run(RichEditItalic1, &EditActionList::toggleItalic);
    run(RichEditUnderline1, &EditActionList::toggleUnderline);
    run(RichEditBullets1, &EditActionList::toggleBullets);
    connect(RichEditAlignLeft1, &QAction::triggered, this, [this] { align(Qt::AlignLeft); });
    connect(RichEditAlignRight1, &QAction::triggered, this, [this] { align(Qt::AlignRight); });
    connect(RichEditAlignCenter1, &QAction::triggered, this, [this] { align(Qt::AlignHCenter); });
    connect(AgoEdit, &QAction::triggered, this, [this] {
        if (m_agoEditExecute)
            m_agoEditExecute();
    });
    connect(&ActionUpdates::instance(), &ActionUpdates::updateRequested, this, &EditActionList::updateActions);
}

QList<QAction*> EditActionList::actions() const
{
    return { EditCut1, EditCopy1, EditPaste1, EditSelectAll1, EditUndo1, EditDelete1, RichEditBold1, RichEditItalic1,
        RichEditUnderline1, RichEditBullets1, RichEditAlignLeft1, RichEditAlignRight1, RichEditAlignCenter1, AgoEdit };
}

void EditActionList::setAgoEdit(std::function<void()> execute, std::function<bool()> update)
{
    m_agoEditExecute = std::move(execute);
    m_agoEditUpdate = std::move(update);
    updateAgoEdit();
}

void EditActionList::updateActions()
{
    updateSelectionActions();
    updatePaste();
    updateSelectAll();
    updateUndo();
    updateCharacterActions();
    updateParagraphActions();
    updateAgoEdit();
}

void EditActionList::updateSelectionActions()
{
    QWidget* target = m_target();
    const bool selected = hasSelection(target);
    EditCopy1->setEnabled(selected);
    EditCut1->setEnabled(selected && isWritable(target));
    EditDelete1->setEnabled(selected && isWritable(target));
}

void EditActionList::updatePaste()
{
    QWidget* target = m_target();
    EditPaste1->setEnabled(isWritable(target) && clipboardHoldsText());
}

void EditActionList::updateSelectAll()
{
    QWidget* target = m_target();
    bool notEmpty = false;
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        notEmpty = !edit->document()->isEmpty();
    else if (auto* field = qobject_cast<QLineEdit*>(target))
        notEmpty = !field->text().isEmpty();
    EditSelectAll1->setEnabled(notEmpty);
}

void EditActionList::updateUndo()
{
    QWidget* target = m_target();
    bool canUndo = false;
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        canUndo = !edit->isReadOnly() && edit->document()->isUndoAvailable();
    else if (auto* field = qobject_cast<QLineEdit*>(target))
        canUndo = !field->isReadOnly() && field->isUndoAvailable();
    EditUndo1->setEnabled(canUndo);
}

void EditActionList::updateCharacterActions()
{
    QTextEdit* edit = richText(m_target());
    const QFont font = edit ? selection::font(*edit) : QFont();
    RichEditBold1->setEnabled(edit);
    RichEditItalic1->setEnabled(edit);
    RichEditUnderline1->setEnabled(edit);
    RichEditBold1->setChecked(edit && font.bold());
    RichEditItalic1->setChecked(edit && font.italic());
    RichEditUnderline1->setChecked(edit && font.underline());
}

void EditActionList::updateParagraphActions()
{
    QTextEdit* edit = richText(m_target());
    const Qt::Alignment alignment = edit ? horizontalAlignment(*edit) : Qt::Alignment();
    for (QAction* action : { RichEditBullets1, RichEditAlignLeft1, RichEditAlignRight1, RichEditAlignCenter1 })
        action->setEnabled(edit);
    RichEditBullets1->setChecked(edit && selection::hasBullets(*edit));
    RichEditAlignLeft1->setChecked(edit && alignment == Qt::AlignLeft);
    RichEditAlignRight1->setChecked(edit && alignment == Qt::AlignRight);
    RichEditAlignCenter1->setChecked(edit && alignment == Qt::AlignHCenter);
}

void EditActionList::updateAgoEdit() { AgoEdit->setEnabled(m_agoEditUpdate && m_agoEditUpdate()); }

void EditActionList::cut()
{
    QWidget* target = m_target();
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        edit->cut();
    else if (auto* field = qobject_cast<QLineEdit*>(target))
        field->cut();
}

void EditActionList::copy()
{
    QWidget* target = m_target();
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        edit->copy();
    else if (auto* field = qobject_cast<QLineEdit*>(target))
        field->copy();
}

void EditActionList::paste()
{
    QWidget* target = m_target();
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        edit->paste();
    else if (auto* field = qobject_cast<QLineEdit*>(target))
        field->paste();
}

void EditActionList::selectAll()
{
    QWidget* target = m_target();
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        edit->selectAll();
    else if (auto* field = qobject_cast<QLineEdit*>(target))
        field->selectAll();
}

void EditActionList::undo()
{
    QWidget* target = m_target();
    if (auto* edit = qobject_cast<QTextEdit*>(target))
        edit->undo();
    else if (auto* field = qobject_cast<QLineEdit*>(target))
        field->undo();
}

void EditActionList::deleteSelection()
{
    QWidget* target = m_target();
    if (auto* edit = qobject_cast<QTextEdit*>(target)) {
        QTextCursor cursor = edit->textCursor();
        cursor.removeSelectedText();
        edit->setTextCursor(cursor);
    } else if (auto* field = qobject_cast<QLineEdit*>(target)) {
        if (field->hasSelectedText())
            field->del();
    }
}

void EditActionList::toggleBold()
{
    QTextEdit* edit = richText(m_target());
    if (!edit)
        return;
    QTextCharFormat format;
    format.setFontWeight(selection::font(*edit).bold() ? QFont::Normal : QFont::Bold);
    selection::merge(*edit, format);
}

void EditActionList::toggleItalic()
{
    QTextEdit* edit = richText(m_target());
    if (!edit)
        return;
    QTextCharFormat format;
    format.setFontItalic(!selection::font(*edit).italic());
    selection::merge(*edit, format);
}

void EditActionList::toggleUnderline()
{
    QTextEdit* edit = richText(m_target());
    if (!edit)
        return;
    QTextCharFormat format;
    format.setFontUnderline(!selection::font(*edit).underline());
    selection::merge(*edit, format);
}

void EditActionList::toggleBullets()
{
    if (QTextEdit* edit = richText(m_target()))
        selection::toggleBullets(*edit);
}

void EditActionList::align(Qt::Alignment alignment)
{
    if (QTextEdit* edit = richText(m_target()))
        edit->setAlignment(alignment);
    updateActions();
}

QMenu* EditActionList::createPopupMenu(QWidget* parent, const QString& menuName, const QStringList& itemNames)
{
    Q_ASSERT_X(itemNames.size() == 8, "EditActionList::createPopupMenu", "the menu has eight items");
    auto* menu = new QMenu(parent);
    menu->setObjectName(menuName);
    const QList<QAction*> sources { EditUndo1, nullptr, EditCut1, EditCopy1, EditPaste1, nullptr, EditSelectAll1,
        EditDelete1 };
    for (qsizetype i = 0; i < sources.size(); ++i) {
        QAction* source = sources[i];
        if (!source) {
            menu->addSeparator()->setObjectName(itemNames.value(i));
            continue;
        }
        // An item of its own that mirrors the action, so each menu's items carry their own names;
        // the key is shown only, the action's own shortcut does the work.
        auto* item = new QAction(menu);
        item->setObjectName(itemNames.value(i));
        const auto mirror = [item, source] {
            const QString key = source->shortcut().toString(QKeySequence::NativeText);
            item->setText(key.isEmpty() ? source->text() : source->text() + QLatin1Char('\t') + key);
            item->setIcon(source->icon());
            setHint(item, source->property(hintProperty).toString());
            item->setEnabled(source->isEnabled());
        };
        mirror();
        connect(source, &QAction::changed, item, mirror);
        connect(item, &QAction::triggered, source, &QAction::trigger);
        menu->addAction(item);
    }
    connect(menu, &QMenu::aboutToShow, this, &EditActionList::updateActions);
    return menu;
}

} // namespace struktur

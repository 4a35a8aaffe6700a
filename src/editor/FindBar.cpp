// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindBar.h"

#include "ui/HintLine.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace struktur {
namespace {

QPushButton* barButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QString replacedMessage(int count)
{
    if (count == 0)
        return QStringLiteral("Teksten blev ikke fundet; intet er erstattet");
    if (count == 1)
        return QStringLiteral("1 forekomst er erstattet");
    return QStringLiteral("%1 forekomster er erstattet").arg(count);
}

} // namespace

FindBar::FindBar(QTextEdit* edit, QWidget* window)
    : QWidget(window)
    , m_edit(edit)
{
    setObjectName(QStringLiteral("findBar"));
    createWidgets();
    createLayout();
    createActions(window);
    createConnections();
    hide();
}

void FindBar::createWidgets()
{
    findField = new QLineEdit(this);
    findField->setObjectName(QStringLiteral("findField"));
    m_findLabel = new QLabel(QStringLiteral("Søg efter"), this);
    m_findLabel->setBuddy(findField);
    replaceField = new QLineEdit(this);
    replaceField->setObjectName(QStringLiteral("replaceField"));
    m_replaceLabel = new QLabel(QStringLiteral("Erstat med"), this);
    m_replaceLabel->setBuddy(replaceField);
    nextButton = barButton(QStringLiteral("Næste"), "nextButton", this);
    previousButton = barButton(QStringLiteral("Forrige"), "previousButton", this);
    replaceButton = barButton(QStringLiteral("Erstat"), "replaceButton", this);
    replaceAllButton = barButton(QStringLiteral("Erstat alle"), "replaceAllButton", this);
    matchCase = new QCheckBox(QStringLiteral("Skeln mellem store og små bogstaver"), this);
    matchCase->setObjectName(QStringLiteral("matchCase"));
    wholeWords = new QCheckBox(QStringLiteral("Hele ord"), this);
    wholeWords->setObjectName(QStringLiteral("wholeWords"));
    m_closeButton = barButton(QStringLiteral("Luk"), "closeButton", this);
    setHint(nextButton, QStringLiteral("Næste|Går til næste forekomst (F3)"));
    setHint(previousButton, QStringLiteral("Forrige|Går til forrige forekomst (Skift+F3)"));
    setHint(replaceButton, QStringLiteral("Erstat|Erstatter den valgte forekomst og går til den næste"));
    setHint(replaceAllButton, QStringLiteral("Erstat alle|Erstatter alle forekomster i dokumentet"));
    setHint(m_closeButton, QStringLiteral("Luk|Lukker søgelinjen (Esc)"));
    // The window's smallest size stays as designed; the bar makes do with the width it gets.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void FindBar::createLayout()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    grid->addWidget(m_findLabel, 0, 0);
    grid->addWidget(findField, 0, 1);
    grid->addWidget(nextButton, 0, 2);
    grid->addWidget(previousButton, 0, 3);
    grid->addWidget(matchCase, 0, 4);
    grid->addWidget(m_closeButton, 0, 5);
    grid->addWidget(m_replaceLabel, 1, 0);
    grid->addWidget(replaceField, 1, 1);
    grid->addWidget(replaceButton, 1, 2);
    grid->addWidget(replaceAllButton, 1, 3);
    grid->addWidget(wholeWords, 1, 4);
    grid->setColumnStretch(1, 1);
}

void FindBar::createActions(QWidget* window)
{
    const auto action = [window](const QString& text, const char* name, QKeySequence key) {
        auto* result = new QAction(text, window);
        result->setObjectName(QLatin1String(name));
        result->setShortcut(key);
        result->setShortcutContext(Qt::WindowShortcut);
        window->addAction(result);
        return result;
    };
    Afind = action(QStringLiteral("Søg"), "Afind", QKeySequence(Qt::CTRL | Qt::Key_F));
    Afind->setIcon(QIcon(QStringLiteral(":/editor/16-find.svg")));
    setHint(Afind, QStringLiteral("Søg|Søger i dokumentet (Ctrl+F); Ctrl+H søger og erstatter"));
    Areplace = action(QStringLiteral("Erstat"), "Areplace", QKeySequence(Qt::CTRL | Qt::Key_H));
    AfindNext = action(QStringLiteral("Søg næste"), "AfindNext", QKeySequence(Qt::Key_F3));
    AfindPrevious = action(QStringLiteral("Søg forrige"), "AfindPrevious", QKeySequence(Qt::SHIFT | Qt::Key_F3));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &FindBar::closeBar);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
}

void FindBar::createConnections()
{
    connect(Afind, &QAction::triggered, this, &FindBar::openFind);
    connect(Areplace, &QAction::triggered, this, &FindBar::openReplace);
    connect(AfindNext, &QAction::triggered, this, &FindBar::findNext);
    connect(AfindPrevious, &QAction::triggered, this, &FindBar::findPrevious);
    connect(nextButton, &QPushButton::clicked, this, &FindBar::findNext);
    connect(previousButton, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(replaceButton, &QPushButton::clicked, this, &FindBar::replace);
    connect(replaceAllButton, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(m_closeButton, &QPushButton::clicked, this, &FindBar::closeBar);
    connect(findField, &QLineEdit::returnPressed, this, &FindBar::findNext);
    connect(replaceField, &QLineEdit::returnPressed, this, &FindBar::replace);

    // The highlighting follows the text searched for, the options and the document.
    m_highlightTimer.setSingleShot(true);
    m_highlightTimer.setInterval(150);
    connect(&m_highlightTimer, &QTimer::timeout, this, &FindBar::highlightHits);
    const auto later = [this] {
        if (isVisible())
            m_highlightTimer.start();
    };
    connect(findField, &QLineEdit::textChanged, this, later);
    connect(matchCase, &QCheckBox::toggled, this, later);
    connect(wholeWords, &QCheckBox::toggled, this, later);
    connect(m_edit->document(), &QTextDocument::contentsChanged, this, later);
}

void FindBar::openFind() { open(false); }

void FindBar::openReplace() { open(true); }

void FindBar::open(bool withReplace)
{
    // A selection within one line is what the user wants to find.
    const QString selected = m_edit->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)
        && !selected.contains(QChar::LineSeparator))
        findField->setText(selected);
    for (QWidget* widget : { static_cast<QWidget*>(m_replaceLabel), static_cast<QWidget*>(replaceField),
             static_cast<QWidget*>(replaceButton), static_cast<QWidget*>(replaceAllButton) })
        widget->setVisible(withReplace);
    show();
    findField->setFocus();
    findField->selectAll();
    highlightHits();
}

void FindBar::closeBar()
{
    hide();
    m_highlightTimer.stop();
    m_edit->setExtraSelections({});
    m_edit->setFocus();
}

QTextDocument::FindFlags FindBar::flags() const
{
    QTextDocument::FindFlags result;
    if (matchCase->isChecked())
        result |= QTextDocument::FindCaseSensitively;
    if (wholeWords->isChecked())
        result |= QTextDocument::FindWholeWords;
    return result;
}

bool FindBar::findNext() { return find(false); }

bool FindBar::findPrevious() { return find(true); }

bool FindBar::find(bool backward)
{
    const QString text = findField->text();
    if (text.isEmpty()) {
        openFind();
        return false;
    }
    QTextDocument* document = m_edit->document();
    const QTextDocument::FindFlags findFlags
        = flags() | (backward ? QTextDocument::FindBackward : QTextDocument::FindFlags());
    QTextCursor hit = document->find(text, m_edit->textCursor(), findFlags);
    if (hit.isNull()) {
        QTextCursor from(document);
        from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        hit = document->find(text, from, findFlags);
        if (hit.isNull()) {
            HintLine::instance().showMessage(QStringLiteral("Teksten \"%1\" blev ikke fundet").arg(text));
            return false;
        }
        HintLine::instance().showMessage(backward ? QStringLiteral("Søgningen fortsatte fra slutningen")
                                                  : QStringLiteral("Søgningen fortsatte fra begyndelsen"));
    }
    m_edit->setTextCursor(hit);
    m_edit->ensureCursorVisible();
    return true;
}

bool FindBar::selectionIsHit() const
{
    const QTextCursor selection = m_edit->textCursor();
    if (!selection.hasSelection())
        return false;
    QTextCursor from(m_edit->document());
    from.setPosition(selection.selectionStart());
    const QTextCursor hit = m_edit->document()->find(findField->text(), from, flags());
    return !hit.isNull() && hit.selectionStart() == selection.selectionStart()
        && hit.selectionEnd() == selection.selectionEnd();
}

void FindBar::replace()
{
    if (findField->text().isEmpty())
        return;
    if (selectionIsHit()) {
        QTextCursor selection = m_edit->textCursor();
        selection.insertText(replaceField->text());
        m_edit->setTextCursor(selection);
    }
    findNext();
}

int FindBar::replaceAll()
{
    const QString text = findField->text();
    if (text.isEmpty())
        return 0;
    QTextDocument* document = m_edit->document();
    const QString replacement = replaceField->text();
    int count = 0;
    QTextCursor edit(document);
    edit.beginEditBlock();
    QTextCursor from(document);
    for (;;) {
        QTextCursor hit = document->find(text, from, flags());
        if (hit.isNull())
            break;
        // The replacement takes the format of the hit's first character.
        QTextCursor first(document);
        first.setPosition(hit.selectionStart() + 1);
        hit.insertText(replacement, first.charFormat());
        from = hit;
        ++count;
    }
    edit.endEditBlock();
    HintLine::instance().showMessage(replacedMessage(count));
    return count;
}

void FindBar::highlightHits()
{
    QList<QTextEdit::ExtraSelection> hits;
    const QString text = findField->text();
    if (isVisible() && !text.isEmpty()) {
        QTextCharFormat format;
        format.setBackground(QColor(255, 230, 90));
        QTextDocument* document = m_edit->document();
        QTextCursor from(document);
        while (hits.size() < maxHighlighted) {
            const QTextCursor hit = document->find(text, from, flags());
            if (hit.isNull())
                break;
            hits.append({ hit, format });
            from = hit;
        }
    }
    m_edit->setExtraSelections(hits);
}

} // namespace struktur

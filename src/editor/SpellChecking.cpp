// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpellChecking.h"

#include "editor/SpellHighlighter.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "spelling/Speller.h"
#include "spelling/SpellingWords.h"
#include "ui/CreationGuard.h"
#include "ui/ErrorDisplay.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QThread>

namespace struktur {
namespace {

constexpr int suggestionCount = 6;

const QString noDictionaryMessage = QStringLiteral("Der er ingen dansk ordbog: stavekontrollen er slået fra");

} // namespace

SpellChecking::SpellChecking(QTextEdit* edit, const QString& optionsFolder, QWidget* window)
    : QObject(window)
    , Astavning(new QAction(QStringLiteral("Stavekontrol"), window))
    , m_edit(edit)
    , m_statePath(optionsFolder + pathSeparator() + QStringLiteral("stavning.txt"))
    , m_wordListPath(optionsFolder + pathSeparator() + QStringLiteral("ordbog.txt"))
    , m_highlighter(new SpellHighlighter(edit, this))
{
    Astavning->setObjectName(QStringLiteral("Astavning"));
    Astavning->setIcon(QIcon(QStringLiteral(":/editor/15-spelling.svg")));
    Astavning->setShortcut(QKeySequence(Qt::Key_F7));
    Astavning->setShortcutContext(Qt::WindowShortcut);
    Astavning->setCheckable(true);
    Astavning->setChecked(readState(m_statePath));
    setHint(Astavning, QStringLiteral("Stavekontrol|Understreger ord som ordbogen ikke kender"));
    window->addAction(Astavning);
    connect(Astavning, &QAction::triggered, this, &SpellChecking::AstavningExecute);
    openDictionary(spelling::findDanishDictionary());
}

SpellChecking::~SpellChecking()
{
    if (m_thread)
        m_thread->wait();
}

spelling::Speller* SpellChecking::speller() const
{
    return m_speller && m_speller->isValid() ? m_speller.get() : nullptr;
}

bool SpellChecking::readState(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return true;
    try {
        const QStringList lines = textfile::readLines(path);
        return lines.isEmpty() || lines.first().trimmed() != QStringLiteral("0");
    } catch (const Error&) {
        return true;
    }
}

void SpellChecking::openDictionary(const QString& base)
{
    // Reading the dictionary takes a noticeable moment; the window does not wait for it.
    m_thread = QThread::create([this, base] { m_opening = std::make_unique<spelling::Speller>(base); });
    connect(m_thread, &QThread::finished, this, &SpellChecking::dictionaryOpened);
    m_thread->start();
}

void SpellChecking::useDictionary(const QString& base)
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
    m_opening = std::make_unique<spelling::Speller>(base);
    dictionaryOpened();
}

void SpellChecking::dictionaryOpened()
{
    if (m_thread) {
        m_thread->deleteLater();
        m_thread = nullptr;
    }
    if (!m_opening)
        return;
    m_speller = std::move(m_opening);
    m_ready = true;
    if (!m_speller->isValid()) {
        m_highlighter->setSpeller(nullptr);
        if (Astavning->isChecked()) {
            Astavning->setChecked(false);
            HintLine::instance().showMessage(noDictionaryMessage);
        }
        return;
    }
    reportErrors([this] { m_speller->usePersonalWords(m_wordListPath); });
    m_highlighter->setSpeller(m_speller.get());
    m_highlighter->setEnabled(Astavning->isChecked());
}

void SpellChecking::AstavningExecute(bool checked)
{
    if (checked && m_ready && !speller()) {
        Astavning->setChecked(false);
        HintLine::instance().showMessage(noDictionaryMessage);
        return;
    }
    m_highlighter->setEnabled(checked && speller());
    reportErrors([this, checked] {
        textfile::writeLines(m_statePath, { checked ? QStringLiteral("1") : QStringLiteral("0") });
    });
}

QMenu* SpellChecking::createPopupMenu(const QPoint& position, const QList<QAction*>& standardItems, QWidget* parent)
{
    spelling::Speller* const dictionary = speller();
    if (!dictionary || !m_highlighter->isEnabled())
        return nullptr;
    const QTextCursor cursor = m_edit->cursorForPosition(position);
    const QTextBlock block = cursor.block();
    const QString text = block.text();
    const spelling::WordSpan span = spelling::wordAt(text, cursor.position() - block.position());
    if (span.length == 0)
        return nullptr;
    const QString word = text.mid(span.start, span.length);
    if (dictionary->isCorrect(word))
        return nullptr;

    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("PopupSpelling"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const int start = block.position() + int(span.start);
    const int length = int(span.length);
    for (const QString& suggestion : dictionary->suggestions(word, suggestionCount)) {
        QAction* item = menu->addAction(suggestion);
        connect(item, &QAction::triggered, this,
            [this, start, length, suggestion] { replaceWord(start, length, suggestion); });
    }
    QAction* add = menu->addAction(QStringLiteral("Tilføj til ordbog"));
    setHint(add, QStringLiteral("Tilføjer ordet til den personlige ordbog"));
    connect(add, &QAction::triggered, this, [this, word] {
        reportErrors([this, word] { m_speller->addPersonalWord(word); });
        m_highlighter->recheck();
    });
    QAction* ignore = menu->addAction(QStringLiteral("Ignorer"));
    setHint(ignore, QStringLiteral("Godtager ordet resten af kørslen"));
    connect(ignore, &QAction::triggered, this, [this, word] {
        m_speller->ignore(word);
        m_highlighter->recheck();
    });
    menu->addSeparator();
    menu->addActions(standardItems);
    return menu;
}

void SpellChecking::replaceWord(int position, int length, const QString& replacement)
{
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
    m_edit->setTextCursor(cursor);
}

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QMenu;
class QPoint;
class QTextEdit;
class QThread;
class QWidget;

namespace struktur {

namespace spelling {
class Speller;
}
class SpellHighlighter;

/// Spell checking in the document editor: the action "Stavekontrol" (F7) with its state kept in
/// Options/stavning.txt, the underlining, and the pop-up menu entries for a misspelt word. The
/// dictionary is opened in the background at start; until it is there nothing is underlined. A
/// missing dictionary switches checking off with one message on the hint line.
class SpellChecking : public QObject {
    Q_OBJECT

public:
    /// `window` carries the action, so F7 works while the window is active.
    SpellChecking(QTextEdit* edit, const QString& optionsFolder, QWidget* window);
    ~SpellChecking() override;

    /// The dictionary to use instead of the Danish one found on the system (tests); an empty
    /// path means none. Call before the window is used.
    void useDictionary(const QString& base);

    /// True once the dictionary has been opened (or found missing).
    bool isReady() const { return m_ready; }
    /// The dictionary in use, or null when none could be opened.
    spelling::Speller* speller() const;
    SpellHighlighter& highlighter() const { return *m_highlighter; }

    /// The pop-up menu for a right click at `position` (viewport coordinates): for a misspelt
    /// word up to six suggestions, "Tilføj til ordbog", "Ignorer" and a separator before
    /// `standardItems`; null when there is no misspelt word there. The menu deletes itself
    /// when it closes.
    QMenu* createPopupMenu(const QPoint& position, const QList<QAction*>& standardItems, QWidget* parent);

    /// Reads the saved state: off only when the first line is "0"; on without a readable file.
    static bool readState(const QString& path);

    QAction* Astavning;

private:
    void openDictionary(const QString& base);
    void dictionaryOpened();
    void AstavningExecute(bool checked);
    void replaceWord(int position, int length, const QString& replacement);

    QTextEdit* m_edit;
    QString m_statePath;
    QString m_wordListPath;
    SpellHighlighter* m_highlighter;
    std::unique_ptr<spelling::Speller> m_speller;
    std::unique_ptr<spelling::Speller> m_opening;
    QThread* m_thread = nullptr;
    bool m_ready = false;
};

} // namespace struktur

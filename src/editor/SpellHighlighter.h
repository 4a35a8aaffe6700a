// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QTextBlock;
class QTextEdit;

namespace struktur {

namespace spelling {
class Speller;
}

/// Underlines the misspelt words of a rich-text control with a red wave. The underline is a
/// format of the block's layout, never of the text, so the document, its undo history and the
/// saved RTF are untouched by it. Checking runs in slices of at most `sliceMilliseconds` from the
/// event loop, the visible text first, so a long document never holds the window; the rest waits
/// until Qt has laid out the whole document.
class SpellHighlighter : public QObject {
    Q_OBJECT

public:
    static constexpr int sliceMilliseconds = 20;

    SpellHighlighter(QTextEdit* edit, QObject* parent = nullptr);
    ~SpellHighlighter() override;

    /// The dictionary to check with; null (the default) checks nothing.
    void setSpeller(const spelling::Speller* speller);

    /// Switches the underlining on (checking the whole document again) or off (removing it).
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    /// Checks every word again, for instance after a word was added to the dictionary.
    void recheck();

    /// True while some text is still to be checked.
    bool isBusy() const;

    /// Checks everything that is left at once, without slices.
    void finish();

    /// The underlined ranges of a block as (start in block, length) pairs.
    QList<std::pair<int, int>> underlined(const QTextBlock& block) const;

private:
    struct BlockState;

    void contentsChange(int from, int charsRemoved, int charsAdded);
    void checkSlice();
    /// Checks a part of the block; returns true when the block is then done.
    bool checkPiece(QTextBlock& block, qsizetype maxCharacters);
    bool isDirty(const QTextBlock& block) const;
    BlockState& stateOf(QTextBlock& block);
    void apply(QTextBlock& block, BlockState& state);
    void relayout();
    void clearAll();
    void schedule();

    QPointer<QTextEdit> m_edit;
    const spelling::Speller* m_speller = nullptr;
    bool m_enabled = false;
    int m_generation = 0;
    int m_scanFrom = 0;
    int m_relayoutFrom = -1;
    int m_relayoutTo = -1;
    QTimer m_timer;
};

} // namespace struktur

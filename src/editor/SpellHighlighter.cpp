// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpellHighlighter.h"

#include "LazyLayout.h"

#include "spelling/Speller.h"
#include "spelling/SpellingWords.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <limits>

namespace struktur {
namespace {

// A piece ends at a blank, so no word is cut; one piece is cheap next to a slice.
constexpr qsizetype pieceCharacters = 4000;
// Laying blocks out again after their underlines changed costs about as much as checking them;
// flushing every so many characters lets a slice's clock count that cost too.
constexpr int relayoutCharacters = 32000;
// How often to look whether the layout of a long document has come to its end.
constexpr int layoutWaitMilliseconds = 50;

QTextCharFormat misspeltFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(QColor(255, 0, 0));
    return format;
}

// The block shown at `y` pixels from the viewport's top, found by halving over the block
// numbers. The control's own hit test walks the blocks one by one from the start, and the
// layout's block rectangles lay the document out up to the block asked for; both cost more than
// a whole slice in a long document. So this reads the lines a block already has: one without
// lines is not laid out yet and counts as below. (In a table a block's place is its cell's, so
// there the answer is near, which is enough to check what is seen first.)
QTextBlock blockAtHeight(const QTextEdit& edit, int y)
{
    const QTextDocument& document = *edit.document();
    const qreal target = y + edit.verticalScrollBar()->value();
    int low = 0;
    int high = document.blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const QTextLayout* layout = document.findBlockByNumber(middle).layout();
        if (layout && layout->lineCount() > 0 && layout->position().y() + layout->boundingRect().bottom() < target)
            low = middle + 1;
        else
            high = middle;
    }
    return document.findBlockByNumber(low);
}

} // namespace

struct SpellHighlighter::BlockState : QTextBlockUserData {
    int generation = -1;
    qsizetype checkedUpTo = 0;
    QList<QTextLayout::FormatRange> misspelt;
    bool shown = false; ///< the layout carries formats of ours
};

SpellHighlighter::SpellHighlighter(QTextEdit* edit, QObject* parent)
    : QObject(parent)
    , m_edit(edit)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &SpellHighlighter::checkSlice);
    connect(edit->document(), &QTextDocument::contentsChange, this, &SpellHighlighter::contentsChange);
    // Scrolling brings other text into view; it is checked first.
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (isBusy())
            schedule();
    });
}

SpellHighlighter::~SpellHighlighter() = default;

void SpellHighlighter::setSpeller(const spelling::Speller* speller)
{
    m_speller = speller;
    recheck();
}

void SpellHighlighter::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!enabled) {
        m_timer.stop();
        clearAll();
        return;
    }
    recheck();
}

void SpellHighlighter::recheck()
{
    ++m_generation;
    m_scanFrom = 0;
    schedule();
}

bool SpellHighlighter::isBusy() const
{
    if (!m_edit || !m_enabled || !m_speller || !m_speller->isValid())
        return false;
    for (QTextBlock block = m_edit->document()->findBlockByNumber(m_scanFrom); block.isValid(); block = block.next()) {
        if (isDirty(block))
            return true;
    }
    return false;
}

void SpellHighlighter::schedule()
{
    if (m_enabled && m_speller && m_speller->isValid())
        m_timer.start();
}

bool SpellHighlighter::isDirty(const QTextBlock& block) const
{
    const auto* state = static_cast<const BlockState*>(block.userData());
    return !state || state->generation != m_generation || state->checkedUpTo < block.length() - 1;
}

SpellHighlighter::BlockState& SpellHighlighter::stateOf(QTextBlock& block)
{
    auto* state = static_cast<BlockState*>(block.userData());
    if (!state) {
        state = new BlockState;
        block.setUserData(state);
    }
    return *state;
}

void SpellHighlighter::contentsChange(int from, int, int charsAdded)
{
    if (!m_edit || !m_enabled)
        return;
    QTextDocument* document = m_edit->document();
    QTextBlock block = document->findBlock(from);
    const QTextBlock last = document->findBlock(from + charsAdded);
    m_scanFrom = std::min(m_scanFrom, std::max(0, block.blockNumber()));
    for (; block.isValid(); block = block.next()) {
        if (auto* state = static_cast<BlockState*>(block.userData()))
            state->generation = -1;
        if (block == last)
            break;
    }
    schedule();
}

bool SpellHighlighter::checkPiece(QTextBlock& block, qsizetype maxCharacters)
{
    BlockState& state = stateOf(block);
    if (state.generation != m_generation) {
        state.generation = m_generation;
        state.checkedUpTo = 0;
        state.misspelt.clear();
    }
    const QString text = block.text();
    qsizetype end = std::min(text.size(), state.checkedUpTo + maxCharacters);
    while (end < text.size() && !text[end].isSpace())
        ++end;
    const QStringView piece = QStringView(text).sliced(state.checkedUpTo, end - state.checkedUpTo);
    const qsizetype before = state.misspelt.size();
    for (const spelling::WordSpan& word : spelling::wordsToCheck(piece)) {
        if (m_speller->isCorrect(piece.sliced(word.start, word.length).toString()))
            continue;
        QTextLayout::FormatRange range;
        range.start = int(state.checkedUpTo + word.start);
        range.length = int(word.length);
        range.format = misspeltFormat();
        state.misspelt.append(range);
    }
    const bool restarted = state.checkedUpTo == 0;
    state.checkedUpTo = end;
    // A block checked afresh may have lost underlines; one that only grew shows the new ones.
    if (restarted ? (state.shown || !state.misspelt.isEmpty()) : state.misspelt.size() != before)
        apply(block, state);
    return end >= text.size();
}

void SpellHighlighter::apply(QTextBlock& block, BlockState& state)
{
    QTextLayout& layout = *block.layout();
    // A paragraph Qt has not laid out yet (the rest of a long document just loaded) draws with
    // these formats once it is; asking for its relayout now would lay out all text above it.
    // (Setting the formats drops the lines, so ask first.)
    const bool laidOut = layout.lineCount() > 0;
    layout.setFormats(state.misspelt);
    state.shown = !state.misspelt.isEmpty();
    if (!laidOut)
        return;
    const int end = block.position() + block.length();
    m_relayoutFrom = m_relayoutFrom < 0 ? block.position() : std::min(m_relayoutFrom, block.position());
    m_relayoutTo = std::max(m_relayoutTo, end);
    if (m_relayoutTo - m_relayoutFrom >= relayoutCharacters)
        relayout();
}

void SpellHighlighter::relayout()
{
    // One layout pass for all blocks a run changed: one per block costs far more.
    if (m_relayoutFrom >= 0 && m_edit)
        m_edit->document()->markContentsDirty(m_relayoutFrom, m_relayoutTo - m_relayoutFrom);
    m_relayoutFrom = -1;
    m_relayoutTo = -1;
}

void SpellHighlighter::checkSlice()
{
    if (!m_edit || !m_enabled || !m_speller || !m_speller->isValid()) {
        m_timer.stop();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const auto timeLeft = [&clock] { return clock.elapsed() < sliceMilliseconds; };

    // What the user sees first.
    QTextBlock visible = blockAtHeight(*m_edit, 0);
    const QTextBlock lastVisible = blockAtHeight(*m_edit, m_edit->viewport()->height());
    for (; visible.isValid() && timeLeft(); visible = visible.next()) {
        while (isDirty(visible) && timeLeft())
            checkPiece(visible, pieceCharacters);
        if (visible == lastVisible)
            break;
    }
    relayout();

    // Then the rest, once Qt has laid out the whole document: each underline shown asks for its
    // paragraph to be laid out again, and every such request sets Qt's lazy layout of a long
    // document just loaded back to its smallest steps.
    if (isLayoutPending(*m_edit->document())) {
        m_timer.setInterval(layoutWaitMilliseconds);
        return;
    }
    m_timer.setInterval(0);
    QTextBlock block = m_edit->document()->findBlockByNumber(m_scanFrom);
    while (block.isValid() && timeLeft()) {
        if (isDirty(block) && !checkPiece(block, pieceCharacters))
            continue;
        m_scanFrom = block.blockNumber() + 1;
        block = block.next();
    }
    relayout();
    if (!block.isValid())
        m_timer.stop();
}

void SpellHighlighter::finish()
{
    if (!m_edit || !m_enabled || !m_speller || !m_speller->isValid())
        return;
    for (QTextBlock block = m_edit->document()->begin(); block.isValid(); block = block.next()) {
        while (isDirty(block))
            checkPiece(block, std::numeric_limits<qsizetype>::max() / 2);
    }
    relayout();
    m_scanFrom = m_edit->document()->blockCount();
    m_timer.stop();
}

void SpellHighlighter::clearAll()
{
    if (!m_edit)
        return;
    for (QTextBlock block = m_edit->document()->begin(); block.isValid(); block = block.next()) {
        auto* state = static_cast<BlockState*>(block.userData());
        if (!state)
            continue;
        state->generation = -1;
        state->misspelt.clear();
        if (state->shown)
            apply(block, *state);
    }
    relayout();
}

QList<std::pair<int, int>> SpellHighlighter::underlined(const QTextBlock& block) const
{
    QList<std::pair<int, int>> result;
    const auto* state = static_cast<const BlockState*>(block.userData());
    if (!state || !m_enabled)
        return result;
    for (const QTextLayout::FormatRange& range : state->misspelt)
        result.append({ range.start, range.length });
    return result;
}

} // namespace struktur

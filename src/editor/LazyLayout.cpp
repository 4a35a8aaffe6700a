// SPDX-License-Identifier: GPL-3.0-or-later
#include "LazyLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace struktur {
namespace {

// Qt's steps come every 10 ms; a layout that has not moved on for this long has stopped.
constexpr int quietMilliseconds = 100;

} // namespace

LazyLayout::LazyLayout(QTextDocument* document, QObject* parent)
    : QObject(parent)
    , m_document(document)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(quietMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &LazyLayout::check);
    connect(document, &QTextDocument::contentsChange, this, &LazyLayout::contentsChange);
}

static bool hasLines(const QTextBlock& block)
{
    return !block.isVisible() || (block.layout() && block.layout()->lineCount() > 0);
}

bool isLayoutPending(const QTextDocument& document)
{
    return !document.pageSize().isNull() && !hasLines(document.lastBlock());
}

bool LazyLayout::isBusy() const { return isLayoutPending(*m_document); }

int LazyLayout::laidOutBlocks() const
{
    // Qt lays out from the top down, so the paragraphs with lines are a run from the start.
    int low = 0;
    int high = m_document->blockCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (hasLines(m_document->findBlockByNumber(middle)))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void LazyLayout::watch()
{
    m_watching = isBusy();
    m_progress = -1;
    if (m_watching)
        m_timer.start();
}

void LazyLayout::contentsChange()
{
    // Any change (a text set whole as well as typing) may leave Qt's steps ended early.
    if (m_timer.isActive() || !(m_watching || isBusy()))
        return;
    if (!m_watching)
        m_progress = -1;
    m_watching = true;
    m_timer.start();
}

void LazyLayout::check()
{
    if (!isBusy()) {
        m_watching = false;
        return;
    }
    const int progress = laidOutBlocks();
    // The same page size again is a change of the whole text: Qt starts its steps afresh.
    if (progress == m_progress)
        m_document->setPageSize(m_document->pageSize());
    m_progress = progress;
    m_timer.start();
}

} // namespace struktur

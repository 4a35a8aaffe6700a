// SPDX-License-Identifier: GPL-3.0-or-later
#include "LazyLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace struktur {
namespace {

// Qt's steps come every 10 ms; a layout quiet for this long after an edit has stopped.
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
    const auto moved = [this] { m_moved = true; };
    connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, moved);
    connect(document, &QTextDocument::documentLayoutChanged, this, [this, moved] {
        connect(m_document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, moved,
            Qt::UniqueConnection);
    });
}

bool LazyLayout::isBusy() const
{
    if (m_document->pageSize().isNull())
        return false;
    const QTextBlock last = m_document->lastBlock();
    return last.isVisible() && last.layout() && last.layout()->lineCount() == 0;
}

void LazyLayout::watch()
{
    m_watching = isBusy();
    m_moved = true;
    if (m_watching)
        m_timer.start();
}

void LazyLayout::contentsChange()
{
    if (!m_watching)
        return;
    m_moved = false;
    m_timer.start();
}

void LazyLayout::check()
{
    if (!isBusy()) {
        m_watching = false;
        return;
    }
    if (!m_moved) {
        // The same page size again is a change of the whole text: Qt starts its steps afresh.
        m_document->setPageSize(m_document->pageSize());
    }
    m_moved = false;
    m_timer.start();
}

} // namespace struktur

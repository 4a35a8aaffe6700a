// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

class QTextDocument;

namespace struktur {

/// True while Qt has not yet laid out the last paragraph of a document that has a page size (a
/// document without one, in a control not shown yet, is laid out only when it is shown).
bool isLayoutPending(const QTextDocument& document);

/// Keeps Qt's lazy layout of a long document going until its last paragraph is laid out. Qt lays
/// a document given its page size out in steps from a timer, but an edit that comes before the
/// last step ends the steps there, leaving the rest without lines (drawn blank, counted as one
/// line each). When the layout has not moved on for a moment, it is started again.
class LazyLayout : public QObject {
    Q_OBJECT

public:
    LazyLayout(QTextDocument* document, QObject* parent);

    /// The document was just filled and handed to the layout; watch it until it is laid out.
    void watch();

    /// True while the document's last paragraph is not laid out.
    bool isBusy() const;

private:
    void contentsChange();
    void check();
    /// How many paragraphs from the start have their lines.
    int laidOutBlocks() const;

    QTextDocument* m_document;
    QTimer m_timer;
    bool m_watching = false;
    int m_progress = -1;
};

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DocumentTextCache.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>

class QThread;

namespace struktur::search {

/// Brings a cache up to date with a list of documents on a background thread, so that reading
/// a large document folder never holds up the window. Starting again cancels the reading in
/// progress; its late reports are dropped. Signals arrive in the thread that owns the reader.
class DocumentReader : public QObject {
    Q_OBJECT

public:
    explicit DocumentReader(DocumentTextCache& cache, QObject* parent = nullptr);
    ~DocumentReader() override;

    /// Reads every path whose text is not current in the cache; `threads` files at a time.
    void start(const QStringList& paths, int threads = 2);
    /// Stops the reading in progress and waits for it.
    void cancel();
    bool isRunning() const;

Q_SIGNALS:
    /// `done` of `total` documents are current.
    void progress(qsizetype done, qsizetype total);
    /// Every document of the last start() is current.
    void finished();

private:
    struct Job;

    void report(quint64 generation, qsizetype done, qsizetype total);
    void reportFinished(quint64 generation);

    DocumentTextCache& m_cache;
    std::shared_ptr<Job> m_job;
    QThread* m_thread = nullptr;
    quint64 m_generation = 0;
};

} // namespace struktur::search

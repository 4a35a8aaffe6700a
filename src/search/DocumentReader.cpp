// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentReader.h"

#include <QThread>

namespace struktur::search {

struct DocumentReader::Job {
    std::atomic<bool> cancelled = false;
};

DocumentReader::DocumentReader(DocumentTextCache& cache, QObject* parent)
    : QObject(parent)
    , m_cache(cache)
{
}

DocumentReader::~DocumentReader() { cancel(); }

void DocumentReader::start(const QStringList& paths, int threads)
{
    cancel();
    const quint64 generation = ++m_generation;
    auto job = std::make_shared<Job>();
    m_job = job;
    const qsizetype total = paths.size();
    // Progress goes out about a hundred times per reading, not once a file.
    const qsizetype step = std::max<qsizetype>(1, total / 100);
    m_thread = QThread::create([this, job, paths, threads, generation, total, step] {
        const bool complete = m_cache.refresh(
            paths, threads,
            [&](qsizetype done) {
                if (done % step == 0 || done == total)
                    QMetaObject::invokeMethod(
                        this, [this, generation, done, total] { report(generation, done, total); },
                        Qt::QueuedConnection);
            },
            &job->cancelled);
        if (complete)
            QMetaObject::invokeMethod(
                this, [this, generation] { reportFinished(generation); }, Qt::QueuedConnection);
    });
    m_thread->start(QThread::LowPriority);
}

void DocumentReader::cancel()
{
    if (!m_thread)
        return;
    m_job->cancelled = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_job.reset();
}

bool DocumentReader::isRunning() const { return m_thread && m_thread->isRunning(); }

void DocumentReader::report(quint64 generation, qsizetype done, qsizetype total)
{
    if (generation == m_generation)
        Q_EMIT progress(done, total);
}

void DocumentReader::reportFinished(quint64 generation)
{
    if (generation == m_generation)
        Q_EMIT finished();
}

} // namespace struktur::search

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentTextCache.h"

#include "platform/TextFile.h"
#include "rtf/Rtf.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <algorithm>
#include <thread>
#include <vector>

namespace struktur::search {

QString documentPlainText(QByteArrayView bytes)
{
    if (rtf::isRtf(bytes))
        return rtf::plainText(bytes);
    return textfile::decode(bytes);
}

std::optional<QString> DocumentTextCache::cached(const QString& path) const
{
    const QMutexLocker lock(&m_mutex);
    const auto found = m_entries.constFind(path);
    if (found == m_entries.constEnd())
        return std::nullopt;
    return found->text;
}

std::optional<QString> DocumentTextCache::text(const QString& path)
{
    const QFileInfo info(path);
    Entry fresh;
    if (info.isFile()) {
        fresh.size = info.size();
        fresh.modified = info.lastModified();
    }
    {
        const QMutexLocker lock(&m_mutex);
        const auto found = m_entries.constFind(path);
        if (found != m_entries.constEnd() && found->size == fresh.size && found->modified == fresh.modified)
            return found->text;
    }
    if (fresh.size >= 0) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            fresh.text = documentPlainText(file.readAll());
    }
    const QMutexLocker lock(&m_mutex);
    m_entries.insert(path, fresh);
    return fresh.text;
}

bool DocumentTextCache::refresh(const QStringList& paths, int threads,
    const std::function<void(qsizetype done)>& progress, const std::atomic<bool>* cancelled)
{
    std::atomic<qsizetype> next = 0;
    std::atomic<qsizetype> done = 0;
    auto work = [&] {
        for (qsizetype i = next++; i < paths.size(); i = next++) {
            if (cancelled && cancelled->load(std::memory_order_relaxed))
                return;
            text(paths[i]);
            const qsizetype count = ++done;
            if (progress)
                progress(count);
        }
    };
    const int helpers = std::clamp(threads, 1, int(std::max<qsizetype>(1, paths.size()))) - 1;
    std::vector<std::thread> pool;
    pool.reserve(size_t(helpers));
    for (int i = 0; i < helpers; ++i)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();
    return !(cancelled && cancelled->load()) || done == paths.size();
}

void DocumentTextCache::forget(const QString& path)
{
    const QMutexLocker lock(&m_mutex);
    m_entries.remove(path);
}

void DocumentTextCache::clear()
{
    const QMutexLocker lock(&m_mutex);
    m_entries.clear();
}

qsizetype DocumentTextCache::size() const
{
    const QMutexLocker lock(&m_mutex);
    return m_entries.size();
}

} // namespace struktur::search

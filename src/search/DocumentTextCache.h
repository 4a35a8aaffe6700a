// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>

namespace struktur::search {

/// The plain text of element documents, keyed by path and kept while the file's size and
/// modification time stay the same. Safe to use from several threads at once. A document that
/// is missing or cannot be read has no text; a broken one has whatever text can be read from it.
class DocumentTextCache {
public:
    /// The text as last read, without looking at the file again; nothing when it was never read
    /// or was missing when last looked at.
    std::optional<QString> cached(const QString& path) const;

    /// The current text: read again when the file's size or modification time changed since it
    /// was cached, nothing when the file is missing or unreadable.
    std::optional<QString> text(const QString& path);

    /// Brings every path up to date (see text()), reading on up to `threads` threads at once.
    /// `progress` (called from those threads) hears how many of the paths are done; stops early,
    /// returning false, once `cancelled` is set.
    bool refresh(const QStringList& paths, int threads, const std::function<void(qsizetype done)>& progress = {},
        const std::atomic<bool>* cancelled = nullptr);

    /// Forgets one document, so that the next look reads it again.
    void forget(const QString& path);
    void clear();
    qsizetype size() const;

private:
    struct Entry {
        qint64 size = -1;
        QDateTime modified;
        std::optional<QString> text;
    };

    mutable QMutex m_mutex;
    QHash<QString, Entry> m_entries;
};

/// The plain text of a document's bytes: RTF read by our reader, anything else decoded as a
/// plain text file (byte-order mark, else Windows-1252).
QString documentPlainText(QByteArrayView bytes);

} // namespace struktur::search

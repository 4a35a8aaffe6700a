// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <memory>

namespace struktur {

/// A file being written beside its target, which replaces the target only on `commit()`.
/// Until then (and if never committed) the old file stays whole. Failures throw
/// "Cannot create file" with the target's path.
class PendingFile {
public:
    explicit PendingFile(const QString& path);
    ~PendingFile();
    PendingFile(PendingFile&&) noexcept;
    PendingFile& operator=(PendingFile&&) noexcept;

    void write(QByteArrayView bytes);
    void commit();

    const QString& path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
};

/// Replaces `path` with `bytes` atomically; throws "Cannot create file" on failure.
void writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace struktur::publish {

enum class Replace { No, Yes };

/// A folder or file written under a temporary name beside its target and moved into place by
/// commit(), so that a failed or cancelled export leaves neither a half-written target nor a
/// changed old one. Without commit() the destructor removes what was written.
class StagedTarget {
public:
    enum class Kind { Folder, File };

    /// Throws struktur::Error when the target exists and `replace` is No ("… findes allerede"),
    /// when its folder does not exist, or when nothing can be made beside it.
    StagedTarget(QString target, Kind kind, Replace replace);
    ~StagedTarget();
    StagedTarget(const StagedTarget&) = delete;
    StagedTarget& operator=(const StagedTarget&) = delete;

    /// Where to write: an empty folder (Kind::Folder) or a path without a file (Kind::File).
    const QString& path() const { return m_staging; }

    /// Moves the written folder or file to the target, replacing an old one. Throws
    /// struktur::Error when the move fails; the old target then stays as it was.
    void commit();

private:
    QString m_target;
    QString m_staging;
    Kind m_kind;
    bool m_committed = false;
};

/// True when the target path exists (as file or folder).
bool targetExists(const QString& target);

} // namespace struktur::publish

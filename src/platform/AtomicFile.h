// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace struktur {

/// A file being written beside its target, which replaces the target only on `commit()`.
/// Until then (and if never committed) the old file stays whole, byte for byte; the new bytes
/// live in a file without a name where the system allows it, so a killed process leaves no
/// temporary file behind. The target is never written in place: when no new file can be made
/// in its folder (a folder the user cannot write) the constructor refuses. Every failure throws
/// "Cannot create file" with the target's full path and the system's reason, in English.
class PendingFile {
public:
    explicit PendingFile(const QString& path);
    ~PendingFile();
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    /// Appends all of `bytes` or throws: a short write (a full disk) is an error.
    void write(QByteArrayView bytes);
    /// Forces what was written onto the disk; a failed sync throws. Commit syncs when this
    /// has not been called, so that a pair of files can be synced before either replaces its
    /// target.
    void sync();
    /// Replaces the target with the new file and syncs the folder. After a throw the target is
    /// the old file, whole.
    void commit();

    const QString& path() const { return m_path; }

    /// Commits two files so that they are replaced together. Both are synced, then each gets
    /// its pair name (`.<name>.pair` beside its target), the second's being the moment of
    /// commitment; then the two targets are replaced one right after the other. A process
    /// killed after that moment leaves what `completeInterruptedCommit()` finishes. A failure
    /// before it leaves both old files.
    friend void commitTogether(PendingFile& first, PendingFile& second);

/// Finishes a `commitTogether()` of the files at `first` and `second` that a killed process
/// or a stopped machine left after its moment of commitment, by renaming what is still under
/// the pair names onto the targets. Does nothing when no commitment is pending. Throws
/// "Cannot create file" (naming `second`) when a rename fails; the files stay as they were.
void completeInterruptedCommit(const QString& first, const QString& second);

private:
    [[noreturn]] void fail(int errorNumber) const;
    void discard() noexcept;
    void giveName();
    void giveName(const QByteArray& pairName);
    bool linkAs(const QByteArray& name) const;
    void replaceTarget();
    void finish();

    QString m_path; ///< the target as given, for messages
    QByteArray m_target; ///< the target's local path (a symbolic link's target)
    QByteArray m_temporary; ///< the named temporary file, when the system has no nameless ones
    int m_descriptor = -1;
    bool m_synced = false;
};

void commitTogether(PendingFile& first, PendingFile& second);

/// Finishes a `commitTogether()` of the files at `first` and `second` that a killed process
/// or a stopped machine left after its moment of commitment, by renaming what is still under
/// the pair names onto the targets. Does nothing when no commitment is pending. Throws
/// "Cannot create file" (naming `second`) when a rename fails; the files stay as they were.
void completeInterruptedCommit(const QString& first, const QString& second);

/// Replaces `path` with `bytes` atomically; throws "Cannot create file" on failure and leaves
/// the old file whole.
void writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace struktur

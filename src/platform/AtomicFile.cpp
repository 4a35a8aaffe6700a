// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include "Error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#include <cerrno>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace struktur {
namespace {

QByteArray folderOf(const QByteArray& file)
{
    const qsizetype slash = file.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return file.first(slash);
}

/// A fresh name beside `target` for a file that is about to replace it: hidden, and not
/// ending in the target's extension, so that no lister of documents takes it for one.
QByteArray temporaryNameFor(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.first(slash + 1);
    const QByteArray name = target.sliced(slash + 1);
    const quint64 random = QRandomGenerator::global()->generate64();
    return folder + '.' + name + '.' + QByteArray::number(random, 36) + QByteArrayLiteral(".tmp");
}

/// The name under which a file of a pair waits for its rename: fixed, so that a later load
/// finds it, and hidden.
QByteArray pairNameFor(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.first(slash + 1) + '.' + target.sliced(slash + 1) + QByteArrayLiteral(".pair");
}

/// The local path a file at `path` is written to: a symbolic link's target, or `path`.
QByteArray localTarget(const QString& path)
{
    const QFileInfo info(path);
    return QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
}

bool exists(const QByteArray& path)
{
    struct stat status = {};
    return ::lstat(path.constData(), &status) == 0;
}

/// Removes what a process killed in the moment between naming a new file and renaming it
/// left beside `target`. Only files of our own pattern that are a minute old go: a younger one
/// may belong to a save that is running now.
void removeStaleTemporaries(const QByteArray& target)
{
    const QFileInfo info(QFile::decodeName(target));
    const QString prefix = u'.' + info.fileName() + u'.';
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QFileInfoList candidates
        = info.dir().entryInfoList({ QStringLiteral(".*.tmp") }, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& candidate : candidates) {
        const QString fileName = candidate.fileName();
        if (!fileName.startsWith(prefix) || fileName.size() <= prefix.size() + 4)
            continue;
        const QStringView middle = QStringView(fileName).sliced(prefix.size()).chopped(4);
        const bool ours = !middle.isEmpty()
            && std::all_of(middle.begin(), middle.end(), [](QChar ch) { return ch.isDigit() || (ch >= u'a' && ch <= u'z'); });
        if (ours && candidate.lastModified().toUTC() < staleBefore)
            QFile::remove(candidate.filePath());
    }
}

bool temporaryFilesUnsupported(int errorNumber)
{
    // EISDIR: a kernel without nameless files; EOPNOTSUPP: a file system without them.
    return errorNumber == EISDIR || errorNumber == EOPNOTSUPP || errorNumber == EINVAL;
}

int retryingOnSignal(const auto& call)
{
    int result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

/// Puts the names in the folder of `file` on the disk; returns the error number of a failed
/// sync, or 0 (also where the system cannot sync folders).
int syncFolderOf(const QByteArray& file)
{
    const QByteArray folder = folderOf(file);
    const int descriptor
        = retryingOnSignal([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (descriptor < 0)
        return 0;
    const int synced = retryingOnSignal([&] { return ::fsync(descriptor); });
    const int error = errno;
    ::close(descriptor);
    return synced != 0 && error != EINVAL && error != EROFS ? error : 0;
}

} // namespace

PendingFile::PendingFile(const QString& path)
    : m_path(path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Error::cannotCreateFile(path, systemErrorText(EISDIR));
    m_target = localTarget(path);
    struct stat existing = {};
    const bool replacing = ::stat(m_target.constData(), &existing) == 0;
    // A file the user may not write is not replaced either, although its folder would allow it.
    if (replacing && ::access(m_target.constData(), W_OK) != 0)
        fail(errno);
    // Until the old file's permissions are copied, nobody else may read the new bytes.
    const mode_t mode = replacing ? 0600 : 0666;
    const QByteArray folder = folderOf(m_target);
    m_descriptor = retryingOnSignal([&] { return ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode); });
    if (m_descriptor < 0 && temporaryFilesUnsupported(errno)) {
        do {
            m_temporary = temporaryNameFor(m_target);
            m_descriptor = retryingOnSignal(
                [&] { return ::open(m_temporary.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode); });
        } while (m_descriptor < 0 && errno == EEXIST);
        if (m_descriptor < 0)
            m_temporary.clear();
    }
    if (m_descriptor < 0)
        fail(errno);
    if (replacing && ::fchmod(m_descriptor, existing.st_mode & 07777) != 0) {
        const int error = errno;
        discard();
        fail(error);
    }
}

PendingFile::~PendingFile() { discard(); }

PendingFile::PendingFile(PendingFile&& other) noexcept
    : m_path(std::move(other.m_path))
    , m_target(std::move(other.m_target))
    , m_temporary(std::move(other.m_temporary))
    , m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_synced(other.m_synced)
{
    other.m_temporary.clear();
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept
{
    if (this == &other)
        return *this;
    discard();
    m_path = std::move(other.m_path);
    m_target = std::move(other.m_target);
    m_temporary = std::exchange(other.m_temporary, {});
    m_descriptor = std::exchange(other.m_descriptor, -1);
    m_synced = other.m_synced;
    return *this;
}

void PendingFile::fail(int errorNumber) const { throw Error::cannotCreateFile(m_path, systemErrorText(errorNumber)); }

void PendingFile::discard() noexcept
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

void PendingFile::write(QByteArrayView bytes)
{
    Q_ASSERT_X(m_descriptor >= 0, "PendingFile::write", "written after commit");
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_descriptor, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        // A write that stores nothing without saying why is a full device.
        if (written <= 0)
            fail(written < 0 ? errno : ENOSPC);
        next += written;
        left -= written;
    }
    m_synced = false;
}

void PendingFile::sync()
{
    Q_ASSERT_X(m_descriptor >= 0, "PendingFile::sync", "synced after commit");
    if (retryingOnSignal([&] { return ::fsync(m_descriptor); }) != 0)
        fail(errno);
    m_synced = true;
}

void PendingFile::commit()
{
    if (!m_synced)
        sync();
    giveName();
    replaceTarget();
    finish();
}

void commitTogether(PendingFile& first, PendingFile& second)
{
    for (PendingFile* file : { &first, &second }) {
        if (!file->m_synced)
            file->sync();
    }
    // A commitment that no load finished is outdated by this one, and must not complete it.
    const QByteArray outdated = pairNameFor(second.m_target);
    if (exists(outdated)) {
        if (::unlink(outdated.constData()) != 0)
            second.fail(errno);
        if (const int syncError = syncFolderOf(second.m_target))
            second.fail(syncError);
    }
    first.giveName(pairNameFor(first.m_target));
    // The first pair name reaches the disk before the second, whose presence commits both.
    if (const int syncError = syncFolderOf(first.m_target))
        first.fail(syncError);
    second.giveName(pairNameFor(second.m_target));
    if (const int syncError = syncFolderOf(second.m_target))
        second.fail(syncError);
    // While the old files are held open, replacing them does not free their blocks: that
    // waits until both are replaced, and nothing slow stands between the two renames.
    const int firstOld = ::open(first.m_target.constData(), O_RDONLY | O_CLOEXEC);
    const int secondOld = ::open(second.m_target.constData(), O_RDONLY | O_CLOEXEC);
    const auto closeOld = [&] {
        for (const int descriptor : { firstOld, secondOld }) {
            if (descriptor >= 0)
                ::close(descriptor);
        }
    };
    try {
        first.replaceTarget();
        second.replaceTarget();
    } catch (...) {
        closeOld();
        // Committed: what is still under a pair name stays there for the next load to finish.
        first.m_temporary.clear();
        second.m_temporary.clear();
        throw;
    }
    closeOld();
    first.finish();
    second.finish();
}

void completeInterruptedCommit(const QString& first, const QString& second)
{
    const QByteArray firstTarget = localTarget(first);
    const QByteArray secondTarget = localTarget(second);
    const QByteArray firstPending = pairNameFor(firstTarget);
    const QByteArray secondPending = pairNameFor(secondTarget);
    if (!exists(secondPending))
        return;
    const auto failed = [&](int errorNumber) { return Error::cannotCreateFile(second, systemErrorText(errorNumber)); };
    if (exists(firstPending) && ::rename(firstPending.constData(), firstTarget.constData()) != 0)
        throw failed(errno);
    if (::rename(secondPending.constData(), secondTarget.constData()) != 0)
        throw failed(errno);
    for (const QByteArray& target : { firstTarget, secondTarget }) {
        if (const int syncError = syncFolderOf(target))
            throw failed(syncError);
    }
}

bool PendingFile::linkAs(const QByteArray& name) const
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_descriptor);
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

void PendingFile::giveName()
{
    if (!m_temporary.isEmpty())
        return;
    // A link cannot replace a file, so the nameless file gets a name beside the target first.
    QByteArray name;
    bool linked;
    do {
        name = temporaryNameFor(m_target);
        linked = linkAs(name);
    } while (!linked && errno == EEXIST);
    if (!linked)
        fail(errno);
    m_temporary = name;
}

void PendingFile::giveName(const QByteArray& pairName)
{
    // A pair name that a save killed before its commitment left is taken over.
    if (m_temporary.isEmpty()) {
        ::unlink(pairName.constData());
        if (!linkAs(pairName))
            fail(errno);
    } else if (::rename(m_temporary.constData(), pairName.constData()) != 0) {
        fail(errno);
    }
    m_temporary = pairName;
}

void PendingFile::replaceTarget()
{
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        fail(errno);
    m_temporary.clear();
}

void PendingFile::finish()
{
    const int closed = ::close(std::exchange(m_descriptor, -1));
    const int closeError = errno;
    // The new name is on disk only once the folder is.
    if (const int syncError = syncFolderOf(m_target))
        fail(syncError);
    if (closed != 0 && closeError != EINTR)
        fail(closeError);
    removeStaleTemporaries(m_target);
}

void writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    PendingFile file(path);
    file.write(bytes);
    file.commit();
}

} // namespace struktur

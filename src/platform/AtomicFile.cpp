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

} // namespace

PendingFile::PendingFile(const QString& path)
    : m_path(path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Error::cannotCreateFile(path, systemErrorText(EISDIR));
    m_target = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
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
        // Each file is named right before it replaces its target: a process killed in between
        // leaves a named temporary file, so that moment is kept as short as the mixed pair's.
        first.giveName();
        first.replaceTarget();
        second.giveName();
        second.replaceTarget();
    } catch (...) {
        closeOld();
        throw;
    }
    closeOld();
    first.finish();
    second.finish();
}

void PendingFile::giveName()
{
    if (!m_temporary.isEmpty())
        return;
    // A link cannot replace a file, so the nameless file gets a name beside the target first.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_descriptor);
    QByteArray name;
    int linked;
    do {
        name = temporaryNameFor(m_target);
        linked = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
    } while (linked != 0 && errno == EEXIST);
    if (linked != 0)
        fail(errno);
    m_temporary = name;
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
    const QByteArray folder = folderOf(m_target);
    const int folderDescriptor
        = retryingOnSignal([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (folderDescriptor >= 0) {
        const int synced = retryingOnSignal([&] { return ::fsync(folderDescriptor); });
        const int syncError = errno;
        ::close(folderDescriptor);
        if (synced != 0 && syncError != EINVAL && syncError != EROFS)
            fail(syncError);
    }
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

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

namespace struktur::test {

/// A small memory file system mounted for one test, to see what saving does when the disk is
/// full. Mounting needs root (or a user namespace); where the system refuses, `skipReason()`
/// says why and the test skips with it.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes)
    {
        if (!m_dir.isValid()) {
            m_skipReason = QStringLiteral("no temporary folder for the mount point");
            return;
        }
        QProcess mount;
        mount.start(QStringLiteral("mount"),
            { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                QStringLiteral("size=%1k,mode=0777").arg(kilobytes), QStringLiteral("tmpfs"), m_dir.path() });
        if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0) {
            m_skipReason = QStringLiteral("cannot mount a small tmpfs (needs root): %1")
                               .arg(QString::fromLocal8Bit(mount.readAllStandardError()).trimmed());
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), { QStringLiteral("-l"), m_dir.path() });
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isMounted() const { return m_mounted; }
    const QString& skipReason() const { return m_skipReason; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    /// Fills the disk, then frees about `freeBytes` (whole pages) again.
    bool fillLeaving(qint64 freeBytes)
    {
        const QByteArray name = QFile::encodeName(filePath(QStringLiteral("filler")));
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        qint64 size = 0;
        for (;;) {
            const ssize_t written = ::write(fd, block.constData(), size_t(block.size()));
            if (written <= 0)
                break;
            size += written;
        }
        const bool shrunk = ::ftruncate(fd, size > freeBytes ? size - freeBytes : 0) == 0;
        ::close(fd);
        return shrunk;
    }
    /// Frees the whole disk again.
    void empty() { QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    QString m_skipReason;
    bool m_mounted = false;
};

} // namespace struktur::test

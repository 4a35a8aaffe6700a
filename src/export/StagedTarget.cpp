// SPDX-License-Identifier: GPL-3.0-or-later
#include "StagedTarget.h"

#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace struktur::publish {
namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

void removePath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else if (info.exists() || info.isSymLink())
        QFile::remove(path);
}

// rename(2) moves a folder as a whole, which QFile::rename does not promise.
bool renamePath(const QString& from, const QString& to, QString& reason)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

bool targetExists(const QString& target)
{
    const QFileInfo info(target);
    return info.exists() || info.isSymLink();
}

StagedTarget::StagedTarget(QString target, Kind kind, Replace replace)
    : m_target(QFileInfo(target).absoluteFilePath())
    , m_kind(kind)
{
    if (target.isEmpty())
        throw Error(QStringLiteral("Der er ikke angivet noget mål"));
    if (targetExists(m_target) && replace == Replace::No)
        throw Error(QStringLiteral("%1 findes allerede").arg(native(m_target)));
    const QFileInfo info(m_target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw Error(QStringLiteral("Mappen findes ikke: ") + native(folder));
    QTemporaryDir staging(folder + QStringLiteral("/.") + info.fileName() + QStringLiteral("-XXXXXX"));
    if (!staging.isValid())
        throw Error::cannotCreateFile(m_target, staging.errorString());
    staging.setAutoRemove(false);
    m_staging = staging.path();
    if (kind == Kind::File)
        m_staging += QStringLiteral("/") + info.fileName();
}

StagedTarget::~StagedTarget()
{
    if (m_committed)
        return;
    removePath(m_kind == Kind::File ? QFileInfo(m_staging).absolutePath() : m_staging);
}

void StagedTarget::commit()
{
    const QString holder = m_kind == Kind::File ? QFileInfo(m_staging).absolutePath() : m_staging;
    QString reason;
    // A file replaces its target in one step; a folder cannot be renamed over a folder that has
    // content, so the old one is moved aside first and put back if the new one cannot follow.
    if (m_kind == Kind::File || !targetExists(m_target)) {
        if (!renamePath(m_staging, m_target, reason))
            throw Error::cannotCreateFile(m_target, reason);
    } else {
        const QString aside = holder + QStringLiteral(".gammel");
        if (!renamePath(m_target, aside, reason))
            throw Error::cannotCreateFile(m_target, reason);
        if (!renamePath(m_staging, m_target, reason)) {
            QString ignored;
            renamePath(aside, m_target, ignored);
            throw Error::cannotCreateFile(m_target, reason);
        }
        removePath(aside);
    }
    m_committed = true;
    if (m_kind == Kind::File)
        QDir().rmdir(holder);
}

} // namespace struktur::publish

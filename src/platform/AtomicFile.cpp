// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include "Error.h"

#include <QFileInfo>

namespace struktur {

PendingFile::PendingFile(const QString& path)
    : m_path(path)
    , m_file(std::make_unique<QSaveFile>(path))
{
    // Where no temporary file can be made beside the target (a writable file in a read-only
    // folder) write in place rather than refuse.
    m_file->setDirectWriteFallback(true);
    if (QFileInfo(path).isDir() || !m_file->open(QIODevice::WriteOnly))
        throw Error::cannotCreateFile(path, QFileInfo(path).isDir() ? QStringLiteral("Is a directory") : m_file->errorString());
}

PendingFile::~PendingFile()
{
    if (m_file)
        m_file->cancelWriting();
}

PendingFile::PendingFile(PendingFile&&) noexcept = default;
PendingFile& PendingFile::operator=(PendingFile&&) noexcept = default;

void PendingFile::write(QByteArrayView bytes)
{
    if (m_file->write(bytes.data(), bytes.size()) != bytes.size())
        throw Error::cannotCreateFile(m_path, m_file->errorString());
}

void PendingFile::commit()
{
    if (!m_file->commit()) {
        const QString reason = m_file->errorString();
        m_file.reset();
        throw Error::cannotCreateFile(m_path, reason);
    }
    m_file.reset();
}

void writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    PendingFile file(path);
    file.write(bytes);
    file.commit();
}

} // namespace struktur

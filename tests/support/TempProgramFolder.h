// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

namespace struktur::test {

/// A fresh program folder for one test: KVARNOLT_DIR points at a not yet existing folder with
/// Danish letters in its name inside a temporary directory, removed afterwards.
class TempProgramFolder {
public:
    TempProgramFolder()
        : m_path(m_dir.filePath(QStringLiteral("Kvarnolt æøå")))
    {
        qputenv("KVARNOLT_DIR", QDir::toNativeSeparators(m_path).toUtf8());
    }
    ~TempProgramFolder() { qunsetenv("KVARNOLT_DIR"); }
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    /// The program folder (not created).
    const QString& path() const { return m_path; }
    QString optionsFolder() const { return m_path + QStringLiteral("/Options"); }
    QString optionsFile(const QString& name) const { return optionsFolder() + QLatin1Char('/') + name; }
    /// Creates the program and options folders as a previous run would have left them.
    void createFolders() const { QDir().mkpath(optionsFolder()); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace struktur::test

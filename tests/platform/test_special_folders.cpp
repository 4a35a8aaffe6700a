// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace struktur;

class TestSpecialFolders : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void freshAccountGetsHomeAndANewDataFolder();
    void userFoldersAreTheConfiguredOnes();

private:
    QString home(const QString& relative = {}) const
    {
        return relative.isEmpty() ? m_home->path() : m_home->filePath(relative);
    }
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestSpecialFolders::init()
{
    m_home = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/hjem-æøå-XXXXXX"));
    QVERIFY(m_home->isValid());
    qputenv("HOME", home().toUtf8());
    qputenv("XDG_CONFIG_HOME", home(QStringLiteral(".config")).toUtf8());
    qputenv("XDG_DATA_HOME", home(QStringLiteral(".local/share")).toUtf8());
}

// An account that never ran a desktop has neither a desktop folder nor ~/.local/share.
void TestSpecialFolders::freshAccountGetsHomeAndANewDataFolder()
{
    QCOMPARE(specialFolderPath(SpecialFolder::Desktop), home());
    QCOMPARE(specialFolderPath(SpecialFolder::Documents), home());
    const QString data = specialFolderPath(SpecialFolder::LocalApplicationData);
    QCOMPARE(data, home(QStringLiteral(".local/share")));
    QVERIFY(QFileInfo(data).isDir());
}

void TestSpecialFolders::userFoldersAreTheConfiguredOnes()
{
    QVERIFY(QDir(home()).mkpath(QStringLiteral(".config")));
    QFile dirs(home(QStringLiteral(".config/user-dirs.dirs")));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Skrivebord\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumenter\"\n");
    dirs.close();
    // Configured but not made yet: still the home folder.
    QCOMPARE(specialFolderPath(SpecialFolder::Desktop), home());
    QVERIFY(QDir(home()).mkpath(QStringLiteral("Skrivebord")));
    QVERIFY(QDir(home()).mkpath(QStringLiteral("Dokumenter")));
    QCOMPARE(specialFolderPath(SpecialFolder::Desktop), home(QStringLiteral("Skrivebord")));
    QCOMPARE(specialFolderPath(SpecialFolder::Documents), home(QStringLiteral("Dokumenter")));
}

QTEST_GUILESS_MAIN(TestSpecialFolders)
#include "test_special_folders.moc"

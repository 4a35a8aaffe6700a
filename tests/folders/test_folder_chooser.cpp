// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ErrorOf.h"
#include "../support/DialogScript.h"
#include "../support/GuiTestMain.h"
#include "folders/DriveComboBox.h"
#include "folders/FileListBox.h"
#include "folders/FolderListBox.h"
#include "folders/TmappeForm.h"
#include "platform/Error.h"
#include "ui/ImageList.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <optional>

using struktur::test::DialogScript;

using struktur::test::errorOf;

namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

void makeFolder(const QString& path) { QVERIFY(QDir().mkpath(path)); }

void makeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

QRect rowRect(FolderListBox* list, const QString& text)
{
    const auto rows = list->findItems(text, Qt::MatchExactly);
    return rows.isEmpty() ? QRect() : list->visualItemRect(rows.first());
}

} // namespace

class TestFolderChooser : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_base; // a folder "Grundmappe æøå" below the temporary home
    QString m_startFolder;

    void moveTo(TmappeForm& form, const QString& folder) { form.dirBox->setDirectory(folder); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        m_startFolder = QDir::currentPath();
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(".config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
        qputenv("KVARNOLT_DIR", QFile::encodeName(m_home.filePath("Kvarnolt")));
        m_base = native(m_home.filePath(QStringLiteral("Grundmappe æøå")));
        makeFolder(m_base);
    }

    void cleanupTestCase() { QDir::setCurrent(m_startFolder); }

    void startsAtTheRootWithTheWindowAsDesigned()
    {
        TmappeForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Strukturmappe"));
        QCOMPARE(form.size(), QSize(514, 404));
        QVERIFY(form.isModal());
        QCOMPARE(form.dirBox->directory(), native(QDir::rootPath()));
        QCOMPARE(native(QDir::currentPath()), native(QDir::rootPath()));
        form.show();
        QCOMPARE(form.dirMemo->toPlainText(), native(QDir::rootPath()));
        QCOMPARE(form.mappeEdit->property("hint").toString(),
            QStringLiteral("Indfør selve mappenavnet, husk eventuelt: ") + QDir::separator());
        QCOMPARE(form.findChild<QToolButton*>("ToolButton6")->text(), QStringLiteral("Program"));
        // The tool buttons take their pictures from the dialog's own 32 x 32 image list.
        QCOMPARE(form.ImageList1->objectName(), QStringLiteral("ImageList1"));
        QCOMPARE(form.ImageList1->count(), 3);
        QCOMPARE(form.ImageList1->imageSize(), QSize(32, 32));
        QCOMPARE(form.ToolButton4->icon().cacheKey(), form.ImageList1->icon(1).cacheKey());
    }

    void memoIsTheFolderFollowedByTheTypedName()
    {
        const QString data = m_base + native("/Data");
        makeFolder(data);
        TmappeForm form;
        moveTo(form, data);
        form.show();
        QTest::keyClicks(form.mappeEdit, QStringLiteral("Proj"));
        QCOMPARE(form.dirMemo->toPlainText(), data + QStringLiteral("Proj"));
        form.mappeEdit->clear();
        QTest::keyClicks(form.mappeEdit, QDir::separator() + QStringLiteral("Proj"));
        QCOMPARE(form.dirMemo->toPlainText(), data + QDir::separator() + QStringLiteral("Proj"));

        // The name stays at the end when the folder changes.
        moveTo(form, m_base);
        QCOMPARE(form.dirMemo->toPlainText(), m_base + QDir::separator() + QStringLiteral("Proj"));

        // At the root no separator is needed.
        form.mappeEdit->setText(QStringLiteral("Proj"));
        moveTo(form, QDir::rootPath());
        QCOMPARE(form.dirMemo->toPlainText(), native(QDir::rootPath()) + QStringLiteral("Proj"));
    }

    // What the caller gets: the composed folder after "Indfør", without the line breaks the
    // memo may hold; nothing after "Annuller" or Escape, also when a folder was composed.
    void chooseFolderReturnsTheComposedFolderOrNothing()
    {
        TmappeForm form;
        moveTo(form, m_base);
        const auto chooseWith = [&form](const std::function<void()>& answer) {
            QTimer::singleShot(0, &form, answer);
            return form.chooseFolder();
        };

        std::optional<QString> chosen = chooseWith([&] {
            QTest::keyClicks(form.mappeEdit, native("/Ny"));
            QTest::mouseClick(form.Button1, Qt::LeftButton);
        });
        QCOMPARE(chosen, std::optional<QString>(m_base + native("/Ny")));

        chosen = chooseWith([&] {
            // Showing again starts from the list's folder alone.
            QCOMPARE(form.mappeEdit->text(), QString());
            form.dirMemo->moveCursor(QTextCursor::End);
            QTest::keyClick(form.dirMemo, Qt::Key_Return);
            QTest::keyClicks(form.dirMemo, QStringLiteral("To"));
            QTest::mouseClick(form.Button1, Qt::LeftButton);
        });
        QCOMPARE(chosen, std::optional<QString>(m_base + QStringLiteral("To")));

        chosen = chooseWith([&] {
            QTest::keyClicks(form.mappeEdit, native("/Ny"));
            QTest::mouseClick(form.Button2, Qt::LeftButton);
        });
        QCOMPARE(chosen, std::nullopt);

        chosen = chooseWith([&] { QTest::keyClick(&form, Qt::Key_Escape); });
        QCOMPARE(chosen, std::nullopt);
        QVERIFY(!form.isVisible());
    }

    void textTypedInTheMemoIsHandedOverUnchanged()
    {
        TmappeForm form;
        moveTo(form, m_base);
        form.show();
        form.dirMemo->clear();
        QTest::keyClicks(form.dirMemo, QStringLiteral("/egen/sti æ"));
        // Choosing the drive the list is already on is no change of drive.
        QVERIFY(form.driveBox->currentIndex() >= 0);
        Q_EMIT form.driveBox->activated(form.driveBox->currentIndex());
        QCOMPARE(form.dirMemo->toPlainText(), QStringLiteral("/egen/sti æ"));
        QCOMPARE(form.dirBox->directory(), m_base);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
        QCOMPARE(form.dirMemo->toPlainText(), QStringLiteral("/egen/sti æ"));

        form.show();
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }

    void secondOpeningKeepsTheFolderAndEmptiesTheName()
    {
        TmappeForm form;
        moveTo(form, m_base);
        form.show();
        form.mappeEdit->setText(QStringLiteral("Ny"));
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        form.show();
        QCOMPARE(form.dirBox->directory(), m_base);
        QCOMPARE(form.mappeEdit->text(), QString());
        QCOMPARE(form.dirMemo->toPlainText(), m_base);
    }

    void onlyDoubleClickOrEnterOpensAFolder()
    {
        makeFolder(m_base + native("/Åben"));
        makeFolder(m_base + native("/Bøger"));
        makeFile(m_base + native("/Bøger/b.txt"));
        makeFile(m_base + native("/Bøger/A.txt"));
        makeFile(m_base + native("/Bøger/.skjult"));
        makeFolder(m_base + native("/Bøger/undermappe"));
        TmappeForm form;
        moveTo(form, m_base);
        form.show();
        FolderListBox* list = form.dirBox;
        QVERIFY(!list->findItems(QStringLiteral("Grundmappe æøå"), Qt::MatchExactly).isEmpty());

        const QRect books = rowRect(list, QStringLiteral("Bøger"));
        QVERIFY(books.isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, books.center());
        QCOMPARE(list->highlightedFolder(), m_base + native("/Bøger"));
        QCOMPARE(list->directory(), m_base);
        QCOMPARE(form.dirMemo->toPlainText(), m_base);

        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, books.center());
        QCOMPARE(list->directory(), m_base + native("/Bøger"));
        QCOMPARE(native(QDir::currentPath()), m_base + native("/Bøger"));
        QCOMPARE(form.dirMemo->toPlainText(), m_base + native("/Bøger"));
        // The file list shows the ordinary files, sorted, without hidden files or folders.
        QStringList files;
        for (int row = 0; row < form.filBox->count(); ++row)
            files.append(form.filBox->item(row)->text());
        QCOMPARE(files, QStringList({ "A.txt", "b.txt" }));

        // Enter on an ancestor row goes back up.
        list->setCurrentItem(list->findItems(QStringLiteral("Grundmappe æøå"), Qt::MatchExactly).first());
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->directory(), m_base);
        QVERIFY(form.isVisible());
    }

    void driveListFollowsTheFolderAndLeadsBack()
    {
        TmappeForm form;
        moveTo(form, m_base);
        form.show();
        DriveComboBox* drives = form.driveBox;
        const QString volume = drives->currentRoot();
        QVERIFY2(!volume.isEmpty() && m_base.startsWith(volume), qPrintable(volume));
        int other = -1;
        for (int row = 0; row < drives->count() && other < 0; ++row) {
            const QString root = drives->itemData(row, Qt::UserRole).toString();
            if (root != volume && QFileInfo(root).isDir())
                other = row;
        }
        if (other < 0)
            QSKIP("only one mounted volume; there is no other drive to change to");
        const QString otherRoot = drives->itemData(other, Qt::UserRole).toString();

        // A volume not visited yet leads to its root; the list's drive follows.
        drives->setCurrentIndex(other);
        Q_EMIT drives->activated(other);
        QCOMPARE(form.dirBox->directory(), otherRoot);
        QCOMPARE(form.dirMemo->toPlainText(), otherRoot);
        QCOMPARE(drives->currentRoot(), otherRoot);

        // Going back leads to the folder left on that volume.
        const int back = drives->findData(volume, Qt::UserRole);
        drives->setCurrentIndex(back);
        Q_EMIT drives->activated(back);
        QCOMPARE(form.dirBox->directory(), m_base);
        QCOMPARE(drives->currentRoot(), volume);
    }

    void specialFoldersMoveTheListOrReportTheirAbsence()
    {
        const QString desktop = native(m_home.filePath("Desktop"));
        makeFolder(desktop);
        TmappeForm form;
        moveTo(form, m_base);
        form.show();
        form.mappeEdit->setText(QStringLiteral("Ny"));
        QTest::mouseClick(form.ToolButton2, Qt::LeftButton);
        QCOMPARE(form.dirBox->directory(), desktop);
        QCOMPARE(form.dirMemo->toPlainText(), desktop + QStringLiteral("Ny"));

        // An account without a documents folder (yet) is shown its home folder.
        QDir(m_home.filePath("Documents")).removeRecursively();
        {
            DialogScript dialogs;
            QTest::mouseClick(form.ToolButton4, Qt::LeftButton);
            QCOMPARE(dialogs.shown.size(), 0);
        }
        QCOMPARE(form.dirBox->directory(), native(m_home.path()));

        // The application-data folder is made when missing.
        const QString data = native(m_home.filePath("data"));
        QDir(m_home.filePath("data")).removeRecursively();
        QTest::mouseClick(form.ToolButton6, Qt::LeftButton);
        QCOMPARE(form.dirBox->directory(), data);

        // Without even a home folder, the message, and the list and memo stay.
        form.mappeEdit->setText(QStringLiteral("Ny"));
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(m_home.filePath("findes ikke")));
        QDir(m_home.filePath("Desktop")).removeRecursively();
        {
            DialogScript dialogs;
            QTest::mouseClick(form.ToolButton2, Qt::LeftButton);
            QCOMPARE(dialogs.shown.size(), 1);
            QCOMPARE(dialogs.shown.first().kind, struktur::Dialogs::Kind::Error);
            QCOMPARE(dialogs.shown.first().text, QStringLiteral("Kunne ikke finde skrivebordsmappen."));
        }
        QCOMPARE(errorOf([&] { form.GetMyDocuments(); }), QStringLiteral("Kunne ikke finde dokumentmappen."));
        qputenv("HOME", home);
        QCOMPARE(form.dirBox->directory(), data);
        QCOMPARE(form.dirMemo->toPlainText(), data + QStringLiteral("Ny"));
        QVERIFY(form.isVisible());
    }

    void deleteRemovesOnlyAnEmptyFolderAfterLeavingIt_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QList<struktur::Dialogs::Answer>>("answers");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<bool>("movedUp");
        using A = struktur::Dialogs::Answer;
        QTest::newRow("empty folder, yes") << false << QList<A> { A::Yes } << true << true;
        QTest::newRow("folder with a file, yes") << true << QList<A> { A::Yes } << false << true;
        QTest::newRow("empty folder, no") << false << QList<A> { A::No } << false << false;
    }
    void deleteRemovesOnlyAnEmptyFolderAfterLeavingIt()
    {
        QFETCH(bool, withFile);
        QFETCH(QList<struktur::Dialogs::Answer>, answers);
        QFETCH(bool, removed);
        QFETCH(bool, movedUp);
        const QString old = m_base + native("/Data/Old");
        QDir(old).removeRecursively();
        makeFolder(old);
        if (withFile)
            makeFile(old + native("/fil.txt"));
        TmappeForm form;
        moveTo(form, old);
        form.show();
        DialogScript dialogs;
        dialogs.answers = answers;
        QTest::mouseClick(form.sletKnap, Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().kind, struktur::Dialogs::Kind::AskYesNo);
        QCOMPARE(dialogs.shown.first().text, QStringLiteral("Skal mappen %1 slettes?").arg(old));
        QCOMPARE(QFileInfo::exists(old), !removed);
        const QString expected = movedUp ? m_base + native("/Data") : old;
        QCOMPARE(form.dirBox->directory(), expected);
        QCOMPARE(native(QDir::currentPath()), expected);
        QCOMPARE(form.dirBox->findItems(QStringLiteral("Old"), Qt::MatchExactly).isEmpty(), removed);
    }

    void fileListReportsAMissingFolderAndKeepsItsList()
    {
        FileListBox list;
        list.applyFilePath(m_base + QDir::separator());
        const int before = list.count();
        const QString missing = m_base + native("/findes ikke/");
        QVERIFY(!errorOf([&] { list.applyFilePath(missing); }).isEmpty());
        QCOMPARE(list.count(), before);
        QCOMPARE(list.directory(), m_base);
        QCOMPARE(list.fileName(), QString());
    }
};

STRUKTUR_GUI_TEST_MAIN(TestFolderChooser)
#include "test_folder_chooser.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "../support/DialogScript.h"
#include "../support/GuiTestMain.h"
#include "../support/TempProgramFolder.h"
#include "app/Instances.h"
#include "app/ProjectsPage.h"
#include "app/Tmainform.h"
#include "editor/TeditForm.h"
#include "folders/FileListBox.h"
#include "folders/FolderListBox.h"
#include "folders/TmappeForm.h"
#include "model/TStruktur.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace struktur;
using struktur::test::DialogScript;
using struktur::test::TempProgramFolder;
using Answer = Dialogs::Answer;
using Kind = Dialogs::Kind;

namespace {

const QString sep = QDir::separator();

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// A registry file as the program writes it: Windows-1252 lines, each ended by CR LF.
QByteArray registryBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

/// The program with its four windows, on a fresh program folder.
class Program {
public:
    explicit Program(const std::function<void(const QString& programdir)>& prepare = {})
    {
        folder.createFolders();
        programdir = native(folder.path());
        if (prepare)
            prepare(programdir);
        createWindows();
        mainform->show();
        page = mainform->findChild<ProjectsPage*>();
    }
    ~Program() { destroyWindows(); }

    template <typename Widget> Widget* control(const char* name) const
    {
        auto* widget = mainform->findChild<Widget*>(QLatin1StringView(name));
        if (!widget)
            qWarning("no control %s", name);
        return widget;
    }
    QListWidget* list() const { return control<QListWidget>("strukturboks"); }
    QString field(const char* name) const { return control<QLineEdit>(name)->text(); }
    QStringList entries() const
    {
        QStringList texts;
        for (int row = 0; row < list()->count(); ++row)
            texts.append(list()->item(row)->text());
        return texts;
    }

    QSet<QString> entrySet() const
    {
        const QStringList texts = entries();
        return QSet<QString>(texts.begin(), texts.end());
    }

    void click(const char* name) const
    {
        mainform->bog->setCurrentWidget(mainform->side1);
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    void clickEntry(const QString& entry, bool twice = false) const
    {
        mainform->bog->setCurrentWidget(mainform->side1);
        const auto rows = list()->findItems(entry, Qt::MatchExactly);
        QVERIFY2(!rows.isEmpty(), qPrintable(entry));
        const QPoint centre = list()->visualItemRect(rows.first()).center();
        // A real double click starts with a click; QTest sends only the second half.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, centre);
        if (twice)
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, centre);
    }
    void type(const char* name, const QString& text) const
    {
        auto* edit = control<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    QString infoLabel() const
    {
        const auto* label = mainform->side2->findChild<QLabel*>(QStringLiteral("InfoLabel"));
        return label ? label->text() : QStringLiteral("(no InfoLabel)");
    }
    bool onStructurePage() const { return mainform->bog->currentWidget() == mainform->side2; }

    TempProgramFolder folder;
    QString programdir;
    ProjectsPage* page = nullptr;
};

/// A structure with its two files and a document in a folder of its own, and its registry file.
QString addStructure(const QString& programdir, const QString& name, const QString& folder,
    const QByteArray& structure = "Første\r\n", const QByteArray& data = "0første\r\n")
{
    const QStringList lines { folder + sep + "struktur.txt", folder + sep + "data.txt",
        folder + sep + "tekstfiler" + sep };
    writeBytes(lines[0], structure);
    writeBytes(lines[1], data);
    writeBytes(lines[2] + "første.rtf", "{\\rtf1 x}");
    writeBytes(programdir + sep + name + ".txt", registryBytes(lines));
    return programdir + sep + name + ".txt";
}

} // namespace

class TestProjectsPage : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    QString m_startFolder;
    QString work(const QString& relative) const { return native(m_work.filePath(relative)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_startFolder = QDir::currentPath();
        qputenv("HOME", QFile::encodeName(m_work.filePath("hjem")));
        QDir().mkpath(m_work.filePath("hjem"));
    }
    void cleanupTestCase() { QDir::setCurrent(m_startFolder); }
    void cleanup() { setShellHandler({}); }

    // --- the page

    void listIsFilledFromTheProgramFolder()
    {
        Program program([](const QString& dir) {
            writeBytes(dir + sep + "Æble.txt", "");
            writeBytes(dir + sep + "brugere.txt", "");
            writeBytes(dir + sep + ".skjult.txt", "");
            writeBytes(dir + sep + "noter.dat", "");
            QDir().mkpath(dir + sep + "mappe.txt");
        });
        QCOMPARE(program.entrySet(), QSet<QString>({ ".skjult.txt", "brugere.txt", "Æble.txt" }));
        QVERIFY(program.list()->selectedItems().isEmpty());
        QCOMPARE(program.field("Edit3"), program.programdir);
        QCOMPARE(program.field("Edit1"), QStringLiteral("Strukturfil navn"));
        QCOMPARE(program.control<FileListBox>("filbox")->count(), 3);
    }

    void emptyProgramFolderLoadsAndDeletesNothing()
    {
        Program program;
        QCOMPARE(program.list()->count(), 0);
        editForm->infoTekst->setPlainText(QStringLiteral("kladde"));
        DialogScript dialogs;
        program.click("redigerKnap");
        QCOMPARE(editForm->infoTekst->toPlainText(), QString());
        QVERIFY(!program.onStructurePage());
        program.click("sletKnap");
        QCOMPARE(dialogs.shown.size(), 0);
    }

    void clickShowsTheResolvedPaths_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("builtIn");
        QTest::newRow("ordinary") << "Hjælp" << false;
        QTest::newRow("built-in, registry file ignored") << "Information" << true;
        QTest::newRow("lower-case name is ordinary") << "information" << false;
    }
    void clickShowsTheResolvedPaths()
    {
        QFETCH(QString, entry);
        QFETCH(bool, builtIn);
        const QString folder = work("strukturer/" + entry + " æ");
        Program program([&](const QString& dir) {
            addStructure(dir, entry, folder);
            addStructure(dir, "Enhedsinformation", work("strukturer/Enhed"));
            writeBytes(dir + sep + "Information" + sep + "tekstfiler" + sep + "indbygget.rtf", "x");
            QDir().mkpath(dir + sep + "Enhedsinformation" + sep + "tekstfiler");
        });
        program.clickEntry(entry + ".txt");
        const QString base = builtIn ? program.programdir + sep + entry : folder;
        QCOMPARE(program.field("Edit1"), base + sep + "struktur.txt");
        QCOMPARE(program.field("Edit2"), base + sep + "data.txt");
        QCOMPARE(program.field("Edit3"), base + sep + "tekstfiler" + sep);
        auto* files = program.control<FileListBox>("filbox");
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->item(0)->text(), builtIn ? "indbygget.rtf" : "første.rtf");
        QCOMPARE(program.page->findChild<QListWidget*>()->count(), 2);
        QVERIFY(!program.onStructurePage());
    }

    void keysInTheListShowTheEntryReached()
    {
        Program program([&](const QString& dir) {
            for (const char* name : { "Alfa", "Beta", "Gamma" })
                addStructure(dir, QString::fromLatin1(name), work(u"keys/"_qs + QString::fromLatin1(name)));
        });
        program.clickEntry("Alfa.txt");
        QTest::keyClick(program.list(), Qt::Key_Down);
        QCOMPARE(program.field("Edit1"), work("keys/Beta") + sep + "struktur.txt");
        // Typing an entry's first letter moves to it as a click would.
        QTest::keyClick(program.list(), Qt::Key_G);
        QCOMPARE(program.list()->currentItem()->text(), "Gamma.txt");
        QCOMPARE(program.field("Edit3"), work("keys/Gamma") + sep + "tekstfiler" + sep);

        // Ctrl neither moves without selecting nor takes the selection away.
        QTest::keyClick(program.list(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(program.list()->selectedItems().value(0)->text(), "Beta.txt");
        QCOMPARE(program.field("Edit1"), work("keys/Beta") + sep + "struktur.txt");
        const QPoint beta = program.list()->visualItemRect(program.list()->item(1)).center();
        QTest::mouseClick(program.list()->viewport(), Qt::LeftButton, Qt::ControlModifier, beta);
        QCOMPARE(program.list()->selectedItems().size(), 1);
    }
    void brokenRegistryFileShowsWhatItCan()
    {
        Program program([&](const QString& dir) {
            writeBytes(dir + sep + "kort.txt", registryBytes({ "/a/struktur.txt" }));
            writeBytes(dir + sep + "uden mappe.txt",
                registryBytes({ "/a/struktur.txt", "/a/data.txt", work("findes ikke") + sep }));
        });
        DialogScript dialogs;
        program.clickEntry("kort.txt");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, Kind::Error);
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("List index out of bounds (1)"));
        QCOMPARE(program.field("Edit1"), native("/a/struktur.txt"));
        QCOMPARE(program.field("Edit2"), QStringLiteral("Datafil navn"));

        program.clickEntry("uden mappe.txt");
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].kind, Kind::Error);
        QVERIFY2(dialogs.shown[1].text.contains(work("findes ikke")), qPrintable(dialogs.shown[1].text));
        QCOMPARE(program.field("Edit3"), work("findes ikke") + sep);
    }

    void loadTakesTheSelectedOrTheFirstEntry()
    {
        Program program([&](const QString& dir) {
            addStructure(dir, "Alfa", work("alfa"), "Alfa-element\r\n", "3alfa\r\n");
            addStructure(dir, "Beta", work("beta"), "Beta-element\r\n", "4beta\r\n");
        });
        TStruktur* tree = mainform->Struktur;
        program.click("redigerKnap");
        QCOMPARE(tree->Strukturfile(), work("alfa") + sep + "struktur.txt");
        QCOMPARE(tree->Datafile(), work("alfa") + sep + "data.txt");
        QCOMPARE(tree->Infomappe(), work("alfa") + sep + "tekstfiler" + sep);
        QCOMPARE(tree->model()->index(0, 0).data().toString(), QStringLiteral("Alfa-element"));
        QVERIFY(program.onStructurePage());
        QVERIFY(editForm->isVisible());
        QCOMPARE(program.infoLabel(), QStringLiteral("Strukturnavn: Alfa.txt"));

        // A double click loads the entry clicked; the path fields are those of the click.
        editForm->hide();
        program.clickEntry("Beta.txt", true);
        QCOMPARE(tree->Strukturfile(), work("beta") + sep + "struktur.txt");
        QCOMPARE(tree->model()->index(0, 0).data().toString(), QStringLiteral("Beta-element"));
        QVERIFY(program.onStructurePage());
        QVERIFY(editForm->isVisible());

        // Below the last entry a double click loads what is selected.
        program.clickEntry("Alfa.txt");
        QTest::mouseDClick(program.list()->viewport(), Qt::LeftButton, {}, QPoint(5, program.list()->viewport()->height() - 3));
        QCOMPARE(tree->Strukturfile(), work("alfa") + sep + "struktur.txt");
    }

    void loadAsksBeforeDroppingUnsavedChanges_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Ja saves, then loads") << Answer::Yes << true << true;
        QTest::newRow("Nej loads without saving") << Answer::No << true << false;
        QTest::newRow("Annuller keeps everything") << Answer::Cancel << false << false;
    }
    void loadAsksBeforeDroppingUnsavedChanges()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, loaded);
        QFETCH(bool, saved);
        Program program([&](const QString& dir) {
            addStructure(dir, "Alfa", work("spørg/alfa"), "Alfa\r\n", "0a\r\n");
            addStructure(dir, "Beta", work("spørg/beta"), "Beta\r\n", "0b\r\n");
        });
        TStruktur* tree = mainform->Struktur;
        program.click("redigerKnap");
        tree->NyNode(QStringLiteral("Ny"), QStringLiteral("0ny"), 0, false, false);
        QVERIFY(tree->Modified());
        editForm->infoTekst->setPlainText(QStringLiteral("kladde"));

        DialogScript dialogs;
        dialogs.answers = { answer };
        program.clickEntry("Beta.txt");
        program.click("redigerKnap");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, Kind::AskYesNoCancel);
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("Strukturen er ændret. Skal ændringerne gemmes?"));
        QCOMPARE(readBytes(work("spørg/alfa/struktur.txt")).contains("Ny"), saved);
        QCOMPARE(tree->Strukturfile().contains("beta"), loaded);
        QCOMPARE(editForm->infoTekst->toPlainText().isEmpty(), loaded);
        if (!loaded)
            QVERIFY(tree->Modified());
    }

    void loadOverABrokenRegistryFileKeepsTheTree()
    {
        Program program([&](const QString& dir) {
            addStructure(dir, "Alfa", work("hel/alfa"));
            writeBytes(
                dir + sep + "Brudt.txt", registryBytes({ work("hel/brudt/struktur.txt"), work("hel/brudt/data.txt") }));
        });
        TStruktur* tree = mainform->Struktur;
        program.click("redigerKnap");
        DialogScript dialogs;
        program.clickEntry("Brudt.txt");
        dialogs.shown.clear();
        program.click("redigerKnap");
        QCOMPARE(dialogs.texts(), QStringList { "List index out of bounds (2)" });
        QCOMPARE(tree->Strukturfile(), work("hel/alfa") + sep + "struktur.txt");
        QCOMPARE(tree->Datafile(), work("hel/alfa") + sep + "data.txt");
    }

    void createRefusesIncompleteOrDuplicateInput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << ""
                                 << "x"
                                 << "Der mangler et strukturnavn!";
        QTest::newRow("no folder") << "Ny"
                                   << ""
                                   << "Der mangler en strukturmappe!";
        QTest::newRow("listed under A-Z folding") << "ny"
                                                  << "x"
                                                  << "Strukturen eksisterer allerede!";
        QTest::newRow("name with a separator") << "Options" + sep + "mainopt"
                                               << "x"
                                               << "Strukturnavnet må ikke indeholde \"" + sep + "\"!";
    }
    void createRefusesIncompleteOrDuplicateInput()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QString, message);
        Program program([](const QString& dir) { writeBytes(dir + sep + "NY.txt", "a\r\nb\r\nc\r\n"); });
        const QByteArray options = readBytes(program.folder.optionsFile("mainopt.txt"));
        program.type("navnEdit", name);
        program.type("strukturmappeEdit", folder.isEmpty() ? folder : work("afvist/" + folder));
        DialogScript dialogs;
        program.click("opretKnap");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, Kind::Inform);
        QCOMPARE(dialogs.shown[0].caption, QStringLiteral("Information"));
        QCOMPARE(dialogs.shown[0].text, message);
        QVERIFY(!QFileInfo::exists(work("afvist")));
        QCOMPARE(program.entries(), QStringList { "NY.txt" });
        QCOMPARE(readBytes(program.folder.optionsFile("mainopt.txt")), options);
        QVERIFY(!program.onStructurePage());
    }

    void createMakesTheFoldersAndTheRegistryFile()
    {
        Program program([](const QString& dir) { writeBytes(dir + sep + "Æble.txt", "a\r\nb\r\nc\r\n"); });
        TStruktur* tree = mainform->Struktur;
        tree->NyNode(QStringLiteral("Bevares"), QStringLiteral("0bevares"), 0, false, false);
        const QString folder = work("ny/Hjælp/B");
        program.type("navnEdit", QStringLiteral("æble"));
        program.type("strukturmappeEdit", folder);
        DialogScript dialogs;
        program.click("opretKnap");
        QCOMPARE(dialogs.shown.size(), 0);

        for (const QString& made : { work("ny"), work("ny/Hjælp"), folder, folder + sep + "tekstfiler" })
            QVERIFY2(QFileInfo(made).isDir(), qPrintable(made));
        const QString structureFile = folder + sep + "struktur.txt";
        const QString dataFile = folder + sep + "data.txt";
        const QString documents = folder + sep + "tekstfiler" + sep;
        QCOMPARE(
            readBytes(program.programdir + sep + "æble.txt"), registryBytes({ structureFile, dataFile, documents }));
        QVERIFY(!QFileInfo::exists(structureFile));
        QVERIFY(!QFileInfo::exists(dataFile));

        QCOMPARE(tree->Strukturfile(), structureFile);
        QCOMPARE(tree->Datafile(), dataFile);
        QCOMPARE(tree->Infomappe(), documents);
        QCOMPARE(tree->model()->index(0, 0).data().toString(), QStringLiteral("Bevares"));
        QCOMPARE(program.entrySet(), QSet<QString>({ "Æble.txt", "æble.txt" }));
        QVERIFY(program.list()->selectedItems().isEmpty());
        QVERIFY(program.onStructurePage());
        QVERIFY(editForm->isVisible());
        QCOMPARE(program.infoLabel(), QStringLiteral("Strukturnavn: æble.txt"));
    }

    void createLeavesExistingStructureFilesAlone()
    {
        const QString folder = work("eksisterende");
        writeBytes(folder + sep + "struktur.txt", "Gammel\r\n");
        writeBytes(folder + sep + "data.txt", "0gammel\r\n");
        Program program;
        program.type("navnEdit", QStringLiteral("Gammel"));
        program.type("strukturmappeEdit", folder);
        program.click("opretKnap");
        QCOMPARE(readBytes(folder + sep + "struktur.txt"), QByteArray("Gammel\r\n"));
        QCOMPARE(readBytes(folder + sep + "data.txt"), QByteArray("0gammel\r\n"));
        program.clickEntry("Gammel.txt", true);
        QCOMPARE(mainform->Struktur->model()->index(0, 0).data().toString(), QStringLiteral("Gammel"));
    }

    void deleteRemovesTheFilesButNotTheFolders()
    {
        const QString folder = work("slet/Hjælp");
        Program program([&](const QString& dir) {
            addStructure(dir, "Hjælp", folder);
            writeBytes(folder + sep + "tekstfiler" + sep + ".skjult", "x");
            writeBytes(folder + sep + "andet.txt", "bliver");
            addStructure(dir, "Under", work("slet/under"));
            writeBytes(work("slet/under/tekstfiler/billeder/a.png"), "x");
        });
        DialogScript dialogs;
        program.clickEntry("Hjælp.txt");
        program.click("sletKnap");
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, Kind::AskYesNo);
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("Skal strukturen Hjælp.txt slettes totalt?"));
        QVERIFY(!QFileInfo::exists(folder + sep + "struktur.txt"));
        QVERIFY(!QFileInfo::exists(folder + sep + "data.txt"));
        QVERIFY(!QFileInfo::exists(folder + sep + "tekstfiler"));
        QVERIFY(!QFileInfo::exists(program.programdir + sep + "Hjælp.txt"));
        QCOMPARE(readBytes(folder + sep + "andet.txt"), QByteArray("bliver"));
        QCOMPARE(program.entries(), QStringList { "Under.txt" });
        // The selection does not move on to the next entry: pressing again asks about nothing.
        QVERIFY(program.list()->selectedItems().isEmpty());
        program.click("sletKnap");
        QCOMPARE(dialogs.texts().last(), QStringLiteral("Der er ikke valgt nogen struktur."));
        QVERIFY(QFileInfo::exists(work("slet/under/struktur.txt")));

        // A document folder with a subfolder loses its files and keeps the subfolder.
        program.clickEntry("Under.txt");
        program.click("sletKnap");
        QVERIFY(!QFileInfo::exists(work("slet/under/tekstfiler/første.rtf")));
        QVERIFY(QFileInfo::exists(work("slet/under/tekstfiler/billeder/a.png")));
        QVERIFY(program.entries().isEmpty());
    }

    void deleteAsksAndNeedsASelection()
    {
        Program program([&](const QString& dir) { addStructure(dir, "Bliver", work("bliver")); });
        DialogScript dialogs;
        program.click("sletKnap");
        QCOMPARE(dialogs.texts(), QStringList { "Der er ikke valgt nogen struktur." });
        dialogs.answers = { Answer::No };
        program.clickEntry("Bliver.txt");
        program.click("sletKnap");
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(QFileInfo::exists(work("bliver/struktur.txt")));
        QCOMPARE(program.entries(), QStringList { "Bliver.txt" });
    }

    void deleteWithABrokenRegistryFileRemovesNothing()
    {
        Program program([&](const QString& dir) {
            addStructure(dir, "Brudt", work("brudt"));
            writeBytes(dir + sep + "Brudt.txt", registryBytes({ work("brudt/struktur.txt"), work("brudt/data.txt") }));
        });
        DialogScript dialogs;
        program.clickEntry("Brudt.txt");
        dialogs.shown.clear();
        program.click("sletKnap");
        QCOMPARE(dialogs.texts(),
            QStringList({ "Skal strukturen Brudt.txt slettes totalt?", "List index out of bounds (2)" }));
        QVERIFY(QFileInfo::exists(work("brudt/struktur.txt")));
        QVERIFY(QFileInfo::exists(work("brudt/data.txt")));
        QVERIFY(QFileInfo::exists(program.programdir + sep + "Brudt.txt"));
        QCOMPARE(program.entries(), QStringList { "Brudt.txt" });
    }

    void deleteNeverEmptiesTheProgramOrHomeFolder_data()
    {
        QTest::addColumn<QString>("documentLine");
        QTest::newRow("empty line") << QString();
        QTest::newRow("home folder") << native(QDir::homePath()) + sep;
        QTest::newRow("program folder") << QStringLiteral("<program>");
    }
    void deleteNeverEmptiesTheProgramOrHomeFolder()
    {
        QFETCH(QString, documentLine);
        writeBytes(native(QDir::homePath()) + sep + "privat.txt", "x");
        Program program([&](const QString& dir) {
            const QString line = documentLine == "<program>" ? dir + sep : documentLine;
            writeBytes(dir + sep + "Farlig.txt",
                registryBytes({ work("farlig/struktur.txt"), work("farlig/data.txt"), line }));
            writeBytes(work("farlig/struktur.txt"), "x\r\n");
            writeBytes(dir + sep + "Anden.txt", "a\r\nb\r\nc\r\n");
        });
        // An empty line would name the working folder.
        QDir::setCurrent(QDir::homePath());
        DialogScript dialogs;
        program.clickEntry("Farlig.txt");
        dialogs.shown.clear();
        program.click("sletKnap");
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(!QFileInfo::exists(work("farlig/struktur.txt")));
        QVERIFY(!QFileInfo::exists(program.programdir + sep + "Farlig.txt"));
        QVERIFY(QFileInfo::exists(native(QDir::homePath()) + sep + "privat.txt"));
        QVERIFY(QFileInfo::exists(program.programdir + sep + "Anden.txt"));
        QVERIFY(QFileInfo::exists(program.folder.optionsFolder()));
    }

    void deletingABuiltInEntryDeletesWhatItsFileNames()
    {
        Program program([&](const QString& dir) {
            addStructure(dir, "Information", work("info-kopi"));
            writeBytes(dir + sep + "Information" + sep + "struktur.txt", "Fast\r\n");
        });
        DialogScript dialogs;
        program.clickEntry("Information.txt");
        program.click("sletKnap");
        QVERIFY(!QFileInfo::exists(work("info-kopi/struktur.txt")));
        QVERIFY(QFileInfo::exists(program.programdir + sep + "Information" + sep + "struktur.txt"));
    }

    void folderButtonTakesTheChoosersResult()
    {
        const QString base = work("vælg");
        QDir().mkpath(base);
        Program program;
        program.type("strukturmappeEdit", QStringLiteral("uændret"));

        QTimer::singleShot(0, [&] {
            mappeForm->dirBox->setDirectory(base);
            QTest::keyClicks(mappeForm->mappeEdit, sep + "Ny");
            QTest::mouseClick(mappeForm->Button2, Qt::LeftButton);
        });
        program.click("SpeedButton2");
        QCOMPARE(program.field("strukturmappeEdit"), QStringLiteral("uændret"));

        QTimer::singleShot(0, [&] {
            QCOMPARE(mappeForm->mappeEdit->text(), QString());
            QTest::keyClicks(mappeForm->mappeEdit, sep + "Ny");
            QTest::mouseClick(mappeForm->Button1, Qt::LeftButton);
        });
        program.click("SpeedButton2");
        QCOMPARE(program.field("strukturmappeEdit"), base + sep + "Ny");

        // A line break typed into the path box never reaches the path.
        QTimer::singleShot(0, [&] {
            mappeForm->dirMemo->setFocus();
            mappeForm->dirMemo->moveCursor(QTextCursor::End);
            QTest::keyClick(mappeForm->dirMemo, Qt::Key_Return);
            QTest::keyClicks(mappeForm->dirMemo, QStringLiteral("To"));
            QTest::mouseClick(mappeForm->Button1, Qt::LeftButton);
        });
        program.click("SpeedButton2");
        QCOMPARE(program.field("strukturmappeEdit"), base + "To");
        program.type("navnEdit", QStringLiteral("Linjeskift"));
        program.control<QLineEdit>("strukturmappeEdit")->setText(base + sep + "Ny\nTre\r");
        program.click("opretKnap");
        QVERIFY(QFileInfo(base + sep + "NyTre" + sep + "tekstfiler").isDir());
        QCOMPARE(readBytes(program.programdir + sep + "Linjeskift.txt"),
            registryBytes({ base + sep + "NyTre" + sep + "struktur.txt", base + sep + "NyTre" + sep + "data.txt",
                base + sep + "NyTre" + sep + "tekstfiler" + sep }));
    }

    void toolButtonsHandPathsToTheDesktop()
    {
        const QString folder = work("skal/åbnes");
        Program program([&](const QString& dir) { addStructure(dir, "Åbn", folder); });
        QList<std::pair<ShellVerb, QString>> calls;
        setShellHandler([&](ShellVerb verb, const QString& path) { calls.append({ verb, path }); });
        program.click("ToolButton20");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].first, ShellVerb::Open);
        QCOMPARE(calls[0].second, program.programdir);

        program.clickEntry("Åbn.txt");
        DialogScript dialogs;
        program.click("ToolButton21");
        QCOMPARE(dialogs.texts(), QStringList { "Der er ikke valgt en fil!" });
        auto* files = program.control<FileListBox>("filbox");
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
        program.click("ToolButton21");
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[1].first, ShellVerb::Edit);
        QCOMPARE(calls[1].second, folder + sep + "tekstfiler" + sep + "første.rtf");
    }
};

STRUKTUR_GUI_TEST_MAIN(TestProjectsPage)
#include "test_projects_page.moc"

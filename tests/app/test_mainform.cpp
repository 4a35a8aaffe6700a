// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame: start-up, options file, closing, the editor toggle and the hint line.
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "editor/TeditForm.h"
#include "folders/TmappeForm.h"
#include "model/TStruktur.h"
#include "platform/TextFile.h"
#include "printing/Tprintform.h"
#include "support/DialogScript.h"
#include "support/GuiTestMain.h"
#include "support/TempProgramFolder.h"
#include "ui/ImageList.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <memory>

using namespace struktur;

namespace {

QByteArray linesOf(std::initializer_list<const char*> lines)
{
    QByteArray bytes;
    for (const char* line : lines)
        bytes += QByteArray(line) + "\r\n";
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestMainform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstStartCreatesFoldersAndShowsTheDesignedFrame();
    void optionsFileSetsBounds_data();
    void optionsFileSetsBounds();
    void badOptionsFileIsReportedAndStartUpCompletes_data();
    void badOptionsFileIsReportedAndStartUpCompletes();
    void programFolderThatCannotBeMadeIsReportedOnlyAtClose();
    void windowCannotBeMadeSmallerThanItsMinimum();
    void closingWritesTheThreeOptionsFiles();
    void unwritableOptionsFileIsReportedAndWindowStillCloses_data();
    void unwritableOptionsFileIsReportedAndWindowStillCloses();
    void closingWithUnsavedChangesAsks_data();
    void closingWithUnsavedChangesAsks();
    void failedSaveOnClosingKeepsTheWindowOpen();
    void closingAsksOnlyAwayFromTheSavedState();
    void skrivTekstTogglesTheEditorAndKeepsItsText();
    void clearToNewEmptiesFieldsAndEditor();
    void hintLineShowsHintsOfEveryWindow();

private:
    void startProgram();
    Tmainform* startAndShow();

    std::unique_ptr<test::TempProgramFolder> m_folder;
    std::unique_ptr<test::DialogScript> m_dialogs;
};

void TestMainform::init()
{
    m_folder = std::make_unique<test::TempProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_dialogs = std::make_unique<test::DialogScript>();
}

void TestMainform::cleanup()
{
    destroyWindows();
    m_dialogs.reset();
    m_folder.reset();
}

void TestMainform::startProgram()
{
    createWindows();
    QVERIFY(mainform && mappeForm && editForm && printform);
}

Tmainform* TestMainform::startAndShow()
{
    startProgram();
    mainform->show();
    if (!QTest::qWaitForWindowExposed(mainform))
        return nullptr;
    QCoreApplication::processEvents();
    return mainform;
}

void TestMainform::firstStartCreatesFoldersAndShowsTheDesignedFrame()
{
    QVERIFY(!QFileInfo::exists(m_folder->path()));
    startProgram();

    QVERIFY(QFileInfo(m_folder->path()).isDir());
    QVERIFY(QFileInfo(m_folder->optionsFolder()).isDir());
    QCOMPARE(mainform->programdir, QDir::toNativeSeparators(m_folder->path()));
    QVERIFY(m_dialogs->shown.isEmpty());

    QCOMPARE(mainform->objectName(), QStringLiteral("mainform"));
    QCOMPARE(mainform->windowTitle(), QStringLiteral("Struktur konstruktøren"));
    QCOMPARE(mainform->size(), QSize(584, 562));
    QCOMPARE(mainform->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
    QCOMPARE(mainform->font().pointSize(), 8);
    QCOMPARE(mainform->font().families().value(0), QStringLiteral("Tahoma"));
    QVERIFY(!mainform->windowIcon().isNull());

    QCOMPARE(mainform->bog, mainform->findChild<QTabWidget*>(QStringLiteral("bog")));
    QCOMPARE(mainform->bog->count(), 2);
    QCOMPARE(mainform->bog->widget(0)->objectName(), QStringLiteral("side1"));
    QCOMPARE(mainform->bog->tabText(0), QStringLiteral("Projekter"));
    QCOMPARE(mainform->bog->widget(1)->objectName(), QStringLiteral("side2"));
    QCOMPARE(mainform->bog->tabText(1), QStringLiteral("Strukturen"));
    QCOMPARE(mainform->bog->currentWidget(), mainform->side1);
    QCOMPARE(mainform->statusBar(), mainform->infoBar);
    QCOMPARE(mainform->infoBar->objectName(), QStringLiteral("infoBar"));

    QVERIFY(mainform->Struktur);
    QVERIFY(mainform->Struktur->DataOn());
    QVERIFY(!mainform->Struktur->Modified());

    const struct {
        ImageList* list;
        int count;
        int size;
    } lists[] = { { mainform->ImageList1, 8, 16 }, { mainform->ImageList2, 9, 16 }, { mainform->ImageList32, 4, 32 } };
    for (const auto& expected : lists) {
        QCOMPARE(expected.list->count(), expected.count);
        QCOMPARE(expected.list->imageSize(), QSize(expected.size, expected.size));
        for (int index = 0; index < expected.count; ++index) {
            const QPixmap picture = expected.list->icon(index).pixmap(expected.list->imageSize());
            QVERIFY2(!picture.isNull(), qPrintable(expected.list->objectName() + QString::number(index)));
        }
    }

    // The other windows take the program folder from the main window; only the main window
    // stands on the taskbar, the others belong to it.
    for (QWidget* window :
        { static_cast<QWidget*>(mappeForm), static_cast<QWidget*>(editForm), static_cast<QWidget*>(printform) }) {
        QVERIFY(window->isWindow());
        QCOMPARE(window->parentWidget(), mainform);
        QVERIFY(!window->isVisible());
    }
    QCOMPARE(printform->optfil(), m_folder->optionsFile(QStringLiteral("printoptions.txt")));
}

void TestMainform::optionsFileSetsBounds_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QRect>("outer");
    QTest::newRow("as saved") << linesOf({ "10", "20", "800", "700" }) << QRect(20, 10, 800, 700);
    QTest::newRow("narrow width is raised") << linesOf({ "10", "20", "300", "700" }) << QRect(20, 10, 600, 700);
    QTest::newRow("low height is raised") << linesOf({ "0", "0", "640", "-3" }) << QRect(0, 0, 640, 600);
    QTest::newRow("lines after the fourth are ignored")
        << linesOf({ "5", "6", "700", "650", "x", "99" }) << QRect(6, 5, 700, 650);
    QTest::newRow("LF line ends and a UTF-8 mark") << QByteArray("\xEF\xBB\xBF"
                                                                 "12\n34\n610\n620")
                                                   << QRect(34, 12, 610, 620);
    QTest::newRow("off every screen comes back")
        << linesOf({ "-5000", "9000", "700", "650" }) << QRect(100, 0, 700, 650);
}

void TestMainform::optionsFileSetsBounds()
{
    QFETCH(QByteArray, file);
    QFETCH(QRect, outer);
    m_folder->createFolders();
    writeFile(m_folder->optionsFile(QStringLiteral("mainopt.txt")), file);

    QVERIFY(startAndShow());

    QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
    QCOMPARE(mainform->frameGeometry(), outer);
}

void TestMainform::badOptionsFileIsReportedAndStartUpCompletes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("two lines: top and left applied")
        << linesOf({ "10", "20" }) << "List index out of bounds (2)" << QPoint(20, 10);
    QTest::newRow("empty file") << QByteArray() << "List index out of bounds (0)" << QPoint(-1, -1);
    QTest::newRow("bad left: top applied")
        << linesOf({ "15", "tyve", "800", "700" }) << "'tyve' is not a valid integer value." << QPoint(-1, 15);
    QTest::newRow("decimal width") << linesOf({ "15", "25", "800,5", "700" }) << "'800,5' is not a valid integer value."
                                   << QPoint(25, 15);
}

void TestMainform::badOptionsFileIsReportedAndStartUpCompletes()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(QPoint, topLeft);
    m_folder->createFolders();
    const QString optionsFile = m_folder->optionsFile(QStringLiteral("mainopt.txt"));
    writeFile(optionsFile, file);
    writeFile(m_folder->path() + QStringLiteral("/Æblehaven.txt"), linesOf({ "s.txt", "d.txt", "t/" }));

    QVERIFY(startAndShow());

    QCOMPARE(m_dialogs->texts(), QStringList { message });
    // The rest of start-up still ran: the list of known structures is filled and the document
    // folder field shows the program folder.
    const auto* list = mainform->findChild<QListWidget*>(QStringLiteral("strukturboks"));
    QVERIFY(list);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Æblehaven.txt"));
    const auto* folderField = mainform->findChild<QLineEdit*>(QStringLiteral("Edit3"));
    QVERIFY(folderField);
    QCOMPARE(folderField->text(), mainform->programdir);
    QCOMPARE(m_dialogs->shown[0].kind, Dialogs::Kind::Error);
    if (topLeft.x() >= 0)
        QCOMPARE(mainform->frameGeometry().left(), topLeft.x());
    if (topLeft.y() >= 0)
        QCOMPARE(mainform->frameGeometry().top(), topLeft.y());
    QVERIFY(mainform->frameGeometry().width() >= 600);

    // The next close writes a complete file.
    QVERIFY(mainform->close());
    QCOMPARE(textfile::readLines(optionsFile).size(), 4);
}

void TestMainform::programFolderThatCannotBeMadeIsReportedOnlyAtClose()
{
    // Below a folder that does not exist, one level cannot be made.
    const QString folder = QDir::toNativeSeparators(m_folder->path() + QStringLiteral("/mangler/Kvarnolt"));
    qputenv("KVARNOLT_DIR", folder.toUtf8());

    QVERIFY(startAndShow());

    QVERIFY2(m_dialogs->shown.isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(mainform->programdir, folder);
    const auto* folderField = mainform->findChild<QLineEdit*>(QStringLiteral("Edit3"));
    QVERIFY(folderField);
    QCOMPARE(folderField->text(), folder);

    QVERIFY(mainform->close());
    QCOMPARE(m_dialogs->shown.size(), 1);
    QVERIFY2(m_dialogs->shown[0].text.startsWith(QStringLiteral("Cannot create file \"")),
        qPrintable(m_dialogs->shown[0].text));
}

void TestMainform::windowCannotBeMadeSmallerThanItsMinimum()
{
    QVERIFY(startAndShow());
    mainform->resize(100, 100);
    QCoreApplication::processEvents();
    QVERIFY(mainform->frameGeometry().width() >= 600);
    QVERIFY(mainform->frameGeometry().height() >= 600);
}

void TestMainform::closingWritesTheThreeOptionsFiles()
{
    m_folder->createFolders();
    writeFile(m_folder->optionsFile(QStringLiteral("mainopt.txt")), linesOf({ "10", "20", "800", "700" }));
    QVERIFY(startAndShow());
    mainform->move(30, 40);
    editForm->show();
    QCoreApplication::processEvents();

    QVERIFY(mainform->close());
    QVERIFY(!editForm->isVisible()); // the other windows close with the main window

    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(readFile(m_folder->optionsFile(QStringLiteral("mainopt.txt"))), linesOf({ "40", "30", "800", "700" }));
    QCOMPARE(textfile::readLines(m_folder->optionsFile(QStringLiteral("editopt.txt"))).size(), 4);
    QVERIFY(QFileInfo::exists(m_folder->optionsFile(QStringLiteral("printoptions.txt"))));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList {}); // nothing else is saved
}

void TestMainform::unwritableOptionsFileIsReportedAndWindowStillCloses_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("editor's file") << "editopt.txt" << QStringList {};
    QTest::newRow("print window's file") << "printoptions.txt" << QStringList { "editopt.txt" };
    QTest::newRow("main window's file") << "mainopt.txt" << QStringList { "editopt.txt", "printoptions.txt" };
}

void TestMainform::unwritableOptionsFileIsReportedAndWindowStillCloses()
{
    QFETCH(QString, blocked);
    QFETCH(QStringList, written);
    QVERIFY(startAndShow());
    // A folder in the file's place cannot be replaced by a file.
    QVERIFY(QDir().mkdir(m_folder->optionsFile(blocked)));

    QVERIFY(mainform->close());

    QVERIFY(!mainform->isVisible());
    QCOMPARE(m_dialogs->shown.size(), 1);
    QVERIFY2(m_dialogs->shown[0].text.startsWith(QStringLiteral("Cannot create file \"")),
        qPrintable(m_dialogs->shown[0].text));
    QVERIFY(m_dialogs->shown[0].text.contains(blocked));
    QStringList files = QDir(m_folder->optionsFolder()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files, written);
}

void TestMainform::closingWithUnsavedChangesAsks_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Ja saves and closes") << Dialogs::Answer::Yes << true << true;
    QTest::newRow("Nej closes without saving") << Dialogs::Answer::No << true << false;
    QTest::newRow("Annuller keeps the window open") << Dialogs::Answer::Cancel << false << false;
}

void TestMainform::closingWithUnsavedChangesAsks()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    QVERIFY(startAndShow());
    const QString structureFile = m_folder->path() + QStringLiteral("/struktur.txt");
    mainform->Struktur->setStrukturfile(structureFile);
    mainform->Struktur->setDatafile(m_folder->path() + QStringLiteral("/data.txt"));
    mainform->Struktur->NyNode(QStringLiteral("Æbler og pærer"), QStringLiteral("æbler"), 0, false, false);
    QVERIFY(mainform->Struktur->Modified());
    m_dialogs->answers = { answer };

    QCOMPARE(mainform->close(), closed);

    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].kind, Dialogs::Kind::AskYesNoCancel);
    QCOMPARE(m_dialogs->shown[0].caption, QStringLiteral("Spørgsmål"));
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("Strukturen er ændret. Skal ændringerne gemmes?"));
    QCOMPARE(QFileInfo::exists(structureFile), saved);
    QCOMPARE(QFileInfo::exists(m_folder->optionsFile(QStringLiteral("mainopt.txt"))), closed);
    QCOMPARE(mainform->isVisible(), !closed);
}

void TestMainform::closingAsksOnlyAwayFromTheSavedState()
{
    QVERIFY(startAndShow());
    TStruktur* tree = mainform->Struktur;
    tree->setStrukturfile(m_folder->path() + QStringLiteral("/struktur.txt"));
    tree->setDatafile(m_folder->path() + QStringLiteral("/data.txt"));
    tree->NyNode(QStringLiteral("Æbler"), QStringLiteral("æbler"), 0, false, true);
    tree->NyNode(QStringLiteral("Pærer"), QStringLiteral("paerer"), 0, false, false);
    QVERIFY(tree->Modified());
    // Undoing back to the saved state leaves nothing to ask about.
    tree->undo();
    QVERIFY(!tree->Modified());
    QVERIFY(mainform->close());
    QCOMPARE(m_dialogs->shown.size(), 0);

    mainform->show();
    tree->undo();
    QVERIFY(tree->Modified());
    m_dialogs->answers = { Dialogs::Answer::Cancel };
    QVERIFY(!mainform->close());
    QCOMPARE(m_dialogs->shown.size(), 1);
}

void TestMainform::failedSaveOnClosingKeepsTheWindowOpen()
{
    QVERIFY(startAndShow());
    mainform->Struktur->setStrukturfile(m_folder->path() + QStringLiteral("/mangler/struktur.txt"));
    mainform->Struktur->setDatafile(m_folder->path() + QStringLiteral("/mangler/data.txt"));
    mainform->Struktur->NyNode(QStringLiteral("Første"), QStringLiteral("første"), 3, false, false);
    m_dialogs->answers = { Dialogs::Answer::Yes };

    QVERIFY(!mainform->close());

    QCOMPARE(m_dialogs->shown.size(), 2);
    QCOMPARE(m_dialogs->shown[1].kind, Dialogs::Kind::Error);
    QVERIFY(m_dialogs->shown[1].text.startsWith(QStringLiteral("Cannot create file")));
    QVERIFY(mainform->isVisible());
    QVERIFY(mainform->Struktur->Modified());

    // Nej then lets it close.
    m_dialogs->answers = { Dialogs::Answer::No };
    QVERIFY(mainform->close());
}

void TestMainform::skrivTekstTogglesTheEditorAndKeepsItsText()
{
    QVERIFY(startAndShow());
    QVERIFY(!editForm->isVisible());
    editForm->infoTekst->setPlainText(QStringLiteral("Blåbærgrød"));

    mainform->skrivKnapClick();
    QVERIFY(editForm->isVisible());
    mainform->skrivKnapClick();
    QVERIFY(!editForm->isVisible());
    mainform->skrivKnapClick();
    QVERIFY(editForm->isVisible());

    QCOMPARE(editForm->infoTekst->toPlainText(), QStringLiteral("Blåbærgrød"));
}

void TestMainform::clearToNewEmptiesFieldsAndEditor()
{
    QVERIFY(startAndShow());
    QList<bool> requests;
    mainform->setElementFields({ [&](bool Efocus) { requests.append(Efocus); }, {} });
    auto* field = new QLineEdit(mainform->side1);
    mainform->side1->layout()->addWidget(field);
    field->show();
    mainform->activateWindow();
    field->setFocus();
    QCOMPARE(mainform->focusWidget(), field);
    editForm->infoTekst->setPlainText(QStringLiteral("Rødgrød med fløde"));

    mainform->ClearToNew(false);
    QVERIFY(editForm->infoTekst->toPlainText().isEmpty());
    QCOMPARE(mainform->focusWidget(), field);
    mainform->ClearToNew(true);
    QCOMPARE(requests, (QList<bool> { false, true }));
}

void TestMainform::hintLineShowsHintsOfEveryWindow()
{
    QVERIFY(startAndShow());
    auto* mainLabel = new QLabel(QStringLiteral("Projekter"), mainform->side1);
    mainform->side1->layout()->addWidget(mainLabel);
    mainLabel->show();
    mainLabel->setProperty("hint", QStringLiteral("Kort|Hjælp i hovedvinduet"));
    auto* printLabel = new QLabel(QStringLiteral("Udskriv"), printform);
    printLabel->setProperty("hint", QStringLiteral("Hjælp i printvinduet"));
    printLabel->setGeometry(0, 0, 60, 20);
    // Beside the main window: the pointer goes to the first window under it.
    printform->move(mainform->frameGeometry().right() + 10, 0);
    printform->show();
    QVERIFY(QTest::qWaitForWindowExposed(printform));
    QCoreApplication::processEvents();

    QTest::mouseMove(mainLabel, QPoint(2, 2));
    QCOMPARE(mainform->infoBar->currentMessage(), QStringLiteral("Hjælp i hovedvinduet"));
    QTest::mouseMove(printLabel, QPoint(2, 2));
    QCOMPARE(mainform->infoBar->currentMessage(), QStringLiteral("Hjælp i printvinduet"));
}

STRUKTUR_GUI_TEST_MAIN(TestMainform)
#include "test_mainform.moc"

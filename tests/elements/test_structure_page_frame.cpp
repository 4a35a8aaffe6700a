// SPDX-License-Identifier: GPL-3.0-or-later
// The structure page composed on the main window: the tree laid out in it, the frame's
// ClearToNew and "Skriv tekst" acting on its fields, the editor's document path taken from it.
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "editor/TeditForm.h"
#include "elements/StructurePage.h"
#include "model/TStruktur.h"
#include "support/DialogScript.h"
#include "support/GuiTestMain.h"
#include "support/TempProgramFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

using namespace struktur;

class TestStructurePageFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<test::TempProgramFolder>();
        createWindows();
        mainform->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainform));
    }
    void cleanup()
    {
        destroyWindows();
        m_program.reset();
    }

    void pageLaysOutTheMainWindowsTree()
    {
        StructurePage* page = mainform->structurePage;
        QVERIFY(page);
        QVERIFY(mainform->side2->isAncestorOf(page));
        QVERIFY(page->isAncestorOf(mainform->Struktur));
        QVERIFY(mainform->side2->findChild<QLabel*>(QStringLiteral("InfoLabel")));
        QVERIFY(mainform->Struktur->DataOn());
    }

    void frameClearsThePageAndTheEditor_data()
    {
        QTest::addColumn<bool>("Efocus");
        QTest::newRow("with focus") << true;
        QTest::newRow("without focus") << false;
    }
    void frameClearsThePageAndTheEditor()
    {
        QFETCH(bool, Efocus);
        StructurePage* page = mainform->structurePage;
        mainform->bog->setCurrentWidget(mainform->side2);
        mainform->activateWindow();
        page->tekstEdit->setText(QStringLiteral("Æble"));
        page->dataEdit->setText(QStringLiteral("æble"));
        editForm->infoTekst->setPlainText(QStringLiteral("Tekst"));
        page->dataEdit->setFocus();
        mainform->ClearToNew(Efocus);
        QVERIFY(page->tekstEdit->text().isEmpty() && page->dataEdit->text().isEmpty());
        QVERIFY(editForm->infoTekst->toPlainText().isEmpty());
        QCOMPARE(QApplication::focusWidget(), Efocus ? page->tekstEdit : page->dataEdit);
    }

    void editorTakesTheDocumentPathFromTheFields()
    {
        StructurePage* page = mainform->structurePage;
        mainform->Struktur->setInfomappe(QStringLiteral("/s/tekstfiler/"));
        page->dataEdit->setText(QStringLiteral("kapitel"));
        QCOMPARE(mainform->currentDocumentPath(), QStringLiteral("/s/tekstfiler/kapitel.rtf"));
        page->dataEdit->clear();
        QVERIFY(mainform->currentDocumentPath().isEmpty());
    }

    void skrivTekstTogglesTheEditorAndKeepsItsText()
    {
        mainform->bog->setCurrentWidget(mainform->side2);
        auto* button = mainform->side2->findChild<QPushButton*>(QStringLiteral("skrivKnap"));
        editForm->infoTekst->setPlainText(QStringLiteral("Bliver stående"));
        QVERIFY(!editForm->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(editForm->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!editForm->isVisible());
        QCOMPARE(editForm->infoTekst->toPlainText(), QStringLiteral("Bliver stående"));
    }

    // Load, click, type, insert with its document, delete, reload: the everyday road.
    void typicalRoadThroughTheMainWindow()
    {
        test::DialogScript dialogs;
        const QString folder = m_program->path() + QStringLiteral("/Håndbog/");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("tekstfiler")));
        writeFile(folder + QStringLiteral("struktur.txt"), "Forord\r\n\tTak\r\n");
        writeFile(folder + QStringLiteral("data.txt"), "0forord\r\n2tak\r\n");
        writeFile(folder + QStringLiteral("tekstfiler/forord.rtf"), "{\\rtf1\\ansi Velkommen\\par}");
        TStruktur* tree = mainform->Struktur;
        tree->setStrukturfile(folder + QStringLiteral("struktur.txt"));
        tree->setDatafile(folder + QStringLiteral("data.txt"));
        tree->setInfomappe(folder + QStringLiteral("tekstfiler/"));
        tree->HentStruktur();
        mainform->bog->setCurrentWidget(mainform->side2);
        QCoreApplication::processEvents();

        StructurePage* page = mainform->structurePage;
        const QModelIndex first = tree->model()->index(0, 0);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(first).center());
        QCOMPARE(page->tekstEdit->text(), QStringLiteral("Forord"));
        QCOMPARE(editForm->infoTekst->toPlainText().trimmed(), QStringLiteral("Velkommen"));

        page->tekstEdit->selectAll();
        QTest::keyClicks(page->tekstEdit, QStringLiteral("Indledning"));
        page->dataEdit->selectAll();
        QTest::keyClicks(page->dataEdit, QStringLiteral("indledning"));
        editForm->infoTekst->setPlainText(QStringLiteral("Om bogen"));
        QCoreApplication::processEvents();
        auto* insert = page->findChild<QPushButton*>(QStringLiteral("Button5"));
        QVERIFY(insert->isEnabled());
        QTest::mouseClick(insert, Qt::LeftButton);
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("tekstfiler/indledning.rtf")));
        QCOMPARE(readFile(folder + QStringLiteral("struktur.txt")), QByteArray("Forord\r\n\tTak\r\nIndledning\r\n"));

        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(first).center());
        QCoreApplication::processEvents();
        QTest::mouseClick(page->findChild<QWidget*>(QStringLiteral("ToolButton7")), Qt::LeftButton);
        QCOMPARE(dialogs.texts(), QStringList { QStringLiteral("Skal hele strukturen slettes?") });
        QCOMPARE(tree->elementCount(), 1);
        QCoreApplication::processEvents();
        QTest::mouseClick(page->findChild<QWidget*>(QStringLiteral("SpeedButton3")), Qt::LeftButton);
        QCOMPARE(tree->elementCount(), 3);
        QVERIFY(!tree->Modified());
    }

private:
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<test::TempProgramFolder> m_program;
};

STRUKTUR_GUI_TEST_MAIN(TestStructurePageFrame)
#include "test_structure_page_frame.moc"

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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

private:
    std::unique_ptr<test::TempProgramFolder> m_program;
};

STRUKTUR_GUI_TEST_MAIN(TestStructurePageFrame)
#include "test_structure_page_frame.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ErrorOf.h"
#include "../support/DialogScript.h"
#include "../support/GuiTestMain.h"
#include "../support/TempProgramFolder.h"
#include "editor/FaceNames.h"
#include "editor/TColorGrid.h"
#include "editor/TFontSizeComboBox.h"
#include "editor/TeditForm.h"
#include "platform/Error.h"
#include "platform/Shell.h"
#include "ui/ActionUpdates.h"
#include "ui/HintLine.h"
#include "ui/VisualStyle.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>

using struktur::TColorGrid;
using struktur::TeditForm;
using struktur::TFontSizeComboBox;
using struktur::test::DialogScript;
using struktur::test::TempProgramFolder;
namespace facenames = struktur::facenames;

using struktur::test::errorOf;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// Two installed scalable faces, for the face and size interplay.
QStringList scalableFaces()
{
    QStringList faces;
    const QStringList families = facenames::plainFamilies(QFontDatabase::families());
    for (const QString& family : families) {
        if (QFontDatabase::isSmoothlyScalable(family))
            faces.append(family);
    }
    return faces;
}

/// The editor as the program has it: in its own program folder, shown and active, the
/// document focused.
class Editor {
public:
    Editor()
    {
        folder.createFolders();
        form = std::make_unique<TeditForm>(folder.path());
    }
    void show()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        doc()->setFocus();
    }
    QTextEdit* doc() const { return form->infoTekst; }
    template <typename T> T* child(const char* name) const
    {
        T* found = form->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
    QComboBox* faceBox() const { return child<QComboBox>("FontName"); }
    TFontSizeComboBox* sizeBox() const { return child<TFontSizeComboBox>("SizBox"); }
    /// What the user types, followed by the updates that run after every event.
    void type(const QString& text) const
    {
        QTest::keyClicks(doc(), text);
        form->XYinfo();
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(doc(), Qt::Key(key), modifiers);
        QCoreApplication::processEvents();
    }
    void selectAll() const { key(Qt::Key_A, Qt::ControlModifier); }
    QTextCharFormat formatAt(int position) const
    {
        QTextCursor cursor(doc()->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }

    TempProgramFolder folder;
    std::unique_ptr<TeditForm> form;
};

} // namespace

class TestEditForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowHasItsDesignedControls()
    {
        Editor e;
        QCOMPARE(e.form->windowTitle(), QStringLiteral("Struktur tekst"));
        QCOMPARE(e.form->size(), QSize(784, 274));
        QCOMPARE(e.child<QWidget>("Panel1")->height(), 85);
        QCOMPARE(e.child<QLabel>("Label1")->text(), QStringLiteral("Fontnavn"));
        QCOMPARE(e.child<QLabel>("Label2")->text(), QStringLiteral("Font størrelse"));
        QCOMPARE(e.child<QLabel>("Label2")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(e.faceBox()->width(), 197);
        QCOMPARE(e.faceBox()->maxVisibleItems(), 12);
        QCOMPARE(e.sizeBox()->width(), 61);
        QCOMPARE(e.child<QStatusBar>("Info")->height(), 19);
        QStringList quick;
        for (const char* name : { "SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4" })
            quick.append(e.child<QToolButton>(name)->text());
        QCOMPARE(quick, (QStringList { "10", "11", "12", "14" }));

        QStringList bar;
        const QList<QAction*> items = e.child<QToolBar>("ToolBar2")->actions();
        for (QAction* item : items) {
            QWidget* button = e.child<QToolBar>("ToolBar2")->widgetForAction(item);
            bar.append(item->isSeparator() ? QStringLiteral("|") : button->objectName());
        }
        QCOMPARE(bar,
            (QStringList { "|", "ToolButton3", "|", "ToolButton1", "|", "ToolButton10", "ToolButton11", "ToolButton12",
                "|", "ToolButton14", "ToolButton15", "ToolButton16", "|", "ToolButton18", "|", "redigerAndetKnap",
                // Spell checking and the find bar come after the designed buttons.
                "|", "stavningKnap", "soegKnap" }));
        QCOMPARE(e.child<QToolButton>("ToolButton15")->defaultAction(), e.action("RichEditAlignCenter1"));
        QCOMPARE(struktur::ownHint(e.child<QToolButton>("ToolButton3")), QStringLiteral("Åben printboksen"));
        QCOMPARE(struktur::ownHint(e.child<QToolButton>("ToolButton10")), QStringLiteral("Fed skrift"));
        QVERIFY(!e.child<QToolButton>("ToolButton3")->icon().isNull());
        QCOMPARE(e.child<QToolButton>("ToolButton1")->menu(), e.child<QMenu>("PopupDropDown"));

        // Every installed face, in order.
        QCOMPARE(e.faceBox()->count(), facenames::plainFamilies(QFontDatabase::families()).size());
        QVERIFY(e.faceBox()->isEditable());
    }

    void emptyDocumentShowsFirstLineAndPosition()
    {
        Editor e;
        for (int panel : { 1, 3, 5 })
            QCOMPARE(e.form->statusPanelText(panel), QString());
        e.show();
        e.key(Qt::Key_End);
        QCOMPARE(e.form->statusPanelText(0), QStringLiteral("Linie antal"));
        QCOMPARE(e.form->statusPanelText(1), QStringLiteral("1"));
        QCOMPARE(e.form->statusPanelText(2), QStringLiteral("Linie"));
        QCOMPARE(e.form->statusPanelText(3), QStringLiteral("1 "));
        QCOMPARE(e.form->statusPanelText(4), QStringLiteral("Position"));
        QCOMPARE(e.form->statusPanelText(5), QStringLiteral("0 "));
        QCOMPARE(e.form->statusPanelText(6), QString());
    }

    void statusFollowsTheCaretInDisplayLines()
    {
        Editor e;
        e.show();
        QStringList positions;
        for (const QChar c : QStringLiteral("æøå")) {
            QTest::keyClick(e.doc(), c.toLatin1() ? c.toLatin1() : 'x');
            positions.append(e.form->statusPanelText(5));
        }
        QCOMPARE(positions, (QStringList { "1 ", "2 ", "3 " }));
        e.key(Qt::Key_Return);
        e.type(QStringLiteral("to"));
        QCOMPARE(e.form->statusPanelText(1), QStringLiteral("2"));
        QCOMPARE(e.form->statusPanelText(3), QStringLiteral("2 "));
        QCOMPARE(e.form->statusPanelText(5), QStringLiteral("2 "));

        // A paragraph that word wrap breaks counts as several lines.
        e.form->resize(420, 300);
        QCoreApplication::processEvents();
        e.type(QStringLiteral(" ord").repeated(60));
        const int lines = e.form->statusPanelText(1).toInt();
        QVERIFY2(lines > 3, qPrintable(e.form->statusPanelText(1)));
        QCOMPARE(e.form->statusPanelText(3), QString::number(lines) + QLatin1Char(' '));
        // Wider, the same text wraps into fewer lines.
        e.form->resize(1200, 300);
        QCoreApplication::processEvents();
        e.form->XYinfo();
        QVERIFY2(e.form->statusPanelText(1).toInt() < lines, qPrintable(e.form->statusPanelText(1)));
        e.form->resize(420, 300);
        QCoreApplication::processEvents();
        e.form->XYinfo();
        QCOMPARE(e.form->statusPanelText(1).toInt(), lines);
        e.key(Qt::Key_Home);
        QCOMPARE(e.form->statusPanelText(5), QStringLiteral("0 "));
        e.key(Qt::Key_Up, Qt::ControlModifier);
        e.key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(e.form->statusPanelText(3), QStringLiteral("1 "));
    }

    void sizeBoxFollowsTheFaceAtTheCaret()
    {
        const QStringList faces = scalableFaces();
        if (faces.size() < 2)
            QFAIL("two scalable fonts must be installed");
        Editor e;
        e.show();
        QTextCharFormat thirteen;
        thirteen.setFontFamilies({ faces[0] });
        thirteen.setFontPointSize(13);
        e.doc()->setCurrentCharFormat(thirteen);
        e.type(QStringLiteral("tretten"));
        QCOMPARE(e.faceBox()->currentText(), faces[0]);
        QCOMPARE(e.sizeBox()->count(), 16);
        QCOMPARE(e.sizeBox()->currentText(), QStringLiteral("8"));
        QCOMPARE(e.formatAt(2).fontPointSize(), 13.0);

        // Another scalable face lacks 13 as well: the selection moves to its smallest size.
        e.selectAll();
        e.faceBox()->lineEdit()->selectAll();
        QTest::keyClicks(e.faceBox()->lineEdit(), faces[1]);
        QCOMPARE(e.faceBox()->currentIndex(), e.faceBox()->findText(faces[1]));
        QCOMPARE(e.formatAt(2).fontFamilies().toStringList().value(0), faces[1]);
        QCOMPARE(e.formatAt(2).fontPointSize(), 8.0);

        // A name that matches no entry changes nothing.
        e.faceBox()->lineEdit()->selectAll();
        QTest::keyClicks(e.faceBox()->lineEdit(), QStringLiteral("Ingen sådan skrift"));
        QCOMPARE(e.formatAt(2).fontFamilies().toStringList().value(0), faces[1]);

        // Choosing a size in the size box applies it.
        e.sizeBox()->lineEdit()->selectAll();
        QTest::keyClicks(e.sizeBox()->lineEdit(), QStringLiteral("24"));
        QCOMPARE(e.formatAt(2).fontPointSize(), 24.0);
    }

    void sizeBoxIsRebuiltOnlyWhenTheFaceChanges()
    {
        const QStringList faces = scalableFaces();
        if (faces.size() < 2)
            QFAIL("two scalable fonts must be installed");
        Editor e;
        e.show();
        int rebuilds = 0;
        e.sizeBox()->setOnClick([&](TFontSizeComboBox*) { ++rebuilds; });
        QTextCharFormat first;
        first.setFontFamilies({ faces[0] });
        e.doc()->mergeCurrentCharFormat(first);
        e.type(QStringLiteral("a"));
        QCOMPARE(rebuilds, 1);
        e.type(QStringLiteral("bcdefgh"));
        e.key(Qt::Key_Left);
        e.key(Qt::Key_Home);
        QCOMPARE(rebuilds, 1);
        QTextCharFormat second;
        second.setFontFamilies({ faces[1] });
        e.key(Qt::Key_End);
        e.doc()->mergeCurrentCharFormat(second);
        e.type(QStringLiteral("ij"));
        QCOMPARE(rebuilds, 2);
        QCOMPARE(e.faceBox()->currentText(), faces[1]);
    }

    // Documents name Windows faces this machine may lack; their names stay, the sizes are
    // those of the face drawn in their place, and both size controls work on them.
    void faceThatIsNotInstalledKeepsItsNameAndGetsTheDrawnSizes_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("unknown") << QStringLiteral("Ingen sådan skrift");
        QTest::newRow("Tahoma") << QStringLiteral("Tahoma");
        QTest::newRow("Times New Roman") << QStringLiteral("Times New Roman");
    }
    void faceThatIsNotInstalledKeepsItsNameAndGetsTheDrawnSizes()
    {
        QFETCH(QString, face);
        if (QFontDatabase::hasFamily(face))
            QSKIP("the face is installed here");
        Editor e;
        e.show();
        QTextCharFormat missing;
        missing.setFontFamilies({ face });
        missing.setFontPointSize(12);
        e.doc()->setCurrentCharFormat(missing);
        e.type(QStringLiteral("xyz"));
        QCOMPARE(e.faceBox()->currentIndex(), -1);
        QCOMPARE(e.faceBox()->currentText(), face);
        QCOMPARE(e.sizeBox()->count(), 16);
        QCOMPARE(e.sizeBox()->currentText(), QStringLiteral("12"));
        e.selectAll();
        QTest::mouseClick(e.child<QToolButton>("SpeedButton4"), Qt::LeftButton);
        QCOMPARE(e.formatAt(1).fontPointSize(), 14.0);
        e.sizeBox()->lineEdit()->selectAll();
        QTest::keyClicks(e.sizeBox()->lineEdit(), QStringLiteral("20"));
        QCOMPARE(e.formatAt(1).fontPointSize(), 20.0);
        QCOMPARE(e.formatAt(1).fontFamilies().toStringList().value(0), face);
    }

    void newDocumentNamesCourierNewWhereverItIsDrawnWith()
    {
        Editor e;
        e.show();
        e.form->XYinfo();
        QCOMPARE(e.faceBox()->currentText(), QStringLiteral("Courier New"));
        QCOMPARE(e.sizeBox()->count(), 16);
        QCOMPARE(e.sizeBox()->currentText(), QStringLiteral("10"));
        if (!QFontDatabase::hasFamily(QStringLiteral("Courier New")))
            QCOMPARE(QFontInfo(e.doc()->currentFont()).family(), QStringLiteral("Liberation Mono"));
        e.type(QStringLiteral("Tekst"));
        e.selectAll();
        QTest::mouseClick(e.child<QToolButton>("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(e.formatAt(1).fontPointSize(), 12.0);
        const QString path = e.folder.path() + QStringLiteral("/courier.rtf");
        e.form->saveDocument(path);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QVERIFY2(bytes.contains("Courier New;"), bytes.constData());
        QVERIFY(!bytes.contains("Liberation"));
    }

    void faceListHoldsOnePlainNamePerFamily()
    {
        Editor e;
        QStringList names;
        for (int i = 0; i < e.faceBox()->count(); ++i)
            names.append(e.faceBox()->itemText(i));
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            QVERIFY2(!name.contains(QLatin1Char('[')), qPrintable(name));
            QCOMPARE(names.count(name), 1);
        }
        e.show();
        e.type(QStringLiteral("abc"));
        e.selectAll();
        const QString chosen = names.first();
        e.faceBox()->setCurrentIndex(0);
        Q_EMIT e.faceBox()->activated(0);
        QCOMPARE(e.formatAt(1).fontFamilies().toStringList().value(0), chosen);
    }

    void statusCaptionsHaveRoomInTheirPanels()
    {
        Editor e;
        e.show();
        for (const int panel : { 0, 2, 4 }) {
            auto* label = e.child<QLabel>(qPrintable(QStringLiteral("InfoPanel%1").arg(panel)));
            QVERIFY(label);
            const int text = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(label->contentsRect().width() >= text + 2 * label->indent() + 4, qPrintable(label->text()));
        }
    }

    void quickSizesApplyOnlyListedSizes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("size");
        QTest::newRow("10 is listed") << "SpeedButton1" << 10.0;
        QTest::newRow("11 is missing") << "SpeedButton2" << 13.0;
        QTest::newRow("12 is listed") << "SpeedButton3" << 12.0;
        QTest::newRow("14 is missing") << "SpeedButton4" << 13.0;
    }
    void quickSizesApplyOnlyListedSizes()
    {
        QFETCH(QString, button);
        QFETCH(double, size);
        Editor e;
        // A bitmap face in 8, 10, 12 and 13 points only.
        e.sizeBox()->setFaceSource([](const QString& name) {
            using Face = TFontSizeComboBox::FaceFonts;
            if (name != QStringLiteral("Raster"))
                return Face {};
            return Face { Face::Kind::Bitmap, { { 13, 2 }, { 16, 3 }, { 19, 3 }, { 20, 3 } } };
        });
        e.show();
        QTextCharFormat raster;
        raster.setFontFamilies({ QStringLiteral("Raster") });
        raster.setFontPointSize(13);
        e.doc()->setCurrentCharFormat(raster);
        e.type(QStringLiteral("størrelse"));
        QCOMPARE(e.sizeBox()->currentText(), QStringLiteral("13"));
        e.selectAll();
        QTest::mouseClick(e.child<QToolButton>(qPrintable(button)), Qt::LeftButton);
        QCOMPARE(e.formatAt(3).fontPointSize(), size);
        QCOMPARE(e.sizeBox()->currentText(), QString::number(size));
    }

    void colourGridColoursTheSelection()
    {
        Editor e;
        e.show();
        e.type(QStringLiteral("rød tekst"));
        QCOMPARE(e.child<TColorGrid>("ColorGrid")->foregroundIndex(), 0);
        e.selectAll();
        auto* grid = e.child<TColorGrid>("ColorGrid");
        grid->setBackgroundIndex(3);
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->squareRect(9).center());
        QCOMPARE(e.formatAt(4).foreground().color(), QColor(255, 0, 0));
        QCOMPARE(grid->backgroundIndex(), 15);
        // The document keeps the focus and its selection.
        QCOMPARE(e.form->focusWidget(), e.doc());
        QCOMPARE(e.doc()->textCursor().selectedText(), QStringLiteral("rød tekst"));
        e.key(Qt::Key_End);
        QCOMPARE(grid->foregroundIndex(), 9);

        // A selection shows the colour of its first character, not of the one before it.
        QTextCharFormat black;
        black.setForeground(QColor(0, 0, 0));
        e.doc()->mergeCurrentCharFormat(black);
        e.type(QStringLiteral(" sort"));
        for (int i = 0; i < 4; ++i)
            e.key(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(grid->foregroundIndex(), 0);
        e.key(Qt::Key_Left);
        e.key(Qt::Key_Left);
        for (int i = 0; i < 3; ++i)
            e.key(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(e.doc()->textCursor().selectedText(), QStringLiteral("kst"));
        QCOMPARE(grid->foregroundIndex(), 9);
        e.key(Qt::Key_End);

        // A colour outside the grid marks no square, and a right click then recolours nothing.
        QTextCharFormat skyBlue;
        skyBlue.setForeground(QColor(166, 202, 240));
        e.doc()->mergeCurrentCharFormat(skyBlue);
        e.type(QStringLiteral("x"));
        QCOMPARE(grid->foregroundIndex(), -1);
        QCOMPARE(grid->backgroundIndex(), 15);
        e.key(Qt::Key_Left, Qt::ShiftModifier);
        QTest::mouseClick(grid, Qt::RightButton, {}, grid->squareRect(2).center());
        QCOMPARE(grid->backgroundIndex(), 15);
        QCOMPARE(e.formatAt(e.doc()->textCursor().selectionStart()).foreground().color(), QColor(166, 202, 240));
    }

    void characterFormatsToggleAndShowPressed_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("bold") << "RichEditBold1"
                              << "ToolButton10" << int(Qt::Key_B);
        QTest::newRow("italic") << "RichEditItalic1"
                                << "ToolButton11" << int(Qt::Key_I);
        QTest::newRow("underline") << "RichEditUnderline1"
                                   << "ToolButton12" << int(Qt::Key_U);
    }
    void characterFormatsToggleAndShowPressed()
    {
        QFETCH(QString, action);
        QFETCH(QString, button);
        QFETCH(int, key);
        Editor e;
        e.show();
        const auto hasIt = [&] {
            const QFont font = e.formatAt(1).font();
            return action == QLatin1String("RichEditBold1")  ? font.bold()
                : action == QLatin1String("RichEditItalic1") ? font.italic()
                                                             : font.underline();
        };
        e.type(QStringLiteral("fed kursiv"));
        e.selectAll();
        QAction* format = e.action(qPrintable(action));
        QVERIFY(format->isEnabled());
        QVERIFY(!format->isChecked());
        e.key(key, Qt::ControlModifier);
        QVERIFY(hasIt());
        QVERIFY(format->isChecked());
        QTest::mouseClick(e.child<QToolButton>(qPrintable(button)), Qt::LeftButton);
        QVERIFY(!hasIt());
        QVERIFY(!format->isChecked());
        QCOMPARE(e.doc()->toPlainText(), QStringLiteral("fed kursiv"));
    }

    void paragraphFormatsApplyToTheSelectedParagraphs()
    {
        Editor e;
        e.show();
        e.type(QStringLiteral("første"));
        e.key(Qt::Key_Return);
        e.type(QStringLiteral("anden"));
        e.selectAll();
        QVERIFY(e.action("RichEditAlignLeft1")->isChecked());
        QTest::mouseClick(e.child<QToolButton>("ToolButton15"), Qt::LeftButton);
        QCOMPARE(
            e.doc()->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(
            e.doc()->document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(e.action("RichEditAlignCenter1")->isChecked());
        QVERIFY(!e.action("RichEditAlignLeft1")->isChecked());
        QTest::mouseClick(e.child<QToolButton>("ToolButton16"), Qt::LeftButton);
        QVERIFY(e.action("RichEditAlignRight1")->isChecked());
        QVERIFY(!e.action("RichEditAlignCenter1")->isChecked());

        QTest::mouseClick(e.child<QToolButton>("ToolButton18"), Qt::LeftButton);
        QVERIFY(e.doc()->document()->firstBlock().textList());
        QCOMPARE(e.doc()->document()->firstBlock().textList(), e.doc()->document()->lastBlock().textList());
        QVERIFY(e.action("RichEditBullets1")->isChecked());
        QTest::mouseClick(e.child<QToolButton>("ToolButton18"), Qt::LeftButton);
        QVERIFY(!e.doc()->document()->firstBlock().textList());
        QVERIFY(!e.doc()->document()->lastBlock().textList());
        QVERIFY(!e.action("RichEditBullets1")->isChecked());
        QCOMPARE(e.doc()->toPlainText(), QStringLiteral("første\nanden"));
    }

    void clipboardActionsNeedWhatTheyWorkOn()
    {
        Editor e;
        e.show();
        QApplication::clipboard()->clear();
        e.form->XYinfo();
        QAction* cut = e.action("EditCut1");
        QAction* copy = e.action("EditCopy1");
        QAction* del = e.action("EditDelete1");
        QAction* selectAll = e.action("EditSelectAll1");
        QAction* undo = e.action("EditUndo1");
        QAction* paste = e.action("EditPaste1");
        const auto update = [] { QCoreApplication::processEvents(); };
        struktur::ActionUpdates::instance().requestUpdate();
        update();
        QVERIFY(!cut->isEnabled() && !copy->isEnabled() && !del->isEnabled());
        QVERIFY(!selectAll->isEnabled());
        QVERIFY(!undo->isEnabled());
        QVERIFY(!paste->isEnabled());

        e.type(QStringLiteral("klip mig"));
        update();
        QVERIFY(!cut->isEnabled() && !copy->isEnabled());
        QVERIFY(selectAll->isEnabled());
        QVERIFY(undo->isEnabled());
        e.selectAll();
        QVERIFY(cut->isEnabled() && copy->isEnabled() && del->isEnabled());
        QTest::mouseClick(e.child<QToolButton>("ToolButton1"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("klip mig"));
        update();
        QVERIFY(paste->isEnabled());

        // With the focus in the face box the document is no target.
        e.faceBox()->setFocus();
        struktur::ActionUpdates::instance().requestUpdate();
        update();
        QVERIFY(!copy->isEnabled());
        QVERIFY(!e.action("RichEditBold1")->isEnabled());
    }

    void documentContextMenuHasTheEightItems()
    {
        Editor e;
        auto* popup = e.child<QMenu>("PopupEdit");
        QStringList names;
        const QList<QAction*> items = popup->actions();
        for (QAction* item : items)
            names.append(item->objectName());
        QCOMPARE(names, (QStringList { "Annuller1", "N1", "Klip1", "Kopier1", "Indst1", "N2", "Vlgalt1", "Slet1" }));
        QStringList dropDown;
        const QList<QAction*> dropItems = e.child<QMenu>("PopupDropDown")->actions();
        for (QAction* item : dropItems)
            dropDown.append(item->objectName());
        QCOMPARE(dropDown.size(), 8);
        QCOMPARE(dropDown.first(), QStringLiteral("MenuItem1"));
        QCOMPARE(dropDown.last(), QStringLiteral("MenuItem8"));
        QCOMPARE(e.doc()->contextMenuPolicy(), Qt::CustomContextMenu);
    }

    void otherProgramGetsTheDocumentPath()
    {
        Editor e;
        QList<QString> opened;
        struktur::setShellHandler([&](struktur::ShellVerb verb, const QString& path) {
            QCOMPARE(verb, struktur::ShellVerb::Edit);
            opened.append(path);
        });
        QAction* agoEdit = e.action("AgoEdit");
        QVERIFY(!agoEdit->isEnabled());
        QString path;
        e.form->setDocumentPathSource([&] { return path; });
        QVERIFY(!agoEdit->isEnabled());
        path = QStringLiteral("/struktur/tekstfiler/æblegrød.rtf");
        struktur::ActionUpdates::instance().requestUpdate();
        QCoreApplication::processEvents();
        QVERIFY(agoEdit->isEnabled());
        QTest::mouseClick(e.child<QToolButton>("redigerAndetKnap"), Qt::LeftButton);
        QCOMPARE(opened, (QList<QString> { path }));
        struktur::setShellHandler({});
    }

    void printButtonShowsThePrintWindow()
    {
        Editor e;
        QWidget printWindow;
        QTest::mouseClick(e.child<QToolButton>("ToolButton3"), Qt::LeftButton);
        QVERIFY(!printWindow.isVisible());
        e.form->setPrintWindow(&printWindow);
        QTest::mouseClick(e.child<QToolButton>("ToolButton3"), Qt::LeftButton);
        QVERIFY(printWindow.isVisible());
    }

    void optionsFileKeepsPositionAndSize()
    {
        TempProgramFolder folder;
        folder.createFolders();
        const QString path = folder.optionsFile(QStringLiteral("editopt.txt"));
        {
            TeditForm form(folder.path());
            QCOMPARE(form.optionsFile(), QDir::toNativeSeparators(path));
            QCOMPARE(form.size(), QSize(784, 274));
            QVERIFY(!QFile::exists(path));
            form.GemOpt();
        }
        writeFile(path, "40\r\n30\r\n700\r\n500\r\nrest\r\n");
        TeditForm form(folder.path());
        form.GemOpt();
        QCOMPARE(readFile(path), QByteArray("40\r\n30\r\n700\r\n500\r\n"));
        QCOMPARE(form.pos(), QPoint(30, 40));
    }

    void brokenOptionsFileIsReportedAndTheWindowCompleted_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("short") << QByteArray("10\r\n20\r\n") << "List index out of bounds (2)";
        QTest::newRow("not a number") << QByteArray("10\r\nvenstre\r\n600\r\n400\r\n")
                                      << "'venstre' is not a valid integer value.";
        QTest::newRow("empty") << QByteArray() << "List index out of bounds (0)";
    }
    void brokenOptionsFileIsReportedAndTheWindowCompleted()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        TempProgramFolder folder;
        folder.createFolders();
        writeFile(folder.optionsFile(QStringLiteral("editopt.txt")), content);
        DialogScript dialogs;
        TeditForm form(folder.path());
        QCOMPARE(dialogs.texts(), QStringList { message });
        QVERIFY(form.findChild<QComboBox*>(QStringLiteral("FontName"))->count() > 0);
        QCOMPARE(form.infoTekst->currentFont().family(), QStringLiteral("Courier New"));
        QCOMPARE(form.infoTekst->currentFont().pointSize(), 10);
    }

    void optionsThatCannotBeWrittenRaiseTheError()
    {
        TempProgramFolder folder;
        TeditForm form(folder.path());
        const QString message = errorOf([&] { form.GemOpt(); });
        QVERIFY2(message.startsWith(QStringLiteral("Cannot create file \"")), qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("editopt.txt")));
    }

    void documentsAreSavedAsRtfAndLoadedBack()
    {
        Editor e;
        e.show();
        e.type(QStringLiteral("Blåbærgrød "));
        e.key(Qt::Key_B, Qt::ControlModifier);
        e.type(QStringLiteral("fed"));
        const QString path = e.folder.path() + QStringLiteral("/dokument æøå.rtf");
        e.form->saveDocument(path);
        QVERIFY(readFile(path).startsWith("{\\rtf"));

        e.form->clearDocument();
        QVERIFY(e.doc()->document()->isEmpty());
        e.form->loadDocument(path);
        QCOMPARE(e.doc()->toPlainText(), QStringLiteral("Blåbærgrød fed"));
        QVERIFY(e.formatAt(12).font().bold());
        QVERIFY(!e.formatAt(2).font().bold());
        QVERIFY(!e.doc()->document()->isUndoAvailable());
    }

    void plainTextFilesAreReadByTheirMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE\xE6\x00\xF8\x00\xE5\x00", 8);
        QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\x00\xE6\x00\xF8\x00\xE5", 8);
        QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF\xC3\xA6\xC3\xB8\xC3\xA5");
        QTest::newRow("Windows-1252") << QByteArray("\xE6\xF8\xE5");
    }
    void plainTextFilesAreReadByTheirMark()
    {
        QFETCH(QByteArray, bytes);
        Editor e;
        const QString path = e.folder.path() + QStringLiteral("/tekst.rtf");
        writeFile(path, bytes);
        e.form->loadDocument(path);
        QCOMPARE(e.doc()->toPlainText(), QStringLiteral("æøå"));
        QCOMPARE(
            e.formatAt(0).font().resolve(e.doc()->document()->defaultFont()).family(), QStringLiteral("Courier New"));
    }

    void unreadableDocumentLeavesTheBufferAlone()
    {
        Editor e;
        e.doc()->setPlainText(QStringLiteral("behold mig"));
        const QString missing = e.folder.path() + QStringLiteral("/findes ikke.rtf");
        const QString message = errorOf([&] { e.form->loadDocument(missing); });
        QVERIFY2(message.startsWith(QStringLiteral("Cannot open file \"") + QDir::toNativeSeparators(missing)),
            qPrintable(message));
        const QString folderMessage = errorOf([&] { e.form->loadDocument(e.folder.path()); });
        QVERIFY2(folderMessage.startsWith(QStringLiteral("Cannot open file")), qPrintable(folderMessage));
        QCOMPARE(e.doc()->toPlainText(), QStringLiteral("behold mig"));
    }

    void longDocumentOpensBeforeItIsLaidOut()
    {
        // About 900 kB of text: far more than the first steps of Qt's lazy layout.
        QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 ";
        for (int i = 0; i < 6000; ++i)
            rtf += "Et afsnit med ord nok til at blive brudt over flere linjer i vinduet, igen og igen, nr. "
                + QByteArray::number(i) + " og s\\'e5 videre til enden af linjen.\\par\r\n";
        rtf += "}";
        Editor e;
        e.show();
        const QString path = e.folder.path() + QStringLiteral("/lang.rtf");
        writeFile(path, rtf);
        e.form->loadDocument(path);
        QTextDocument& document = *e.doc()->document();
        const auto laidOut = [](const QTextBlock& block) { return block.layout()->lineCount() > 0; };
        QVERIFY(laidOut(document.begin()));
        QVERIFY(!laidOut(document.lastBlock()));
        QCOMPARE(e.doc()->textCursor().position(), 0);
        QVERIFY(!document.isModified());
        QVERIFY(!document.isUndoAvailable());
        QCOMPARE(e.form->statusPanelText(3), QStringLiteral("1 "));

        // Typing goes in at the start while the rest is still being laid out.
        // Typing goes in at the start while the rest is still being laid out (an edit that early
        // stops Qt's steps; the editor starts them again).
        e.type(QStringLiteral("x"));
        QVERIFY(document.begin().text().startsWith(QLatin1String("xEt afsnit")));
        QTRY_VERIFY_WITH_TIMEOUT(laidOut(document.lastBlock()), 60000);

        // Once laid out, the line count is every display line of the document (counted again
        // on each try: a scroll bar that comes or goes moves the line breaks once more).
        const auto lines = [&document] {
            int count = 0;
            for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
                count += block.layout()->lineCount();
            return count;
        };
        QVERIFY(lines() > document.blockCount());
        QTRY_COMPARE_WITH_TIMEOUT(e.form->statusPanelText(1), QString::number(lines()), 20000);
    }

    void failedSaveKeepsTheOldFile()
    {
        Editor e;
        const QString path = e.folder.path() + QStringLiteral("/gammel.rtf");
        e.doc()->setPlainText(QStringLiteral("gammel"));
        e.form->saveDocument(path);
        const QByteArray old = readFile(path);
        const QString intoMissingFolder = e.folder.path() + QStringLiteral("/mangler/ny.rtf");
        const QString message = errorOf([&] { e.form->saveDocument(intoMissingFolder); });
        QVERIFY2(message.startsWith(QStringLiteral("Cannot create file \"")), qPrintable(message));
        const QString ontoFolder = errorOf([&] { e.form->saveDocument(e.folder.path()); });
        QVERIFY2(ontoFolder.startsWith(QStringLiteral("Cannot create file")), qPrintable(ontoFolder));
        QCOMPARE(readFile(path), old);
    }

    void clearedDocumentStartsInTheDefaultFormat()
    {
        Editor e;
        e.show();
        e.key(Qt::Key_B, Qt::ControlModifier);
        QTextCharFormat big;
        big.setFontPointSize(20);
        e.doc()->mergeCurrentCharFormat(big);
        e.type(QStringLiteral("stor"));
        e.form->clearDocument();
        e.type(QStringLiteral("ny"));
        const QFont font = e.formatAt(0).font().resolve(e.doc()->document()->defaultFont());
        QCOMPARE(font.family(), QStringLiteral("Courier New"));
        QCOMPARE(font.pointSize(), 10);
        QVERIFY(!font.bold());
        QCOMPARE(e.form->statusPanelText(5), QStringLiteral("2 "));
    }

    void plainTextKeepsTheWindowTextColourUnderTheProgramsLook()
    {
        QVERIFY(struktur::trySetStyle(*qApp, QLatin1String(struktur::visualStyleResource)));
        const auto plainLook = qScopeGuard([] { qApp->setStyleSheet(QString()); });
        Editor e;
        e.show();
        e.type(QStringLiteral("sort"));
        const QColor windowText = QGuiApplication::palette().color(QPalette::Text);
        QCOMPARE(e.doc()->palette().color(QPalette::Text), windowText);
        QCOMPARE(e.child<TColorGrid>("ColorGrid")->foregroundIndex(), TColorGrid::colorToIndex(windowText));
        QVERIFY(e.child<TColorGrid>("ColorGrid")->foregroundIndex() >= 0);
    }
};

STRUKTUR_GUI_TEST_MAIN(TestEditForm)
#include "test_editform.moc"

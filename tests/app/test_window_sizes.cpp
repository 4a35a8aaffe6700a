// SPDX-License-Identifier: GPL-3.0-or-later
// The windows at the sizes they start with and their minimum sizes, in the program's look and
// the fonts this machine has: nothing cut, nothing out of reach.
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "folders/TmappeForm.h"
#include "model/TStruktur.h"
#include "support/GuiTestMain.h"
#include "support/TempProgramFolder.h"
#include "ui/Dialogs.h"
#include "ui/HintLine.h"
#include "ui/VisualStyle.h"
#include "ui/WrappingToolBar.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace struktur;

namespace {

QString describe(const QWidget* widget)
{
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return widget->objectName() + QLatin1Char(' ') + (button ? button->text() : QString()) + QStringLiteral(" at ")
        + QString::number(widget->x()) + QLatin1Char(',') + QString::number(widget->y()) + QLatin1Char(' ')
        + QString::number(widget->width()) + QLatin1Char('x') + QString::number(widget->height());
}

/// The rectangle of `widget` in `ancestor`'s coordinates.
QRect rectIn(const QWidget* widget, const QWidget* ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class TestWindowSizes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { applyVisualStyle(*qApp); }
    void init()
    {
        m_program = std::make_unique<test::TempProgramFolder>();
        createWindows();
        mainform->resize(mainform->minimumSize());
        mainform->bog->setCurrentWidget(mainform->side2);
        mainform->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainform));
        settle();
    }
    void cleanup()
    {
        destroyWindows();
        m_program.reset();
    }

    void everyTreeCommandIsInSightAtTheMinimumSize_data()
    {
        QTest::addColumn<int>("added");
        QTest::newRow("as built") << 0;
        // The bar must keep its promise when further picture-only commands join it.
        QTest::newRow("five more picture-only buttons") << 5;
    }
    void everyTreeCommandIsInSightAtTheMinimumSize()
    {
        QFETCH(int, added);
        auto* bar = mainform->findChild<WrappingToolBar*>(QStringLiteral("ToolBar1"));
        QVERIFY(bar);
        const qsizetype built = bar->actions().size();
        int builtButtons = 0;
        for (QAction* action : bar->actions())
            builtButtons += action->isSeparator() ? 0 : 1;
        QVERIFY(builtButtons >= 6);
        QVERIFY(built > 0);
        for (int i = 0; i < added; ++i) {
            QPixmap picture(16, 16);
            picture.fill(Qt::darkBlue);
            bar->addAction(new QAction(QIcon(picture), QStringLiteral("Ekstra %1").arg(i), bar));
        }
        settle();
        QWidget* pane = mainform->findChild<QWidget*>(QStringLiteral("rightPane"));
        QVERIFY(rectIn(bar, pane).right() <= pane->width());
        QList<QRect> placed;
        int buttons = 0;
        for (QAction* action : bar->actions()) {
            QWidget* shown = bar->widgetForAction(action);
            QVERIFY(shown);
            if (action->isSeparator())
                continue;
            ++buttons;
            QVERIFY2(shown->isVisible(), qPrintable(describe(shown)));
            QVERIFY2(bar->rect().contains(shown->geometry()), qPrintable(describe(shown)));
            QVERIFY2(shown->width() >= shown->sizeHint().width(), qPrintable(describe(shown)));
            for (const QRect& other : placed)
                QVERIFY2(!other.intersects(shown->geometry()), qPrintable(describe(shown)));
            placed.append(shown->geometry());
        }
        QCOMPARE(buttons, builtButtons + added);
        // The tree below the bar keeps most of the pane.
        QVERIFY(rectIn(mainform->Struktur, pane).top() >= rectIn(bar, pane).bottom());
        QVERIFY(mainform->Struktur->height() > pane->height() / 3);
    }

    void leftPaneCaptionsShowWholeAtItsMinimumWidth()
    {
        auto* splitter = mainform->findChild<QSplitter*>(QStringLiteral("Splitter1"));
        splitter->setSizes({ 0, splitter->width() });
        settle();
        QWidget* pane = mainform->findChild<QWidget*>(QStringLiteral("leftPane"));
        QVERIFY(pane->width() >= 292);
        QCOMPARE(pane->width(), pane->minimumSizeHint().width());
        const auto buttons = pane->findChildren<QAbstractButton*>();
        QVERIFY(buttons.size() > 10);
        for (const QAbstractButton* button : buttons) {
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(describe(button)));
            QVERIFY2(pane->rect().contains(rectIn(button, pane)), qPrintable(describe(button)));
        }
        const auto* icons = pane->findChild<QGroupBox*>(QStringLiteral("ikonBox"));
        QVERIFY(icons->width() >= icons->minimumSizeHint().width());
    }

    void treeScrollsToItsLongestLine()
    {
        TStruktur* tree = mainform->Struktur;
        const QString longText = QStringLiteral("Udskiftning af pakninger, kontrol af spændebånd og trykprøvning "
                                                "af hele anlægget efter endt reparation");
        tree->NyNode(QStringLiteral("Pumpestation"), QStringLiteral("pumpe"), 0, false, false);
        tree->NyNode(longText, QStringLiteral("pakninger"), 2, false, false);
        settle();
        QScrollBar* bar = tree->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        const int needed = tree->fontMetrics().horizontalAdvance(longText);
        QVERIFY(tree->columnWidth(0) >= needed);
        // Short lines need no scrolling.
        tree->Clear();
        tree->NyNode(QStringLiteral("Kort"), QStringLiteral("kort"), 0, false, false);
        settle();
        QCOMPARE(tree->horizontalScrollBar()->maximum(), 0);
    }

    void longHintsShowWholeOnTheHintLine_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::newRow("folder field") << QStringLiteral(
            "Indfør den mappe som strukturen skal pladseres i, relateret til det program, der skal anvende strukturen");
        QTest::newRow("reload") << QStringLiteral("Genindlæs struktur ved fortrydelse af ændring der ikke er gemt");
        QTest::newRow("short") << QStringLiteral("Gem strukturen");
    }
    void longHintsShowWholeOnTheHintLine()
    {
        QFETCH(QString, hint);
        const int height = mainform->infoBar->height();
        mainform->Info(hint);
        settle();
        QCOMPARE(mainform->infoBar->currentMessage(), hint);
        const QFont font = mainform->infoBar->font();
        QVERIFY(font.pointSizeF() >= 6);
        QVERIFY(QFontMetrics(font).horizontalAdvance(hint) <= mainform->infoBar->contentsRect().width() - 24);
        QCOMPARE(mainform->infoBar->height(), height);
        if (QFontMetrics(mainform->font()).horizontalAdvance(hint) < mainform->infoBar->width() / 2)
            QCOMPARE(font.pointSizeF(), mainform->font().pointSizeF());
    }

    void folderButtonShowsItHasTheFocus()
    {
        mainform->bog->setCurrentWidget(mainform->side1);
        settle();
        auto* button = mainform->findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
        QVERIFY(button->focusPolicy() & Qt::TabFocus);
        mainform->activateWindow();
        mainform->findChild<QWidget*>(QStringLiteral("navnEdit"))->setFocus();
        settle();
        const QImage without = button->grab().toImage();
        button->setFocus(Qt::TabFocusReason);
        settle();
        QVERIFY(button->hasFocus());
        QVERIFY(button->grab().toImage() != without);
    }

    void folderChooserCaptionsShareOneFontClearOfTheEdges()
    {
        QList<QFont> fonts;
        for (const char* name : { "ToolButton2", "ToolButton4", "ToolButton6" }) {
            auto* button = mappeForm->findChild<QToolButton*>(QLatin1String(name));
            QVERIFY(button);
            fonts.append(button->font());
            QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) <= button->width() - 6,
                qPrintable(describe(button)));
        }
        QCOMPARE(fonts[1], fonts[0]);
        QCOMPARE(fonts[2], fonts[0]);
        mappeForm->show();
        settle();
        QWidget* bar = mappeForm->findChild<QWidget*>(QStringLiteral("ToolBar1"));
        QWidget* caption = mappeForm->findChild<QWidget*>(QStringLiteral("Label5"));
        QVERIFY(rectIn(bar, mappeForm).top() >= 2);
        QVERIFY(rectIn(caption, mappeForm).top() >= rectIn(bar, mappeForm).bottom() + 3);
        mappeForm->hide();
    }

    void messageBoxesCentreOnTheirWindow()
    {
        auto* field = mainform->findChild<QWidget*>(QStringLiteral("tekstEdit"));
        QCOMPARE(Dialogs::owner(field), static_cast<QWidget*>(mainform));
        // No window has the focus: the main window still owns the box.
        if (QApplication::activeWindow())
            QApplication::activeWindow()->clearFocus();
        QApplication::setActiveWindow(nullptr);
        QCOMPARE(Dialogs::owner(nullptr), static_cast<QWidget*>(mainform));

        // A real box, with no responder, lands over the window's middle.
        const Dialogs::Responder scripted = Dialogs::currentResponder();
        Dialogs::setResponder({});
        QPoint boxCentre;
        QTimer::singleShot(0, [&boxCentre] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            boxCentre = box->frameGeometry().center();
            box->done(QMessageBox::Ok);
        });
        Dialogs::error(nullptr, QStringLiteral("strukturkonstruktor"), QStringLiteral("Prøve."));
        Dialogs::setResponder(scripted);
        const QPoint windowCentre = mainform->frameGeometry().center();
        QVERIFY2((boxCentre - windowCentre).manhattanLength() <= 4,
            qPrintable(QStringLiteral("box at %1,%2, window at %3,%4")
                           .arg(boxCentre.x())
                           .arg(boxCentre.y())
                           .arg(windowCentre.x())
                           .arg(windowCentre.y())));
    }

private:
    std::unique_ptr<test::TempProgramFolder> m_program;
};

STRUKTUR_GUI_TEST_MAIN(TestWindowSizes)
#include "test_window_sizes.moc"

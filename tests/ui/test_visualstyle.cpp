// SPDX-License-Identifier: GPL-3.0-or-later
// The program's look and its Danish standard buttons.
#include "support/DialogScript.h"
#include "support/GuiTestMain.h"
#include "ui/VisualStyle.h"

#include <QPushButton>
#include <QStyle>

using namespace struktur;

class TestVisualStyle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lookIsAppliedToEveryWindow();
    void missingLookIsReportedAndDefaultLookStays();
    void standardButtonsAreDanish_data();
    void standardButtonsAreDanish();
};

void TestVisualStyle::lookIsAppliedToEveryWindow()
{
    test::DialogScript script;
    auto& app = *qApp;
    applyVisualStyle(app);
    QVERIFY(script.shown.isEmpty());
    QVERIFY(app.styleSheet().contains(QStringLiteral("QPushButton")));

    // A button in any window is drawn by the sheet: its background differs from plain Fusion's.
    QPushButton styled(QStringLiteral("Indsæt"));
    styled.resize(80, 24);
    const QImage withSheet = styled.grab().toImage();
    app.setStyleSheet(QString());
    const QImage plain = styled.grab().toImage();
    QVERIFY(withSheet != plain);
    QCOMPARE(app.style()->name(), QStringLiteral("fusion"));
}

void TestVisualStyle::missingLookIsReportedAndDefaultLookStays()
{
    test::DialogScript script;
    auto& app = *qApp;
    app.setStyleSheet(QString());
    applyVisualStyle(app, QStringLiteral("NOSUCHSTYLE"));
    QVERIFY(app.styleSheet().isEmpty());
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.shown[0].kind, Dialogs::Kind::ErrorClose);
    QCOMPARE(script.shown[0].caption, QStringLiteral("test_visualstyle"));
    QCOMPARE(script.shown[0].text, QStringLiteral("Style 'Aqua Light Slate' not found"));
}

void TestVisualStyle::standardButtonsAreDanish_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("danish");
    QTest::newRow("yes") << "&Yes"
                         << "&Ja";
    QTest::newRow("no") << "&No"
                        << "&Nej";
    QTest::newRow("cancel") << "Cancel"
                            << "Annuller";
}

void TestVisualStyle::standardButtonsAreDanish()
{
    static const bool installed = installDanishTranslations(*qApp);
    QVERIFY2(installed, "Qt's Danish catalogue qtbase_da is missing (qt6-translations-l10n)");
    QFETCH(QString, english);
    QFETCH(QString, danish);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", english.toUtf8().constData()), danish);
}

STRUKTUR_GUI_TEST_MAIN(TestVisualStyle)
#include "test_visualstyle.moc"

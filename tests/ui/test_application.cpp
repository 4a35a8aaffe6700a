// SPDX-License-Identifier: GPL-3.0-or-later
// The application's single catch point, the creation guard, the error box and the idle-time
// update of action rules.
#include "platform/Error.h"
#include "support/DialogScript.h"
#include "support/GuiTestMain.h"
#include "ui/ActionUpdates.h"
#include "ui/CreationGuard.h"
#include "ui/ErrorDisplay.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <stdexcept>

using namespace struktur;

class TestApplication : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorBoxText_data();
    void errorBoxText();
    void errorBoxCaptionIsTheExecutableName();
    void errorInClickHandlerIsShownAndProgramGoesOn();
    void standardExceptionIsShownToo();
    void errorInQueuedCallIsShown();
    void creationHandlerErrorEndsHandlerOnly();
    void inputEventRequestsOneUpdate();
    void otherEventsRequestNoUpdate();
};

void TestApplication::errorBoxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter gets a full stop") << "Filen mangler"
                                             << "Filen mangler.";
    QTest::newRow("full stop stays single") << "Slut."
                                            << "Slut.";
    QTest::newRow("closing parenthesis is below the full stop") << "List index out of bounds (2)"
                                                                << "List index out of bounds (2)";
    QTest::newRow("quote is below the full stop") << "Cannot open file \"a\""
                                                  << "Cannot open file \"a\"";
    QTest::newRow("exclamation mark is below") << "Fejl!"
                                               << "Fejl!";
    QTest::newRow("hyphen is below") << "a -"
                                     << "a -";
    QTest::newRow("slash is above") << "mappe/"
                                    << "mappe/.";
    QTest::newRow("digit is above") << "linje 4"
                                    << "linje 4.";
    QTest::newRow("Danish letter is above") << "Filen på Skrivebordet blev slettet på grund af å"
                                            << "Filen på Skrivebordet blev slettet på grund af å.";
    QTest::newRow("empty message stays empty") << ""
                                               << "";
}

void TestApplication::errorBoxText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(struktur::errorBoxText(message), shown);
}

void TestApplication::errorBoxCaptionIsTheExecutableName()
{
    test::DialogScript script;
    showError(QStringLiteral("'x' is not a valid integer value"));
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.shown[0].kind, Dialogs::Kind::Error);
    QCOMPARE(script.shown[0].caption, QStringLiteral("test_application"));
    QCOMPARE(script.shown[0].text, QStringLiteral("'x' is not a valid integer value."));
}

void TestApplication::errorInClickHandlerIsShownAndProgramGoesOn()
{
    test::DialogScript script;
    QPushButton button(QStringLiteral("Indsæt"));
    int clicks = 0;
    connect(&button, &QPushButton::clicked, this, [&] {
        ++clicks;
        throw Error::cannotCreateFile(QStringLiteral("/ingen/mappe/æble.rtf"), QStringLiteral("Adgang nægtet"));
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));

    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);

    QCOMPARE(clicks, 2);
    QCOMPARE(
        script.texts(), QStringList(2, QStringLiteral("Cannot create file \"/ingen/mappe/æble.rtf\". Adgang nægtet.")));
    QVERIFY(!button.isDown());
}

void TestApplication::standardExceptionIsShownToo()
{
    test::DialogScript script;
    QLineEdit field;
    connect(&field, &QLineEdit::textEdited, this, [] { throw std::runtime_error("no room left"); });
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QTest::keyClicks(&field, QStringLiteral("ø"));
    QCOMPARE(script.texts(), QStringList { QStringLiteral("no room left.") });
    QCOMPARE(field.text(), QStringLiteral("ø"));
}

void TestApplication::errorInQueuedCallIsShown()
{
    test::DialogScript script;
    QTimer::singleShot(0, this, [] { throw Error::listIndexOutOfBounds(3); });
    QTRY_COMPARE(script.texts(), QStringList { QStringLiteral("List index out of bounds (3)") });
}

void TestApplication::creationHandlerErrorEndsHandlerOnly()
{
    test::DialogScript script;
    QStringList steps;
    const bool completed = runCreationHandler([&] {
        steps << QStringLiteral("folders");
        throw Error::notAnInteger(QStringLiteral("tyve"));
        steps << QStringLiteral("list");
    });

    QVERIFY(!completed);
    QCOMPARE(steps, QStringList { QStringLiteral("folders") });
    QCOMPARE(script.texts(), QStringList { QStringLiteral("'tyve' is not a valid integer value.") });
    QVERIFY(runCreationHandler([&] { steps << QStringLiteral("next"); }));
    QCOMPARE(steps.size(), 2);
}

void TestApplication::inputEventRequestsOneUpdate()
{
    QLineEdit field;
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QCoreApplication::processEvents();
    QSignalSpy updates(&ActionUpdates::instance(), &ActionUpdates::updateRequested);

    QTest::keyClick(&field, Qt::Key_A);
    QCOMPARE(updates.size(), 0); // queued: after the event is handled
    QCoreApplication::processEvents();
    QCOMPARE(updates.size(), 1);

    QTest::mouseClick(&field, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(updates.size(), 2);
}

void TestApplication::otherEventsRequestNoUpdate()
{
    QWidget widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    QSignalSpy updates(&ActionUpdates::instance(), &ActionUpdates::updateRequested);
    widget.resize(300, 200);
    widget.update();
    QCoreApplication::processEvents();
    QCOMPARE(updates.size(), 0);
}

STRUKTUR_GUI_TEST_MAIN(TestApplication)
#include "test_application.moc"

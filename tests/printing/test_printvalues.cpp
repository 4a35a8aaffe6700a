// SPDX-License-Identifier: GPL-3.0-or-later
// The print window's field filters and the conversion of margins and copies.
#include "platform/Error.h"
#include "printing/PrintValues.h"

#include <QTest>

using namespace struktur;

class TestPrintValues : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filtersKeepOnlyWantedCharacters_data();
    void filtersKeepOnlyWantedCharacters();
    void marginTexts_data();
    void marginTexts();
    void copiesTexts_data();
    void copiesTexts();
};

void TestPrintValues::filtersKeepOnlyWantedCharacters_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("margin");
    QTest::addColumn<QString>("copies");

    QTest::newRow("comma") << "2,5" << "2,5" << "25";
    QTest::newRow("point") << "2.5" << "2.5" << "25";
    QTest::newRow("unit pasted") << "1,5 cm" << "1,5" << "15";
    QTest::newRow("count pasted") << "3 stk" << "3" << "3";
    QTest::newRow("letters in a row") << "ab12" << "12" << "12";
    QTest::newRow("letters between") << "a1b2" << "12" << "12";
    QTest::newRow("signs and blanks") << " -1e5+ " << "15" << "15";
    QTest::newRow("other digits") << u"٣2"_qs << "2" << "2";
    QTest::newRow("danish letters") << "ærø7å" << "7" << "7";
    QTest::newRow("nothing wanted") << "abc" << "" << "";
}

void TestPrintValues::filtersKeepOnlyWantedCharacters()
{
    QFETCH(QString, input);
    QFETCH(QString, margin);
    QFETCH(QString, copies);
    QCOMPARE(Floatkon(input), margin);
    QCOMPARE(IntegerKon(input), copies);
}

void TestPrintValues::marginTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");

    QTest::newRow("decimal comma") << "2,5" << true << 2.5;
    QTest::newRow("decimal point") << "2.5" << true << 2.5;
    QTest::newRow("whole") << "1" << true << 1.0;
    QTest::newRow("trailing separator") << "5," << true << 5.0;
    QTest::newRow("leading separator") << ",5" << true << 0.5;
    QTest::newRow("lone comma is zero") << "," << true << 0.0;
    QTest::newRow("leading zeros") << "007,25" << true << 7.25;
    QTest::newRow("blanks and sign") << "  -1,5 " << true << -1.5;
    QTest::newRow("exponent") << "2,5E1" << true << 25.0;
    QTest::newRow("tiny") << "0,0000000000000000000000000000000000000000000000000000000000001" << true << 1e-61;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("comma and point") << "1,2.3" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("exponent alone") << "E5" << false << 0.0;
    QTest::newRow("exponent without digits") << "1E" << false << 0.0;
    QTest::newRow("beyond long double") << "1E99999" << false << 0.0;
    QTest::newRow("underflow is zero") << "1E-99999" << true << 0.0;
}

void TestPrintValues::marginTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    if (!valid) {
        try {
            marginValue(text);
            QFAIL("accepted");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid floating point value").arg(text));
        }
        return;
    }
    QCOMPARE(double(marginValue(text)), value);
}

void TestPrintValues::copiesTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("one") << "1" << true << 1;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("far too large") << "000099999999999999999999" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
}

void TestPrintValues::copiesTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (!valid) {
        try {
            copiesValue(text);
            QFAIL("accepted");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
        return;
    }
    QCOMPARE(copiesValue(text), value);
}

QTEST_APPLESS_MAIN(TestPrintValues)
#include "test_printvalues.moc"

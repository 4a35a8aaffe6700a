// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Error.h"
#include "platform/Numbers.h"

#include <QTest>

using namespace struktur;

class TestNumbers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void integers_data();
    void integers();
};

void TestNumbers::integers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "600" << true << 600;
    QTest::newRow("negative") << "-1920" << true << -1920;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("leading blanks") << "  12" << true << 12;
    QTest::newRow("hex") << "$1F" << true << 31;
    QTest::newRow("0x") << "0x10" << true << 16;
    QTest::newRow("int max") << "2147483647" << true << 2147483647;
    QTest::newRow("int min") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("too big") << "2147483648" << false << 0;
    QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("arabic digits") << u"١٢"_qs << false << 0;
    QTest::newRow("decimal") << "1,5" << false << 0;
}

void TestNumbers::integers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    try {
        QCOMPARE(toInteger(text), value);
        QVERIFY(valid);
    } catch (const Error& e) {
        QVERIFY2(!valid, qPrintable(e.message()));
        QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"

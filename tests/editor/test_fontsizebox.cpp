// SPDX-License-Identifier: GPL-3.0-or-later
#include "../support/GuiTestMain.h"
#include "editor/FaceNames.h"
#include "editor/TFontSizeComboBox.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QTest>

using struktur::TFontSizeComboBox;
using Face = TFontSizeComboBox::FaceFonts;
namespace facenames = struktur::facenames;

namespace {

QStringList entries(const QComboBox& box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.itemText(i));
    return texts;
}

const QStringList standardEntries { "8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36",
    "48", "72" };

/// An installed scalable family with the most styles, so that "listed once" means something.
QString scalableFaceWithStyles()
{
    QString best;
    qsizetype styles = 0;
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (QFontDatabase::isSmoothlyScalable(family) && QFontDatabase::styles(family).size() > styles) {
            best = family;
            styles = QFontDatabase::styles(family).size();
        }
    }
    return best;
}

/// A bitmap face "Raster" whose fonts give 6, 8, 10 and 12 points at 96 dpi, largest first, with
/// 10 points twice.
Face rasterFace(const QString& name)
{
    if (name.compare(QStringLiteral("Raster"), Qt::CaseInsensitive) != 0)
        return {};
    return { Face::Kind::Bitmap, { { 19, 3 }, { 16, 3 }, { 15, 2 }, { 13, 2 }, { 10, 2 } } };
}

} // namespace

class TestFontSizeBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scalableFaceListsTheStandardSizesOnce()
    {
        const QString face = scalableFaceWithStyles();
        if (face.isEmpty())
            QFAIL("no scalable font is installed");
        TFontSizeComboBox box;
        box.setFontName(face);
        QCOMPARE(entries(box), standardEntries);
        QCOMPARE(box.FontName(), face);
        box.setFontName(face.toUpper());
        QCOMPARE(entries(box), standardEntries);
    }

    void bitmapFaceListsItsRealSizesAscending()
    {
        TFontSizeComboBox box;
        box.setFaceSource(&rasterFace);
        box.setFontName(QStringLiteral("Raster"));
        QCOMPARE(box.PixelsPerInch(), 96);
        QCOMPARE(entries(box), (QStringList { "6", "8", "10", "12" }));
    }

    void missingFaceListsTheDrawnFacesSizesAndEmptyNameNone()
    {
        TFontSizeComboBox box;
        box.setFontName(scalableFaceWithStyles());
        box.lineEdit()->setText(QStringLiteral("12"));
        // The font system draws a missing face with another, scalable one.
        box.setFontName(QStringLiteral("No Such Face Installed"));
        QCOMPARE(entries(box), standardEntries);
        QCOMPARE(box.currentText(), QStringLiteral("12"));
        QCOMPARE(box.FontName(), QStringLiteral("No Such Face Installed"));
        box.setFontName(QString());
        QCOMPARE(box.count(), 0);
        QCOMPARE(box.currentText(), QStringLiteral("12"));
        // A source that knows no face at all leaves the list empty.
        box.setFaceSource([](const QString&) { return Face {}; });
        box.setFontName(QStringLiteral("Arial"));
        QCOMPARE(box.count(), 0);
        QCOMPARE(box.currentIndex(), -1);
    }

    // Qt lists a family found under several foundries as "Name [foundry]"; the box takes the
    // plain name the face list and documents use.
    void faceNamesArePlainFamilies_data()
    {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("plain");
        QTest::newRow("foundries") << QStringList { "C059 [UKWN]", "C059 [urw]", "DejaVu Sans", "Nimbus Sans [URW ]" }
                                   << QStringList { "C059", "DejaVu Sans", "Nimbus Sans" };
        QTest::newRow("bracket inside a name") << QStringList { "Odd [x] Face", "[only]" }
                                               << QStringList { "Odd [x] Face", "[only]" };
        QTest::newRow("case") << QStringList { "Serif", "serif [a]" } << QStringList { "Serif" };
    }
    void faceNamesArePlainFamilies()
    {
        QFETCH(QStringList, families);
        QFETCH(QStringList, plain);
        QCOMPARE(facenames::plainFamilies(families), plain);
    }

    void installedFamilyIsFoundByItsPlainName()
    {
        const QStringList qualified = QFontDatabase::families().filter(QStringLiteral(" ["));
        if (qualified.isEmpty())
            QSKIP("no family is installed under two foundries here");
        const QString plain = facenames::plainFamily(qualified.first());
        TFontSizeComboBox box;
        box.setFontName(plain);
        QVERIFY(box.count() > 0);
        QCOMPARE(facenames::drawnFamily(plain), plain);
    }

    void standInsDrawTheWindowsFaces_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("standIn");
        QTest::newRow("Courier New") << "Courier New" << "Liberation Mono";
        QTest::newRow("Arial") << "Arial" << "Liberation Sans";
        QTest::newRow("Times New Roman") << "Times New Roman" << "Liberation Serif";
    }
    void standInsDrawTheWindowsFaces()
    {
        QFETCH(QString, face);
        QFETCH(QString, standIn);
        if (QFontDatabase::hasFamily(face))
            QSKIP("the face itself is installed here");
        facenames::installStandIns();
        QCOMPARE(facenames::drawnFamily(face), standIn);
    }

    void rebuildSelectsTheEntryOfTheFieldText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("selected");
        QTest::newRow("12 is listed") << "12"
                                      << "scalable"
                                      << "12";
        QTest::newRow("12 is not listed") << "13"
                                          << "scalable"
                                          << "";
        QTest::newRow("bitmap face lacks 9") << "9"
                                             << "Raster"
                                             << "";
        QTest::newRow("bitmap face has 8") << "8"
                                           << "Raster"
                                           << "8";
    }
    void rebuildSelectsTheEntryOfTheFieldText()
    {
        QFETCH(QString, text);
        QFETCH(QString, face);
        QFETCH(QString, selected);
        TFontSizeComboBox box;
        box.setFaceSource([](const QString& name) {
            return name == QStringLiteral("scalable") ? Face { Face::Kind::Scalable, {} } : rasterFace(name);
        });
        box.lineEdit()->setText(text);
        box.setFontName(face);
        QCOMPARE(box.currentText(), text);
        QCOMPARE(box.currentIndex() < 0 ? QString() : box.itemText(box.currentIndex()), selected);
    }

    void onlyTheUsersChangesReportANewSize()
    {
        TFontSizeComboBox box;
        box.setFontName(scalableFaceWithStyles());
        QList<int> reported;
        int changes = 0;
        box.setOnNyFontSize([&](TFontSizeComboBox* sender, int size) {
            QCOMPARE(sender, &box);
            reported.append(size);
        });
        connect(&box, &TFontSizeComboBox::changed, this, [&] { ++changes; });

        box.setCurrentIndex(3);
        box.setFontName(scalableFaceWithStyles());
        QCOMPARE(changes, 0);

        box.lineEdit()->clear();
        QTest::keyClicks(box.lineEdit(), QStringLiteral("14"));
        QCOMPARE(reported, (QList<int> { 14 }));
        QCOMPARE(box.currentText(), QStringLiteral("14"));

        QTest::keyClicks(box.lineEdit(), QStringLiteral("5"));
        QCOMPARE(changes, 3);
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(reported, (QList<int> { 14 }));
        QCOMPARE(box.currentText(), QStringLiteral("145"));

        // Choosing an entry from the drop-down list.
        box.setCurrentIndex(0);
        Q_EMIT box.activated(0);
        QCOMPARE(reported, (QList<int> { 14, 8 }));
    }

    void clickHandlerRunsOnceAfterEachRebuild()
    {
        TFontSizeComboBox box;
        int clicks = 0;
        box.setOnClick([&](TFontSizeComboBox*) { ++clicks; });
        box.setFontName(scalableFaceWithStyles());
        box.setFontName(scalableFaceWithStyles());
        QCOMPARE(clicks, 2);
        box.setFontName(QString());
        QCOMPARE(clicks, 2);
    }
};

STRUKTUR_GUI_TEST_MAIN(TestFontSizeBox)
#include "test_fontsizebox.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructurePageFixture.h"
#include "elements/StructureExport.h"
#include "support/GuiTestMain.h"
#include "ui/ActionUpdates.h"

#include <QApplication>
#include <QMenu>
#include <QProgressDialog>
#include <QTimer>
#include <QToolButton>

using namespace struktur;
using struktur::test::StructurePageFixture;

namespace {

/// Answers the file dialog with a path in the test's folder and restores the dialog afterwards.
class TargetScript {
public:
    explicit TargetScript(QString target)
        : m_target(std::move(target))
    {
        StructureExport::setTargetChooser([this](QWidget*, StructureExport::Format format) {
            formats.append(format);
            return m_target;
        });
    }
    ~TargetScript() { StructureExport::setTargetChooser({}); }
    TargetScript(const TargetScript&) = delete;
    TargetScript& operator=(const TargetScript&) = delete;

    QList<StructureExport::Format> formats;

private:
    QString m_target;
};

QString fileText(const QString& path) { return QString::fromUtf8(StructurePageFixture::read(path)); }

void triggerMenuItem(StructurePageFixture& p, const QString& caption)
{
    auto* button = p.control<QToolButton>(QStringLiteral("EksportKnap"));
    QVERIFY(button && button->menu());
    for (QAction* item : button->menu()->actions())
        if (item->text() == caption) {
            item->trigger();
            p.settle();
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no menu item ") + caption));
}

} // namespace

class TestStructureExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buttonIsAPictureWithTheTwoExports();
    void siteIsWrittenUnderTheStructuresName();
    void bookIsWrittenWithItsExtension();
    void anExistingTargetIsReplacedOnlyWhenConfirmed();
    void cancellingTheProgressLeavesNoTarget();
};

void TestStructureExport::buttonIsAPictureWithTheTwoExports()
{
    StructurePageFixture p;
    auto* button = p.control<QToolButton>(QStringLiteral("EksportKnap"));
    QVERIFY(button);
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(!button->icon().isNull());
    QCOMPARE(button->defaultAction()->text(), QStringLiteral("Eksportér"));
    QStringList captions;
    for (QAction* item : button->menu()->actions())
        captions.append(item->text());
    QCOMPARE(captions, (QStringList { u"Som hjemmeside…"_qs, u"Som PDF-bog…"_qs }));
    QVERIFY(p.enabled(QStringLiteral("Aeksport")));
    p.tree->Clear();
    ActionUpdates::instance().requestUpdate();
    QVERIFY(!p.enabled(QStringLiteral("Aeksport")));
}

void TestStructureExport::siteIsWrittenUnderTheStructuresName()
{
    StructurePageFixture p;
    p.page->setInfoLabel(QStringLiteral("Strukturnavn: Min fælles struktur"));
    const QString target = p.program.path() + QStringLiteral("/Hjemmeside æøå");
    TargetScript script(target);
    triggerMenuItem(p, QStringLiteral("Som hjemmeside…"));
    QCOMPARE(script.formats, QList<StructureExport::Format> { StructureExport::Format::Site });
    QVERIFY(fileText(target + QStringLiteral("/index.html")).contains(QStringLiteral("<h1>Min fælles struktur</h1>")));
    QVERIFY(fileText(target + QStringLiteral("/sider/kapitel1.html")).contains(QStringLiteral("Æbler fra Fyn")));
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestStructureExport::bookIsWrittenWithItsExtension()
{
    StructurePageFixture p;
    TargetScript script(p.program.path() + QStringLiteral("/Bog"));
    triggerMenuItem(p, QStringLiteral("Som PDF-bog…"));
    QVERIFY(StructurePageFixture::read(p.program.path() + QStringLiteral("/Bog.pdf")).startsWith("%PDF-"));
}

void TestStructureExport::anExistingTargetIsReplacedOnlyWhenConfirmed()
{
    StructurePageFixture p;
    const QString target = p.program.path() + QStringLiteral("/bog.pdf");
    StructurePageFixture::write(target, "gammel");
    TargetScript script(target);
    p.dialogs.answers = { Dialogs::Answer::No };
    triggerMenuItem(p, QStringLiteral("Som PDF-bog…"));
    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.shown[0].kind, Dialogs::Kind::AskYesNo);
    QCOMPARE(p.dialogs.shown[0].text, target + QStringLiteral(" findes allerede.\rSkal det erstattes?"));
    QCOMPARE(StructurePageFixture::read(target), QByteArray("gammel"));
    p.dialogs.answers = { Dialogs::Answer::Yes };
    triggerMenuItem(p, QStringLiteral("Som PDF-bog…"));
    QVERIFY(StructurePageFixture::read(target).startsWith("%PDF-"));
}

void TestStructureExport::cancellingTheProgressLeavesNoTarget()
{
    StructurePageFixture p;
    const QString target = p.program.path() + QStringLiteral("/side");
    TargetScript script(target);
    bool cancelled = false;
    // "Annuller" is pressed as soon as the export reports its first element.
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(widget)) {
                cancelled = true;
                progress->cancel();
            }
    });
    triggerMenuItem(p, QStringLiteral("Som hjemmeside…"));
    QVERIFY(cancelled);
    QVERIFY(!QFileInfo::exists(target));
    const QStringList left = QDir(p.program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QVERIFY2(!left.join(u' ').contains(QStringLiteral(".side")), qPrintable(left.join(u' ')));
}

STRUKTUR_GUI_TEST_MAIN(TestStructureExport)

#include "test_structure_export.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The projects page on its own, over a host that records what the page asks of it: the page
// reaches the tree and the other windows only through its host, in the order the handlers need.
#include "../support/DialogScript.h"
#include "../support/GuiTestMain.h"
#include "app/ProjectsHost.h"
#include "app/ProjectsPage.h"
#include "model/Registry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace struktur;
using struktur::test::DialogScript;
using Answer = Dialogs::Answer;

namespace {

const QString sep = QDir::separator();

class FakeHost : public ProjectsHost {
public:
    QString programDir() const override { return folder; }
    QIcon picture(Picture which) const override
    {
        pictures.insert(int(which));
        return {};
    }
    bool confirmUnsavedChanges() override
    {
        asked.append(QStringLiteral("confirm"));
        return confirm;
    }
    void ClearToNew(bool Efocus) override { asked.append(QStringLiteral("clear %1").arg(Efocus)); }
    void openStructure(const registry::StructurePaths& paths) override
    {
        asked.append(QStringLiteral("open ") + describe(paths));
    }
    void startStructure(const registry::StructurePaths& paths) override
    {
        asked.append(QStringLiteral("start ") + describe(paths));
    }
    void showStructure(const QString& entry) override { asked.append(QStringLiteral("show ") + entry); }
    std::optional<QString> chooseFolder() override
    {
        asked.append(QStringLiteral("choose"));
        return chosenFolder;
    }

    static QString describe(const registry::StructurePaths& paths)
    {
        return QStringList { paths.structureFile, paths.dataFile, paths.documentFolder }.join(QLatin1Char('|'));
    }

    QString folder;
    bool confirm = true;
    std::optional<QString> chosenFolder;
    QStringList asked;
    mutable QSet<int> pictures;
};

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

} // namespace

class TestProjectsHost : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    FakeHost m_host;
    std::unique_ptr<ProjectsPage> m_page;

    template <typename Widget> Widget* control(const char* name) const
    {
        return m_page->findChild<Widget*>(QLatin1StringView(name));
    }
    void select(const QString& entry) const
    {
        auto* list = control<QListWidget>("strukturboks");
        const auto rows = list->findItems(entry, Qt::MatchExactly);
        QVERIFY2(!rows.isEmpty(), qPrintable(entry));
        list->setCurrentItem(rows.first());
    }
    // Clicked from code, not by an input event: an error must be caught inside the slot.
    void click(const char* name) const { control<QAbstractButton>(name)->click(); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_work.isValid());
        m_host = FakeHost();
        m_host.folder = QDir::toNativeSeparators(m_work.path());
        writeBytes(m_host.folder + sep + "Hjælp.txt", "/s/struktur.txt\r\n/s/data.txt\r\n/s/tekstfiler/\r\n");
        writeBytes(m_host.folder + sep + "kort.txt", "/k/struktur.txt\r\n");
        m_page = std::make_unique<ProjectsPage>(m_host);
        m_page->LoadStrukturBoks();
    }
    void cleanup() { m_page.reset(); }

    void everyButtonPictureComesFromTheHost() { QCOMPARE(m_host.pictures.size(), 6); }

    void loadAsksFirstThenOpensAndShows()
    {
        select("Hjælp.txt");
        click("redigerKnap");
        QCOMPARE(m_host.asked,
            QStringList({ "confirm", "clear 0", "open /s/struktur.txt|/s/data.txt|/s/tekstfiler/", "show Hjælp.txt" }));

        m_host.asked.clear();
        m_host.confirm = false;
        click("redigerKnap");
        QCOMPARE(m_host.asked, QStringList { "confirm" });
    }

    void loadOverABrokenRegistryFileAsksNothing()
    {
        DialogScript script;
        select("kort.txt");
        click("redigerKnap");
        QCOMPARE(script.texts(), QStringList { "List index out of bounds (1)" });
        QCOMPARE(m_host.asked, QStringList());
    }

    void loadWithAnEmptyListOnlyClears()
    {
        QFile::remove(m_host.folder + sep + "Hjælp.txt");
        QFile::remove(m_host.folder + sep + "kort.txt");
        m_page->LoadStrukturBoks();
        click("redigerKnap");
        QCOMPARE(m_host.asked, QStringList { "clear 0" });
    }

    void createBindsTheNewStructureWithoutReadingIt()
    {
        const QString folder = QDir::toNativeSeparators(m_work.filePath("ny mappe"));
        control<QLineEdit>("navnEdit")->setText("Ny");
        control<QLineEdit>("strukturmappeEdit")->setText(folder);
        click("opretKnap");
        const registry::StructurePaths paths = registry::pathsForFolder(folder);
        QCOMPARE(m_host.asked, QStringList({ "clear 0", "start " + FakeHost::describe(paths), "show Ny.txt" }));
        QVERIFY(QFileInfo::exists(m_host.folder + sep + "Ny.txt"));
        QVERIFY(QFileInfo(paths.documentFolder).isDir());
    }

    void folderButtonTakesWhatTheHostChose()
    {
        auto* field = control<QLineEdit>("strukturmappeEdit");
        field->setText("før");
        click("SpeedButton2");
        QCOMPARE(field->text(), QStringLiteral("før"));
        m_host.chosenFolder = QStringLiteral("/valgt/mappe");
        click("SpeedButton2");
        QCOMPARE(field->text(), QStringLiteral("/valgt/mappe"));
        QCOMPARE(m_host.asked, QStringList({ "choose", "choose" }));
    }
};

STRUKTUR_GUI_TEST_MAIN(TestProjectsHost)
#include "test_projects_host.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Both programs' --help and --version, the tool's usage, and the manual page and bash
// completion that must name every subcommand the tool has.
#include "support/CliRun.h"
#include "support/Files.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur::test;

namespace {

/// Runs a program without any display: a program that made its GUI application object
/// before answering would abort here instead of printing.
CliRun run(const QString& program, const QStringList& arguments, const QString& outputFile = {})
{
    CliOptions options;
    options.outputFile = outputFile;
    options.environment = withoutDisplay();
    return runProgram(program, arguments, options);
}

const QString cli = QStringLiteral(STRUKTUR_CLI);
const QString gui = QStringLiteral(STRUKTUR_GUI);

QString sourceText(const QString& relativePath)
{
    QFile file(QStringLiteral(STRUKTUR_SOURCE_DIR "/") + relativePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

/// The subcommands as `struktur --help` lists them, in its order.
QStringList subcommands()
{
    QStringList names;
    static const QRegularExpression usageLine(
        QStringLiteral("^  struktur ([a-z0-9]+)"), QRegularExpression::MultilineOption);
    for (auto match = usageLine.globalMatch(run(cli, { QStringLiteral("--help") }).out); match.hasNext();)
        names.append(match.next().captured(1));
    return names;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void optionsAnswerWithoutDisplay_data();
    void optionsAnswerWithoutDisplay();
    void unwritableAnswerIsAFailure();
    void unwritableOutputOfASubcommandIsAFailure();
    void missingOrUnknownSubcommandShowsUsage_data();
    void missingOrUnknownSubcommandShowsUsage();
    void manualPageAndCompletionNameEverySubcommand();
};

void TestCommandLine::optionsAnswerWithoutDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");
    const QString version = QStringLiteral(" " STRUKTUR_EXPECTED_VERSION "\n");
    QTest::newRow("struktur --help") << cli << u"--help"_qs << u"Brug: struktur KOMMANDO ...\n"_qs;
    QTest::newRow("struktur -h") << cli << u"-h"_qs << u"Brug: struktur KOMMANDO ...\n"_qs;
    QTest::newRow("struktur --version") << cli << u"--version"_qs << u"struktur"_qs + version;
    QTest::newRow("strukturkonstruktor --help")
        << gui << u"--help"_qs << u"Brug: strukturkonstruktor [--help | --version]\n"_qs;
    QTest::newRow("strukturkonstruktor -h")
        << gui << u"-h"_qs << u"Brug: strukturkonstruktor [--help | --version]\n"_qs;
    QTest::newRow("strukturkonstruktor --version") << gui << u"--version"_qs << u"strukturkonstruktor"_qs + version;
}

void TestCommandLine::optionsAnswerWithoutDisplay()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(QString, expected);
    const CliRun result = run(program, { option });
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    if (option == QLatin1String("--version")) {
        QCOMPARE(result.out, expected);
        return;
    }
    QVERIFY2(result.out.startsWith(expected), qPrintable(result.out));
    // The help names the program folder and its variable, in the Danish of the interface.
    QVERIFY2(
        result.out.contains(u"$HOME/Kvarnolt, eller mappen i miljøvariablen KVARNOLT_DIR"_qs), qPrintable(result.out));
}

void TestCommandLine::unwritableAnswerIsAFailure()
{
    if (!QFile::exists(u"/dev/full"_qs))
        QSKIP("no /dev/full");
    for (const QString& program : { cli, gui }) {
        for (const QString& option : { u"--help"_qs, u"--version"_qs }) {
            const CliRun result = run(program, { option }, u"/dev/full"_qs);
            QVERIFY2(result.exitCode == 1,
                qPrintable(program + u' ' + option + u": "_qs + QString::number(result.exitCode)));
        }
    }
}

void TestCommandLine::unwritableOutputOfASubcommandIsAFailure()
{
    if (!QFile::exists(u"/dev/full"_qs))
        QSKIP("no /dev/full");
    const QTemporaryDir dir;
    const QString document = dir.filePath(u"dokument.rtf"_qs);
    const QString structure = dir.filePath(u"struktur.txt"_qs);
    QVERIFY(putBytes(document, "{\\rtf1\\ansi Tekst med \\'e6\\'f8\\'e5.\\par}"));
    QVERIFY(putBytes(structure, "Indledning\r\n\tAfsnit\r\n"));
    const QList<QStringList> commands { { u"rtf2txt"_qs, document }, { u"rtf2html"_qs, document }, { u"show"_qs, structure } };
    for (const QStringList& command : commands) {
        const CliRun result = run(cli, command, u"/dev/full"_qs);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.err, u"Cannot write to standard output. No space left on device\n"_qs);
    }
}

void TestCommandLine::missingOrUnknownSubcommandShowsUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("bare") << QStringList();
    QTest::newRow("unknown") << QStringList { u"vis"_qs, u"struktur.txt"_qs };
    QTest::newRow("unknown option") << QStringList { u"--hjælp"_qs };
}

void TestCommandLine::missingOrUnknownSubcommandShowsUsage()
{
    QFETCH(QStringList, arguments);
    const CliRun result = run(cli, arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QVERIFY2(result.err.startsWith(u"Brug: struktur KOMMANDO ...\n  struktur "_qs), qPrintable(result.err));
    // The same usage lines as --help, on standard error.
    const QString help = run(cli, { u"--help"_qs }).out;
    QVERIFY2(help.startsWith(result.err), qPrintable(help));
}

void TestCommandLine::manualPageAndCompletionNameEverySubcommand()
{
    const QStringList names = subcommands();
    QVERIFY2(names.size() >= 7, qPrintable(names.join(u' ')));
    const QString page = sourceText(u"packaging/struktur.1"_qs);
    const QString completion = sourceText(u"packaging/struktur.bash-completion"_qs);
    QVERIFY(!page.isEmpty() && !completion.isEmpty());

    static const QRegularExpression listed(QStringLiteral("local commands=\"([^\"]*)\""));
    const QRegularExpressionMatch commands = listed.match(completion);
    QVERIFY(commands.hasMatch());
    QStringList completed = commands.captured(1).split(u' ', Qt::SkipEmptyParts);
    QStringList sortedNames = names;
    sortedNames.sort();
    completed.sort();
    QCOMPARE(completed, sortedNames);

    for (const QString& name : names) {
        QVERIFY2(page.contains(u"\n.SY struktur\n.B "_qs + name + u'\n'), qPrintable(u"SYNOPSIS lacks "_qs + name));
        const QRegularExpression block(u"\n\\.SS \""_qs + name + u"[ \"]"_qs);
        QVERIFY2(page.contains(block), qPrintable(u"COMMANDS lacks "_qs + name));
    }
    // Nor does either document a subcommand the tool does not have.
    static const QRegularExpression section(
        QStringLiteral("^\\.SS \"([a-z0-9]+)"), QRegularExpression::MultilineOption);
    QStringList documented;
    for (auto match = section.globalMatch(page); match.hasNext();)
        documented.append(match.next().captured(1));
    documented.sort();
    QCOMPARE(documented, sortedNames);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"

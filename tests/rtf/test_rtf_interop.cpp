// SPDX-License-Identifier: GPL-3.0-or-later
// Against a real peer: LibreOffice (headless) reads what we write and gets our text, and we read
// what it writes and get the same text back.
#include "DocumentDump.h"

#include "rtf/Rtf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace struktur;

namespace {

const char kSample[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                       "{\\f1\\fnil\\fcharset2 Symbol;}}{\\colortbl ;\\red255\\green0\\blue0;}\\uc1 "
                       "\\pard\\qc\\b\\fs28 Bl\\'e5b\\'e6rgr\\'f8d\\b0\\fs20\\par "
                       "\\pard Tekst med \\i kursiv\\i0 , \\cf1 farve\\cf0  og \\u937? \\u8364?\\par "
                       "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 "
                       "Punkt et\\par{\\pntext\\f1\\'B7\\tab}Punkt to\\par"
                       "\\pard\\trowd\\cellx2000\\cellx4000\\pard\\intbl Celle A\\cell Celle B\\cell\\row"
                       "\\pard Slut\\par}";

QString words(QString text) { return text.remove(QChar(0x2022)).simplified(); }

} // namespace

class TestRtfInterop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void libreOfficeAgrees();
};

void TestRtfInterop::libreOfficeAgrees()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    QVERIFY2(!soffice.isEmpty(), "LibreOffice (soffice) is not installed; scripts/install-deps.sh installs it");
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QTextDocument document;
    rtf::read(kSample, document);
    const QByteArray ours = rtf::write(document);
    QFile file(folder.filePath(QStringLiteral("vores.rtf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ours);
    file.close();

    const QString profile = QUrl::fromLocalFile(folder.filePath(QStringLiteral("profil"))).toString();
    const auto convert = [&](const QString& filter, const QString& outDir) {
        QProcess process;
        process.start(soffice,
            { u"-env:UserInstallation="_qs + profile, QStringLiteral("--headless"), QStringLiteral("--norestore"),
                QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), outDir, file.fileName() });
        QVERIFY2(process.waitForFinished(120000), "LibreOffice did not finish");
        QCOMPARE(process.exitCode(), 0);
    };
    const QString textDir = folder.filePath(QStringLiteral("txt"));
    const QString rtfDir = folder.filePath(QStringLiteral("rtf"));
    convert(QStringLiteral("txt:Text (encoded):UTF8"), textDir);
    convert(QStringLiteral("rtf"), rtfDir);

    QFile text(textDir + QStringLiteral("/vores.txt"));
    QVERIFY2(text.open(QIODevice::ReadOnly), "LibreOffice wrote no text");
    const QString peerText = QString::fromUtf8(text.readAll()).remove(QChar(0xFEFF));
    QCOMPARE(words(peerText), words(rtf::test::documentText(document)));

    QFile peerRtf(rtfDir + QStringLiteral("/vores.rtf"));
    QVERIFY2(peerRtf.open(QIODevice::ReadOnly), "LibreOffice wrote no RTF");
    const QByteArray theirs = peerRtf.readAll();
    QVERIFY(rtf::isRtf(theirs));
    QCOMPARE(words(rtf::plainText(theirs)), words(rtf::test::documentText(document)));
    QTextDocument reread;
    rtf::read(theirs, reread);
    QVERIFY(rtf::test::formatOf(reread, u"kursiv"_qs).fontItalic());
    QCOMPARE(rtf::test::formatOf(reread, u"farve"_qs).foreground().color(), QColor(255, 0, 0));
}

QTEST_MAIN(TestRtfInterop)
#include "test_rtf_interop.moc"

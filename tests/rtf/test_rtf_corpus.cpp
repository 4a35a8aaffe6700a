// SPDX-License-Identifier: GPL-3.0-or-later
// Real-world documents from many writers: the text we read matches what LibreOffice reads, every
// file reads without failing, and what we write reads back to the same text.
#include "DocumentDump.h"

#include "rtf/Rtf.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>

using namespace struktur;

namespace {

QString corpusDir() { return QStringLiteral(STRUKTUR_SHARED_DIR "/rtf-corpus"); }

// Files where our reading differs from LibreOffice's on purpose: LibreOffice drops the text of a
// malformed nested table, and turns unpaired surrogates into "?" where we show U+FFFD.
const QStringList kKnownDifferences = {
    QStringLiteral("pandoc__table_nested_malformed_itap.rtf"),
    QStringLiteral("RTFDE__surrogate_pairs.rtf"),
};

// LibreOffice's text export writes list labels; ours, like QTextDocument's, does not.
QString withoutListLabels(QString text)
{
    static const QRegularExpression label(QStringLiteral(
        "^\\s*(?:[\u2022\u25aa\u25cf\u25e6\u2013\u00b7o\uf0b7\uf0a7-]|\\(?[0-9]{1,3}[.)]|\\(?[a-zA-Z][.)]|"
        "\\(?[ivxlcIVXLC]{1,5}[.)])\\s"),
        QRegularExpression::MultilineOption);
    return text.remove(label);
}

// Share of characters (white space aside) the two texts have in common.
double similarity(const QString& ours, const QString& theirs)
{
    QHash<char16_t, qsizetype> counts;
    qsizetype ourCount = 0, theirCount = 0, common = 0;
    for (const QChar ch : ours) {
        if (!ch.isSpace()) {
            ++counts[ch.unicode()];
            ++ourCount;
        }
    }
    for (const QChar ch : theirs) {
        if (ch.isSpace())
            continue;
        ++theirCount;
        auto found = counts.find(ch.unicode());
        if (found != counts.end() && *found > 0) {
            --*found;
            ++common;
        }
    }
    const qsizetype most = std::max(ourCount, theirCount);
    return most == 0 ? 1.0 : double(common) / double(most);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRtfCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void corpus_data();
    void corpus();
};

void TestRtfCorpus::corpus_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("readByPeer");
    QFile manifest(corpusDir() + QStringLiteral("/MANIFEST.tsv"));
    if (!manifest.open(QIODevice::ReadOnly)) {
        QTest::newRow("no corpus") << QString() << false;
        return;
    }
    const QList<QByteArray> lines = manifest.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() < 8)
            continue;
        const QString file = QString::fromUtf8(fields[0]);
        QTest::newRow(fields[0].constData()) << file << fields[7].startsWith("ok");
    }
}

void TestRtfCorpus::corpus()
{
    QFETCH(QString, file);
    QFETCH(bool, readByPeer);
    if (file.isEmpty())
        QSKIP(qPrintable(u"The shared RTF corpus is not at "_qs + corpusDir() + u"; nothing to compare with."_qs));
    const QByteArray bytes = readFile(corpusDir() + u'/' + file);
    QTextDocument document;
    rtf::loadDocument(bytes, document);
    // What we write reads back to the same text.
    const QByteArray written = rtf::write(document);
    QCOMPARE(rtf::plainText(written), rtf::test::documentText(document));
    if (!readByPeer || kKnownDifferences.contains(file))
        return;
    QString reference = QString::fromUtf8(readFile(corpusDir() + QStringLiteral("/ref/") + file.chopped(4) + QStringLiteral(".txt")));
    reference.remove(QChar(0xFEFF));
    const QString ours = rtf::isRtf(bytes) ? rtf::plainText(bytes) : rtf::test::documentText(document);
    const double score = similarity(ours, withoutListLabels(reference));
    QVERIFY2(score >= 0.9, qPrintable(QStringLiteral("similarity %1").arg(score)));
}

QTEST_MAIN(TestRtfCorpus)
#include "test_rtf_corpus.moc"

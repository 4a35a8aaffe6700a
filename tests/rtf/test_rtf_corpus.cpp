// SPDX-License-Identifier: GPL-3.0-or-later
// Real-world documents from many writers: the text we read matches what LibreOffice reads, every
// file reads without failing, and what we write reads back to the same text with every picture.
#include "DocumentDump.h"

#include "rtf/Rtf.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTest>
#include <QTextDocument>

using namespace struktur;

namespace {

QString corpusDir() { return QStringLiteral(STRUKTUR_SHARED_DIR "/rtf-corpus"); }

// Files where our reading differs from LibreOffice's on purpose: LibreOffice drops the text of a
// malformed nested table, turns unpaired surrogates into "?" where we show U+FFFD, shows
// Symbol-font letters as Latin ones where we show the Greek letters they stand for, leaves the
// footnotes' text out, shows no labels for a list whose number has no list table entry where we
// follow the paragraph's own list description, and numbers a paragraph whose list description is
// in a group that ends before the paragraph does (we take the format in force at the paragraph's
// end).
const QStringList kKnownDifferences = {
    QStringLiteral("pandoc__table_nested_malformed_itap.rtf"),
    QStringLiteral("RTFDE__surrogate_pairs.rtf"),
    QStringLiteral("tika__testRTFInvalidUnicode.rtf"),
    QStringLiteral("RtfPipe__symbol.rtf"),
    QStringLiteral("pandoc__footnote.rtf"),
    QStringLiteral("tika__testRTFVarious.rtf"),
    QStringLiteral("rtfjs__wmf-source.rtf"),
    QStringLiteral("pandoc__writer.rtf"),
    QStringLiteral("pandoc__list_legacy.rtf"),
    QStringLiteral("RTFDE__encapsulated_example.rtf"),
};

// Which glyph a bullet is drawn with is the list's look, not its text.
QString withOneBullet(QString text)
{
    static const QString bullets = QStringLiteral("\u2022\u25E6\u25AA\u25AB\u25A0\u25A1\u25CF\u25CB\u2023\u2043\u00B7\uF0B7\uF0A7");
    for (QChar& ch : text) {
        if (bullets.contains(ch))
            ch = QChar(0x2022);
    }
    return text;
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

// The \\pict groups of an RTF text.
qsizetype pictureCount(QByteArrayView rtf)
{
    qsizetype count = 0;
    for (qsizetype at = rtf.indexOf("\\pict"); at >= 0; at = rtf.indexOf("\\pict", at + 5)) {
        if (at + 5 >= rtf.size() || !QChar::isLetter(uchar(rtf[at + 5])))
            ++count;
    }
    return count;
}

// The first line where two texts differ, for a readable failure.
QString firstDifference(const QString& actual, const QString& expected)
{
    const QStringList a = actual.split(u'\n');
    const QStringList b = expected.split(u'\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString left = a.value(i), right = b.value(i);
        if (left != right)
            return QStringLiteral("line %1: \"%2\" is \"%3\"").arg(i + 1).arg(left, right);
    }
    return {};
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
    // No picture is lost: shown or not, each comes back.
    QCOMPARE(pictureCount(written), rtf::isRtf(bytes) ? pictureCount(bytes) : 0);
    QTextDocument reopened;
    rtf::read(written, reopened);
    const QString readBack = rtf::test::documentText(reopened);
    const QString shown = rtf::test::documentText(document);
    QVERIFY2(readBack == shown, qPrintable(firstDifference(readBack, shown)));
    if (!readByPeer || kKnownDifferences.contains(file))
        return;
    QString reference = QString::fromUtf8(readFile(corpusDir() + QStringLiteral("/ref/") + file.chopped(4) + QStringLiteral(".txt")));
    reference.remove(QChar(0xFEFF));
    const QString ours = rtf::isRtf(bytes) ? rtf::plainText(bytes) : rtf::test::documentText(document);
    const double score = similarity(withOneBullet(ours), withOneBullet(reference));
    QVERIFY2(score >= 0.99, qPrintable(QStringLiteral("similarity %1").arg(score)));
}

QTEST_MAIN(TestRtfCorpus)
#include "test_rtf_corpus.moc"

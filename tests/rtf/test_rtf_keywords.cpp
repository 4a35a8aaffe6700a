// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/Keywords.h"

#include <QTest>

using namespace struktur::rtf;

class TestRtfKeywords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyKeywordIsFound();
    void nearMissesAreUnknown();
};

namespace {

struct Named {
    const char* word;
    Keyword keyword;
};

constexpr Named kAll[] = {
#define STRUKTUR_RTF_NAMED(name) {#name, Keyword::name},
    STRUKTUR_RTF_KEYWORDS(STRUKTUR_RTF_NAMED)
#undef STRUKTUR_RTF_NAMED
};

} // namespace

void TestRtfKeywords::everyKeywordIsFound()
{
    for (const Named& named : kAll)
        QVERIFY2(lookupKeyword(QByteArrayView(named.word)) == named.keyword, named.word);
}

void TestRtfKeywords::nearMissesAreUnknown()
{
    QVERIFY(lookupKeyword(QByteArrayView()) == Keyword::Unknown);
    for (const Named& named : kAll) {
        const QByteArray word(named.word);
        const QByteArray misses[] = {
            word + 'x',
            word.chopped(1),
            word.left(1).toUpper() + word.mid(1),
            'x' + word,
        };
        for (const QByteArray& miss : misses) {
            const Keyword found = lookupKeyword(miss);
            // A miss may be another real keyword ("b" chopped from "ul" is "u"), never this one.
            QVERIFY2(found != named.keyword, miss.constData());
            bool isKeyword = false;
            for (const Named& other : kAll)
                isKeyword = isKeyword || miss == other.word;
            QVERIFY2(isKeyword || found == Keyword::Unknown, miss.constData());
        }
    }
}

QTEST_GUILESS_MAIN(TestRtfKeywords)
#include "test_rtf_keywords.moc"

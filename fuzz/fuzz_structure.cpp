// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a structure file and a data file from one input, separated by the marker line below,
// as a load does (by both readers, which must agree); whatever reads without error must save and
// read back to the same tree, and sorting it must keep every element and order each group of
// siblings. Each file read from disk in small pieces must cut into the same lines as its bytes.
#include "model/ElementOrder.h"
#include "model/ElementTree.h"
#include "model/StructureFile.h"
#include "model/StructureOutline.h"
#include "platform/Error.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>

using namespace struktur;

namespace {

constexpr char separator[] = "\n=== data ===\n";

/// A tree's outline with unpaired surrogates (which a malformed UTF-16 file can hold) replaced as
/// writing UTF-8 replaces them; everything else must come back exactly.
QString comparable(const ElementTree& tree)
{
    return QString::fromUtf8(outline(tree).join(u'\n').toUtf8());
}

void checkSort(ElementTree& tree)
{
    static const ElementOrder order(QLocale(QStringLiteral("da_DK")));
    const qsizetype size = tree.size();
    sortTree(tree, order);
    qsizetype counted = 0;
    for (Element* element = tree.first(); element; element = tree.next(element)) {
        ++counted;
        if (element->row() > 0 && order.compare(element->parent()->child(element->row() - 1)->text, element->text) > 0)
            std::abort();
    }
    if (counted != size)
        std::abort();
}

QStringList cutLines(const std::function<void(const std::function<void(QString, int)>&)>& cut)
{
    QStringList lines;
    cut([&lines](QString line, int blanks) { lines.append(QString::number(blanks) + u':' + line); });
    return lines;
}

/// The file reader's pieces may split a CR LF, a run of leading blanks or a mark.
void checkPieces(QByteArrayView bytes, qsizetype piece)
{
    static const QString path = QDir::temp().filePath(
        QStringLiteral("fuzz_structure_%1.txt").arg(QCoreApplication::applicationPid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes.data(), bytes.size()) != bytes.size())
        std::abort();
    file.close();
    for (const auto leading : { textfile::LeadingBlanks::Kept, textfile::LeadingBlanks::Counted }) {
        const QStringList whole = cutLines([&](const auto& take) { textfile::forEachLine(bytes, leading, take); });
        const QStringList pieced
            = cutLines([&](const auto& take) { textfile::forEachLineOfFile(path, leading, take, piece); });
        if (whole != pieced)
            std::abort();
    }
}

QString readBack(const ElementTree& tree, ElementTree& again)
{
    const QByteArray structureBytes = structurefile::structureBytes(tree);
    const QByteArray dataBytes = structurefile::dataBytes(tree);
    // The one-pass encoders make what the text-file layer makes of the same lines.
    const QStringList structureLines = structurefile::structureLines(tree);
    const QStringList dataLines = structurefile::dataLines(tree);
    if (structureBytes != structurefile::encodeLines(structureLines)
        || dataBytes != structurefile::encodeLines(dataLines))
        std::abort();
    for (const QStringList* lines : { &structureLines, &dataLines }) {
        const QByteArray bytes = structurefile::encodeLines(*lines);
        if (!bytes.startsWith("\xEF\xBB\xBF") && bytes != textfile::encode(*lines))
            std::abort();
    }
    structurefile::readStructureFile(structureBytes, again);
    structurefile::applyDataFile(dataBytes, again);
    return comparable(again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf(QByteArrayView(separator));
    const QByteArrayView structureBytes = split < 0 ? input : input.first(split);
    const QByteArrayView dataBytes = split < 0 ? QByteArrayView() : input.sliced(split + qsizetype(sizeof separator) - 1);

    // The file reader (no list of lines, texts sharing one block) and the reader of decoded
    // lines must build the same tree and stop with the same error.
    ElementTree tree;
    QString error;
    try {
        structurefile::readStructureFile(structureBytes, tree);
        structurefile::applyDataFile(dataBytes, tree);
    } catch (const Error& failure) {
        error = failure.message();
    }
    ElementTree fromLines;
    QString linesError;
    try {
        structurefile::readStructure(textfile::splitLines(textfile::decode(structureBytes)), fromLines);
        structurefile::applyDataLines(textfile::splitLines(textfile::decode(dataBytes)), fromLines);
    } catch (const Error& failure) {
        linesError = failure.message();
    }
    if (error != linesError || comparable(tree) != comparable(fromLines))
        std::abort();
    checkPieces(structureBytes, 1 + qsizetype(size % 5));
    checkPieces(dataBytes, 1 + qsizetype(size % 3));
    if (!error.isEmpty()) {
        // A read error keeps a partial tree; it must still be a sound tree to walk and save.
        (void)structurefile::structureBytes(tree);
        (void)structurefile::dataBytes(tree);
        return 0;
    }
    ElementTree again;
    try {
        if (readBack(tree, again) != comparable(tree))
            std::abort();
    } catch (const Error&) {
        std::abort();
    }
    checkSort(tree);
    return 0;
}

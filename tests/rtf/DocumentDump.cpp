// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentDump.h"

#include "rtf/DocumentProperties.h"
#include "rtf/ListLabel.h"

#include <QTextBlock>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace struktur::rtf::test {
namespace {

QString charAttributes(const QTextCharFormat& f)
{
    QStringList parts;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        parts << QStringLiteral("font=") + families.first();
    if (f.fontPointSize() > 0)
        parts << QStringLiteral("pt=%1").arg(f.fontPointSize());
    if (f.fontWeight() >= QFont::DemiBold)
        parts << QStringLiteral("bold");
    if (f.fontItalic())
        parts << QStringLiteral("italic");
    if (f.fontStrikeOut())
        parts << QStringLiteral("strike");
    if (f.underlineStyle() != QTextCharFormat::NoUnderline)
        parts << QStringLiteral("underline=%1").arg(int(f.underlineStyle()));
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        parts << QStringLiteral("super");
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        parts << QStringLiteral("sub");
    if (f.fontCapitalization() != QFont::MixedCase)
        parts << QStringLiteral("caps=%1").arg(int(f.fontCapitalization()));
    if (f.foreground().style() != Qt::NoBrush)
        parts << QStringLiteral("color=") + f.foreground().color().name();
    if (f.background().style() != Qt::NoBrush)
        parts << QStringLiteral("background=") + f.background().color().name();
    if (f.isAnchor())
        parts << QStringLiteral("href=") + f.anchorHref();
    if (f.isImageFormat()) {
        const QTextImageFormat image = f.toImageFormat();
        parts << QStringLiteral("image %1x%2").arg(image.width()).arg(image.height());
    }
    return parts.join(u' ');
}

QString blockAttributes(const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    QStringList parts;
    parts << QStringLiteral("align=%1").arg(int(f.alignment() & Qt::AlignHorizontal_Mask));
    const auto add = [&](const char* name, double value) {
        if (value != 0)
            parts << QStringLiteral("%1=%2").arg(QLatin1StringView(name)).arg(value);
    };
    if (!block.textList()) {
        add("left", f.leftMargin());
        add("first", f.textIndent());
    }
    add("right", f.rightMargin());
    add("before", f.topMargin());
    add("after", f.bottomMargin());
    if (f.lineHeightType() != QTextBlockFormat::SingleHeight)
        parts << QStringLiteral("line=%1/%2").arg(f.lineHeight()).arg(f.lineHeightType());
    for (const QTextOption::Tab& tab : f.tabPositions())
        parts << QStringLiteral("tab=%1/%2").arg(tab.position).arg(int(tab.type));
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        parts << QStringLiteral("pagebreak");
    if (const QTextList* list = block.textList()) {
        const QTextListFormat lf = list->format();
        parts << QStringLiteral("list style=%1 indent=%2 item=%3 '%4' '%5'")
                     .arg(int(lf.style()))
                     .arg(lf.indent())
                     .arg(list->itemNumber(block))
                     .arg(lf.numberPrefix(), lf.numberSuffix());
    }
    return parts.join(u' ');
}

void dumpBlock(const QTextBlock& block, const QString& indent, QString& out)
{
    out += indent + QStringLiteral("block ") + blockAttributes(block) + u'\n';
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        QString text = fragment.text();
        text.replace(QChar::LineSeparator, QStringLiteral("<br>"));
        text.replace(QChar::ObjectReplacementCharacter, QStringLiteral("<obj>"));
        out += indent + QStringLiteral("  \"") + text + QStringLiteral("\" ") + charAttributes(fragment.charFormat()) + u'\n';
    }
}

void dumpFrame(const QTextFrame* frame, const QString& indent, QString& out)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                out += indent + QStringLiteral("table %1x%2\n").arg(table->rows()).arg(table->columns());
                for (int r = 0; r < table->rows(); ++r) {
                    for (int c = 0; c < table->columns(); ++c) {
                        const QTextTableCell cell = table->cellAt(r, c);
                        if (cell.row() != r || cell.column() != c)
                            continue;
                        out += indent + QStringLiteral("  cell %1,%2 span %3x%4\n")
                                            .arg(r)
                                            .arg(c)
                                            .arg(cell.rowSpan())
                                            .arg(cell.columnSpan());
                        for (auto ci = cell.begin(); !ci.atEnd(); ++ci) {
                            if (!ci.currentFrame())
                                dumpBlock(ci.currentBlock(), indent + QStringLiteral("    "), out);
                        }
                    }
                }
            } else {
                dumpFrame(child, indent + QStringLiteral("  "), out);
            }
            continue;
        }
        dumpBlock(it.currentBlock(), indent, out);
    }
}

} // namespace

QString dump(const QTextDocument& document)
{
    QString out;
    dumpFrame(document.rootFrame(), QString(), out);
    return out;
}

QString documentText(const QTextDocument& document)
{
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString text = block.text();
        text.replace(QChar::LineSeparator, u'\n');
        text.remove(QChar::ObjectReplacementCharacter);
        if (const QTextList* list = block.textList()) {
            const QTextListFormat format = list->format();
            const QVariant start = format.property(kListStartProperty);
            const int number = list->itemNumber(block) + (start.isValid() ? start.toInt() : 1);
            out += QString(4 * std::clamp(format.indent(), 1, 9), u' ')
                + listLabel(format.style(), number, format.numberPrefix(), format.numberSuffix()) + u' ';
        }
        out += text + u'\n';
    }
    return out;
}

QTextCharFormat formatOf(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
        }
    }
    return QTextCharFormat();
}

QTextBlock blockOf(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text))
            return block;
    }
    return QTextBlock();
}

} // namespace struktur::rtf::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTest>

namespace struktur::test {

/// One word of a PDF page with its box in points from the page's top-left corner.
struct PdfWord {
    QString text;
    QRectF box;
};

/// Reads PDF files with poppler's command-line tools. A tool that cannot run fails the test.
class PdfInspector {
public:
    explicit PdfInspector(QString path)
        : m_path(std::move(path))
    {
    }

    int pageCount() const { return info(QStringLiteral("Pages")).toInt(); }

    /// The size of the first page in points.
    QSizeF pageSize() const
    {
        const QRegularExpression size(QStringLiteral("([0-9.]+) x ([0-9.]+) pts"));
        const auto match = size.match(info(QStringLiteral("Page size")));
        return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
    }

    /// The words of one page (1-based), in reading order.
    QList<PdfWord> words(int page) const
    {
        const QString html = run(QStringLiteral("pdftotext"),
            { QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), m_path, QStringLiteral("-") });
        static const QRegularExpression word(QStringLiteral(
            R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re"));
        QList<PdfWord> result;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto match = it.next();
            result.append({ unescape(match.captured(5)),
                QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                    QPointF(match.captured(3).toDouble(), match.captured(4).toDouble())) });
        }
        return result;
    }

    /// The words of every page, in order.
    QStringList allWords() const
    {
        QStringList result;
        for (int page = 1; page <= pageCount(); ++page) {
            for (const PdfWord& word : words(page))
                result.append(word.text);
        }
        return result;
    }

    /// The box around all words of a page.
    QRectF textBounds(int page) const
    {
        QRectF bounds;
        for (const PdfWord& word : words(page))
            bounds = bounds.isNull() ? word.box : bounds.united(word.box);
        return bounds;
    }

    static QString run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            QTest::qFail(qPrintable(program + QStringLiteral(" failed: ") + process.errorString()
                             + QString::fromLocal8Bit(process.readAllStandardError())),
                __FILE__, __LINE__);
            return {};
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private:
    QString info(const QString& key) const
    {
        const QStringList lines = run(QStringLiteral("pdfinfo"), { m_path }).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.startsWith(key + QLatin1Char(':')))
                return line.mid(key.size() + 1).trimmed();
        }
        return {};
    }

    static QString unescape(QString text)
    {
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
        text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        text.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        return text;
    }

    QString m_path;
};

constexpr qreal pointsPerCentimetre = 72 / 2.54;

} // namespace struktur::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SiteWriter.h"

#include "platform/Error.h"
#include "platform/TextFile.h"
#include "rtf/Rtf.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <algorithm>

static void initSiteResources() { Q_INIT_RESOURCE(site); }

namespace struktur::publish {
namespace {

using rtf::escapeHtml;

constexpr int iconCount = 9;
constexpr int maximumNameLength = 80;
const auto pagesFolder = QStringLiteral("sider");
const auto iconsFolder = QStringLiteral("ikoner");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error::cannotCreateFile(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw Error::cannotCreateFile(path, file.errorString());
}

QByteArray resourceBytes(const QString& name)
{
    QFile file(QStringLiteral(":/export/") + name);
    const bool opened = file.open(QIODevice::ReadOnly);
    Q_ASSERT_X(opened, "resourceBytes", "site file missing from the resources");
    return opened ? file.readAll() : QByteArray();
}

int iconFor(const Element& element)
{
    if (element.icon < 0)
        return -1;
    return std::min<int>(element.icon, iconCount - 1);
}

QString iconName(int icon) { return QStringLiteral("ikon%1.png").arg(icon); }

void writeIcons(const QString& folder)
{
    QDir().mkpath(folder);
    for (int i = 0; i < iconCount; ++i) {
        QSvgRenderer renderer(QStringLiteral(":/export/icon%1.svg").arg(i));
        // Drawn at twice the size shown, so that the pictures stay sharp on dense screens.
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        writeFile(folder + QLatin1Char('/') + iconName(i), bytes);
    }
}

QString jsonString(const QString& text)
{
    QString result = QStringLiteral("\"");
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\')
            result += QLatin1Char('\\') + c;
        else if (u < 0x20 || u == 0x2028 || u == 0x2029 || u == u'<')
            result += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result + QLatin1Char('"');
}

/// The distinct words of a text in lower case, in the order they first occur.
QString searchWords(const QString& text)
{
    QSet<QString> seen;
    QString words;
    const QString lower = text.toLower();
    qsizetype start = -1;
    for (qsizetype i = 0; i <= lower.size(); ++i) {
        const bool inWord = i < lower.size() && lower[i].isLetterOrNumber();
        if (inWord && start < 0)
            start = i;
        if (inWord || start < 0)
            continue;
        const QString word = lower.mid(start, i - start);
        start = -1;
        if (seen.contains(word))
            continue;
        seen.insert(word);
        if (!words.isEmpty())
            words += QLatin1Char(' ');
        words += word;
    }
    return words;
}

/// Everything a page needs besides its own element, built once for the whole site.
struct Site {
    const Publication& publication;
    QStringList names;
    QString folder;
};

QString head(const QString& title, const QString& root)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"da\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>")
        + escapeHtml(title) + QStringLiteral("</title>\n<link rel=\"stylesheet\" href=\"") + root
        + QStringLiteral("stil.css\">\n</head>\n<body>\n");
}

QString header(const Site& site, const QString& root)
{
    return QStringLiteral("<header><a class=\"forside\" href=\"") + root + QStringLiteral("index.html\">")
        + escapeHtml(site.publication.name()) + QStringLiteral("</a>\n<form class=\"soeg\" action=\"") + root
        + QStringLiteral("soeg.html\" method=\"get\" role=\"search\"><input type=\"search\" name=\"q\" "
                         "placeholder=\"Søg i siderne\" aria-label=\"Søg i siderne\"> <button "
                         "type=\"submit\">Søg</button></form></header>\n");
}

QString iconImage(const Element& element, const QString& root)
{
    const int icon = iconFor(element);
    if (icon < 0)
        return {};
    return QStringLiteral("<img src=\"") + root + iconsFolder + QLatin1Char('/') + iconName(icon)
        + QStringLiteral("\" alt=\"\" width=\"16\" height=\"16\"> ");
}

QString pageLink(const Site& site, const Element& element, const QString& fromRoot)
{
    return QStringLiteral("<a href=\"") + fromRoot + site.names[site.publication.indexOf(&element)]
        + QStringLiteral(".html\">") + escapeHtml(element.text) + QStringLiteral("</a>");
}

QString indexPage(const Site& site)
{
    const Publication& publication = site.publication;
    QString html = head(publication.name(), QString()) + header(site, QString());
    html += QStringLiteral("<main>\n<h1>") + escapeHtml(publication.name()) + QStringLiteral("</h1>\n");
    html += QStringLiteral("<nav aria-label=\"Indhold\">\n<ul class=\"trae\">\n");
    const QString toPages = pagesFolder + QLatin1Char('/');
    // The tree is walked in order with a count of open levels, not recursively, so that a tree
    // as deep as it is long cannot exhaust the stack.
    int openLevels = 0;
    for (const Element* element : publication.elements()) {
        const int level = element->level();
        for (; openLevels > level; --openLevels)
            html += QStringLiteral("</ul></details></li>\n");
        const QString entry = iconImage(*element, QString()) + pageLink(site, *element, toPages);
        if (element->hasChildren()) {
            html += (level == 0 ? QStringLiteral("<li><details open><summary>")
                                : QStringLiteral("<li><details><summary>"))
                + entry + QStringLiteral("</summary>\n<ul>\n");
            ++openLevels;
        } else {
            html += QStringLiteral("<li>") + entry + QStringLiteral("</li>\n");
        }
    }
    for (; openLevels > 0; --openLevels)
        html += QStringLiteral("</ul></details></li>\n");
    html += QStringLiteral("</ul>\n</nav>\n</main>\n</body>\n</html>\n");
    return html;
}

QString searchPage(const Site& site)
{
    QString html = head(QStringLiteral("Søg – ") + site.publication.name(), QString()) + header(site, QString());
    html += QStringLiteral("<main>\n<h1>Søg</h1>\n<p id=\"status\"></p>\n<ul id=\"resultater\"></ul>\n"
                           "<noscript><p>Søgningen kræver JavaScript. Alle sider kan findes fra "
                           "<a href=\"index.html\">indholdet</a>.</p></noscript>\n</main>\n"
                           "<script src=\"soegeindeks.js\"></script>\n<script src=\"soeg.js\"></script>\n"
                           "</body>\n</html>\n");
    // The search page's own box shows what was asked for.
    html.replace(QStringLiteral("<input type=\"search\" name=\"q\""),
        QStringLiteral("<input type=\"search\" id=\"q\" name=\"q\""));
    return html;
}

class PageWriter {
public:
    explicit PageWriter(const Site& site)
        : m_site(site)
    {
    }

    /// Writes the page of element `index` and returns its words for the search index.
    QString write(qsizetype index)
    {
        const Publication& publication = m_site.publication;
        const Element& element = *publication.elements()[size_t(index)];
        const QString& name = m_site.names[index];
        QString html = head(element.text + QStringLiteral(" – ") + publication.name(), QStringLiteral("../"))
            + header(m_site, QStringLiteral("../"));
        html += QStringLiteral("<nav class=\"sti\" aria-label=\"Sti\"><a href=\"../index.html\">Indhold</a>");
        for (const Element* ancestor : ancestors(element))
            html += QStringLiteral(" › ") + pageLink(m_site, *ancestor, QString());
        html += QStringLiteral(" › <span>") + escapeHtml(element.text) + QStringLiteral("</span></nav>\n");
        html += QStringLiteral("<main>\n<h1>") + iconImage(element, QStringLiteral("../")) + escapeHtml(element.text)
            + QStringLiteral("</h1>\n");

        QString words = searchWords(element.text);
        if (const std::optional<QByteArray> document = publication.documentBytes(element)) {
            int pictures = 0;
            rtf::HtmlOptions options;
            options.storePicture = [&](const QByteArray& bytes, const QString& type, const QImage& image) {
                return storePicture(name, ++pictures, bytes, type, image);
            };
            rtf::html(*document, options, [&html](QStringView piece) { html += piece; });
            words += QLatin1Char(' ')
                + searchWords(rtf::isRtf(*document) ? rtf::plainText(*document) : textfile::decode(*document));
        } else if (element.hasChildren()) {
            html += QStringLiteral("<ul class=\"boern\">\n");
            for (int row = 0; row < element.childCount(); ++row)
                html += QStringLiteral("<li>") + iconImage(*element.child(row), QStringLiteral("../"))
                    + pageLink(m_site, *element.child(row), QString()) + QStringLiteral("</li>\n");
            html += QStringLiteral("</ul>\n");
        }
        html += QStringLiteral("</main>\n<nav class=\"bladre\" aria-label=\"Bladre\">");
        if (index > 0)
            html += QStringLiteral("<span>Forrige: ")
                + pageLink(m_site, *publication.elements()[size_t(index - 1)], QString()) + QStringLiteral("</span>");
        html += QStringLiteral("<a href=\"../index.html\">Indhold</a>");
        if (index + 1 < qsizetype(publication.elements().size()))
            html += QStringLiteral("<span>Næste: ")
                + pageLink(m_site, *publication.elements()[size_t(index + 1)], QString()) + QStringLiteral("</span>");
        html += QStringLiteral("</nav>\n</body>\n</html>\n");
        writeFile(pagePath(name + QStringLiteral(".html")), html.toUtf8());
        return words;
    }

private:
    QString pagePath(const QString& file) const
    {
        return m_site.folder + QLatin1Char('/') + pagesFolder + QLatin1Char('/') + file;
    }

    QString storePicture(
        const QString& page, int number, const QByteArray& bytes, const QString& type, const QImage& image)
    {
        const QString base = page + QStringLiteral("-billede") + QString::number(number);
        if (!bytes.isEmpty() && (type == QLatin1String("png") || type == QLatin1String("jpeg"))) {
            const QString file
                = base + (type == QLatin1String("png") ? QStringLiteral(".png") : QStringLiteral(".jpg"));
            writeFile(pagePath(file), bytes);
            return file;
        }
        if (image.isNull())
            return {};
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const QString file = base + QStringLiteral(".png");
        writeFile(pagePath(file), png);
        return file;
    }

    const Site& m_site;
};

} // namespace

QString urlSafeName(const QString& name)
{
    QString result;
    bool dash = false;
    const QString lower = name.toLower();
    for (QChar c : lower) {
        QString ascii;
        if (c == u'æ')
            ascii = QStringLiteral("ae");
        else if (c == u'ø')
            ascii = QStringLiteral("oe");
        else if (c == u'å')
            ascii = QStringLiteral("aa");
        else if (c == u'ß')
            ascii = QStringLiteral("ss");
        else
            for (QChar d : QString(c).normalized(QString::NormalizationForm_KD))
                if ((d >= u'a' && d <= u'z') || (d >= u'0' && d <= u'9'))
                    ascii += d;
        if (ascii.isEmpty()) {
            dash = !result.isEmpty();
            continue;
        }
        if (dash)
            result += QLatin1Char('-');
        dash = false;
        result += ascii;
        if (result.size() >= maximumNameLength)
            break;
    }
    result.truncate(maximumNameLength);
    while (result.endsWith(QLatin1Char('-')))
        result.chop(1);
    return result.isEmpty() ? QStringLiteral("side") : result;
}

QStringList pageNames(const Publication& publication)
{
    QStringList names;
    names.reserve(qsizetype(publication.elements().size()));
    QSet<QString> taken;
    taken.reserve(qsizetype(publication.elements().size()));
    for (const Element* element : publication.elements()) {
        const QString fileName = element->fileName();
        const QString base = urlSafeName(fileName.isEmpty() ? element->text : fileName);
        QString name = base;
        for (int number = 2; taken.contains(name); ++number)
            name = base + QLatin1Char('-') + QString::number(number);
        taken.insert(name);
        names.append(name);
    }
    return names;
}

void writeSite(const Publication& publication, const QString& folder, const Progress& progress)
{
    initSiteResources();
    const Site site { publication, pageNames(publication), folder };
    if (!QDir().mkpath(folder + QLatin1Char('/') + pagesFolder))
        throw Error::cannotCreateFile(
            folder + QLatin1Char('/') + pagesFolder, QStringLiteral("Mappen kan ikke oprettes"));
    writeIcons(folder + QLatin1Char('/') + iconsFolder);
    writeFile(folder + QStringLiteral("/stil.css"), resourceBytes(QStringLiteral("style.css")));
    writeFile(folder + QStringLiteral("/soeg.js"), resourceBytes(QStringLiteral("search.js")));
    writeFile(folder + QStringLiteral("/index.html"), indexPage(site).toUtf8());
    writeFile(folder + QStringLiteral("/soeg.html"), searchPage(site).toUtf8());

    const qsizetype total = qsizetype(publication.elements().size());
    QString index = QStringLiteral("window.soegeindeks = [\n");
    PageWriter pages(site);
    for (qsizetype i = 0; i < total; ++i) {
        const QString words = pages.write(i);
        index += QLatin1Char('[') + jsonString(publication.elements()[size_t(i)]->text) + QLatin1Char(',')
            + jsonString(pagesFolder + QLatin1Char('/') + site.names[i] + QStringLiteral(".html")) + QLatin1Char(',')
            + jsonString(words) + QStringLiteral("],\n");
        if (progress && !progress(i + 1, total))
            throw Cancelled {};
    }
    index += QStringLiteral("];\n");
    writeFile(folder + QStringLiteral("/soegeindeks.js"), index.toUtf8());
}

void exportSite(const Publication& publication, const QString& target, Replace replace, const Progress& progress)
{
    StagedTarget staged(target, StagedTarget::Kind::Folder, replace);
    writeSite(publication, staged.path(), progress);
    staged.commit();
}

} // namespace struktur::publish

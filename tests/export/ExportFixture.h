// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ElementTree.h"
#include "model/StructureStorage.h"
#include "support/Files.h"
#include "support/Pictures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace struktur::test {

/// The hex digits of a small PNG picture, as an RTF \pict group carries them.
inline QByteArray pictureHex() { return imageBytes(QSize(8, 6), QColor(0x20, 0x60, 0xc0)).toHex(); }

/// A structure on disk with several levels, Danish letters in captions, file names and the
/// folders, one element without a file name and one whose document is missing, and documents
/// with formatting, a list, a table, a link and a picture.
class ExportFixture {
public:
    ExportFixture()
        : m_dir(QDir::tempPath() + QStringLiteral("/eksport-æøå-XXXXXX"))
    {
        QDir().mkpath(structureFolder());
        QDir().mkpath(documentFolder());
        Element* intro = add(m_tree.root(), QStringLiteral("Indledning"), QStringLiteral("0indledning"));
        Element* chapter = add(intro, QStringLiteral("Kapitel æøå"), QStringLiteral("3kapitel æøå"));
        add(chapter, QStringLiteral("Afsnit med tabel"), QStringLiteral("2tabel"));
        add(chapter, QStringLiteral("Uden dokument"), QString());
        Element* appendix = add(m_tree.root(), QStringLiteral("Bilag Ærø"), QStringLiteral("8mangler"));
        add(appendix, QStringLiteral("Billede"), QStringLiteral("5billede"));
        add(appendix, QStringLiteral("Gentaget dokument"), QStringLiteral("1indledning"));

        writeDocument(QStringLiteral("indledning"),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
            "{\\colortbl;\\red200\\green0\\blue0;}\\pard\\qc\\b\\fs32 Velkommen til \\'e6\\'f8\\'e5\\b0\\fs20\\par "
            "\\pard\\cf1\\i R\\'f8d kursiv\\i0\\cf0  og \\ul understreget\\ulnone  <tekst> & \"citat\"\\par "
            "\\pard{\\pntext\\f0\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720 Punkt "
            "et\\par "
            "{\\pntext\\f0\\'b7\\tab}Punkt to\\par \\pard Slut med {\\field{\\*\\fldinst HYPERLINK "
            "\"https://example.org/\"}{\\fldrslt et link}} og {\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}"
            "{\\fldrslt et farligt}}.\\par}");
        writeDocument(QStringLiteral("kapitel æøå"), "{\\rtf1\\ansi Kapitlets tekst: bl\\'e5b\\'e6rgr\\'f8d.\\par}");
        writeDocument(QStringLiteral("tabel"),
            "{\\rtf1\\ansi\\pard Foran tabellen\\par\\trowd\\trgaph108\\cellx2000\\cellx4000\\pard\\intbl A1\\cell "
            "B1\\cell\\row"
            "\\trowd\\trgaph108\\cellx2000\\cellx4000\\pard\\intbl A2\\cell B\\'f8\\cell\\row\\pard Efter "
            "tabellen\\par}");
        writeDocument(QStringLiteral("billede"),
            "{\\rtf1\\ansi\\pard Et billede: {\\pict\\pngblip\\picw8\\pich6 " + pictureHex() + "}\\par}");
        save();
    }

    bool isValid() const { return m_dir.isValid(); }
    const ElementTree& tree() const { return m_tree; }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString structureFolder() const { return path(QStringLiteral("Håndbog")); }
    QString structurePath() const { return structureFolder() + QStringLiteral("/struktur.txt"); }
    QString dataPath() const { return structureFolder() + QStringLiteral("/data.txt"); }
    QString documentFolder() const { return structureFolder() + QStringLiteral("/Dokumenter ø"); }
    QString documentPath(const QString& fileName) const
    {
        return documentFolder() + QLatin1Char('/') + fileName + QStringLiteral(".rtf");
    }
    QStringList captions() const
    {
        QStringList result;
        for (const Element* e = m_tree.next(m_tree.root()); e; e = m_tree.next(e))
            result.append(e->text);
        return result;
    }

    /// Runs the command-line tool; returns its exit code, with its output in `output`.
    static int runCli(const QStringList& arguments, QString* output = nullptr)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(STRUKTUR_CLI), arguments);
        if (!process.waitForFinished(60000))
            return -1;
        if (output)
            *output = QString::fromUtf8(process.readAll());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private:
    Element* add(Element* parent, const QString& text, const QString& data)
    {
        Element* element = m_tree.append(parent, text);
        if (!data.isEmpty()) {
            element->data = data;
            element->hasData = true;
            element->icon = qint16(data.at(0).digitValue());
        }
        return element;
    }
    void writeDocument(const QString& fileName, const QByteArray& rtf) { QVERIFY(putBytes(documentPath(fileName), rtf)); }
    void save() { saveStructure(m_tree, structurePath(), dataPath(), true); }

    QTemporaryDir m_dir;
    ElementTree m_tree;
};

} // namespace struktur::test

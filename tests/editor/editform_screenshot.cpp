// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the document editor with a formatted document into a PNG file:
//   editform_screenshot <output.png>
#include "editor/TeditForm.h"
#include "ui/ActionUpdates.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>

int main(int argc, char** argv)
{
    struktur::Application app(argc, argv);
    struktur::trySetStyle(app, QLatin1String(struktur::visualStyleResource));
    if (argc < 2) {
        qWarning("usage: editform_screenshot <output.png>");
        return 2;
    }
    QTemporaryDir programFolder;
    QDir(programFolder.path()).mkpath(QStringLiteral("Options"));
    struktur::TeditForm form(programFolder.path());
    form.resize(784, 330);
    form.show();
    QTextEdit* doc = form.infoTekst;
    QTextCursor cursor(doc->document());
    QTextCharFormat heading;
    heading.setFontFamilies({ QStringLiteral("DejaVu Sans") });
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    heading.setForeground(QColor(0, 0, 128));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("Vedligeholdelse af pumpestationen"), heading);
    QTextCharFormat body;
    body.setFontFamilies({ QStringLiteral("DejaVu Serif") });
    body.setFontPointSize(11);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("Før arbejdet går i gang skal ventilerne lukkes og trykket aflæses. "), body);
    QTextCharFormat warning = body;
    warning.setForeground(QColor(255, 0, 0));
    warning.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Åbn aldrig dækslet under tryk."), warning);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    cursor.insertBlock(QTextBlockFormat());
    cursor.createList(bullets);
    cursor.insertText(QStringLiteral("Luk ventil V1 og V2"), body);
    cursor.insertBlock();
    QTextCharFormat italic = body;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral("Aflæs manometret og notér trykket"), italic);
    cursor.insertBlock();
    QTextCharFormat underlined = body;
    underlined.setFontUnderline(true);
    cursor.insertText(QStringLiteral("Kontrollér pakningerne"), underlined);
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, 30);
    doc->setTextCursor(cursor);
    doc->setFocus();
    form.XYinfo();
    struktur::ActionUpdates::instance().requestUpdate();
    QCoreApplication::processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}

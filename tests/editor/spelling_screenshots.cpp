// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the editor's spell checking (with the pop-up menu of a misspelt word) and its find and
// replace bar into PNG files for the documentation:
//   spelling_screenshots <spelling.png> <findbar.png>
#include "editor/FindBar.h"
#include "editor/SpellChecking.h"
#include "editor/SpellHighlighter.h"
#include "editor/TeditForm.h"
#include "spelling/Speller.h"
#include "ui/ActionUpdates.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

namespace {

void fill(QTextEdit* doc)
{
    QTextCursor cursor(doc->document());
    QTextCharFormat heading;
    heading.setFontFamilies({ QStringLiteral("DejaVu Sans") });
    heading.setFontPointSize(14);
    heading.setFontWeight(QFont::Bold);
    heading.setForeground(QColor(0, 0, 128));
    cursor.insertText(QStringLiteral("Vedligeholdelse af pumpestationen"), heading);
    QTextCharFormat body;
    body.setFontFamilies({ QStringLiteral("DejaVu Serif") });
    body.setFontPointSize(11);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("Før arbejdet går i gang skal ventilerne lukkes og trykket aflæses. Pumpen "
                                     "må aldrig køre tør, og dækslet må ikke åbnes under tryk. Kontroller "
                                     "pakningerne hver månned og skift dem når de er slidte."),
        body);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("Se også www.pumper.dk og afsnit 4B om ventiler, VVS og rensning af "), body);
    QTextCharFormat bold = body;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("filterrt."), bold);
}

bool save(const QImage& image, const char* path) { return image.save(QString::fromLocal8Bit(path)); }

} // namespace

int main(int argc, char** argv)
{
    struktur::Application app(argc, argv);
    struktur::trySetStyle(app, QLatin1String(struktur::visualStyleResource));
    if (argc < 3) {
        qWarning("usage: spelling_screenshots <spelling.png> <findbar.png>");
        return 2;
    }
    QTemporaryDir programFolder;
    QDir(programFolder.path()).mkpath(QStringLiteral("Options"));
    struktur::TeditForm form(programFolder.path());
    form.spellChecking().useDictionary(struktur::spelling::findDanishDictionary());
    form.resize(640, 360);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    fill(form.infoTekst);
    form.spellChecking().highlighter().finish();
    QCoreApplication::processEvents();

    // The pop-up menu of "månned", drawn onto the window where it opens.
    const int position = form.infoTekst->toPlainText().indexOf(QStringLiteral("månned")) + 2;
    QTextCursor cursor(form.infoTekst->document());
    cursor.setPosition(position);
    const QPoint point = form.infoTekst->cursorRect(cursor).center();
    QMenu* menu = form.popupMenuAt(point);
    menu->popup(form.infoTekst->viewport()->mapToGlobal(point));
    if (!QTest::qWaitForWindowExposed(menu))
        return 1;
    menu->setActiveAction(menu->actions().first());
    QCoreApplication::processEvents();
    QImage window = form.grab().toImage();
    {
        QPainter painter(&window);
        painter.drawPixmap(form.mapFromGlobal(menu->pos()), menu->grab());
    }
    menu->close();
    if (!save(window, argv[1]))
        return 1;

    form.findBar().openReplace();
    form.findBar().findField->setText(QStringLiteral("tryk"));
    form.findBar().replaceField->setText(QStringLiteral("pres"));
    form.findBar().findNext();
    form.infoTekst->setFocus();
    struktur::ActionUpdates::instance().requestUpdate();
    QTest::qWait(300);
    return save(form.grab().toImage(), argv[2]) ? 0 : 1;
}

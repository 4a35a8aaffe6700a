// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/TeditForm.h"
#include "elements/StructurePage.h"
#include "model/ElementModel.h"
#include "model/StructureOutline.h"
#include "model/TStruktur.h"
#include "rtf/Rtf.h"
#include "support/DialogScript.h"
#include "support/TempProgramFolder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <memory>

namespace struktur::test {

/// A structure page over a real structure in a temporary folder, driven as a user drives it:
/// clicks on elements and buttons, typing, Enter. Message boxes are answered by `dialogs`.
///
/// The structure (icon digit and file name in brackets):
///   Indhold [0indhold]
///     Kapitel Æble [1kapitel1]      document kapitel1.rtf: "Æbler fra Fyn"
///       Afsnit A [2afsnitA]         document afsnitA.rtf
///       Afsnit B [3afsnitB]
///     Kapitel Øre [9kapitel2]       icon 9, as a data file may give it
///   Bilag [8bilag]
class StructurePageFixture {
public:
    static inline const QByteArray structureBytes = QByteArray("Indhold\r\n\tKapitel \xC6"
                                                               "ble\r\n\t\tAfsnit A\r\n\t\tAfsnit B\r\n"
                                                               "\tKapitel \xD8re\r\nBilag\r\n");
    static inline const QByteArray dataBytes
        = QByteArray("0indhold\r\n1kapitel1\r\n2afsnitA\r\n3afsnitB\r\n9kapitel2\r\n8bilag\r\n");
    /// The structure as `treeText()` gives it, a line an element.
    static inline const QStringList treeLines = {
        QStringLiteral("Indhold  [0indhold]"),
        QStringLiteral("  Kapitel Æble  [1kapitel1]"),
        QStringLiteral("    Afsnit A  [2afsnitA]"),
        QStringLiteral("    Afsnit B  [3afsnitB]"),
        QStringLiteral("  Kapitel Øre  [9kapitel2]"),
        QStringLiteral("Bilag  [8bilag]"),
    };

    StructurePageFixture()
    {
        folder = program.path() + QStringLiteral("/Strukturer/Min fælles struktur/");
        documents = folder + QStringLiteral("tekstfiler/");
        QDir().mkpath(documents);
        program.createFolders();
        write(structureFile(), structureBytes);
        write(dataFile(), dataBytes);
        writeDocument(QStringLiteral("kapitel1"), QStringLiteral("Æbler fra Fyn"));
        writeDocument(QStringLiteral("afsnitA"), QStringLiteral("Afsnittets tekst"));

        editor = std::make_unique<TeditForm>(program.path());
        tree = new TStruktur;
        tree->setDataOn(true);
        tree->setStrukturfile(structureFile());
        tree->setDatafile(dataFile());
        tree->setInfomappe(documents);
        tree->HentStruktur();
        page = std::make_unique<StructurePage>(tree, editor.get());
        page->resize(720, 560);
        page->show();
        tree->FullExpand();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        settle();
    }

    QString structureFile() const { return folder + QStringLiteral("struktur.txt"); }
    QString dataFile() const { return folder + QStringLiteral("data.txt"); }
    QString documentFile(const QString& name) const { return documents + name + QStringLiteral(".rtf"); }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write(bytes);
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeDocument(const QString& name, const QString& text) const
    {
        write(documentFile(name), "{\\rtf1\\ansi " + text.toLatin1() + "\\par}");
    }
    /// The text of a document on disk; a null string when it is not there.
    QString documentText(const QString& name) const
    {
        if (!QFileInfo::exists(documentFile(name)))
            return {};
        return rtf::plainText(read(documentFile(name))).trimmed();
    }

    /// The tree in its readable form, one element a line.
    QString treeText() const { return outline(tree->elementModel()->tree()).join(u'\n'); }

    /// Lets the queued idle-time work (the action rules) run, as between two user inputs.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    template <typename Widget = QWidget> Widget* control(const QString& name) const
    {
        auto* widget = page->findChild<Widget*>(name);
        if (!widget)
            qWarning("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit* tekstEdit() const { return page->tekstEdit; }
    QLineEdit* dataEdit() const { return page->dataEdit; }
    QString editorText() const { return editor->infoTekst->toPlainText(); }

    QModelIndex indexOf(const QString& text) const
    {
        const auto* model = tree->model();
        const auto hits
            = model->match(model->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly | Qt::MatchRecursive);
        return hits.value(0);
    }
    QPoint pointOf(const QString& text) const
    {
        const QModelIndex index = indexOf(text);
        tree->scrollTo(index);
        return tree->visualRect(index).center();
    }

    void clickElement(const QString& text) const
    {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, pointOf(text));
        settle();
    }
    void dragElement(const QString& from, const QString& to) const
    {
        const QPoint start = pointOf(from);
        const QPoint end = pointOf(to);
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(tree->viewport(), end);
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, end);
        settle();
    }
    /// Replaces a field's text by typing, as a user who selects all and types over it.
    static void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        settle();
    }
    void typeDocument(const QString& text) const
    {
        editor->infoTekst->clear();
        QTest::keyClicks(editor->infoTekst, text);
    }
    void click(const QString& name) const
    {
        settle();
        auto* button = control<QAbstractButton>(name);
        QVERIFY2(button && button->isEnabled(), qPrintable(name + QStringLiteral(" is not enabled")));
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
    void chooseMethod(int choice) const { choose(QStringLiteral("flytBox") + QString::number(choice)); }
    void chooseIcon(int choice) const { choose(QStringLiteral("ikonBox") + QString::number(choice)); }
    /// Clicks a radio button or check box on its indicator: the button may be wider than its caption.
    void clickIndicator(QAbstractButton* button) const
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        settle();
    }
    void choose(const QString& name) const
    {
        auto* button = control<QRadioButton>(name);
        clickIndicator(button);
        QVERIFY2(button->isChecked(), qPrintable(name));
    }
    void setTicked(const QString& name, bool ticked) const
    {
        auto* box = control<QCheckBox>(name);
        if (box->isChecked() != ticked)
            clickIndicator(box);
        QCOMPARE(box->isChecked(), ticked);
    }
    bool enabled(const QString& actionName) const
    {
        settle();
        auto* action = page->findChild<QAction*>(actionName);
        return action && action->isEnabled();
    }

    TempProgramFolder program;
    QString folder;
    QString documents;
    DialogScript dialogs;
    std::unique_ptr<TeditForm> editor;
    TStruktur* tree = nullptr; // owned by the page once laid out
    std::unique_ptr<StructurePage> page;
};

} // namespace struktur::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SubtreeClipboard.h"

#include "ElementFileNames.h"
#include "editor/DocumentFile.h"
#include "model/ElementModel.h"
#include "model/StructureDocument.h"
#include "model/TStruktur.h"
#include "platform/AtomicFile.h"
#include "ui/HintLine.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QSet>
#include <QUuid>
#include <algorithm>

namespace struktur::elements {

namespace {

QClipboard* systemClipboard() { return QGuiApplication::clipboard(); }

} // namespace

void giveOwnDocuments(clipboard::CopiedElements& elements, const QString& documentFolder, qsizetype elementCount)
{
    QSet<QString> given;
    const PathExists taken = [&given](const QString& path) { return given.contains(path) || pathExists(path); };
    for (clipboard::CopiedElement& element : elements) {
        if (!element.hasData)
            continue;
        const QString digit = QString::number(std::clamp(element.icon, 0, 9));
        if (element.fileName().isEmpty()) {
            element.data = digit;
            continue;
        }
        const QString name = constructedFileName(elementCount, documentFolder, taken);
        const QString path = documentPath(documentFolder, name);
        given.insert(path);
        element.data = digit + name;
        if (element.document)
            writeFileAtomically(path, *element.document);
    }
}

SubtreeClipboard::SubtreeClipboard(TStruktur* tree, QObject* parent)
    : QObject(parent)
    , m_tree(tree)
{
    connect(systemClipboard(), &QClipboard::dataChanged, this, &SubtreeClipboard::clipboardChanged);
    clipboardChanged();
}

QString SubtreeClipboard::refusalMessage() { return QStringLiteral("Elementet kan ikke flyttes ind under sig selv"); }

bool SubtreeClipboard::hasCut() const { return m_tree->elementModel()->cutElement() != nullptr; }

void SubtreeClipboard::cut() { put(true); }

void SubtreeClipboard::copy() { put(false); }

void SubtreeClipboard::put(bool asCut)
{
    Element* selected = m_tree->selectedElement();
    if (!selected)
        return;
    clipboard::CopiedElements elements = clipboard::copySubtree(selected);
    // The documents go with the copy as they are now; a paste writes them under new names.
    for (clipboard::CopiedElement& element : elements) {
        const QString name = element.fileName();
        if (name.isEmpty())
            continue;
        const QString path = documentPath(m_tree->Infomappe(), name);
        if (QFileInfo(path).isFile())
            element.document = documentfile::readBytes(path);
    }
    cancelCut();
    const QByteArray mark = asCut ? QUuid::createUuid().toRfc4122() : QByteArray();
    m_cutMark = mark;
    systemClipboard()->setMimeData(clipboard::toMimeData(elements, mark));
    if (asCut)
        m_tree->elementModel()->setCutElement(selected);
    Q_EMIT changed();
}

void SubtreeClipboard::paste()
{
    const auto pasted = clipboard::fromMimeData(systemClipboard()->mimeData());
    if (!pasted)
        return;
    Element* selected = m_tree->selectedElement();
    if (Element* cut = m_tree->elementModel()->cutElement(); cut && pasted->cutMark == m_cutMark) {
        pasteCut(cut, selected);
        return;
    }
    clipboard::CopiedElements elements = pasted->elements;
    giveOwnDocuments(elements, m_tree->Infomappe(), m_tree->elementCount());
    if (Element* first = m_tree->document()->pasteElements(selected, elements))
        m_tree->showMoved(first, first->parent());
}

void SubtreeClipboard::pasteCut(Element* cut, Element* selected)
{
    const Element* relative = selected ? selected : m_tree->elementModel()->tree().first();
    if (cut->contains(relative)) {
        HintLine::instance().showMessage(refusalMessage());
        return;
    }
    Element* formerParent = cut->parent();
    if (m_tree->document()->pasteCutElement(cut, selected))
        m_tree->showMoved(cut, formerParent);
    // A cut moves once; what it put on the clipboard goes with it.
    cancelCut();
    systemClipboard()->clear();
}

void SubtreeClipboard::cancelCut()
{
    m_cutMark.clear();
    m_tree->elementModel()->setCutElement(nullptr);
    Q_EMIT changed();
}

void SubtreeClipboard::clipboardChanged()
{
    const QMimeData* mime = systemClipboard()->mimeData();
    m_canPaste = mime
        && (mime->hasFormat(QLatin1String(clipboard::elementsMimeType))
            || (mime->hasText() && !mime->text().trimmed().isEmpty()));
    // Something else on the clipboard (from here or another program) ends the cut.
    if (hasCut()) {
        const auto held = clipboard::fromMimeData(mime);
        if (!held || held->cutMark != m_cutMark)
            cancelCut();
    }
    Q_EMIT changed();
}

} // namespace struktur::elements

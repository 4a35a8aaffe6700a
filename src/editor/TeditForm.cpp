// SPDX-License-Identifier: GPL-3.0-or-later
#include "TeditForm.h"

#include <QTextEdit>
#include <QVBoxLayout>

namespace struktur {

TeditForm::TeditForm(const QString& programdir, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_programdir(programdir)
{
    setObjectName(QStringLiteral("editForm"));
    setWindowTitle(QStringLiteral("Struktur tekst"));
    infoTekst = new QTextEdit(this);
    infoTekst->setObjectName(QStringLiteral("infoTekst"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoTekst);
}

TeditForm::~TeditForm() = default;

void TeditForm::GemOpt() { }

void TeditForm::clearDocument() { infoTekst->clear(); }

void TeditForm::loadDocument(const QString&) { }

void TeditForm::saveDocument(const QString&) { }

void TeditForm::setPrintWindow(QWidget* window) { m_printWindow = window; }

void TeditForm::setDocumentPathSource(std::function<QString()> source) { m_documentPath = std::move(source); }

} // namespace struktur

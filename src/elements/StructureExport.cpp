// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureExport.h"

#include "export/SiteWriter.h"
#include "model/ElementModel.h"
#include "model/TStruktur.h"
#include "printing/PdfBook.h"
#include "ui/ActionUpdates.h"
#include "ui/Dialogs.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QProgressDialog>
#include <QToolButton>

namespace struktur {
namespace {

StructureExport::TargetChooser& chooser()
{
    static StructureExport::TargetChooser instance;
    return instance;
}

QString chooseWithDialog(QWidget* parent, StructureExport::Format format)
{
    // The dialog's own question about replacing does not cover folders; the export asks itself.
    if (format == StructureExport::Format::Book)
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Eksportér som PDF-bog"), QString(),
            QStringLiteral("PDF-filer (*.pdf)"), nullptr, QFileDialog::DontConfirmOverwrite);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Eksportér som hjemmeside (ny mappe)"), QString(),
        QString(), nullptr, QFileDialog::DontConfirmOverwrite);
}

} // namespace

StructureExport::StructureExport(TStruktur* struktur, std::function<QString()> structureName, QWidget* parent)
    : QObject(parent)
    , m_struktur(struktur)
    , m_structureName(std::move(structureName))
    , m_parent(parent)
{
    Aeksport = new QAction(QStringLiteral("Eksportér"), this);
    Aeksport->setObjectName(QStringLiteral("Aeksport"));
    Aeksport->setIcon(QIcon(QStringLiteral(":/elements-page/export.svg")));
    setHint(Aeksport, QStringLiteral("Eksportér strukturen som hjemmeside eller PDF-bog"));
    m_siteAction = new QAction(QStringLiteral("Som hjemmeside…"), this);
    m_siteAction->setObjectName(QStringLiteral("AeksportSide"));
    m_bookAction = new QAction(QStringLiteral("Som PDF-bog…"), this);
    m_bookAction->setObjectName(QStringLiteral("AeksportBog"));
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("eksportMenu"));
    menu->addAction(m_siteAction);
    menu->addAction(m_bookAction);

    m_button = new QToolButton(parent);
    m_button->setObjectName(QStringLiteral("EksportKnap"));
    m_button->setAutoRaise(true);
    m_button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setMenu(menu);
    m_button->setDefaultAction(Aeksport);

    connect(m_siteAction, &QAction::triggered, this, &StructureExport::siteClick);
    connect(m_bookAction, &QAction::triggered, this, &StructureExport::bookClick);
    connect(&ActionUpdates::instance(), &ActionUpdates::updateRequested, this, &StructureExport::AeksportUpdate);
    AeksportUpdate();
}

void StructureExport::setTargetChooser(TargetChooser replacement) { chooser() = std::move(replacement); }

void StructureExport::AeksportUpdate()
{
    Aeksport->setEnabled(!m_struktur->isEmpty() && !m_struktur->Infomappe().isEmpty());
}

void StructureExport::siteClick() { exportAs(Format::Site); }

void StructureExport::bookClick() { exportAs(Format::Book); }

void StructureExport::exportAs(Format format)
{
    if (m_struktur->isEmpty())
        return;
    QString target = chooser() ? chooser()(m_parent, format) : chooseWithDialog(m_parent, format);
    if (target.isEmpty())
        return;
    if (format == Format::Book && !target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        target += QStringLiteral(".pdf");
    publish::Replace replace = publish::Replace::No;
    if (publish::targetExists(target)) {
        if (!Dialogs::askYesNo(m_parent,
                QStringLiteral("%1 findes allerede.").arg(target) + QChar(u'\r')
                    + QStringLiteral("Skal det erstattes?")))
            return;
        replace = publish::Replace::Yes;
    }
    QString name = m_structureName ? m_structureName() : QString();
    if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
        name.chop(4);
    if (name.isEmpty())
        name = publish::defaultStructureName(m_struktur->Strukturfile());
    const publish::Publication publication(m_struktur->elementModel()->tree(), m_struktur->Infomappe(), name);

    QProgressDialog progress(
        format == Format::Book ? QStringLiteral("Skriver PDF-bogen…") : QStringLiteral("Skriver hjemmesiden…"),
        QStringLiteral("Annuller"), 0, int(publication.elements().size()), m_parent);
    progress.setObjectName(QStringLiteral("eksportFremdrift"));
    progress.setWindowTitle(QStringLiteral("Eksportér"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const publish::Progress report = [&progress](qsizetype done, qsizetype) {
        progress.setValue(int(done));
        QApplication::processEvents();
        return !progress.wasCanceled();
    };
    try {
        if (format == Format::Book)
            publish::exportBook(publication, target, replace, publish::defaultBookMargins(), report);
        else
            publish::exportSite(publication, target, replace, report);
    } catch (const publish::Cancelled&) {
        return;
    }
}

} // namespace struktur

// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintPreview.h"

#include "PrintRichText.h"
#include "Printer.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace struktur {

PrintPreview::PrintPreview(const QTextDocument& document, std::unique_ptr<QPrinter> device, Margins margins,
    std::function<void()> print, QWidget* parent)
    : QDialog(parent)
    , m_document(document)
    , m_device(std::move(device))
    , m_margins(margins)
    , m_print(std::move(print))
{
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(QStringLiteral("Vis udskrift"));
    view = new QPrintPreviewWidget(m_device.get(), this);
    view->setObjectName(QStringLiteral("previewView"));
    connect(view, &QPrintPreviewWidget::paintRequested, this, &PrintPreview::paintPages);
    connect(view, &QPrintPreviewWidget::previewChanged, this, &PrintPreview::showPageNumber);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createToolBar();
    layout->addWidget(view, 1);
    resize(700, 800);
    view->fitInView();
    view->updatePreview();
}

PrintPreview::~PrintPreview() = default;

void PrintPreview::createToolBar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto add = [this, bar](const QString& text, const char* name, auto slot) {
        QAction* action = bar->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        connect(action, &QAction::triggered, this, &PrintPreview::showPageNumber);
        return action;
    };
    add(QStringLiteral("Første"), "firstPage", [this] { view->setCurrentPage(1); });
    add(QStringLiteral("Forrige"), "previousPage", [this] { view->setCurrentPage(view->currentPage() - 1); });
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setMinimumWidth(90);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    add(QStringLiteral("Næste"), "nextPage", [this] { view->setCurrentPage(view->currentPage() + 1); });
    add(QStringLiteral("Sidste"), "lastPage", [this] { view->setCurrentPage(view->pageCount()); });
    bar->addSeparator();
    add(QStringLiteral("Zoom ind"), "zoomIn", [this] { view->zoomIn(); });
    add(QStringLiteral("Zoom ud"), "zoomOut", [this] { view->zoomOut(); });
    add(QStringLiteral("Hele siden"), "fitInView", [this] { view->fitInView(); });
    add(QStringLiteral("Sidebredde"), "fitToWidth", [this] { view->fitToWidth(); });
    bar->addSeparator();
    add(QStringLiteral("Print"), "printPages", [this] {
        // Closing deletes the preview, so its print function is taken first.
        const std::function<void()> print = m_print;
        accept();
        if (print)
            print();
    });
    add(QStringLiteral("Luk"), "closePreview", [this] { reject(); });
    static_cast<QVBoxLayout*>(layout())->addWidget(bar);
}

void PrintPreview::paintPages(QPrinter* printer)
{
    QPainter painter(printer);
    const PrinterMetrics metrics = printerMetrics(*printer);
    const PageRect page = pageRectangle(metrics, m_margins, TRichTextMeasurements::rtmCentimetres);
    m_pageStarts = renderPages(painter, metrics, page, m_document, [printer] { printer->newPage(); });
}

int PrintPreview::pageCount() const { return view->pageCount(); }

int PrintPreview::currentPage() const { return view->currentPage(); }

void PrintPreview::showPageNumber()
{
    m_pageLabel->setText(QStringLiteral("Side %1 af %2").arg(view->currentPage()).arg(view->pageCount()));
}

} // namespace struktur

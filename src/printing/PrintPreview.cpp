// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintPreview.h"

#include "PrintRichText.h"
#include "Printer.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
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
    createButtons();
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
    const auto withIcon = [this](QAction* action, QStyle::StandardPixmap pixmap) {
        action->setIcon(style()->standardIcon(pixmap));
        action->setToolTip(action->text());
        action->setIconText(QString());
    };
    withIcon(add(QStringLiteral("Første side"), "firstPage", [this] { view->setCurrentPage(1); }),
        QStyle::SP_MediaSkipBackward);
    withIcon(
        add(QStringLiteral("Forrige side"), "previousPage", [this] { view->setCurrentPage(view->currentPage() - 1); }),
        QStyle::SP_ArrowLeft);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setMinimumWidth(90);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    withIcon(add(QStringLiteral("Næste side"), "nextPage", [this] { view->setCurrentPage(view->currentPage() + 1); }),
        QStyle::SP_ArrowRight);
    withIcon(add(QStringLiteral("Sidste side"), "lastPage", [this] { view->setCurrentPage(view->pageCount()); }),
        QStyle::SP_MediaSkipForward);
    bar->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    bar->addSeparator();
    add(QStringLiteral("Zoom ind"), "zoomIn", [this] { view->zoomIn(); });
    add(QStringLiteral("Zoom ud"), "zoomOut", [this] { view->zoomOut(); });
    add(QStringLiteral("Hele siden"), "fitInView", [this] { view->fitInView(); });
    add(QStringLiteral("Sidebredde"), "fitToWidth", [this] { view->fitToWidth(); });
    static_cast<QVBoxLayout*>(layout())->addWidget(bar);
}

void PrintPreview::createButtons()
{
    printButton = new QPushButton(QStringLiteral("Print"), this);
    printButton->setObjectName(QStringLiteral("printPages"));
    printButton->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Luk"), this);
    close->setObjectName(QStringLiteral("closePreview"));
    close->setAutoDefault(false);
    connect(printButton, &QPushButton::clicked, this, [this] {
        // Closing deletes the preview, so its print function is taken first.
        const std::function<void()> print = m_print;
        accept();
        if (print)
            print();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 6, 6, 6);
    row->addStretch();
    row->addWidget(printButton);
    row->addWidget(close);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
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

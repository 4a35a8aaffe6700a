// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QTextDocument;

namespace struktur {

/// "Vis udskrift": the pages of a document exactly as printing lays them out on a printer's page
/// inside the given margins, with page navigation and zoom. Its "Print" button hands over to
/// the caller's print function, so printing from the preview is printing from the print window.
class PrintPreview : public QDialog {
    Q_OBJECT

public:
    /// `device` gives the page size, resolution and printable area; the margins are in
    /// centimetres from the paper's edges.
    PrintPreview(const QTextDocument& document, std::unique_ptr<QPrinter> device, Margins margins,
        std::function<void()> print, QWidget* parent = nullptr);
    ~PrintPreview() override;

    int pageCount() const;
    int currentPage() const;
    /// The first character position of each page of the last layout.
    const QList<qint32>& pageStarts() const { return m_pageStarts; }

    QPrintPreviewWidget* view = nullptr;
    QPushButton* printButton = nullptr;

private:
    void createToolBar();
    void createButtons();
    void paintPages(QPrinter* printer);
    void showPageNumber();

    const QTextDocument& m_document;
    std::unique_ptr<QPrinter> m_device;
    Margins m_margins;
    std::function<void()> m_print;
    QList<qint32> m_pageStarts;
    QLabel* m_pageLabel = nullptr;
};

} // namespace struktur

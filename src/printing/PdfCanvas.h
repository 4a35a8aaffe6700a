// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>
#include <QPaintDevice>
#include <QString>

#include <memory>

class QPdfEngine;

namespace struktur {

template <class Engine>
class CompactTextEngine;

/// A PDF file to draw pages on, as QPdfWriter is, whose text is written compactly (see
/// CompactTextEngine): a fraction of the page description Qt's writer makes for the same pages.
class PdfCanvas : public QPaintDevice {
public:
    /// Pages of `layout` at `resolution` dots per inch, written to `path` when a painter begins.
    PdfCanvas(const QString& path, const QPageLayout& layout, int resolution);
    ~PdfCanvas() override;
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    /// The document's title and creating program in the file's information.
    void setInformation(const QString& title, const QString& creator);

    /// Ends the page and starts the next; false when no painter is active on the canvas.
    bool newPage();

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<CompactTextEngine<QPdfEngine>> m_engine;
};

} // namespace struktur

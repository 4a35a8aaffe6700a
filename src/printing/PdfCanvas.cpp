// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfCanvas.h"

#include "CompactTextEngine.h"

#include <QtGui/private/qpdf_p.h>

namespace struktur {

PdfCanvas::PdfCanvas(const QString& path, const QPageLayout& layout, int resolution)
    : m_engine(std::make_unique<CompactTextEngine<QPdfEngine>>())
{
    m_engine->setOutputFilename(path);
    m_engine->setResolution(resolution);
    m_engine->setPageLayout(layout);
}

PdfCanvas::~PdfCanvas() = default;

void PdfCanvas::setInformation(const QString& title, const QString& creator)
{
    m_engine->setInformation(title, creator);
}

bool PdfCanvas::newPage()
{
    if (!m_engine->isActive())
        return false;
    m_engine->closeText();
    return m_engine->newPage();
}

QPaintEngine* PdfCanvas::paintEngine() const { return m_engine.get(); }

int PdfCanvas::metric(PaintDeviceMetric metric) const { return m_engine->metric(metric); }

} // namespace struktur

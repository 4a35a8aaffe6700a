// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentsAhead.h"

#include "RichTextFormatter.h"
#include "export/Publication.h"

#include <QPaintDevice>
#include <QTextDocument>
#include <QThread>

namespace struktur {
namespace {

// How many documents may wait laid out: enough to even out short and long ones.
constexpr size_t documentsAhead = 32;

/// A device that only answers with another device's metrics, so that the layout thread never
/// touches the device being painted on.
class MetricsDevice : public QPaintDevice {
public:
    explicit MetricsDevice(const QPaintDevice& device)
        : m_width(device.width())
        , m_height(device.height())
        , m_widthMM(device.widthMM())
        , m_heightMM(device.heightMM())
        , m_colours(device.colorCount())
        , m_depth(device.depth())
        , m_dpiX(device.logicalDpiX())
        , m_dpiY(device.logicalDpiY())
        , m_physicalDpiX(device.physicalDpiX())
        , m_physicalDpiY(device.physicalDpiY())
        , m_pixelRatio(device.devicePixelRatio())
    {
    }

    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_width;
        case PdmHeight:
            return m_height;
        case PdmWidthMM:
            return m_widthMM;
        case PdmHeightMM:
            return m_heightMM;
        case PdmNumColors:
            return m_colours;
        case PdmDepth:
            return m_depth;
        case PdmDpiX:
            return m_dpiX;
        case PdmDpiY:
            return m_dpiY;
        case PdmPhysicalDpiX:
            return m_physicalDpiX;
        case PdmPhysicalDpiY:
            return m_physicalDpiY;
        case PdmDevicePixelRatio:
            return int(m_pixelRatio);
        case PdmDevicePixelRatioScaled:
            return int(m_pixelRatio * devicePixelRatioFScale());
        }
        return QPaintDevice::metric(metric);
    }

private:
    int m_width;
    int m_height;
    int m_widthMM;
    int m_heightMM;
    int m_colours;
    int m_depth;
    int m_dpiX;
    int m_dpiY;
    int m_physicalDpiX;
    int m_physicalDpiY;
    qreal m_pixelRatio;
};

} // namespace

void DocumentsAhead::GiveBack::operator()(Document* document) const
{
    std::unique_ptr<Document> returned(document);
    const std::lock_guard lock(owner->m_mutex);
    owner->m_returned[returned->worker].push_back(std::move(returned));
    owner->m_changed.notify_all();
}

DocumentsAhead::DocumentsAhead(
    const publish::Publication& publication, const QPaintDevice& device, const TwipsRect& area)
    : m_publication(publication)
    , m_device(std::make_unique<MetricsDevice>(device))
    , m_area(area)
{
    const size_t workers = size_t(qMax(1, QThread::idealThreadCount()));
    m_returned.resize(workers);
    for (size_t worker = 0; worker < workers; ++worker) {
        m_threads.emplace_back(QThread::create([this, worker] { run(worker); }));
        m_threads.back()->start();
    }
}

DocumentsAhead::~DocumentsAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_changed.notify_all();
    }
    for (const auto& thread : m_threads)
        thread->wait();
}

DocumentsAhead::Handle DocumentsAhead::next()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ready.count(m_nextToHand) > 0; });
    const auto found = m_ready.find(m_nextToHand);
    Handle document(found->second.release(), GiveBack { this });
    m_ready.erase(found);
    ++m_nextToHand;
    m_changed.notify_all();
    lock.unlock();
    if (document->error)
        std::rethrow_exception(document->error);
    return document;
}

void DocumentsAhead::freeReturned(size_t worker, std::unique_lock<std::mutex>& lock)
{
    std::vector<std::unique_ptr<Document>> returned;
    returned.swap(m_returned[worker]);
    lock.unlock();
    returned.clear();
    lock.lock();
}

void DocumentsAhead::prepare(Document& document)
{
    try {
        document.document = std::make_unique<QTextDocument>();
        const auto& element = *m_publication.elements()[size_t(document.element)];
        document.loaded = m_publication.loadDocument(element, *document.document);
        if (!document.loaded)
            return;
        document.formatter = std::make_unique<RichTextFormatter>(*document.document, RichTextFormatter::InPlace::Yes);
        document.formatter->layOut(*m_device, m_area);
        document.drawable = document.formatter->drawsFromGlyphsOnly();
    } catch (...) {
        document.error = std::current_exception();
    }
    if (!document.drawable) {
        // The drawing thread lays it out again with its own fonts.
        document.formatter.reset();
        document.document.reset();
    }
}

void DocumentsAhead::run(size_t worker)
{
    const qsizetype total = qsizetype(m_publication.elements().size());
    std::unique_lock lock(m_mutex);
    for (;;) {
        freeReturned(worker, lock);
        if (m_stop)
            break;
        if (m_nextToPrepare < total && m_nextToPrepare - m_nextToHand < qsizetype(documentsAhead)) {
            auto document = std::make_unique<Document>();
            document->element = m_nextToPrepare++;
            document->worker = worker;
            lock.unlock();
            prepare(*document);
            lock.lock();
            m_ready.emplace(document->element, std::move(document));
            m_changed.notify_all();
            continue;
        }
        m_changed.wait(lock);
    }
    // What this thread made and nobody took is freed here too.
    std::vector<std::unique_ptr<Document>> mine;
    for (auto it = m_ready.begin(); it != m_ready.end();) {
        if (it->second->worker == worker) {
            mine.push_back(std::move(it->second));
            it = m_ready.erase(it);
        } else {
            ++it;
        }
    }
    freeReturned(worker, lock);
    lock.unlock();
    mine.clear();
}

} // namespace struktur

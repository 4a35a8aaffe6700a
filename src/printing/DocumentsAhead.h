// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"
#include "RichTextFormatter.h"

#include <QTextDocument>
#include <QtGlobal>

#include <condition_variable>
#include <map>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

class QPaintDevice;
class QThread;

namespace struktur {

namespace publish {
class Publication;
}

/// Loads and lays out the documents of a publication on threads of their own, a few elements ahead
/// of the page being drawn, so that reading and shaping the text and writing the pages share the
/// cores. There is a thread for each core: laying the text out is the larger part of the work,
/// and the drawing thread waits on it.
///
/// Fonts belong to the thread that loads them. Everything a thread makes is therefore destroyed
/// on it, and the threads live until the pages drawn from their glyphs are written out: destroy
/// the PDF painter before this object. The drawing thread uses only documents whose every line
/// is drawn from kept glyphs (RichTextFormatter::drawsFromGlyphsOnly()); for any other it lays
/// the document out again itself.
class DocumentsAhead {
public:
    struct Document {
        qsizetype element = 0;
        size_t worker = 0; ///< the thread that made it, and frees it
        bool loaded = false; ///< the element has a document
        bool drawable = false; ///< laid out and drawn from glyphs alone
        std::unique_ptr<QTextDocument> document;
        std::unique_ptr<RichTextFormatter> formatter;
        std::exception_ptr error; ///< loading failed: rethrown on the drawing thread
    };
    struct GiveBack {
        DocumentsAhead* owner = nullptr;
        void operator()(Document* document) const;
    };
    using Handle = std::unique_ptr<Document, GiveBack>;

    /// Starts laying out the elements' documents in order for pages of `area` on a device with
    /// `device`'s metrics (read once, here).
    DocumentsAhead(const publish::Publication& publication, const QPaintDevice& device, const TwipsRect& area);
    ~DocumentsAhead();
    DocumentsAhead(const DocumentsAhead&) = delete;
    DocumentsAhead& operator=(const DocumentsAhead&) = delete;

    /// The next element's document, waiting for it; elements come in the publication's order.
    /// Rethrows what loading it threw. Handing the handle back lets the thread free it.
    Handle next();

private:
    void run(size_t worker);
    void prepare(Document& document);
    void freeReturned(size_t worker, std::unique_lock<std::mutex>& lock);

    const publish::Publication& m_publication;
    std::unique_ptr<QPaintDevice> m_device;
    TwipsRect m_area;
    std::vector<std::unique_ptr<QThread>> m_threads;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    qsizetype m_nextToPrepare = 0;
    qsizetype m_nextToHand = 0;
    std::map<qsizetype, std::unique_ptr<Document>> m_ready; // by element
    std::vector<std::vector<std::unique_ptr<Document>>> m_returned; // by worker
    bool m_stop = false;
};

} // namespace struktur

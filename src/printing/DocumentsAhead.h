// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"
#include "RichTextFormatter.h"

#include <QTextDocument>
#include <QtGlobal>

#include <condition_variable>
#include <deque>
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

/// Loads and lays out the documents of a publication on a second thread, a few elements ahead of
/// the page being drawn, so that reading and shaping the text and writing the pages share the
/// two cores.
///
/// Fonts belong to the thread that loads them. Everything this thread makes is therefore
/// destroyed on it, and it lives until the pages drawn from its glyphs are written out: destroy
/// the PDF painter before this object. The drawing thread uses only documents whose every line
/// is drawn from kept glyphs (RichTextFormatter::drawsFromGlyphsOnly()); for any other it lays
/// the document out again itself.
class DocumentsAhead {
public:
    struct Document {
        qsizetype element = 0;
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
    void run();
    void prepare(Document& document);
    void freeReturned(std::unique_lock<std::mutex>& lock);

    const publish::Publication& m_publication;
    std::unique_ptr<QPaintDevice> m_device;
    TwipsRect m_area;
    std::unique_ptr<QThread> m_thread;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Document>> m_ready;
    std::vector<std::unique_ptr<Document>> m_returned;
    bool m_stop = false;
};

} // namespace struktur

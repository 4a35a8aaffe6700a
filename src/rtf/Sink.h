// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Properties.h"

#include <QByteArrayView>
#include <QStringView>

namespace struktur::rtf {

/// What the reader finds in the document body, in order. A paragraph's text comes first, then
/// paragraphEnd() (or cellEnd() for a cell's last paragraph) with the properties in force at its
/// end. Table rows are bracketed by rowStart()/rowEnd(), tables by their first rowStart() and
/// tableEnd().
class Sink {
public:
    virtual ~Sink() = default;

    virtual void text(QStringView text, const CharProps& chr) = 0;
    virtual void paragraphEnd(const ParaProps& para, const ListInfo& list, const CharProps& chr) = 0;
    virtual void rowStart(const RowDef&) { }
    virtual void cellEnd(const ParaProps& para, const ListInfo& list, const CharProps& chr)
    {
        paragraphEnd(para, list, chr);
    }
    /// An empty cell that a merged cell covers: it holds no paragraph of its own.
    virtual void coveredCellEnd() { }
    virtual void rowEnd(const RowDef&) { }
    virtual void tableEnd() { }
    /// A PNG or JPEG picture; `group` is its whole RTF group, kept in case it cannot be decoded.
    virtual void picture(const Picture&, QByteArrayView /*group*/, const CharProps&) { }
    /// A picture or object this system cannot show; `group` is its whole RTF group.
    virtual void opaque(QByteArrayView /*group*/, int /*widthTwips*/, int /*heightTwips*/, const CharProps&) { }
    /// A group kept byte for byte (a shape, an object, a picture with its fallback copy) that is
    /// shown as `shown`, the picture found in it; `shown` may be of a type that cannot be shown.
    virtual void pictureGroup(QByteArrayView group, const Picture& /*shown*/, int widthTwips, int heightTwips,
        const CharProps& chr)
    {
        opaque(group, widthTwips, heightTwips, chr);
    }

    /// A header or footer group, not read but kept whole.
    virtual void pageMargin(QByteArrayView /*group*/) { }
    /// A footnote at this place in the text: its text, its paragraphs ending with "\n", its mark
    /// first; and its whole RTF group, to keep (empty when the input ended inside it).
    virtual void footnote(QStringView /*text*/, QByteArrayView /*group*/) { }

    const Tables* tables = nullptr;
    /// False for a sink that ignores character formatting: text() then gets a paragraph's text
    /// in one piece rather than one per change of formatting.
    bool formatted = true;
};

} // namespace struktur::rtf

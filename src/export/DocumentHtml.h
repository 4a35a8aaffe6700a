// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QImage;
class QTextDocument;
class QByteArray;

namespace struktur::publish {

/// A picture of a document handed out to be stored beside its page: the file as it was read when
/// it is there (`bytes` with `type` "png" or "jpeg"), else the image drawn (`image`, stored as PNG).
/// Returns the address the page refers to it by.
using PictureStore = std::function<QString(const QByteArray& bytes, const QString& type, const QImage& image)>;

/// The document as an HTML5 fragment (paragraphs, lists, tables) with its fonts, sizes, colours,
/// bold, italic, underline, alignment and indents as inline styles. Links keep their address only
/// for the web's own schemes (http, https, mailto, ftp) and in-page anchors: any other address,
/// "javascript:" first of all, is shown as plain text. Text is escaped, so no markup in a
/// document reaches the page.
QString documentHtml(const QTextDocument& document, const PictureStore& storePicture);

/// Text escaped for HTML content and attribute values.
QString escapeHtml(const QString& text);

} // namespace struktur::publish

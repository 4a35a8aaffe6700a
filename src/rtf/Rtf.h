// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HtmlSink.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

class QTextDocument;

/// The element documents' codec: RTF bytes to a QTextDocument and back.
namespace struktur::rtf {

/// True when the bytes start the way every RTF file starts ("{\rtf").
bool isRtf(QByteArrayView bytes);

/// Replaces the document's content with the RTF in `bytes`. Broken or hostile input never fails:
/// whatever can be read is kept, the rest is dropped. Pictures and objects that cannot be shown
/// are kept as opaque images that write() puts back unchanged.
void read(QByteArrayView bytes, QTextDocument& document);

/// The document as RTF in the form the Windows rich edit control writes
/// (\rtf1\ansi\ansicpg1252\deff0, font and colour tables, \uN with a one-byte fallback).
QByteArray write(const QTextDocument& document);

/// Loads an element document: RTF when isRtf(), otherwise plain text decoded by its byte-order
/// mark (UTF-16 LE, UTF-16 BE, UTF-8) or else as Windows-1252.
void loadDocument(QByteArrayView bytes, QTextDocument& document);

/// The plain text of an RTF document without building a QTextDocument: paragraphs, line breaks
/// and table cells end with "\n", tabs stay tabs, pictures and objects give nothing. List items
/// start with their label ("1.", "•"), four spaces a level; footnotes follow the body text.
QString plainText(QByteArrayView bytes);

/// The same text handed to `write` in pieces as it is read (no piece ends inside a paragraph
/// unless the paragraph is the last), for writing out without holding the whole text.
void plainText(QByteArrayView bytes, const std::function<void(QStringView)>& write);

/// The document as HTML (see HtmlSink) handed to `write` in pieces as it is read, without
/// building a QTextDocument. Bytes that are not RTF are decoded as loadDocument() decodes them
/// and give a paragraph a line.
void html(QByteArrayView bytes, const HtmlOptions& options, const std::function<void(QStringView)>& write);

} // namespace struktur::rtf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Rtf.h"

#include "DocumentBuilder.h"
#include "HtmlSink.h"
#include "PlainText.h"
#include "Reader.h"
#include "Writer.h"

#include "platform/TextFile.h"

#include <QTextCursor>
#include <QTextDocument>

namespace struktur::rtf {
bool isRtf(QByteArrayView bytes)
{
    return bytes.startsWith("{\\rtf");
}

void plainText(QByteArrayView bytes, const std::function<void(QStringView)>& write)
{
    PlainTextSink sink(write);
    Reader reader(bytes, sink);
    reader.run();
    sink.finish();
}

QString plainText(QByteArrayView bytes)
{
    QString text;
    plainText(bytes, [&text](QStringView piece) { text += piece; });
    return text;
}

void html(QByteArrayView bytes, const HtmlOptions& options, const std::function<void(QStringView)>& write)
{
    HtmlSink sink(write, options);
    if (isRtf(bytes)) {
        Reader reader(bytes, sink);
        reader.run();
        sink.finish();
        return;
    }
    const Tables none;
    sink.tables = &none;
    const QString text = textfile::decode(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty())
            sink.text(line, CharProps {});
        sink.paragraphEnd(ParaProps {}, ListInfo {}, CharProps {});
    }
    sink.finish();
}

void read(QByteArrayView bytes, QTextDocument& document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    {
        DocumentBuilder builder(document);
        QTextCursor edit(&document);
        edit.beginEditBlock();
        Reader reader(bytes, builder);
        reader.run();
        builder.finish();
        edit.endEditBlock();
    }
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

QByteArray write(const QTextDocument& document)
{
    return Writer(document).write();
}

void loadDocument(QByteArrayView bytes, QTextDocument& document)
{
    if (isRtf(bytes)) {
        read(bytes, document);
        return;
    }
    // Not RTF: plain text by the same byte-order-mark rules as every other text file.
    const QString text = textfile::decode(bytes);
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.setPlainText(text);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

} // namespace struktur::rtf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Rtf.h"

#include "platform/Cp1252.h"

#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

namespace struktur::rtf {

bool isRtf(QByteArrayView bytes)
{
    return bytes.startsWith("{\\rtf");
}

QString plainText(QByteArrayView bytes)
{
    // Provisional: drops control words and groups that start with \*.
    QString text;
    int skipDepth = -1;
    int depth = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '{') {
            ++depth;
            if (i + 2 < bytes.size() && bytes[i + 1] == '\\' && bytes[i + 2] == '*' && skipDepth < 0)
                skipDepth = depth;
        } else if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
        } else if (c == '\\') {
            qsizetype j = i + 1;
            while (j < bytes.size() && std::isalpha(static_cast<unsigned char>(bytes[j])))
                ++j;
            const QByteArrayView word = bytes.sliced(i + 1, j - i - 1);
            while (j < bytes.size() && (std::isdigit(static_cast<unsigned char>(bytes[j])) || bytes[j] == '-'))
                ++j;
            if (j < bytes.size() && bytes[j] == ' ')
                ++j;
            if (word == "par" && skipDepth < 0)
                text += u'\n';
            i = j - 1;
        } else if (c != '\r' && c != '\n' && skipDepth < 0) {
            text += QChar(static_cast<unsigned char>(c));
        }
    }
    return text;
}

void read(QByteArrayView bytes, QTextDocument& document)
{
    document.setPlainText(plainText(bytes));
}

QByteArray write(const QTextDocument& document)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}\r\n\\uc1\\pard ";
    const QString text = document.toPlainText();
    for (const QChar ch : text) {
        if (ch == u'\n')
            out += "\\par\r\n";
        else if (ch == u'\\' || ch == u'{' || ch == u'}')
            out += '\\' + ch.toLatin1();
        else if (ch.unicode() < 0x80)
            out += ch.toLatin1();
        else
            out += "\\u" + QByteArray::number(qint16(ch.unicode())) + '?';
    }
    out += "\\par\r\n}\r\n";
    return out;
}

void loadDocument(QByteArrayView bytes, QTextDocument& document)
{
    if (isRtf(bytes)) {
        read(bytes, document);
        return;
    }
    QString text;
    if (bytes.startsWith("\xFF\xFE"))
        text = QStringDecoder(QStringConverter::Utf16LE).decode(bytes.sliced(2));
    else if (bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(QStringConverter::Utf16BE).decode(bytes.sliced(2));
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QStringDecoder(QStringConverter::Utf8).decode(bytes.sliced(3));
    else
        text = cp1252::decode(bytes);
    document.setPlainText(text);
}

} // namespace struktur::rtf

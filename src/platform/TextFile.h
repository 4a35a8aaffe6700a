// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

/// The system's text files (structure, data, registry and options files) are read and written
/// whole, as lines, by these functions and by nothing else.
namespace struktur::textfile {

/// Decodes a whole file: a byte-order mark (UTF-8, then UTF-16 LE, then UTF-16 BE) selects the
/// encoding and is skipped; without one the bytes are Windows-1252. A NUL ends the text.
QString decode(QByteArrayView bytes);

/// Cuts text into lines ended by CR, LF or CR LF. A final line break adds no line; two final
/// line breaks leave one empty last line.
QStringList splitLines(QStringView text);

/// Encodes lines with CR LF after each, the last included: Windows-1252 without a mark when
/// every character fits, otherwise UTF-8 with its mark so that no character is lost. A first
/// line whose Windows-1252 bytes would read back as a byte-order mark is written as UTF-8 too.
QByteArray encode(const QStringList& lines);

/// True when a first line's Windows-1252 bytes would read back as a byte-order mark ("ï»¿",
/// "ÿþ", "þÿ"): such a text must be written as UTF-8 with its mark.
bool looksLikeByteOrderMark(QStringView firstLine);

/// Whether the tabs and spaces that begin a line belong to it or are counted apart (the levels
/// of a structure file).
enum class LeadingBlanks { Kept, Counted };

/// Decodes a whole file as `decode` does and cuts it into lines as `splitLines` does, without
/// either's copies: every line handed to `take` shares one block of text with the others (no
/// allocation per line), and the block lives as long as any of them. With
/// `LeadingBlanks::Counted`, the tabs and spaces that begin a line are left out of it and their
/// number is passed as `blanks`; otherwise `blanks` is 0.
void forEachLine(QByteArrayView bytes, LeadingBlanks leading, const std::function<void(QString line, int blanks)>& take);

/// forEachLine over a file's bytes, read in pieces of `pieceSize` bytes: a file in the code page
/// is never held whole, only the block of its lines. Throws "Cannot open file" when it is missing
/// or unreadable; lines read before a read error have been handed on.
void forEachLineOfFile(const QString& path, LeadingBlanks leading,
    const std::function<void(QString line, int blanks)>& take, qsizetype pieceSize = 256 * 1024);

/// A whole file's bytes. Throws "Cannot open file" when it is missing or unreadable.
QByteArray readBytes(const QString& path);

/// Reads and splits a file. Throws "Cannot open file" when it is missing or unreadable.
QStringList readLines(const QString& path);

/// Replaces a file with the given lines atomically. Throws "Cannot create file" on failure and
/// leaves any earlier file whole.
void writeLines(const QString& path, const QStringList& lines);

} // namespace struktur::textfile

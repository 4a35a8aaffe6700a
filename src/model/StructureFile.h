// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ElementTree.h"

#include <QStringList>

#include <functional>

/// The two line formats of a structure: the structure file (one element a line, indented by one
/// tab per level) and the data file (one element data string a line). Both list the elements in
/// pre-order. Bytes and encodings are the text-file layer's; these work on lines.
namespace struktur::structurefile {

/// Calls `visit(element, level)` for every element in pre-order.
void forEachElement(const ElementTree& tree, const std::function<void(Element*, int)>& visit);

/// The number of leading tabs and spaces of a structure line: its level.
int lineLevel(QStringView line);

/// Appends the elements described by structure lines to an empty tree. A line deeper by more
/// than one level than the one before stops the read with "Invalid level (%d) for item "%s"";
/// the elements read before that line stay in the tree.
void readStructure(QStringList lines, ElementTree& tree);
/// The same from a structure file's bytes (decoded and cut into lines as the text-file layer
/// does), without holding the lines: the element texts share one block of text.
void readStructureFile(QByteArrayView bytes, ElementTree& tree);
/// The same from the file at `path`, read in pieces: its bytes are never held whole. Throws
/// "Cannot open file" when it is missing or unreadable.
void readStructureFrom(const QString& path, ElementTree& tree);

/// The structure lines of a tree: each element's level in tabs followed by its text.
QStringList structureLines(const ElementTree& tree);

/// Gives the n-th element in pre-order line n as its element data string and the line's first
/// character as its icon. Stops with "List index out of bounds (%d)" when the lines run out and
/// with "'%s' is not a valid integer value" when a line starts with anything but a digit (that
/// element keeps its data string and icon 0). An empty line gives icon 0. Extra lines are ignored.
void applyDataLines(QStringList lines, ElementTree& tree);
/// The same from a data file's bytes; the element data strings share one block of text.
void applyDataFile(QByteArrayView bytes, ElementTree& tree);
/// The same from the file at `path`, read in pieces.
void applyDataFrom(const QString& path, ElementTree& tree);

/// The data lines of a tree: each element's data string, or "0" for an element without one.
QStringList dataLines(const ElementTree& tree);

/// The bytes of a file of these lines: as the text-file layer encodes them (Windows-1252, or UTF-8
/// with its mark when a character does not fit), and also UTF-8 with its mark when the first
/// line's Windows-1252 bytes would begin like a byte-order mark ("ï»¿", "ÿþ", "þÿ"), since such
/// a file would read back in another encoding.
QByteArray encodeLines(const QStringList& lines);

/// encodeLines(structureLines(tree)) and encodeLines(dataLines(tree)), made without the lines.
QByteArray structureBytes(const ElementTree& tree);
QByteArray dataBytes(const ElementTree& tree);

/// Receives a file's bytes piece by piece, in order.
using ByteSink = std::function<void(QByteArrayView bytes)>;
/// The bytes of structureBytes(tree) and dataBytes(tree), handed to `sink` in pieces of a few
/// hundred kilobytes as they are made, so that a save holds no whole file in memory.
void writeStructure(const ElementTree& tree, const ByteSink& sink);
void writeData(const ElementTree& tree, const ByteSink& sink);

} // namespace struktur::structurefile

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextFormat>

/// Properties the RTF codec keeps on QTextDocument formats so that writing gives back what was read.
namespace struktur::rtf {

/// On an image format: the RTF group of a picture or object that cannot be shown (QByteArray).
/// The image is a grey placeholder; the writer puts the group back byte for byte.
constexpr int kOpaqueGroupProperty = QTextFormat::UserProperty + 0x5200;
/// On an image format: the picture file as read (QByteArray), written back without re-encoding.
constexpr int kImageDataProperty = QTextFormat::UserProperty + 0x5201;
/// On an image format: "png" or "jpeg", the type of kImageDataProperty.
constexpr int kImageTypeProperty = QTextFormat::UserProperty + 0x5202;
/// On a list format: the first number of a numbered list (int).
constexpr int kListStartProperty = QTextFormat::UserProperty + 0x5203;
/// On the root frame's format: the document's header and footer groups as read (QByteArray), not
/// shown; the writer puts them back before the text.
constexpr int kPageMarginGroupsProperty = QTextFormat::UserProperty + 0x5205;
/// On a block format: the first-line indent as read, in pixels (double), when it would put the
/// first line left of the page and is shown clamped to the left edge instead.
constexpr int kFirstIndentProperty = QTextFormat::UserProperty + 0x5204;

} // namespace struktur::rtf

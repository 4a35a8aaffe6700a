// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Properties.h"

#include <QByteArrayView>

namespace struktur::rtf {

/// Groups that hold pictures among other things: floating shapes (\shp, \shpgrp), embedded
/// objects (\object with its \result), and a picture with the copy written for older readers
/// (\shppict followed by \nonshppict, or \nonshppict alone). Such a group is kept byte for byte,
/// so that nothing in it is lost on writing, and is shown as the first picture in it that can be
/// shown (else as the first picture, for its size).
class PictureContainer {
public:
    enum class Kind : uint8_t { Shape, Object, Picture, Fallback };

    /// Whether the group that starts at `groupOffset` (its `{`) holds a \pict group anywhere.
    static bool containsPicture(QByteArrayView input, qsizetype groupOffset);
    /// Whether the bytes at `offset` begin a `{\nonshppict` group, line ends before it allowed.
    static bool fallbackFollows(QByteArrayView input, qsizetype offset);

    bool active() const { return m_active; }
    Kind kind() const { return m_kind; }
    qsizetype start() const { return m_start; }
    /// True between a \shppict group and the \nonshppict group that belongs to it.
    bool awaitingFallback() const { return m_awaitingFallback; }

    void begin(Kind kind, qsizetype groupOffset);
    /// The \shppict group ended and its \nonshppict follows: both become one group.
    void awaitFallback() { m_awaitingFallback = true; }
    void continueWithFallback() { m_awaitingFallback = false; }
    void offer(const Picture& picture);
    void setObjectSize(int widthTwips, int heightTwips);
    /// Ends the group; the picture to show.
    Picture take();

    /// The size to show the group at, twips: the object's own size, else the picture's.
    int widthTwips() const;
    int heightTwips() const;

private:
    Picture m_shown;
    bool m_haveShown = false;
    bool m_active = false;
    bool m_awaitingFallback = false;
    Kind m_kind = Kind::Shape;
    qsizetype m_start = 0;
    int m_objectWidth = 0;
    int m_objectHeight = 0;
};

} // namespace struktur::rtf

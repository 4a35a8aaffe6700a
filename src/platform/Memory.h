// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace struktur::platform {

/// Asks the allocator to keep the memory it is given back for the rest of the process instead of
/// returning it to the system at once. For short runs that allocate and free large buffers over
/// and over (Qt's PDF writer takes a 10 MB buffer for each page it compresses, and the layout
/// threads make and free a document at a time): a tenth of a long run's system time goes to
/// mapping and unmapping that memory otherwise. Not for the program, whose memory should shrink
/// again when a large structure is closed.
void keepFreedMemory();

} // namespace struktur::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Memory.h"

#include <malloc.h>

namespace struktur::platform {

void keepFreedMemory()
{
    // Blocks of up to 64 MB come from the heap and stay there when freed; the heap is given back
    // only once a gigabyte lies free at its top.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

} // namespace struktur::platform

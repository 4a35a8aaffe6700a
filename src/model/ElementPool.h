// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

/// Storage for elements, handed out from chunks of a megabyte: a million elements cost their own
/// size and no allocator header each, and a chunk goes back to the system when its last element
/// is freed. Any thread may allocate and free.
namespace struktur::elementpool {

/// Room for one object of `size` bytes (at most `slotSize`), aligned for any element.
void* allocate(std::size_t size);
/// Gives back what `allocate` handed out.
void release(void* slot) noexcept;

/// The number of chunks held from the system (for tests).
std::size_t chunkCount();

} // namespace struktur::elementpool

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementPool.h"

#include "ElementTree.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#ifdef _WIN32
#include <malloc.h>
#endif

namespace struktur::elementpool {
namespace {

constexpr std::size_t chunkSize = std::size_t(1) << 20;
constexpr std::size_t slotSize = sizeof(Element);
static_assert(slotSize % alignof(Element) == 0);

/// A chunk starts with this header; its slots follow. Chunks are aligned to their size, so a
/// slot finds its chunk by rounding its address down.
struct Chunk {
    Chunk* previous = nullptr;
    Chunk* next = nullptr;
    /// Freed slots, each holding the next one's address.
    void* freed = nullptr;
    std::size_t live = 0;
    /// Slots never handed out yet begin here.
    std::size_t fresh = 0;
    bool listed = false;
};

constexpr std::size_t firstSlot = (sizeof(Chunk) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t)
    * alignof(std::max_align_t);
constexpr std::size_t slotsPerChunk = (chunkSize - firstSlot) / slotSize;

std::mutex poolMutex;
/// The chunks with a slot to give, the most recently started first.
Chunk* open = nullptr;
std::size_t chunks = 0;

void link(Chunk* chunk)
{
    chunk->previous = nullptr;
    chunk->next = open;
    if (open)
        open->previous = chunk;
    open = chunk;
    chunk->listed = true;
}

void unlink(Chunk* chunk)
{
    (chunk->previous ? chunk->previous->next : open) = chunk->next;
    if (chunk->next)
        chunk->next->previous = chunk->previous;
    chunk->listed = false;
}

Chunk* newChunk()
{
#ifdef _WIN32
    void* memory = _aligned_malloc(chunkSize, chunkSize);
#else
    void* memory = std::aligned_alloc(chunkSize, chunkSize);
#endif
    if (!memory)
        throw std::bad_alloc();
    ++chunks;
    return new (memory) Chunk;
}

void freeChunk(Chunk* chunk)
{
    chunk->~Chunk();
    --chunks;
#ifdef _WIN32
    _aligned_free(chunk);
#else
    std::free(chunk);
#endif
}

char* slotAt(Chunk* chunk, std::size_t index)
{
    return reinterpret_cast<char*>(chunk) + firstSlot + index * slotSize;
}

} // namespace

void* allocate(std::size_t size)
{
    Q_ASSERT(size <= slotSize);
    Q_UNUSED(size);
    const std::lock_guard lock(poolMutex);
    if (!open)
        link(newChunk());
    Chunk* chunk = open;
    void* slot;
    if (chunk->freed) {
        slot = chunk->freed;
        chunk->freed = *static_cast<void**>(slot);
    } else {
        slot = slotAt(chunk, chunk->fresh++);
    }
    ++chunk->live;
    if (!chunk->freed && chunk->fresh == slotsPerChunk)
        unlink(chunk);
    return slot;
}

void release(void* slot) noexcept
{
    if (!slot)
        return;
    auto* chunk = reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(slot) & ~(chunkSize - 1));
    const std::lock_guard lock(poolMutex);
    *static_cast<void**>(slot) = chunk->freed;
    chunk->freed = slot;
    --chunk->live;
    if (!chunk->listed)
        link(chunk);
    // An empty chunk goes back unless it is the only one left to give from, so that one element
    // made and freed over and over does not take and return a megabyte each time.
    if (chunk->live == 0 && (chunk->previous || chunk->next)) {
        unlink(chunk);
        freeChunk(chunk);
    }
}

std::size_t chunkCount()
{
    const std::lock_guard lock(poolMutex);
    return chunks;
}

} // namespace struktur::elementpool

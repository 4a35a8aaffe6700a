// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#ifdef _WIN32
#include <malloc.h>
#endif

namespace struktur {

/// Objects of `SlotSize` bytes handed out from chunks of a megabyte, each named by a 32-bit id
/// (0 names none). A million elements cost their own size and no allocator header each, and
/// whoever links one stores its id in 4 bytes instead of a pointer in 8. A chunk goes back to the
/// system when its last object is freed. Any thread may allocate and free; an id is looked up
/// without a lock (the chunk it names was published before the id was handed out).
template <std::size_t SlotSize>
class SlotPool {
public:
    constexpr SlotPool() = default;
    SlotPool(const SlotPool&) = delete;
    SlotPool& operator=(const SlotPool&) = delete;

    /// Room for one object, aligned for anything up to a pointer's alignment.
    void* allocate()
    {
        const std::lock_guard lock(m_mutex);
        if (!m_open)
            link(newChunk());
        Chunk* chunk = m_open;
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

    /// Gives back what `allocate` handed out.
    void release(void* slot) noexcept
    {
        if (!slot)
            return;
        Chunk* chunk = chunkOf(slot);
        const std::lock_guard lock(m_mutex);
        *static_cast<void**>(slot) = chunk->freed;
        chunk->freed = slot;
        --chunk->live;
        if (!chunk->listed)
            link(chunk);
        // An empty chunk goes back unless it is the only one left to give from, so that one
        // object made and freed over and over does not take and return a megabyte each time.
        if (chunk->live == 0 && (chunk->previous || chunk->next)) {
            unlink(chunk);
            freeChunk(chunk);
        }
    }

    void* at(std::uint32_t id) const { return slotAt(m_chunks[id >> slotBits], id & slotMask); }

    std::uint32_t idOf(const void* slot) const
    {
        const Chunk* chunk = chunkOf(slot);
        const std::size_t offset = std::size_t(static_cast<const char*>(slot) - reinterpret_cast<const char*>(chunk));
        return std::uint32_t(chunk->index << slotBits) | std::uint32_t((offset - headerSize) / SlotSize);
    }

    /// The number of chunks held from the system.
    std::size_t chunkCount()
    {
        const std::lock_guard lock(m_mutex);
        return m_chunkCount;
    }

private:
    static constexpr unsigned slotBits = 14;
    static constexpr std::uint32_t slotMask = (std::uint32_t(1) << slotBits) - 1;
    static constexpr std::size_t chunkSize = std::size_t(1) << 20;
    static constexpr std::size_t maxChunks = std::size_t(1) << (32 - slotBits);
    static constexpr std::size_t headerSize = 64;
    static constexpr std::size_t slotsPerChunk
        = (chunkSize - headerSize) / SlotSize < slotMask + 1 ? (chunkSize - headerSize) / SlotSize : slotMask + 1;
    static_assert(SlotSize >= sizeof(void*) && SlotSize % alignof(void*) == 0);

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
        /// Its place in the table of chunks: the high bits of its slots' ids.
        std::uint32_t index = 0;
        bool listed = false;
    };
    static_assert(sizeof(Chunk) <= headerSize);

    static Chunk* chunkOf(const void* slot)
    {
        return reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(slot) & ~std::uintptr_t(chunkSize - 1));
    }
    static void* slotAt(Chunk* chunk, std::size_t number)
    {
        return reinterpret_cast<char*>(chunk) + headerSize + number * SlotSize;
    }

    void link(Chunk* chunk)
    {
        chunk->previous = nullptr;
        chunk->next = m_open;
        if (m_open)
            m_open->previous = chunk;
        m_open = chunk;
        chunk->listed = true;
    }

    void unlink(Chunk* chunk)
    {
        (chunk->previous ? chunk->previous->next : m_open) = chunk->next;
        if (chunk->next)
            chunk->next->previous = chunk->previous;
        chunk->previous = chunk->next = nullptr;
        chunk->listed = false;
    }

    Chunk* newChunk()
    {
        // Table entry 0 stays empty, so that no slot has the id 0.
        std::size_t index = m_firstFree;
        while (index < maxChunks && m_chunks[index])
            ++index;
        if (index == maxChunks)
            throw std::bad_alloc();
#ifdef _WIN32
        void* memory = _aligned_malloc(chunkSize, chunkSize);
#else
        void* memory = std::aligned_alloc(chunkSize, chunkSize);
#endif
        if (!memory)
            throw std::bad_alloc();
        auto* chunk = new (memory) Chunk;
        chunk->index = std::uint32_t(index);
        m_chunks[index] = chunk;
        m_firstFree = index + 1;
        ++m_chunkCount;
        return chunk;
    }

    void freeChunk(Chunk* chunk)
    {
        m_chunks[chunk->index] = nullptr;
        if (chunk->index < m_firstFree)
            m_firstFree = chunk->index;
        --m_chunkCount;
        chunk->~Chunk();
#ifdef _WIN32
        _aligned_free(chunk);
#else
        std::free(chunk);
#endif
    }

    std::mutex m_mutex;
    /// The chunks with a slot to give, the most recently linked first.
    Chunk* m_open = nullptr;
    std::size_t m_chunkCount = 0;
    std::size_t m_firstFree = 1;
    Chunk* m_chunks[maxChunks] = {};
};

} // namespace struktur

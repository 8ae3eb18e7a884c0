#include "HeapCounter.h"

#include <atomic>
#include <cstddef>

namespace {

std::atomic<long> g_liveBlocks{0};

}  // namespace

extern "C" {
void* __real_malloc(std::size_t bytes);
void* __real_calloc(std::size_t count, std::size_t bytes);
void* __real_realloc(void* block, std::size_t bytes);
void __real_free(void* block);

void* __wrap_malloc(std::size_t bytes)
{
    void* block = __real_malloc(bytes);
    if (block != nullptr)
        ++g_liveBlocks;
    return block;
}

void* __wrap_calloc(std::size_t count, std::size_t bytes)
{
    void* block = __real_calloc(count, bytes);
    if (block != nullptr)
        ++g_liveBlocks;
    return block;
}

// realloc(null, n) allocates; realloc(block, 0) frees the block and answers null.
void* __wrap_realloc(void* block, std::size_t bytes)
{
    void* moved = __real_realloc(block, bytes);
    if (block == nullptr && moved != nullptr)
        ++g_liveBlocks;
    else if (block != nullptr && bytes == 0 && moved == nullptr)
        --g_liveBlocks;
    return moved;
}

void __wrap_free(void* block)
{
    if (block != nullptr)
        --g_liveBlocks;
    __real_free(block);
}
}

namespace VeneerTest {

long LiveHeapBlocks()
{
    return g_liveBlocks.load();
}

}  // namespace VeneerTest

#include "DeletedObjects.h"

#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// A fixed array: keeping a block must not allocate, nor delete an older buffer.
void* g_kept[1 << 16];
std::size_t g_keptCount = 0;

}  // namespace

void operator delete(void* block) noexcept
{
    if (block == nullptr)
        return;
    std::memset(block, 0xDD, _msize(block));
    if (g_keptCount < sizeof(g_kept) / sizeof(g_kept[0]))
        g_kept[g_keptCount++] = block;
    else
        std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

namespace VeneerTest {

void ReleaseDeletedObjects()
{
    for (std::size_t i = 0; i < g_keptCount; ++i)
        std::free(g_kept[i]);
    g_keptCount = 0;
}

}  // namespace VeneerTest

#include "ui/core/base/Heap.h"

#include <atomic>
#include <cstdlib>

namespace Veneer {
namespace Heap {
namespace {

std::atomic<int> g_failCountdown{0};

bool ShouldFail()
{
    int left = g_failCountdown.load(std::memory_order_relaxed);
    while (left > 0) {
        if (g_failCountdown.compare_exchange_weak(left, left - 1, std::memory_order_relaxed))
            return left == 1;
    }
    return false;
}

}  // namespace

void* Allocate(std::size_t bytes)
{
    return ShouldFail() ? nullptr : std::malloc(bytes);
}

void* Reallocate(void* block, std::size_t bytes)
{
    return ShouldFail() ? nullptr : std::realloc(block, bytes);
}

void Release(void* block)
{
    std::free(block);
}

void FailNthAllocation(int n)
{
    g_failCountdown.store(n > 0 ? n : 0, std::memory_order_relaxed);
}

}  // namespace Heap
}  // namespace Veneer

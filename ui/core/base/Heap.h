#pragma once
// The framework's heap blocks: malloc-style calls that report failure with null, never by
// throwing, and that tests can make fail on purpose to walk the out-of-memory paths.

#include <cstddef>
#include <new>
#include <utility>

namespace Veneer {
namespace Heap {

void* Allocate(std::size_t bytes);
void* Reallocate(void* block, std::size_t bytes);
void Release(void* block);

// Tests only: the n-th allocation or reallocation from now (1 = the next one) fails once.
// 0 switches failure injection off.
void FailNthAllocation(int n);

// An object on the framework's heap: null when memory runs out, never an exception.
template <class T, class... Args>
T* New(Args&&... args)
{
    void* block = Allocate(sizeof(T));
    return block != nullptr ? new (block) T(std::forward<Args>(args)...) : nullptr;
}

template <class T>
void Delete(T* object)
{
    if (object == nullptr)
        return;
    object->~T();
    Release(object);
}

}  // namespace Heap
}  // namespace Veneer

#include "ui/core/base/PtrArray.h"

#include <cstring>

#include "ui/core/base/Heap.h"

namespace Veneer {

CPtrArray::CPtrArray(int preallocate) : m_data(nullptr), m_count(0), m_capacity(0)
{
    if (preallocate > 0) {
        m_data =
            static_cast<void**>(Heap::Allocate(sizeof(void*) * static_cast<unsigned>(preallocate)));
        if (m_data != nullptr)
            m_capacity = preallocate;
    }
}

CPtrArray::~CPtrArray()
{
    Heap::Release(m_data);
}

void* CPtrArray::GetAt(int index) const
{
    return (index >= 0 && index < m_count) ? m_data[index] : nullptr;
}

bool CPtrArray::SetAt(int index, void* item)
{
    if (index < 0 || index >= m_count)
        return false;
    m_data[index] = item;
    return true;
}

bool CPtrArray::Grow()
{
    if (m_count < m_capacity)
        return true;
    if (m_capacity > 0x3FFFFFFF)
        return false;
    const int capacity = m_capacity == 0 ? kFirstCapacity : m_capacity * 2;
    void** data = static_cast<void**>(
        Heap::Reallocate(m_data, sizeof(void*) * static_cast<unsigned>(capacity)));
    if (data == nullptr)
        return false;
    m_data = data;
    m_capacity = capacity;
    return true;
}

bool CPtrArray::Add(void* item)
{
    if (!Grow())
        return false;
    m_data[m_count++] = item;
    return true;
}

bool CPtrArray::InsertAt(int index, void* item)
{
    if (index < 0 || index > m_count || !Grow())
        return false;
    std::memmove(m_data + index + 1, m_data + index,
                 sizeof(void*) * static_cast<unsigned>(m_count - index));
    m_data[index] = item;
    ++m_count;
    return true;
}

bool CPtrArray::Remove(int index)
{
    if (index < 0 || index >= m_count)
        return false;
    --m_count;
    std::memmove(m_data + index, m_data + index + 1,
                 sizeof(void*) * static_cast<unsigned>(m_count - index));
    return true;
}

int CPtrArray::Find(void* item) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_data[i] == item)
            return i;
    }
    return -1;
}

void CPtrArray::Empty()
{
    Heap::Release(m_data);
    m_data = nullptr;
    m_count = 0;
    m_capacity = 0;
}

}  // namespace Veneer

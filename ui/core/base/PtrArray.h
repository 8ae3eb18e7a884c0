#pragma once
// CPtrArray: a growable array of pointers that owns nothing but its own block. Appending
// to a full array doubles the capacity (0 becomes 11); when the heap refuses, the array is
// left as it was and the call reports false.

namespace Veneer {

class CPtrArray {
public:
    static const int kFirstCapacity = 11;

    explicit CPtrArray(int preallocate = 0);
    ~CPtrArray();
    CPtrArray(const CPtrArray&) = delete;
    CPtrArray& operator=(const CPtrArray&) = delete;

    bool IsEmpty() const { return m_count == 0; }
    int GetSize() const { return m_count; }
    int GetCapacity() const { return m_capacity; }
    void** GetData() const { return m_data; }

    // Null outside 0 .. size-1.
    void* GetAt(int index) const;
    bool SetAt(int index, void* item);
    bool Add(void* item);
    // index may equal the size (append); later elements move up.
    bool InsertAt(int index, void* item);
    // Later elements move down.
    bool Remove(int index);
    int Find(void* item) const;
    // Drops every element and the block.
    void Empty();

private:
    bool Grow();

    void** m_data;
    int m_count;
    int m_capacity;
};

}  // namespace Veneer

#pragma once
// RowArray: an owned, growing array of plain records (route rows, adapters, raw blocks)
// that reports running out of memory as false, as the rest of the token client does,
// where a standard container could only throw.

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

namespace Token {

template <typename T>
class RowArray {
    static_assert(std::is_trivially_copyable<T>::value, "rows are copied as bytes");

public:
    RowArray() = default;
    ~RowArray() { delete[] m_rows; }
    RowArray(RowArray&& other) noexcept
        : m_rows(other.m_rows), m_count(other.m_count), m_capacity(other.m_capacity)
    {
        other.m_rows = nullptr;
        other.m_count = other.m_capacity = 0;
    }
    RowArray(const RowArray&) = delete;
    RowArray& operator=(const RowArray&) = delete;
    RowArray& operator=(RowArray&&) = delete;

    // False, with the array as it was, when memory runs out.
    bool Append(const T& row)
    {
        if (m_count == m_capacity && !Reserve(m_capacity == 0 ? 8 : m_capacity * 2))
            return false;
        m_rows[m_count++] = row;
        return true;
    }
    // Exactly count rows, the new ones zeroed; false, with the array as it was, when memory
    // runs out.
    bool Resize(std::size_t count)
    {
        if (count > m_capacity && !Reserve(count))
            return false;
        if (count > m_count)
            std::memset(static_cast<void*>(m_rows + m_count), 0, (count - m_count) * sizeof(T));
        m_count = count;
        return true;
    }

    std::size_t Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    T* Data() { return m_rows; }
    T& operator[](std::size_t i) { return m_rows[i]; }
    const T& operator[](std::size_t i) const { return m_rows[i]; }
    T* begin() { return m_rows; }
    T* end() { return m_rows + m_count; }
    const T* begin() const { return m_rows; }
    const T* end() const { return m_rows + m_count; }

private:
    // A capacity that wrapped round (doubling) or whose bytes do not fit a size_t fails.
    bool Reserve(std::size_t capacity)
    {
        if (capacity < m_count || capacity > static_cast<std::size_t>(-1) / sizeof(T))
            return false;
        T* rows = new (std::nothrow) T[capacity];
        if (!rows)
            return false;
        if (m_count > 0)
            std::memcpy(static_cast<void*>(rows), m_rows, m_count * sizeof(T));
        delete[] m_rows;
        m_rows = rows;
        m_capacity = capacity;
        return true;
    }

    T* m_rows = nullptr;
    std::size_t m_count = 0;
    std::size_t m_capacity = 0;
};

}  // namespace Token

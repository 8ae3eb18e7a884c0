#include "token/ByteBuffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace Token {

ByteBuffer::ByteBuffer(std::size_t initialCapacity) : m_initial(initialCapacity)
{
}

ByteBuffer::~ByteBuffer()
{
    std::free(m_base);
}

char* ByteBuffer::Reserve(std::size_t n)
{
    if (n > kMaxCapacity)
        return nullptr;
    if (m_capacity - m_length <= n) {
        const std::size_t needed = m_length + n;
        std::size_t capacity = m_capacity ? m_capacity * 2 : m_initial;
        while (capacity <= needed && capacity <= kMaxCapacity)
            capacity *= 2;
        if (capacity > kMaxCapacity)
            return nullptr;
        char* block = static_cast<char*>(std::realloc(m_base, capacity));
        if (!block)
            return nullptr;
        m_base = block;
        m_capacity = capacity;
    }
    char* room = m_base + m_length;
    m_length += n;
    return room;
}

void ByteBuffer::Unreserve(std::size_t n)
{
    m_length -= n < m_length ? n : m_length;
}

bool ByteBuffer::Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (size < 0)
        return false;
    // One byte more for the terminator vsnprintf writes; it is not part of the message.
    char* room = Reserve(static_cast<std::size_t>(size) + 1);
    if (!room)
        return false;
    va_start(args, format);
    std::vsnprintf(room, static_cast<std::size_t>(size) + 1, format, args);
    va_end(args);
    Unreserve(1);
    return true;
}

void ByteBuffer::Empty()
{
    m_length = 0;
    if (m_capacity <= m_initial)
        return;
    char* block = static_cast<char*>(std::realloc(m_base, m_initial));
    if (block) {
        m_base = block;
        m_capacity = m_initial;
    }
}

}  // namespace Token

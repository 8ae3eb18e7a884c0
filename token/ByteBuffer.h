#pragma once
// ByteBuffer: a growable byte area for one message at a time. Emptying drops the message
// and gives memory beyond the initial capacity back, keeping the block for the next one.

#include <cstddef>

namespace Token {

class ByteBuffer {
public:
    static const std::size_t kMaxCapacity = 1048576;

    explicit ByteBuffer(std::size_t initialCapacity = 1024);
    ~ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    // Room for n more bytes at the end of the current message, or null (nothing changed)
    // when the buffer would pass its maximum or memory ran out.
    char* Reserve(std::size_t n);
    // Gives back the last n reserved bytes (n is clamped to the message).
    void Unreserve(std::size_t n);
    // Appends printf-formatted text (no terminator counted); false when it did not fit.
    bool Print(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // Drops the message and shrinks a grown block back to the initial capacity.
    void Empty();

    const char* Message() const
    {
        return m_base;
    }
    char* Message()
    {
        return m_base;
    }
    std::size_t Length() const
    {
        return m_length;
    }
    std::size_t Capacity() const
    {
        return m_capacity;
    }

private:
    char* m_base = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_length = 0;
    std::size_t m_initial;
};

}  // namespace Token

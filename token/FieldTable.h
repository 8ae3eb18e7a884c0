#pragma once
// FieldTable: the "key:value" fields of the datagram being read. Keys and values point
// into the receive buffer (never copied); nodes are recycled from one datagram to the next.

#include <cstdint>

namespace Token {

class FieldTable {
public:
    FieldTable() = default;
    ~FieldTable();
    FieldTable(const FieldTable&) = delete;
    FieldTable& operator=(const FieldTable&) = delete;

    static std::uint32_t Hash(const char* key);

    // The value stored under a lower-case key, or null.
    const char* Find(const char* key) const;
    // Stores value under key (already lower case); a later Set of the same key replaces it.
    // False only when memory ran out.
    bool Set(const char* key, const char* value);
    // Every node goes to the spare list; the buckets stay for the next datagram.
    void Empty();

    std::uint32_t Count() const { return m_count; }
    std::uint32_t BucketCount() const { return m_bucketCount; }

private:
    struct Node {
        const char* key;
        const char* value;
        std::uint32_t hash;
        Node* next;
    };

    Node* Lookup(const char* key, std::uint32_t hash) const;
    bool Grow();

    Node** m_buckets = nullptr;
    std::uint32_t m_bucketCount = 0;
    std::uint32_t m_count = 0;
    Node* m_spare = nullptr;
};

}  // namespace Token

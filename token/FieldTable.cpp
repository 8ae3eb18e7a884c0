#include "token/FieldTable.h"

#include <cstring>
#include <new>

namespace Token {

namespace {

const std::uint32_t kPrimes[] = {11, 23, 97, 397, 1597, 6577, 25523, 99793};

std::uint32_t NextBucketCount(std::uint32_t current)
{
    for (std::uint32_t prime : kPrimes) {
        if (prime > current)
            return prime;
    }
    return kPrimes[0];
}

}  // namespace

FieldTable::~FieldTable()
{
    Empty();
    while (m_spare) {
        Node* next = m_spare->next;
        delete m_spare;
        m_spare = next;
    }
    delete[] m_buckets;
}

std::uint32_t FieldTable::Hash(const char* key)
{
    std::uint32_t h = 0;
    for (; *key; ++key)
        h = h * 31 +
            static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(*key)));
    return h;
}

FieldTable::Node* FieldTable::Lookup(const char* key, std::uint32_t hash) const
{
    if (m_bucketCount == 0)
        return nullptr;
    for (Node* node = m_buckets[hash % m_bucketCount]; node; node = node->next) {
        if (node->hash == hash && std::strcmp(node->key, key) == 0)
            return node;
    }
    return nullptr;
}

const char* FieldTable::Find(const char* key) const
{
    const Node* node = Lookup(key, Hash(key));
    return node ? node->value : nullptr;
}

bool FieldTable::Set(const char* key, const char* value)
{
    const std::uint32_t hash = Hash(key);
    Node* node = Lookup(key, hash);
    if (!node) {
        if (m_count >= m_bucketCount / 2 && !Grow())
            return false;
        node = m_spare;
        if (node)
            m_spare = node->next;
        else if (!(node = new (std::nothrow) Node))
            return false;
        node->key = key;
        node->hash = hash;
        Node*& head = m_buckets[hash % m_bucketCount];
        node->next = head;
        head = node;
        ++m_count;
    }
    node->value = value;
    return true;
}

bool FieldTable::Grow()
{
    const std::uint32_t count = NextBucketCount(m_bucketCount);
    Node** buckets = new (std::nothrow) Node*[count]();
    if (!buckets)
        return false;
    for (std::uint32_t i = 0; i < m_bucketCount; ++i) {
        for (Node* node = m_buckets[i]; node;) {
            Node* next = node->next;
            node->next = buckets[node->hash % count];
            buckets[node->hash % count] = node;
            node = next;
        }
    }
    delete[] m_buckets;
    m_buckets = buckets;
    m_bucketCount = count;
    return true;
}

void FieldTable::Empty()
{
    for (std::uint32_t i = 0; i < m_bucketCount; ++i) {
        for (Node* node = m_buckets[i]; node;) {
            Node* next = node->next;
            node->next = m_spare;
            m_spare = node;
            node = next;
        }
        m_buckets[i] = nullptr;
    }
    m_count = 0;
}

}  // namespace Token

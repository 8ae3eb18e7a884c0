#pragma once
// CStringMap: text keys to untyped data, in 83 chained buckets. It owns its nodes and keys,
// never the data. Keys compare byte for byte, with case; a null key is the empty key.

#include <cstdint>

#include "ui/core/base/UIString.h"

namespace Veneer {

class CStringMap {
public:
    static const int kBucketCount = 83;

    CStringMap();
    ~CStringMap();
    CStringMap(const CStringMap&) = delete;
    CStringMap& operator=(const CStringMap&) = delete;

    // Over the key's bytes from the last to the first, each taken as signed:
    // h = h * 33 + byte, in 32-bit unsigned arithmetic.
    static std::uint32_t Hash(const char* key);
    static int BucketOf(const char* key) { return static_cast<int>(Hash(key) % kBucketCount); }

    int GetSize() const { return m_count; }
    // The data stored under key, or null.
    void* Find(const char* key) const;
    // Refused (false) when the key is present, or when memory runs out.
    bool Insert(const char* key, void* data);
    // Replaces the data of a present key and returns the old data; else inserts, null.
    void* Set(const char* key, void* data);
    bool Remove(const char* key);
    void RemoveAll();

    // Calls visit(key, data) for every entry, bucket by bucket, each chain from its head.
    // visit may remove the entry it was given.
    template <class Visit>
    void ForEach(Visit visit) const
    {
        for (int bucket = 0; bucket < kBucketCount; ++bucket) {
            for (Node* node = m_buckets[bucket]; node != nullptr;) {
                Node* next = node->next;
                visit(node->key.GetData(), node->data);
                node = next;
            }
        }
    }

private:
    struct Node {
        CUIString key;
        void* data;
        Node* next;
    };

    Node* FindNode(const char* key, int bucket) const;
    bool AddNode(const char* key, void* data, int bucket);

    Node* m_buckets[kBucketCount];
    int m_count;
};

}  // namespace Veneer

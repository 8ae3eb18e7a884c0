#include "ui/core/base/StringMap.h"

#include <cstring>
#include <new>

#include "ui/core/base/Heap.h"

namespace Veneer {

CStringMap::CStringMap() : m_buckets(), m_count(0)
{
}

CStringMap::~CStringMap()
{
    RemoveAll();
}

std::uint32_t CStringMap::Hash(const char* key)
{
    std::uint32_t h = 0;
    // A null key is the empty key; comparing and copying keys already treat it so.
    for (std::size_t i = key != nullptr ? std::strlen(key) : 0; i > 0; --i)
        h = h * 33u + static_cast<std::uint32_t>(
                          static_cast<std::int32_t>(static_cast<signed char>(key[i - 1])));
    return h;
}

CStringMap::Node* CStringMap::FindNode(const char* key, int bucket) const
{
    for (Node* node = m_buckets[bucket]; node != nullptr; node = node->next) {
        if (node->key == key)
            return node;
    }
    return nullptr;
}

bool CStringMap::AddNode(const char* key, void* data, int bucket)
{
    void* block = Heap::Allocate(sizeof(Node));
    if (block == nullptr)
        return false;
    Node* node = new (block) Node{CUIString(), data, m_buckets[bucket]};
    if (!node->key.Assign(key)) {
        node->~Node();
        Heap::Release(block);
        return false;
    }
    m_buckets[bucket] = node;
    ++m_count;
    return true;
}

void* CStringMap::Find(const char* key) const
{
    const Node* node = FindNode(key, BucketOf(key));
    return node != nullptr ? node->data : nullptr;
}

bool CStringMap::Insert(const char* key, void* data)
{
    const int bucket = BucketOf(key);
    return FindNode(key, bucket) == nullptr && AddNode(key, data, bucket);
}

void* CStringMap::Set(const char* key, void* data)
{
    const int bucket = BucketOf(key);
    if (Node* node = FindNode(key, bucket)) {
        void* old = node->data;
        node->data = data;
        return old;
    }
    AddNode(key, data, bucket);
    return nullptr;
}

bool CStringMap::Remove(const char* key)
{
    for (Node** link = &m_buckets[BucketOf(key)]; *link != nullptr; link = &(*link)->next) {
        Node* node = *link;
        if (node->key == key) {
            *link = node->next;
            node->~Node();
            Heap::Release(node);
            --m_count;
            return true;
        }
    }
    return false;
}

void CStringMap::RemoveAll()
{
    for (Node*& head : m_buckets) {
        while (head != nullptr) {
            Node* node = head;
            head = node->next;
            node->~Node();
            Heap::Release(node);
        }
    }
    m_count = 0;
}

}  // namespace Veneer

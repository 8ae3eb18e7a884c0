#include "ui/core/base/StringMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/core/base/Heap.h"

using Veneer::CStringMap;

namespace {

void* Data(std::intptr_t n)
{
    return reinterpret_cast<void*>(n);
}

TEST(StringMapTest, HashRunsFromLastByteToFirstWithSignedBytes)
{
    struct Case {
        const char* key;
        std::uint32_t hash;
        int bucket;
    };
    const Case cases[] = {
        {"", 0u, 0},
        {"a", 97u, 14},
        {"ab", 3331u, 11},  // 'b' first: 98 * 33 + 97
        {"Button", 145862108u, 66},
        {"\xD6", 4294967254u, 35},  // 0xD6 counts as -42
        {"\xD6\xD0\xCE\xC4", 4292755000u, 63},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.hash, CStringMap::Hash(c.key)) << c.key;
        EXPECT_EQ(c.bucket, CStringMap::BucketOf(c.key)) << c.key;
    }
}

TEST(StringMapTest, ANullKeyIsTheEmptyKey)
{
    CStringMap map;
    EXPECT_EQ(0u, CStringMap::Hash(nullptr));
    EXPECT_EQ(nullptr, map.Find(nullptr));
    EXPECT_TRUE(map.Insert(nullptr, Data(1)));
    EXPECT_EQ(Data(1), map.Find(""));
    EXPECT_FALSE(map.Insert("", Data(2)));
    EXPECT_EQ(Data(1), map.Set(nullptr, Data(3)));
    EXPECT_TRUE(map.Remove(nullptr));
    EXPECT_EQ(0, map.GetSize());
}

TEST(StringMapTest, InsertSetFindRemove)
{
    CStringMap map;
    EXPECT_TRUE(map.Insert("Button", Data(1)));
    EXPECT_FALSE(map.Insert("Button", Data(2)));  // refused when present
    EXPECT_TRUE(map.Insert("button", Data(3)));   // keys keep their case
    EXPECT_TRUE(map.Insert("\xD6\xD0\xCE\xC4", Data(4)));
    EXPECT_EQ(Data(1), map.Find("Button"));
    EXPECT_EQ(Data(3), map.Find("button"));
    EXPECT_EQ(Data(4), map.Find("\xD6\xD0\xCE\xC4"));
    EXPECT_EQ(nullptr, map.Find("\xD6\xD0"));

    EXPECT_EQ(Data(1), map.Set("Button", Data(5)));
    EXPECT_EQ(nullptr, map.Set("Label", Data(6)));
    EXPECT_EQ(Data(5), map.Find("Button"));
    EXPECT_EQ(4, map.GetSize());

    EXPECT_TRUE(map.Remove("Button"));
    EXPECT_FALSE(map.Remove("Button"));
    EXPECT_EQ(nullptr, map.Find("Button"));
    EXPECT_EQ(3, map.GetSize());
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.Find("Label"));
}

TEST(StringMapTest, EnumeratesByBucketNewestFirstWithinABucket)
{
    // "gd", "hi" and "in" share bucket 0; "a" is in bucket 14, "ab" in 11.
    CStringMap map;
    for (const char* key : {"a", "gd", "ab", "hi", "in"})
        map.Insert(key, nullptr);
    std::vector<std::string> order;
    map.ForEach([&](const char* key, void*) { order.push_back(key); });
    EXPECT_EQ((std::vector<std::string>{"in", "hi", "gd", "ab", "a"}), order);

    EXPECT_TRUE(map.Remove("hi"));  // from the middle of a chain
    order.clear();
    map.ForEach([&](const char* key, void*) { order.push_back(key); });
    EXPECT_EQ((std::vector<std::string>{"in", "gd", "ab", "a"}), order);
}

TEST(StringMapTest, ForEachMayRemoveTheEntryItVisits)
{
    CStringMap map;
    for (const char* key : {"gd", "hi", "in", "x"})
        map.Insert(key, nullptr);
    map.ForEach([&](const char* key, void*) { map.Remove(key); });
    EXPECT_EQ(0, map.GetSize());
}

TEST(StringMapTest, RefusedMemoryInsertsNothing)
{
    CStringMap map;
    Veneer::Heap::FailNthAllocation(1);
    EXPECT_FALSE(map.Insert("Button", Data(1)));
    const std::string longKey(100, 'k');  // the key itself needs a second block
    Veneer::Heap::FailNthAllocation(2);
    EXPECT_FALSE(map.Insert(longKey.c_str(), Data(1)));
    Veneer::Heap::FailNthAllocation(0);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.Find("Button"));
    EXPECT_TRUE(map.Insert(longKey.c_str(), Data(2)));
    EXPECT_EQ(Data(2), map.Find(longKey.c_str()));
}

}  // namespace

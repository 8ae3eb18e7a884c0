#include "ui/core/base/PtrArray.h"

#include <gtest/gtest.h>

#include "ui/core/base/Heap.h"

using Veneer::CPtrArray;

namespace {

void* Item(std::intptr_t n)
{
    return reinterpret_cast<void*>(n);
}

TEST(PtrArrayTest, CapacityGoesFromZeroToElevenThenDoubles)
{
    CPtrArray a;
    EXPECT_EQ(0, a.GetCapacity());
    struct Step {
        int size;
        int capacity;
    };
    const Step steps[] = {{1, 11}, {11, 11}, {12, 22}, {22, 22}, {23, 44}, {45, 88}};
    int added = 0;
    for (const Step& step : steps) {
        while (added < step.size)
            ASSERT_TRUE(a.Add(Item(++added)));
        EXPECT_EQ(step.capacity, a.GetCapacity()) << "after " << step.size;
    }
    for (int i = 0; i < added; ++i)
        EXPECT_EQ(Item(i + 1), a.GetAt(i));
}

TEST(PtrArrayTest, FailedGrowthKeepsCountAndItems)
{
    CPtrArray a;
    for (int i = 1; i <= 11; ++i)
        a.Add(Item(i));
    Veneer::Heap::FailNthAllocation(1);
    EXPECT_FALSE(a.Add(Item(12)));
    EXPECT_EQ(11, a.GetSize());
    EXPECT_EQ(11, a.GetCapacity());
    EXPECT_EQ(Item(11), a.GetAt(10));
    EXPECT_EQ(nullptr, a.GetAt(11));
    EXPECT_TRUE(a.Add(Item(12)));
    EXPECT_EQ(12, a.GetSize());
}

TEST(PtrArrayTest, InsertAndRemoveShiftTheRest)
{
    CPtrArray a;
    a.Add(Item(1));
    a.Add(Item(3));
    EXPECT_TRUE(a.InsertAt(1, Item(2)));
    EXPECT_TRUE(a.InsertAt(3, Item(4)));  // at the end
    EXPECT_FALSE(a.InsertAt(5, Item(9)));
    ASSERT_EQ(4, a.GetSize());
    EXPECT_TRUE(a.Remove(0));
    EXPECT_FALSE(a.Remove(3));
    EXPECT_FALSE(a.Remove(-1));
    ASSERT_EQ(3, a.GetSize());
    EXPECT_EQ(Item(2), a.GetAt(0));
    EXPECT_EQ(Item(4), a.GetAt(2));
    EXPECT_EQ(1, a.Find(Item(3)));
    EXPECT_EQ(-1, a.Find(Item(1)));
    a.Empty();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(0, a.GetCapacity());
}

}  // namespace

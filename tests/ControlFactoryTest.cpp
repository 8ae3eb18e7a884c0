#include "ui/core/base/ControlFactory.h"

#include <gtest/gtest.h>

#include "ui/core/base/Heap.h"

using namespace Veneer;

namespace {

// The table never looks at what its constructors make: tags stand in for controls.
int g_tags[3];

template <int N>
IControlUI* Tag()
{
    return reinterpret_cast<IControlUI*>(&g_tags[N]);
}

const TControlClass kFirst[] = {{"Edit", Tag<0>}, {"EditX", Tag<1>}};
const TControlClass kLater[] = {{"Edit", Tag<2>}};

TEST(ControlFactoryTest, NamesAreExactAndALaterRowReplacesAnEarlierOne)
{
    ASSERT_TRUE(CControlFactory::Register(kFirst, 2));
    EXPECT_EQ(Tag<0>(), CControlFactory::Create("Edit"));
    EXPECT_EQ(Tag<1>(), CControlFactory::Create("EditX"));
    EXPECT_EQ(nullptr, CControlFactory::Create("edit"));
    EXPECT_EQ(nullptr, CControlFactory::Create("Edi"));
    EXPECT_EQ(nullptr, CControlFactory::Create(nullptr));
    ASSERT_TRUE(CControlFactory::Register(kLater, 1));
    EXPECT_EQ(Tag<2>(), CControlFactory::Create("Edit"));
}

TEST(ControlFactoryTest, ARowThatCannotBeStoredIsReported)
{
    const TControlClass row[] = {{"Unstored", Tag<0>}};
    Heap::FailNthAllocation(1);
    EXPECT_FALSE(CControlFactory::Register(row, 1));
    Heap::FailNthAllocation(0);
    EXPECT_EQ(nullptr, CControlFactory::Create("Unstored"));
}

}  // namespace

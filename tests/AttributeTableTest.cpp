#include "ui/core/AttributeTable.h"

#include <gtest/gtest.h>

#include <string>

using namespace Veneer;

namespace {

// The lookup never looks at the control it hands on: a tag stands in for one, and each
// setter writes down which row applied what.
int g_tag;
std::string g_applied;

IControlUI& Tag()
{
    return *reinterpret_cast<IControlUI*>(&g_tag);
}

template <char Row>
void Record(IControlUI& control, const char* value)
{
    g_applied = &control == &Tag() ? std::string(1, Row) + "=" + value : "another control";
}

// A base reads "x" and "y"; rows shared beside the derived chain read "y" and "z"; the
// derived class reads "x" its own way and "w" without a setter.
const TAttributeInfo kBaseRows[] = {{"x", TAttributeKind::Plain, Record<'b'>},
                                    {"y", TAttributeKind::Plain, Record<'b'>}};
const TAttributeInfo kSharedRows[] = {{"y", TAttributeKind::Image, Record<'s'>},
                                      {"z", TAttributeKind::Font, Record<'s'>}};
const TAttributeInfo kDerivedRows[] = {{"x", TAttributeKind::Extent, Record<'d'>},
                                       {"w", TAttributeKind::Plain}};
const TAttributeTable kBase = MakeAttributeTable(nullptr, kBaseRows);
const TAttributeTable kShared = MakeAttributeTable(nullptr, kSharedRows);
const TAttributeTable kDerived = MakeAttributeTable(&kBase, kDerivedRows, &kShared);

TEST(AttributeTableTest, OwnRowsComeFirstThenSharedOnesThenTheBasesAndEachAppliesItsOwnWay)
{
    const struct {
        const char* name;
        const char* value;
        bool applied;
        const char* expected;  // what the setter wrote down
    } kCases[] = {
        {"x", "1", true, "d=1"},  // the derived row stands in for the base's
        {"y", "2", true, "s=2"},  // shared rows before the base's
        {"z", "3", true, "s=3"},   {"x", nullptr, true, "d="},  // a null value reads as empty
        {"w", "4", false, ""},  // a row without a setter applies nothing
        {"q", "5", false, ""},  // nobody reads it
        {"X", "6", false, ""},  // names keep their case
        {nullptr, "7", false, ""},
    };
    for (const auto& c : kCases) {
        g_applied.clear();
        EXPECT_EQ(c.applied, ApplyAttribute(kDerived, Tag(), c.name, c.value))
            << (c.name != nullptr ? c.name : "null");
        EXPECT_EQ(c.expected, g_applied) << (c.name != nullptr ? c.name : "null");
    }
    g_applied.clear();
    EXPECT_TRUE(ApplyAttribute(kBase, Tag(), "y", "8")) << "the base alone knows no shared rows";
    EXPECT_EQ("b=8", g_applied);
    EXPECT_EQ(nullptr, FindAttribute(kBase, "z"));
}

TEST(AttributeTableTest, FindAttributeGivesTheRowThatApplies)
{
    ASSERT_NE(nullptr, FindAttribute(kDerived, "y"));
    EXPECT_EQ(TAttributeKind::Image, FindAttribute(kDerived, "y")->kind);
    EXPECT_EQ(TAttributeKind::Extent, FindAttribute(kDerived, "x")->kind);
    EXPECT_EQ(&kDerivedRows[1], FindAttribute(kDerived, "w"));
    EXPECT_EQ(nullptr, FindAttribute(kDerived, nullptr));
}

}  // namespace

#include "ui/core/WindowManagerUI.h"

#include <gtest/gtest.h>

using Veneer::CWindowManagerUI;

namespace {

TEST(WindowManagerResourcesTest, ResourcePathEndsInASeparatorOnceSet)
{
    struct Case {
        const char* given;
        const char* stored;
    };
    const Case cases[] = {
        {"skin", "skin\\"},
        {"skin/", "skin/"},
        {"skin\\", "skin\\"},
        {"", ""},
        {"\xD6\xD0\x81\x5C", "\xD6\xD0\x81\x5C\\"},  // ends in a trail byte 0x5C, not a separator
    };
    for (const Case& c : cases) {
        CWindowManagerUI::SetResourcePath(c.given);
        EXPECT_STREQ(c.stored, CWindowManagerUI::GetResourcePath()) << c.given;
    }
    CWindowManagerUI::SetResourcePath("");
}

TEST(WindowManagerResourcesTest, InstancePathIsTheModuleDirectoryWithItsBackslash)
{
    CWindowManagerUI::SetInstance(nullptr);
    EXPECT_STREQ("", CWindowManagerUI::GetInstancePath());

    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string expected(module);
    expected.erase(expected.rfind('\\') + 1);
    EXPECT_EQ(expected, CWindowManagerUI::GetInstancePath().GetData());
    EXPECT_EQ(GetModuleHandleA(nullptr), CWindowManagerUI::GetResourceModule());
}

}  // namespace

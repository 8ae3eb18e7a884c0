#include "ui/core/WindowManagerUI.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/core/base/Heap.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/Win32Util.h"
#if defined(LORVIK_STRICT)
#include "StrictRules.h"
#endif

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using Veneer::CWindowManagerUI;
using Veneer::TFontEntry;
using Veneer::TImageEntry;

namespace {

// A hidden top-level window for the manager to take.
class TestWindow {
public:
    TestWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "LorvikResourcesTestWindow";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, windowClass.lpszClassName, "test", WS_POPUP, 10, 20, 100, 80,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~TestWindow() { DestroyWindow(m_window); }
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

class WindowManagerResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr)); }

    static LOGFONTA Describe(HFONT font)
    {
        LOGFONTA description = {};
        GetObjectA(font, sizeof(description), &description);
        return description;
    }
    static LOGFONTA Stock()
    {
        return Describe(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
};

TEST_F(WindowManagerResourcesTest, ResourcePathEndsInASeparatorOnceSet)
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

TEST_F(WindowManagerResourcesTest, InstancePathIsTheModuleDirectoryWithItsBackslash)
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

TEST_F(WindowManagerResourcesTest, ProgramImagesHaveTheirSizes)
{
    struct Case {
        int first, last, width, height;
    };
    const Case cases[] = {
        {103, 105, 26, 18}, {106, 111, 25, 18},  {112, 114, 43, 18},
        {115, 117, 75, 24}, {118, 118, 100, 66}, {119, 119, 48, 64},
        {121, 121, 40, 20}, {122, 122, 32, 16},  {124, 129, 15, 15},
    };
    CWindowManagerUI manager;
    for (const Case& c : cases) {
        for (int id = c.first; id <= c.last; ++id) {
            const TImageEntry* image = manager.AddImage(std::to_string(id).c_str(), "png", 0);
            ASSERT_NE(nullptr, image) << id;
            EXPECT_EQ(c.width, image->width) << id;
            EXPECT_EQ(c.height, image->height) << id;
        }
    }
    for (int id : {130, 131, 132})
        EXPECT_NE(nullptr, manager.AddImage(std::to_string(id).c_str(), "PNG", 0)) << id;
}

TEST_F(WindowManagerResourcesTest, ResourcesAreChineseAndTheIconGroupHoldsNineSizes)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const WORD chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    EXPECT_EQ(2052, chinese);
    EXPECT_NE(nullptr, FindResourceExA(module, "PNG", MAKEINTRESOURCEA(118), chinese));

    HRSRC group = FindResourceExA(module, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(135),
                                  chinese);  // RT_GROUP_ICON
    ASSERT_NE(nullptr, group);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    ASSERT_EQ(9, count);
    const int sizes[] = {96, 72, 64, 48, 40, 32, 24, 20, 16};
    for (int i = 0; i < count; ++i) {
        const BYTE* entry =
            directory + 6 + 14 * i;  // width, height, colours, reserved, planes, bits ...
        EXPECT_EQ(sizes[i], entry[0]);
        EXPECT_EQ(sizes[i], entry[1]);
        EXPECT_EQ(32, *reinterpret_cast<const WORD*>(entry + 6));
    }
    HICON icon =
        static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(135), IMAGE_ICON, 48, 48, 0));
    EXPECT_NE(nullptr, icon);
    DestroyIcon(icon);

    HRSRC manifest = FindResourceExA(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), chinese);
    ASSERT_NE(nullptr, manifest);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(std::string::npos, text.find("level=\"asInvoker\" uiAccess=\"false\""));
    EXPECT_NE(std::string::npos, text.find("<gdiScaling"));
}

// Without the manifest's dependency Windows gives the program Common Controls 5.82: no
// themes, and tooltips that refuse the newest records.
TEST_F(WindowManagerResourcesTest, TheManifestSelectsCommonControls6)
{
    ACTCTX_SECTION_KEYED_DATA redirection = {};
    redirection.cbSize = sizeof redirection;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &redirection));
}

#if defined(LORVIK_STRICT)
// Where the loader knows no LOAD_LIBRARY_SEARCH_ flags, the DLL is loaded by its full path
// in the system folder.
TEST_F(WindowManagerResourcesTest, SystemLibrariesLoadWithoutTheSearchFlagsToo)
{
    Strict::PretendWindows7WithoutKB2533623(true);
    const HMODULE module = Veneer::LoadSystemLibrary("msimg32.dll");
    Strict::PretendWindows7WithoutKB2533623(false);
    ASSERT_NE(nullptr, module);
    char path[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(0, _strnicmp(path, system, std::strlen(system))) << path;
    FreeLibrary(module);
}
#endif

TEST_F(WindowManagerResourcesTest, ImageCacheKeepsTheFirstEntryOfAName)
{
    CWindowManagerUI manager;
    TImageEntry* first = manager.AddImage("118", "png", 0xFF000000);
    ASSERT_NE(nullptr, first);
    EXPECT_STREQ("png", first->resourceType);
    EXPECT_EQ(0xFF000000u, first->mask);
    EXPECT_EQ(nullptr, manager.AddImage("118", "png", 0));
    EXPECT_EQ(first, manager.GetImage("118"));
    EXPECT_EQ(first, manager.FindOrLoadImage("118", "png", 0));

    // The id is the leading decimal number, cut to 16 bits: 65654 is 118 again.
    TImageEntry* wrapped = manager.AddImage("65654", "png", 0);
    ASSERT_NE(nullptr, wrapped);
    EXPECT_NE(first, wrapped);
    EXPECT_EQ(100, wrapped->width);
    EXPECT_NE(nullptr, manager.AddImage("119.png", "png", 0));

    for (const char* name : {"x118", "", "9999"})
        EXPECT_EQ(nullptr, manager.AddImage(name, "png", 0)) << name;
    EXPECT_EQ(nullptr, manager.AddImage("118", "jpeg", 0));  // no such resource type
    EXPECT_EQ(nullptr, manager.GetImage("x118"));

    CWindowManagerUI other;
    EXPECT_EQ(nullptr, other.GetImage("118"));  // each manager has its own cache
}

TEST_F(WindowManagerResourcesTest, DefaultFontComesFromTheStockGuiFont)
{
    CWindowManagerUI manager;
    const LOGFONTA stock = Stock();
    const TFontEntry* entry = manager.GetDefaultFontEntry();
    ASSERT_NE(nullptr, entry->font);
    EXPECT_STREQ(stock.lfFaceName, entry->face);
    EXPECT_EQ(-stock.lfHeight, entry->size);
    EXPECT_EQ(stock.lfWeight >= FW_BOLD, entry->bold);
    EXPECT_EQ(DEFAULT_CHARSET, Describe(entry->font).lfCharSet);
    EXPECT_EQ(0, entry->metrics.tmHeight);  // no paint DC yet
}

TEST_F(WindowManagerResourcesTest, AddedFontsFollowTheStockFontAndAreNumberedInOrder)
{
    CWindowManagerUI manager;
    const LOGFONTA stock = Stock();
    HFONT plain = manager.AddFont("Tahoma", 12, false, false, false);
    HFONT bold = manager.AddFont("Tahoma", 24, true, true, true);
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, bold);

    const LOGFONTA made = Describe(bold);
    EXPECT_EQ(stock.lfWeight + 700, made.lfWeight);  // 1100 with the usual 400
    EXPECT_EQ(-24, made.lfHeight);
    EXPECT_TRUE(made.lfUnderline && made.lfItalic);
    EXPECT_EQ(stock.lfWeight, Describe(plain).lfWeight);

    EXPECT_EQ(plain, manager.GetFontEntry(0)->font);
    EXPECT_EQ(bold, manager.GetFontEntry(1)->font);
    EXPECT_EQ(24, manager.GetFontEntry(1)->size);
    for (int index : {-1, 2, 1000})
        EXPECT_EQ(manager.GetDefaultFontEntry(), manager.GetFontEntry(index)) << index;

    EXPECT_EQ(bold, manager.FindFont("Tahoma", 24, true, true, true));
    EXPECT_EQ(nullptr, manager.FindFont("tahoma", 24, true, true, true));  // faces compare exactly
    EXPECT_EQ(nullptr, manager.FindFont("Tahoma", 24, true, false, true));
}

TEST_F(WindowManagerResourcesTest, LongFaceNamesAreKeptWholeInTheTable)
{
    CWindowManagerUI manager;
    // 30 ASCII characters and then two Chinese ones, one beyond the 31-unit limit.
    const std::string face = std::string(30, 'A') + "\xCE\xA2\xC8\xED";
    HFONT font = manager.AddFont(face.c_str(), 12, false, false, false);
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(face, manager.GetFontEntry(0)->face.GetData());
    EXPECT_EQ(font, manager.FindFont(face.c_str(), 12, false, false, false));
    LOGFONTW made = {};
    GetObjectW(font, sizeof(made), &made);
    EXPECT_EQ(std::wstring(30, L'A') + L"\u5FAE", made.lfFaceName);
}

TEST_F(WindowManagerResourcesTest, MetricsAreMeasuredWithAPaintDc)
{
    TestWindow window;
    CWindowManagerUI manager;
    HFONT font = manager.AddFont("Tahoma", 20, false, false, false);
    EXPECT_EQ(0, manager.GetFontEntry(0)->metrics.tmHeight);

    manager.Init(window.Get());
    EXPECT_NE(nullptr, manager.GetPaintDC());
    EXPECT_GE(manager.GetFontEntry(font)->metrics.tmHeight, 20);  // measured on first use
    EXPECT_GT(manager.GetDefaultFontEntry()->metrics.tmHeight, 0);

    manager.SetDefaultFont("Tahoma", 30, false, false, false);  // measured at once
    EXPECT_EQ("Tahoma", std::string(manager.GetDefaultFontEntry()->face));
    EXPECT_GE(manager.GetDefaultFontEntry()->metrics.tmHeight, 30);
}

TEST_F(WindowManagerResourcesTest, RefusedMemoryLeavesEveryTableAsItWas)
{
    CWindowManagerUI manager;
    // Each allocation that the call makes fails once in turn, until the call succeeds.
    struct Case {
        const char* name;
        bool (*add)(CWindowManagerUI& manager);
        bool (*present)(CWindowManagerUI& manager);
    };
    const Case cases[] = {
        {"font",
         [](CWindowManagerUI& m) {
             return m.AddFont("Tahoma", 12, false, false, false) != nullptr;
         },
         [](CWindowManagerUI& m) { return m.GetCustomFontCount() > 0; }},
        {"image", [](CWindowManagerUI& m) { return m.AddImage("118", "png", 0) != nullptr; },
         [](CWindowManagerUI& m) { return m.GetImage("118") != nullptr; }},
        {"default list",
         [](CWindowManagerUI& m) {
             m.AddDefaultAttributes("Button", "width=\"1\"");
             return m.FindDefaultAttributes("Button") != nullptr;
         },
         [](CWindowManagerUI& m) { return m.FindDefaultAttributes("Button") != nullptr; }},
    };
    for (const Case& c : cases) {
        int failing = 1;
        for (; failing < 100; ++failing) {
            Veneer::Heap::FailNthAllocation(failing);
            const bool added = c.add(manager);
            Veneer::Heap::FailNthAllocation(0);
            if (added)
                break;
            ASSERT_FALSE(c.present(manager)) << c.name << ", allocation " << failing;
        }
        EXPECT_GT(failing, 1) << c.name;
        EXPECT_LT(failing, 100) << c.name;
        EXPECT_TRUE(c.present(manager)) << c.name;
    }
}

TEST_F(WindowManagerResourcesTest, ResourceParentRefusesItselfAndCycles)
{
    CWindowManagerUI a, b, c;
    EXPECT_FALSE(a.SetResourceParent(&a));
    EXPECT_TRUE(b.SetResourceParent(&a));
    EXPECT_TRUE(c.SetResourceParent(&b));
    EXPECT_FALSE(a.SetResourceParent(&c));  // a -> c -> b -> a
    EXPECT_FALSE(a.SetResourceParent(&b));
    EXPECT_EQ(nullptr, a.GetResourceParent());
    EXPECT_FALSE(b.SetResourceParent(&c));
    EXPECT_EQ(&a, b.GetResourceParent());  // the refused call keeps the old parent
    EXPECT_TRUE(c.SetResourceParent(nullptr));
    EXPECT_EQ(nullptr, c.GetResourceParent());
    EXPECT_TRUE(a.SetResourceParent(&c));
}

TEST_F(WindowManagerResourcesTest,
       ChildrenLookUpTheirOwnListsAndFontsFirstButTakeDefaultsFromTheTop)
{
    TestWindow window;
    CWindowManagerUI top, middle, child;
    top.Init(window.Get());
    ASSERT_TRUE(middle.SetResourceParent(&top));
    ASSERT_TRUE(child.SetResourceParent(&middle));

    top.SetDefaultFontColor(0xFF112233);
    top.SetLinkFontColor(0xFF445566);
    middle.SetDefaultFontColor(0xFF999999);
    child.SetSelectedColor(0xFF777777);
    EXPECT_EQ(0xFF112233u, child.GetDefaultFontColor());
    EXPECT_EQ(0xFF445566u, child.GetLinkFontColor());
    EXPECT_EQ(0xFFBAE4FFu, child.GetSelectedColor());
    EXPECT_EQ(0xFFA7A6AAu, child.GetDisabledFontColor());
    EXPECT_EQ(0xFFD3215Fu, child.GetLinkHoverFontColor());

    child.SetDefaultFont("Tahoma", 40, false, false, false);
    EXPECT_EQ(top.GetDefaultFontEntry(), child.GetDefaultFontEntry());
    EXPECT_EQ(top.GetDefaultFontEntry(), child.GetFontEntry(0));  // child has no fonts of its own

    HFONT topFont = top.AddFont("Tahoma", 14, false, false, false);
    HFONT middleFont = middle.AddFont("Tahoma", 14, false, false, false);
    HFONT childFont = child.AddFont("Tahoma", 16, false, false, false);
    EXPECT_EQ(childFont, child.GetFontEntry(0)->font);
    EXPECT_EQ(middleFont, child.FindFont("Tahoma", 14, false, false, false));
    EXPECT_EQ(topFont, top.FindFont("Tahoma", 14, false, false, false));
    const TFontEntry* found = child.GetFontEntry(topFont);
    EXPECT_EQ(topFont, found->font);
    EXPECT_GT(found->metrics.tmHeight, 0);  // measured with the top manager's paint DC
    EXPECT_EQ(top.GetDefaultFontEntry(),
              child.GetFontEntry(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))));

    top.AddDefaultAttributes("Button", "top");
    middle.AddDefaultAttributes("Button", "middle");
    middle.AddDefaultAttributes("Button", "second");  // the first list of a name stays
    top.AddDefaultAttributes("Combo", "combo");
    EXPECT_STREQ("middle", child.FindDefaultAttributes("Button"));
    EXPECT_STREQ("combo", child.FindDefaultAttributes("Combo"));
    EXPECT_STREQ("top", top.FindDefaultAttributes("Button"));
    EXPECT_EQ(nullptr, child.FindDefaultAttributes("Label"));

    top.RemoveAllDefaultAttributes();
    top.RemoveAllFonts();
    EXPECT_EQ(nullptr, child.FindDefaultAttributes("Combo"));
    EXPECT_EQ(0, top.GetCustomFontCount());
}

TEST_F(WindowManagerResourcesTest, InitialSizeResizesAWindowThatHasNoRootYet)
{
    TestWindow window;
    CWindowManagerUI manager;
    manager.SetInitialSize(300, 200);  // no window yet: only stored
    manager.Init(window.Get());
    manager.SetInitialSize(320, 240);
    RECT rc = {};
    GetWindowRect(window.Get(), &rc);
    EXPECT_EQ((RECT{10, 20, 330, 260}), rc);
    EXPECT_EQ(320, manager.GetInitialSize().cx);
    EXPECT_EQ(240, manager.GetInitialSize().cy);
}

TEST_F(WindowManagerResourcesTest, AlphaMakesTheWindowLayeredBelow256)
{
    TestWindow window;
    CWindowManagerUI manager;
    manager.SetAlpha(128);  // no window: nothing
    manager.Init(window.Get());

    manager.SetAlpha(128);
    EXPECT_TRUE(GetWindowLongPtrA(window.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window.Get(), nullptr, &alpha, &flags));
    EXPECT_EQ(128, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);

    manager.SetAlpha(256);
    EXPECT_FALSE(GetWindowLongPtrA(window.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace

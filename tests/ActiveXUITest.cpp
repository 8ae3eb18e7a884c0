// The ActiveX host on the project's own test control (tests/activex): the control loaded by
// its path and through COM, drawn, placed, shown and hidden, focused, and let go.

#include <windows.h>

#include <ole2.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/ControlTreeFixture.h"
#include "tests/activex/TestControl.h"
#include "ui/controls/ActiveXModule.h"
#include "ui/controls/ActiveXUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/base/AttributeValue.h"

namespace VeneerTest {
namespace {

using LorvikTestControl::TStats;

const char kServerName[] = "lorvik_testcontrol.dll";

// The test control's server, loaded from the test program's folder.
class TestServer {
public:
    TestServer()
    {
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder(path, length);
        folder.erase(folder.find_last_of('\\') + 1);
        m_path = folder + kServerName;
        m_module = LoadLibraryExA(m_path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    ~TestServer()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    HMODULE Module() const { return m_module; }
    const std::string& Path() const { return m_path; }
    const TStats& Stats() const
    {
        return *reinterpret_cast<LorvikTestControl::StatsProc>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "LorvikTestControlStats")))();
    }
    void Reset() const
    {
        reinterpret_cast<LorvikTestControl::ResetProc>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "LorvikTestControlReset")))();
    }
    template <class Proc>
    Proc Export(const char* name) const
    {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    std::string m_path;
    HMODULE m_module = nullptr;
};

// The server by itself: a control made through its class factory counts its references
// and lets them all go; the server can unload once nothing is held.
TEST(ActiveXTestControlTest, CountsItsObjectsAndReferences)
{
    TestServer server;
    ASSERT_NE(nullptr, server.Module());
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNow = HRESULT(WINAPI*)();
    const auto getClassObject = server.Export<GetClassObject>("DllGetClassObject");
    const auto canUnloadNow = server.Export<CanUnloadNow>("DllCanUnloadNow");
    ASSERT_NE(nullptr, getClassObject);
    ASSERT_NE(nullptr, canUnloadNow);
    EXPECT_EQ(S_OK, canUnloadNow());

    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(LorvikTestControl::kWindowlessClsid, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)));
    IOleObject* object = nullptr;
    ASSERT_EQ(S_OK,
              factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object)));
    EXPECT_EQ(1, server.Stats().liveObjects);
    EXPECT_EQ(2, server.Stats().references);
    EXPECT_EQ(S_FALSE, canUnloadNow());
    IViewObject* view = nullptr;
    EXPECT_EQ(S_OK, object->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)));
    view->Release();
    object->Release();
    factory->Release();
    EXPECT_EQ(0, server.Stats().liveObjects);
    EXPECT_EQ(0, server.Stats().references);
    EXPECT_EQ(S_OK, canUnloadNow());

    IUnknown* none = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              getClassObject(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(&none)));
}

using LorvikTestControl::kWindowedClsidText;
using LorvikTestControl::kWindowlessClsidText;

DWORD AsRgb(COLORREF color)
{
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

// A child window's place in its parent's client area.
RECT PlaceInParent(HWND child)
{
    RECT rc = {};
    GetWindowRect(child, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class ActiveXUITest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ControlTreeTest::SetUp();
        ASSERT_NE(nullptr, server.Module());
        server.Reset();
    }
    void TearDown() override
    {
        ControlTreeTest::TearDown();
        EXPECT_EQ(0, server.Stats().liveObjects) << "controls left alive";
        EXPECT_EQ(0, server.Stats().references) << "references left on the test control";
        EXPECT_EQ(0, server.Stats().windows);
        CoUninitialize();
    }

    // An ActiveX control with the attributes of list, placed in parent at `at`.
    CActiveXUI* Make(CContainerUI* parent, const char* list, RECT at = {20, 10, 120, 60})
    {
        CActiveXUI* control = new CActiveXUI;
        control->SetName("ax");
        ForEachAttribute(list, [control](const char* name, const char* value) {
            control->SetAttribute(name, value);
        });
        AddPlaced(parent, control, at);
        return control;
    }
    std::string ModuleAttributes(const char* clsid, const char* extra = "")
    {
        return std::string("clsid=\"") + clsid + "\" modulename=\"" + kServerName + "\" " + extra;
    }
    const TStats& Stats() const { return server.Stats(); }
    // Deletes what waits for the end of a message (removed controls, replaced trees).
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // An empty tree instead of the test's.
    void DropTree()
    {
        Manager().AttachRoot(new CContainerUI);
        Pump();
        Paint();
    }

    TestServer server;
};

TEST_F(ActiveXUITest, WindowlessControlFromItsModuleDrawsIntoTheBackBuffer)
{
    CContainerUI* root = AttachRoot();
    CActiveXUI* control = Make(root, ModuleAttributes(kWindowlessClsidText).c_str());
    control->SetBkColor(0xFF102030);
    Paint();
    ASSERT_TRUE(control->IsCreated());
    EXPECT_EQ(1, Stats().inPlaceActive);
    EXPECT_EQ(1, Stats().windowless);
    EXPECT_EQ(0, Stats().windows);
    EXPECT_EQ((RECT{20, 10, 120, 60}), Stats().objectRect);
    Repaint();
    EXPECT_GT(Stats().draws, 0);
    const DWORD fill = AsRgb(LorvikTestControl::kWindowlessColor);
    EXPECT_EQ(fill, PixelAt(20, 10));
    EXPECT_EQ(fill, PixelAt(119, 59));
    EXPECT_NE(fill, PixelAt(19, 10));
    EXPECT_NE(fill, PixelAt(120, 60));
    // The ambient properties the site gives: user mode, the control's colour, the font.
    EXPECT_EQ(1, Stats().userMode);
    EXPECT_EQ(static_cast<LONG>(RGB(0x10, 0x20, 0x30)), Stats().backColor);
    EXPECT_GT(Stats().fontHeight, 0);
    EXPECT_EQ(std::vector<std::string>{"ax:showactivex"}, notes.Of({"showactivex"}));
}

TEST_F(ActiveXUITest, WindowedControlLiesOverItsRectangle)
{
    CContainerUI* root = AttachRoot();
    CActiveXUI* control = Make(root, ModuleAttributes(kWindowedClsidText).c_str());
    Paint();
    ASSERT_TRUE(control->IsCreated());
    EXPECT_EQ(0, Stats().windowless);
    ASSERT_TRUE(IsWindow(Stats().window));
    EXPECT_EQ(Window(), GetParent(Stats().window));
    EXPECT_TRUE(IsWindowVisible(Stats().window));
    EXPECT_EQ((RECT{20, 10, 120, 60}), PlaceInParent(Stats().window));
    EXPECT_EQ(std::vector<std::string>{"ax:showactivex"}, notes.Of({"showactivex"}));
}

// The program reaches the control's interfaces, each with a reference of its own.
TEST_F(ActiveXUITest, GetControlGivesTheControlsInterfaces)
{
    CContainerUI* root = AttachRoot();
    CActiveXUI* control = Make(root, ModuleAttributes(kWindowlessClsidText).c_str());
    void* none = &none;
    EXPECT_FALSE(control->GetControl(IID_IViewObject, &none)) << "not made before it is shown";
    EXPECT_EQ(nullptr, none);
    Paint();
    IViewObject* view = nullptr;
    const LONG before = Stats().references;
    ASSERT_TRUE(control->GetControl(IID_IViewObject, reinterpret_cast<void**>(&view)));
    EXPECT_EQ(before + 1, Stats().references);
    view->Release();
    EXPECT_FALSE(control->GetControl(IID_IPersistFile, &none));
    EXPECT_EQ(nullptr, none);
}

// The control's rectangle and extent follow the layout, for both kinds.
TEST_F(ActiveXUITest, ResizedWithTheLayout)
{
    for (const char* clsid : {kWindowlessClsidText, kWindowedClsidText}) {
        SCOPED_TRACE(clsid);
        server.Reset();
        CVerticalLayoutUI* root = new CVerticalLayoutUI;
        Attach(root);
        CActiveXUI* control = new CActiveXUI;
        control->SetAttribute("clsid", clsid);
        control->SetAttribute("modulename", kServerName);
        root->Add(control);
        Paint();
        ASSERT_TRUE(control->IsCreated());
        EXPECT_EQ((RECT{0, 0, kWidth, kHeight}), Stats().objectRect);
        const SIZEL wide = Stats().extent;
        SetWindowPos(Window(), nullptr, 0, 0, 150, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Paint();
        EXPECT_EQ((RECT{0, 0, 150, 60}), Stats().objectRect);
        EXPECT_LT(Stats().extent.cx, wide.cx);
        EXPECT_LT(Stats().extent.cy, wide.cy);
        if (Stats().windows == 1) {
            EXPECT_EQ((RECT{0, 0, 150, 60}), PlaceInParent(Stats().window));
        }
        SetWindowPos(Window(), nullptr, 0, 0, kWidth, kHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DropTree();
    }
}

// Hidden with a parent and shown again: the windowed control's window follows, and the
// windowless one is drawn only while shown; "showactivex" went out once.
TEST_F(ActiveXUITest, HiddenAndShownWithItsParent)
{
    for (const char* clsid : {kWindowlessClsidText, kWindowedClsidText}) {
        SCOPED_TRACE(clsid);
        notes.Clear();
        CContainerUI* root = AttachRoot();
        CContainerUI* parent = new CContainerUI;
        AddPlaced(root, parent, RECT{0, 0, 150, 80});
        CActiveXUI* control = Make(parent, ModuleAttributes(clsid).c_str());
        Paint();
        ASSERT_TRUE(control->IsCreated());
        const bool windowed = Stats().windows == 1;
        const DWORD fill = AsRgb(LorvikTestControl::kWindowlessColor);
        parent->SetVisible(false);
        Repaint();
        if (windowed)
            EXPECT_FALSE(IsWindowVisible(Stats().window));
        else
            EXPECT_NE(fill, PixelAt(50, 30));
        parent->SetVisible(true);
        Repaint();
        if (windowed)
            EXPECT_TRUE(IsWindowVisible(Stats().window));
        else
            EXPECT_EQ(fill, PixelAt(50, 30));
        control->SetVisible(false);
        Repaint();
        if (windowed) {
            EXPECT_FALSE(IsWindowVisible(Stats().window));
        }
        control->SetVisible(true);
        Repaint();
        EXPECT_EQ(std::vector<std::string>{"ax:showactivex"}, notes.Of({"showactivex"}));
        DropTree();
    }
}

// "delaycreate": by default the control is made when it is first shown; "false" makes it
// at once, yet it is placed and announced only once it is shown.
TEST_F(ActiveXUITest, DelayCreateBothWays)
{
    struct Case {
        const char* delay;
        LONG madeWhileHidden;
    };
    for (const Case& c :
         {Case{"", 0}, Case{"delaycreate=\"true\"", 0}, Case{"delaycreate=\"false\"", 1}}) {
        SCOPED_TRACE(c.delay);
        notes.Clear();
        CContainerUI* root = AttachRoot();
        CContainerUI* parent = new CContainerUI;
        parent->SetVisible(false);
        AddPlaced(root, parent, RECT{0, 0, 150, 80});
        CActiveXUI* control = Make(parent, ModuleAttributes(kWindowlessClsidText, c.delay).c_str());
        Paint();
        EXPECT_EQ(c.madeWhileHidden, Stats().liveObjects);
        EXPECT_EQ(0, Stats().inPlaceActive);
        EXPECT_TRUE(notes.Of({"showactivex"}).empty());
        parent->SetVisible(true);
        Paint();
        EXPECT_TRUE(control->IsCreated());
        EXPECT_EQ(1, Stats().inPlaceActive);
        EXPECT_EQ(std::vector<std::string>{"ax:showactivex"}, notes.Of({"showactivex"}));
        DropTree();
    }
}

// A tree dressed before it has a window: "delaycreate" false makes the control as the
// tree joins the window, before any layout.
TEST_F(ActiveXUITest, MadeAtOnceWhenItsTreeJoinsTheWindow)
{
    CContainerUI* root = new CContainerUI;
    CActiveXUI* control =
        Make(root, ModuleAttributes(kWindowlessClsidText, "delaycreate=\"false\"").c_str());
    EXPECT_FALSE(control->IsCreated());
    Manager().AttachRoot(root);
    EXPECT_TRUE(control->IsCreated());
    EXPECT_EQ(0, Stats().inPlaceActive);
    Paint();
    EXPECT_EQ(1, Stats().inPlaceActive);
}

// The keyboard focus: the control becomes active for it and gets the keys, windowless
// through the manager, windowed in its own window; F5 is its accelerator, which it takes
// before the message is dispatched; moving the focus on deactivates it.
TEST_F(ActiveXUITest, TakesTheKeyboardFocus)
{
    for (const char* clsid : {kWindowlessClsidText, kWindowedClsidText}) {
        SCOPED_TRACE(clsid);
        server.Reset();
        CContainerUI* root = AttachRoot();
        CActiveXUI* control = Make(root, ModuleAttributes(clsid).c_str());
        ProbeControl* other = new ProbeControl("other", &log, UIFLAG_TABSTOP);
        AddPlaced(root, other, RECT{150, 10, 190, 60});
        Paint();
        ASSERT_TRUE(control->IsCreated());
        Manager().SetFocus(control);
        EXPECT_EQ(1, Stats().uiActive);
        EXPECT_EQ(control, Manager().GetFocus());
        const bool windowed = Stats().windows == 1;
        const HWND keys = windowed ? Stats().window : Window();
        if (windowed) {
            EXPECT_EQ(Stats().window, ::GetFocus());
        }
        SendMessageA(keys, WM_KEYDOWN, 'A', 0);
        EXPECT_EQ(1, Stats().keys);
        // Through the message loop: the accelerator is taken, other keys are dispatched.
        PostMessageA(keys, WM_KEYDOWN, LorvikTestControl::kAcceleratorKey, 0);
        PostMessageA(keys, WM_KEYDOWN, 'B', 0);
        PostQuitMessage(0);
        CWindowManagerUI::MessageLoop();
        EXPECT_EQ(2, Stats().accelerators);
        EXPECT_EQ(2, Stats().keys);
        Manager().SetFocus(other);
        EXPECT_EQ(0, Stats().uiActive);
        EXPECT_EQ(other, Manager().GetFocus());
        DropTree();
    }
}

// A click into the control makes it active for the keyboard, and the skin's focus follows.
TEST_F(ActiveXUITest, ClickFocusesTheControl)
{
    CContainerUI* root = AttachRoot();
    CActiveXUI* control = Make(root, ModuleAttributes(kWindowlessClsidText).c_str());
    Paint();
    Mouse(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 50, 30);
    EXPECT_EQ(1, Stats().uiActive);
    EXPECT_EQ(control, Manager().GetFocus());
}

// The wheel and the cursor go to a windowless control while the pointer is over it, and
// not to one the pointer is beside.
TEST_F(ActiveXUITest, WindowlessControlGetsTheWheelAndTheCursorUnderThePointer)
{
    CContainerUI* root = AttachRoot();
    Make(root, ModuleAttributes(kWindowlessClsidText).c_str());
    Paint();
    const WPARAM up = MAKEWPARAM(0, WHEEL_DELTA);
    ScreenMouse(WM_MOUSEWHEEL, 50, 30, up);
    ScreenMouse(WM_MOUSEWHEEL, 150, 80, up);
    EXPECT_EQ(1, Stats().wheels);

    const LPARAM client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    for (const POINT at : {POINT{50, 30}, POINT{150, 80}}) {
        POINT screen = at;
        ClientToScreen(Window(), &screen);
        ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
        Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(Window()), client);
    }
    EXPECT_EQ(1, Stats().cursors);
}

// Through COM once the server is registered in the prefix: by CLSID and by ProgID.
TEST_F(ActiveXUITest, MadeThroughComByClsidAndProgId)
{
    using Register = HRESULT(WINAPI*)();
    ASSERT_EQ(S_OK, server.Export<Register>("DllRegisterServer")());
    struct Case {
        const char* clsid;
        LONG windows;
    };
    for (const Case& c :
         {Case{kWindowlessClsidText, 0}, Case{LorvikTestControl::kWindowlessProgId, 0},
          Case{LorvikTestControl::kWindowedProgId, 1}}) {
        SCOPED_TRACE(c.clsid);
        CContainerUI* root = AttachRoot();
        CActiveXUI* control = Make(root, (std::string("clsid=\"") + c.clsid + "\"").c_str());
        Paint();
        EXPECT_TRUE(control->IsCreated());
        EXPECT_EQ(1, Stats().inPlaceActive);
        EXPECT_EQ(c.windows, Stats().windows);
        DropTree();
        EXPECT_EQ(0, Stats().liveObjects);
    }
    EXPECT_EQ(S_OK, server.Export<Register>("DllUnregisterServer")());
}

// What cannot be made gives no control, no notification and no crash.
TEST_F(ActiveXUITest, NoControlForWhatCannotBeMade)
{
    const char* const cases[] = {
        "clsid=\"{00000000-1111-2222-3333-444444444444}\"",
        "clsid=\"Lorvik.NoSuchControl\"",
        "clsid=\"{not a clsid}\"",
        "",
        "clsid=\"{6F1D2A40-7C3B-4E55-9A1E-3C0B5D7E8A01}\" modulename=\"nosuch.dll\"",
        // A DLL that is no COM server.
        "clsid=\"{6F1D2A40-7C3B-4E55-9A1E-3C0B5D7E8A01}\" "
        "modulename=\"C:\\windows\\system32\\version.dll\"",
        // Out of the program's folder, though the file is there.
        "clsid=\"{6F1D2A40-7C3B-4E55-9A1E-3C0B5D7E8A01}\" "
        "modulename=\"..\\tests\\lorvik_testcontrol.dll\"",
        // A class the module does not have.
        "clsid=\"{00000000-1111-2222-3333-444444444444}\" modulename=\"lorvik_testcontrol.dll\"",
    };
    for (const char* list : cases) {
        SCOPED_TRACE(list);
        notes.Clear();
        CContainerUI* root = AttachRoot();
        CActiveXUI* control = Make(root, list);
        Repaint();
        EXPECT_FALSE(control->IsCreated());
        void* none = &none;
        EXPECT_FALSE(control->GetControl(IID_IUnknown, &none));
        EXPECT_EQ(nullptr, none);
        EXPECT_TRUE(notes.Of({"showactivex"}).empty());
        EXPECT_EQ(0, Stats().liveObjects);
        Manager().SetFocus(control);
        Send(WM_KEYDOWN, 'A');
        DropTree();
    }
}

// Where skin checkers look for the attributes it reads, and what it makes of them.
TEST(ActiveXAttributesTest, ReadsAndListsItsAttributes)
{
    const char list[] = "clsid=\"Vendor.Player\" modulename=\"player.dll\" delaycreate=\"false\"";
    CActiveXUI control;
    EXPECT_TRUE(control.IsDelayCreate());
    ForEachAttribute(list, [&control](const char* name, const char* value) {
        control.SetAttribute(name, value);
    });
    EXPECT_STREQ("Vendor.Player", control.GetClsid());
    EXPECT_STREQ("player.dll", control.GetModuleName());
    EXPECT_FALSE(control.IsDelayCreate());
    control.SetAttribute("delaycreate", "true");
    EXPECT_TRUE(control.IsDelayCreate());
    ExpectListedAttributes(control, list);
}

TEST(ActiveXModuleTest, ResolvesOnlyTheProgramsFolderAndAbsolutePaths)
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, folder, MAX_PATH);
    std::wstring programFolder(folder, length);
    programFolder.erase(programFolder.find_last_of(L'\\') + 1);
    struct Case {
        const wchar_t* name;
        bool resolves;
        std::wstring path;
    };
    const Case cases[] = {
        {L"a.dll", true, programFolder + L"a.dll"},
        {L"sub\\a.dll", true, programFolder + L"sub\\a.dll"},
        {L"./a.dll", true, programFolder + L"./a.dll"},
        {L"C:\\x\\a.dll", true, L"C:\\x\\a.dll"},
        {L"\\\\server\\share\\a.dll", true, L"\\\\server\\share\\a.dll"},
        {L"..\\a.dll", false, L""},
        {L"sub/../../a.dll", false, L""},
        {L"sub\\..", false, L""},
        {L"\\a.dll", false, L""},
        {L"C:a.dll", false, L""},
        {L"", false, L""},
    };
    for (const Case& c : cases) {
        wchar_t path[MAX_PATH] = {};
        EXPECT_EQ(c.resolves, CActiveXModule::ResolvePath(c.name, path, MAX_PATH))
            << std::string(c.name, c.name + std::wcslen(c.name));
        if (c.resolves) {
            EXPECT_EQ(c.path, std::wstring(path));
        }
    }
    wchar_t tiny[4] = {};
    EXPECT_FALSE(CActiveXModule::ResolvePath(L"C:\\x\\a.dll", tiny, 4));
}

// Destroyed from its own notification, and while its window lives: everything is let go.
TEST_F(ActiveXUITest, DestroyedFromItsOwnNotification)
{
    for (const char* clsid : {kWindowlessClsidText, kWindowedClsidText}) {
        SCOPED_TRACE(clsid);
        CContainerUI* root = AttachRoot();
        RemoveSender remover(root, "showactivex");
        Manager().AddNotifier(&remover);
        Make(root, ModuleAttributes(clsid).c_str());
        Paint();
        Manager().RemoveNotifier(&remover);
        Pump();
        EXPECT_EQ(nullptr, Manager().FindControl("ax"));
        EXPECT_EQ(0, Stats().liveObjects);
        EXPECT_EQ(0, Stats().references);
        EXPECT_EQ(0, Stats().windows);
    }
}

// 200 controls made and destroyed, both kinds, focused and not: no reference left in the
// test control and no GDI or USER object leaked.
TEST_F(ActiveXUITest, ManyCyclesLeaveNothingBehind)
{
    CContainerUI* root = AttachRoot();
    // One cycle first: what the platform keeps for the process once (classes, caches).
    const auto cycle = [&](int i) {
        CActiveXUI* control = Make(
            root, ModuleAttributes(i % 2 == 0 ? kWindowlessClsidText : kWindowedClsidText).c_str());
        Paint();
        if (i % 4 < 2)
            Manager().SetFocus(control);
        Repaint();
        root->Remove(control);
        Pump();
    };
    cycle(0);
    cycle(1);
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 200; ++i)
        cycle(i);
    EXPECT_EQ(0, Stats().liveObjects);
    EXPECT_EQ(0, Stats().references);
    EXPECT_EQ(0, Stats().windows);
    EXPECT_EQ(gdi, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    EXPECT_EQ(user, GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

}  // namespace
}  // namespace VeneerTest

#include "tests/ControlTreeFixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ui/core/base/AttributeValue.h"

namespace VeneerTest {

const char* EventName(TUIEventType type)
{
    static const char* const names[] = {
        "None",        "1",          "KeyBegin",    "KeyDown",     "KeyUp",
        "Char",        "SysKey",     "KeyEnd",      "MouseBegin",  "MouseMove",
        "MouseLeave",  "MouseEnter", "MouseHover",  "ButtonDown",  "ButtonUp",
        "RButtonDown", "DblClick",   "ContextMenu", "ScrollWheel", "MouseEnd",
        "KillFocus",   "SetFocus",   "WindowSize",  "SetCursor",   "Timer",
    };
    const int index = static_cast<int>(type);
    return index >= 0 && index < static_cast<int>(sizeof(names) / sizeof(names[0])) ? names[index]
                                                                                    : "?";
}

namespace {

// What a deleted probe turns into: every operation records its name and does nothing.
class DeadControl : public IControlUI {
public:
    explicit DeadControl(const std::string& name)
    {
        std::snprintf(m_name, sizeof(m_name), "%s", name.c_str());
    }

    CUIString GetName() const override { return Record("GetName"), CUIString(); }
    const char* GetClass() const override { return Record("GetClass"), ""; }
    void* GetInterface(const char*) override { return Record("GetInterface"), nullptr; }
    UINT GetControlFlags() const override { return Record("GetControlFlags"), 0; }
    CWindowManagerUI* GetManager() const override { return Record("GetManager"), nullptr; }
    void SetManager(CWindowManagerUI*, IControlUI*, bool) override { Record("SetManager"); }
    IControlUI* GetParent() const override { return Record("GetParent"), nullptr; }
    RECT GetPos() const override { return Record("GetPos"), RECT{}; }
    void SetPos(RECT) override { Record("SetPos"); }
    bool IsUpdateNeeded() const override { return Record("IsUpdateNeeded"), false; }
    void NeedUpdate() override { Record("NeedUpdate"); }
    CUIString GetToolTip() const override { return Record("GetToolTip"), CUIString(); }
    char GetShortcut() const override { return Record("GetShortcut"), '\0'; }
    bool IsVisible() const override { return Record("IsVisible"), false; }
    bool IsEnabled() const override { return Record("IsEnabled"), false; }
    void SetFocus() override { Record("SetFocus"); }
    bool Activate() override { return Record("Activate"), false; }
    IControlUI* FindControl(FindControlProc, void*, UINT) override
    {
        return Record("FindControl"), nullptr;
    }
    void Event(TUIEvent& event) override { Record(EventName(event.type)); }
    void DoPaint(HDC, const RECT&) override { Record("DoPaint"); }
    void DoPostPaint(HDC, const RECT&) override { Record("DoPostPaint"); }
    CEventSource& GetNotifySource() override
    {
        Record("GetNotifySource");
        static CEventSource none;
        return none;
    }
    void SetAttribute(const char*, const char*) override { Record("SetAttribute"); }
    const TAttributeTable& GetAttributeTable() const override
    {
        Record("GetAttributeTable");
        static const TAttributeTable none = {};
        return none;
    }
    static void operator delete(void*) { CallsAfterDelete().push_back("deleted twice"); }

private:
    void Record(const char* what) const
    {
        CallsAfterDelete().push_back(std::string(m_name) + ":" + what);
    }

    char m_name[32];
};

std::vector<void*>& Graveyard()
{
    static std::vector<void*> memory;
    return memory;
}

std::string& NameOfDying()
{
    static std::string name;
    return name;
}

// Window procedures run inside the system's exception guards, which swallow a crash in a
// handler: bad pointers followed there (null, or read from a deleted probe's poisoned
// memory) are recorded on the way.
LONG CALLBACK RecordBadAccess(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        CallsAfterDelete().push_back("access violation");
    return EXCEPTION_CONTINUE_SEARCH;
}

// A crash outside a window procedure ends the test program at once, with the crash's
// code, instead of waiting for Wine's debugger.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "crash: exception %08lX\n",
                 static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

EventLog& CallsAfterDelete()
{
    static EventLog calls;
    return calls;
}

ProbeControl::~ProbeControl()
{
    NameOfDying() = GetName().GetData();
}

void ProbeControl::operator delete(void* memory, std::size_t size)
{
    static_assert(sizeof(DeadControl) <= sizeof(ProbeControl), "the stand-in must fit");
    // Fields read through a stale pointer are garbage, and pointers among them fault.
    std::memset(memory, 0xDD, size);
    new (memory) DeadControl(NameOfDying());
    Graveyard().push_back(memory);
}

AccessGuard::AccessGuard() : m_handler(AddVectoredExceptionHandler(1, RecordBadAccess))
{
    SetUnhandledExceptionFilter(EndOnCrash);
}

AccessGuard::~AccessGuard()
{
    RemoveVectoredExceptionHandler(m_handler);
}

void KeepUntilTestEnds(void* memory)
{
    Graveyard().push_back(memory);
}

void ReleaseGraveyard()
{
    for (void* memory : Graveyard())
        ::operator delete(memory);
    Graveyard().clear();
}

void AddPlaced(CContainerUI* container, CControlUI* child, RECT at)
{
    child->SetFloat(true);
    child->SetFixedXY(SIZE{at.left, at.top});
    child->SetFixedWidth(at.right - at.left);
    child->SetFixedHeight(at.bottom - at.top);
    container->Add(child);
}

void ExpectListedAttributes(const IControlUI& control, const char* list)
{
    ForEachAttribute(list, [&control](const char* name, const char*) {
        const TAttributeInfo* row = FindAttribute(control.GetAttributeTable(), name);
        ASSERT_NE(nullptr, row) << control.GetClass() << " " << name;
        const std::size_t length = std::strlen(name);
        const bool image = length >= 5 && std::strcmp(name + length - 5, "image") == 0;
        EXPECT_EQ(image, row->kind == TAttributeKind::Image) << control.GetClass() << " " << name;
    });
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back(message);
    if (onMessage)
        onMessage(message);
    if (message == WM_CREATE)
        manager.Init(GetHWND());
    LRESULT result = 0;
    if (manager.MessageHandler(message, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void NotifyLog::Notify(TNotifyMsg& msg)
{
    const char* sender = msg.sender != nullptr ? msg.sender->GetName().GetData() : "-";
    entries.push_back(std::string(sender) + ":" + msg.type.GetData());
    messages.push_back(msg);
}

std::vector<std::string> NotifyLog::Of(std::initializer_list<const char*> types) const
{
    std::vector<std::string> kept;
    for (size_t i = 0; i < messages.size(); ++i) {
        for (const char* type : types) {
            if (messages[i].type == type)
                kept.push_back(entries[i]);
        }
    }
    return kept;
}

void ControlTreeTest::SetUp()
{
    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    m_accessGuard.reset(new AccessGuard);
    m_host.reset(new HostWindow);
    m_hwnd =
        m_host->Create(nullptr, "tree", WS_POPUP, WS_EX_NOACTIVATE, kLeft, kTop, kWidth, kHeight);
    ASSERT_NE(nullptr, m_hwnd);
    // Shown without activation: destroying an active window costs Wine seconds.
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    Manager().AddNotifier(&notes);
}

void ControlTreeTest::TearDown()
{
    DestroyWindow(m_hwnd);
    m_host.reset();
    m_accessGuard.reset();
    EXPECT_EQ(EventLog{}, CallsAfterDelete()) << "calls that reached deleted controls";
    CallsAfterDelete().clear();
    ReleaseGraveyard();
}

CContainerUI* ControlTreeTest::Attach(CContainerUI* root)
{
    root->SetName("root");
    Manager().AttachRoot(root);
    // Attaching a tree does not invalidate the window by itself.
    InvalidateRect(m_hwnd, nullptr, FALSE);
    Paint();
    return root;
}

LRESULT ControlTreeTest::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(m_hwnd, message, wParam, lParam);
}

void ControlTreeTest::Mouse(UINT message, int x, int y, WPARAM wParam)
{
    Send(message, wParam, MAKELPARAM(x, y));
}

void ControlTreeTest::ScreenMouse(UINT message, int x, int y, WPARAM wParam)
{
    POINT pt = {x, y};
    ClientToScreen(m_hwnd, &pt);
    Send(message, wParam, MAKELPARAM(pt.x, pt.y));
}

RECT ControlTreeTest::UpdateRect() const
{
    RECT rc = {};
    GetUpdateRect(m_hwnd, &rc, FALSE);
    return rc;
}

std::vector<DWORD> BackBufferPixels(const CWindowManagerUI& manager, SIZE* size)
{
    *size = SIZE{};
    BITMAP buffer = {};
    if (GetObjectA(manager.GetOffscreenBitmap(), sizeof buffer, &buffer) != sizeof buffer)
        return {};
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), buffer.bmWidth, -buffer.bmHeight, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    std::vector<DWORD> pixels;
    const HGDIOBJ previous = copy && dc ? SelectObject(dc, copy) : nullptr;
    if (previous && BitBlt(dc, 0, 0, buffer.bmWidth, buffer.bmHeight, manager.GetOffscreenDC(), 0,
                           0, SRCCOPY)) {
        GdiFlush();
        const auto* first = static_cast<const DWORD*>(bits);
        pixels.assign(first, first + static_cast<size_t>(buffer.bmWidth) * buffer.bmHeight);
        *size = SIZE{buffer.bmWidth, buffer.bmHeight};
    }
    if (previous)
        SelectObject(dc, previous);
    if (dc)
        DeleteDC(dc);
    if (copy)
        DeleteObject(copy);
    return pixels;
}

DWORD ControlTreeTest::PixelAt(int x, int y) const
{
    const COLORREF pixel = GetPixel(m_host->manager.GetOffscreenDC(), x, y);
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
}

void ControlTreeTest::ForEachPixel(RECT area,
                                   const std::function<void(int, int, DWORD)>& visit) const
{
    SIZE size = {};
    const std::vector<DWORD> bits = BackBufferPixels(m_host->manager, &size);
    const RECT buffer = {0, 0, size.cx, size.cy};
    IntersectRect(&area, &area, &buffer);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            visit(x, y, bits[y * size.cx + x] & 0xFFFFFF);
    }
}

RECT ControlTreeTest::InkBox(RECT area, DWORD background) const
{
    RECT box = {};
    ForEachPixel(area, [&](int x, int y, DWORD pixel) {
        const RECT dot = {x, y, x + 1, y + 1};
        if (pixel != background)
            UnionRect(&box, &box, &dot);
    });
    return box;
}

DWORD ControlTreeTest::InkColor(RECT area, DWORD background) const
{
    auto distance = [background](DWORD pixel) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((pixel >> shift) & 0xFF) -
                            static_cast<int>((background >> shift) & 0xFF));
        return sum;
    };
    DWORD farthest = background;
    ForEachPixel(area, [&](int, int, DWORD pixel) {
        if (distance(pixel) > distance(farthest))
            farthest = pixel;
    });
    return farthest;
}

}  // namespace VeneerTest

// The paint path on a real window: first layout and "windowinit", relayout of only what
// asked for it, painting only the area the system reports, post-painting, printing.

#include <map>
#include <vector>

#include "tests/ControlTreeFixture.h"

namespace VeneerTest {
namespace {

// Records the areas it is asked to paint, and asks for layout once from its first paint.
class PaintProbe : public ProbeControl {
public:
    using ProbeControl::ProbeControl;

    void DoPaint(HDC dc, const RECT& paint) override
    {
        painted.push_back(paint);
        if (askWhilePainting) {
            askWhilePainting = false;
            NeedUpdate();
        }
        ProbeControl::DoPaint(dc, paint);
    }
    void DoPostPaint(HDC, const RECT& paint) override { postPainted.push_back(paint); }

    std::vector<RECT> painted;
    std::vector<RECT> postPainted;
    bool askWhilePainting = false;
};

std::map<std::string, int> g_sized;

bool CountSize(void* control)
{
    ++g_sized[static_cast<CControlUI*>(control)->GetName().GetData()];
    return true;
}

class WindowManagerPaintTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        g_sized.clear();
        root = new CContainerUI;
        a = new PaintProbe("A", &log);
        b = new PaintProbe("B", &log);
        AddPlaced(root, a, RECT{10, 10, 60, 60});
        AddPlaced(root, b, RECT{100, 10, 150, 60});
        for (CControlUI* control : {static_cast<CControlUI*>(root), static_cast<CControlUI*>(a),
                                    static_cast<CControlUI*>(b)})
            control->OnSize.Add(MakeDelegate(&CountSize));
    }

    void Resize(int width, int height)
    {
        SetWindowPos(Window(), nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    CContainerUI* root = nullptr;
    PaintProbe* a = nullptr;
    PaintProbe* b = nullptr;
};

TEST_F(WindowManagerPaintTest, WindowInitComesWithTheFirstLayoutOfANonEmptyWindow)
{
    Resize(0, 0);
    Attach(root);
    EXPECT_TRUE(notes.entries.empty());
    EXPECT_EQ(0, g_sized["root"]);

    Resize(kWidth, kHeight);
    Paint();
    EXPECT_EQ((std::vector<std::string>{"root:windowinit"}), notes.entries);
    EXPECT_EQ(root, notes.messages[0].sender);
    EXPECT_EQ(kWidth, root->GetWidth());

    Resize(kWidth + 10, kHeight);
    Paint();
    EXPECT_EQ(kWidth + 10, root->GetWidth());
    EXPECT_EQ(1u, notes.entries.size()) << "only once";
}

TEST_F(WindowManagerPaintTest, OnlyControlsThatAskAreLaidOutAgain)
{
    Attach(root);
    EXPECT_EQ((std::map<std::string, int>{{"root", 1}, {"A", 1}, {"B", 1}}), g_sized);
    EXPECT_EQ((RECT{10, 10, 60, 60}), a->GetPos());

    a->NeedUpdate();
    Paint();
    EXPECT_EQ((std::map<std::string, int>{{"root", 1}, {"A", 2}, {"B", 1}}), g_sized);

    root->NeedUpdate();
    Paint();
    EXPECT_EQ((std::map<std::string, int>{{"root", 2}, {"A", 3}, {"B", 2}}), g_sized);
}

// Counts its placements. A restless one never lets SetPos reach the base, which clears
// the flag; both give in after a while, so that a pass that never ends fails the test
// rather than hanging it.
class Restless : public ProbeControl {
public:
    Restless(const char* name, bool skipBase) : ProbeControl(name, nullptr), m_skipBase(skipBase) {}
    void SetPos(RECT rc) override
    {
        if (!m_skipBase)
            ProbeControl::SetPos(rc);
        if (++placed == 100)
            m_updateNeeded = false;
    }
    int placed = 0;

private:
    bool m_skipBase;
};

TEST_F(WindowManagerPaintTest, ALayoutPassEndsWhateverControlsDoWithTheirFlag)
{
    auto* restless = new Restless("R", true);
    auto* loose = new Restless("L", false);
    AddPlaced(root, restless, RECT{0, 60, 10, 70});
    AddPlaced(root, loose, RECT{20, 60, 30, 70});
    Attach(root);
    restless->NeedUpdate();
    loose->NeedUpdate();
    loose->SetManager(nullptr, root, false);  // without a manager SetPos keeps the flag
    restless->placed = loose->placed = 0;
    Paint();
    EXPECT_EQ(1, restless->placed);
    EXPECT_EQ(1, loose->placed);
    loose->SetManager(&Manager(), root, false);
}

TEST_F(WindowManagerPaintTest, OnlyTheReportedAreaIsPaintedAndPostPaintingComesLast)
{
    Attach(root);
    Manager().AddPostPaint(a);
    const HBITMAP buffer = Manager().GetOffscreenBitmap();
    ASSERT_NE(nullptr, buffer);
    a->painted.clear();
    b->painted.clear();

    Validate();
    b->Invalidate();
    Paint();
    const RECT bArea = b->GetPos();
    EXPECT_EQ((std::vector<RECT>{bArea}), b->painted);
    EXPECT_TRUE(a->painted.empty()) << "outside the reported area";
    EXPECT_EQ((std::vector<RECT>{bArea}), a->postPainted);
    EXPECT_EQ(buffer, Manager().GetOffscreenBitmap()) << "the back buffer lives on";

    EXPECT_TRUE(Manager().RemovePostPaint(a));
    EXPECT_FALSE(Manager().RemovePostPaint(a));
}

// A paint message with nothing to update (one sent) neither lays out nor paints, whether
// layout is pending or not; the pending layout comes with the next real paint.
TEST_F(WindowManagerPaintTest, APaintWithNothingToUpdateNeitherLaysOutNorPaints)
{
    Attach(root);
    Manager().AddPostPaint(a);
    for (const bool pending : {false, true}) {
        if (pending)
            a->NeedUpdate();
        Validate();
        a->painted.clear();
        a->postPainted.clear();
        SendMessageA(Window(), WM_PAINT, 0, 0);
        EXPECT_TRUE(a->painted.empty()) << pending;
        EXPECT_TRUE(a->postPainted.empty()) << pending;
        EXPECT_EQ(1, g_sized["A"]) << pending;
    }
    a->Invalidate();
    Paint();
    EXPECT_EQ(2, g_sized["A"]);
    EXPECT_FALSE(a->painted.empty());
    EXPECT_TRUE(Manager().RemovePostPaint(a));
}

TEST_F(WindowManagerPaintTest, AControlDestroyedWhileRegisteredIsNotPostPaintedAgain)
{
    root->SetDelayedDestroy(false);
    Attach(root);
    Manager().AddPostPaint(a);
    root->Remove(a);
    InvalidateRect(Window(), nullptr, FALSE);
    Paint();
    EXPECT_FALSE(Manager().RemovePostPaint(a)) << "forgotten with the control";
}

TEST_F(WindowManagerPaintTest, LayoutAskedForWhilePaintingPaintsTheWindowAgain)
{
    Attach(root);
    a->askWhilePainting = true;
    Validate();
    a->Invalidate();
    Paint();
    EXPECT_EQ((RECT{0, 0, kWidth, kHeight}), UpdateRect());
    Paint();
    EXPECT_EQ(RECT{}, UpdateRect());
}

TEST_F(WindowManagerPaintTest, AWindowWithoutARootIsValidatedWithoutABuffer)
{
    InvalidateRect(Window(), nullptr, FALSE);
    Paint();
    EXPECT_EQ(RECT{}, UpdateRect());
    EXPECT_EQ(nullptr, Manager().GetOffscreenBitmap());
    delete root;
}

// Prints the client area into a DIB and reads it back as 0xRRGGBB per pixel.
std::vector<DWORD> PrintClient(HWND window, int width, int height)
{
    void* bits = nullptr;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, dib);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits),
                              static_cast<const DWORD*>(bits) + width * height);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(dib);
    return pixels;
}

TEST_F(WindowManagerPaintTest, PrintClientPaintsTheWholeTreeIntoTheGivenDC)
{
    root->SetBkColor(0xFF102030);
    a->SetBkColor(0xFFC08040);
    Attach(root);
    const std::vector<DWORD> pixels = PrintClient(Window(), kWidth, kHeight);
    EXPECT_EQ(0x102030u, pixels[5 * kWidth + 5]);
    EXPECT_EQ(0xC08040u, pixels[20 * kWidth + 20]);
}

// A picture of a window that was never shown: the tree is laid out as a paint would.
TEST_F(WindowManagerPaintTest, PrintClientLaysOutAWindowThatWasNeverPainted)
{
    ShowWindow(Window(), SW_HIDE);
    root->SetBkColor(0xFF102030);
    a->SetBkColor(0xFFC08040);
    Manager().AttachRoot(root);
    const std::vector<DWORD> pixels = PrintClient(Window(), kWidth, kHeight);
    EXPECT_EQ(0x102030u, pixels[5 * kWidth + 5]);
    EXPECT_EQ(0xC08040u, pixels[20 * kWidth + 20]);
    EXPECT_EQ((RECT{10, 10, 60, 60}), a->GetPos());
}

}  // namespace
}  // namespace VeneerTest

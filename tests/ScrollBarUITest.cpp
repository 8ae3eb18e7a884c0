// A scroll bar standing alone on a real window: the repeat timer of held buttons and the
// track, thumb drags, hot states, attributes and the outlines drawn without images.

#include <algorithm>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ScrollBarUI.h"

namespace VeneerTest {
namespace {

// A vertical bar 16 x 100 at the window's corner, over a white root: buttons 0..16 and
// 84..100, a thumb 34 long from 16 at range 100.
class ScrollBarTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        root->SetBkColor(0xFFFFFFFF);
        bar = new CScrollBarUI;
        bar->SetName("bar");
        AddPlaced(root, bar, RECT{0, 0, 16, 100});
        Attach(root);
        notes.Clear();
    }

    void Tick(int count)
    {
        for (int i = 0; i < count; ++i) {
            TUIEvent tick;
            tick.type = TUIEventType::Timer;
            tick.wParam = CScrollBarUI::kRepeatTimer;
            bar->Event(tick);
        }
    }

    // Whether the repeat timer runs: starting a running timer again is refused.
    bool Repeating()
    {
        if (!Manager().SetTimer(bar, CScrollBarUI::kRepeatTimer, 50))
            return true;
        Manager().KillTimer(bar, CScrollBarUI::kRepeatTimer);
        return false;
    }

    int Scrolls() const
    {
        return static_cast<int>(
            std::count(notes.entries.begin(), notes.entries.end(), std::string("bar:scroll")));
    }

    CContainerUI* root = nullptr;
    CScrollBarUI* bar = nullptr;
};

TEST_F(ScrollBarTest, AHeldArrowStepsAtOnceAndAgainFromTheSixthTickUntilReleased)
{
    Mouse(WM_LBUTTONDOWN, 8, 95);
    EXPECT_EQ(8, bar->GetScrollPos()) << "one line at once";
    EXPECT_EQ(1, Scrolls());
    EXPECT_TRUE(Repeating());
    EXPECT_NE(0u, bar->GetButton2State() & UISTATE_PUSHED);

    Tick(5);
    EXPECT_EQ(8, bar->GetScrollPos()) << "nothing for the first 250 ms";
    Tick(1);
    EXPECT_EQ(16, bar->GetScrollPos());
    Tick(1);
    EXPECT_EQ(24, bar->GetScrollPos());
    EXPECT_EQ(3, Scrolls());

    Mouse(WM_LBUTTONUP, 8, 95);
    EXPECT_FALSE(Repeating());
    EXPECT_EQ(0u, bar->GetButton2State() & UISTATE_PUSHED);
    Tick(10);  // ticks already on their way when the button went up
    EXPECT_EQ(24, bar->GetScrollPos());
    EXPECT_EQ(3, Scrolls());

    Mouse(WM_LBUTTONDOWN, 8, 5);
    EXPECT_EQ(16, bar->GetScrollPos()) << "the up arrow";
    Mouse(WM_LBUTTONUP, 8, 5);
}

TEST_F(ScrollBarTest, TheTrackPagesByTheBarsLength)
{
    bar->SetScrollRange(500);  // thumb 16 long, at 16 .. 32
    Mouse(WM_LBUTTONDOWN, 8, 70);
    Mouse(WM_LBUTTONUP, 8, 70);
    EXPECT_EQ(100, bar->GetScrollPos());
    const RECT thumb = bar->GetThumbRect();
    Mouse(WM_LBUTTONDOWN, 8, thumb.top - 2);
    Mouse(WM_LBUTTONUP, 8, thumb.top - 2);
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_EQ(2, Scrolls());
}

TEST_F(ScrollBarTest, TheDraggedThumbMovesThePositionAtTheNextTick)
{
    Mouse(WM_LBUTTONDOWN, 8, 20);
    EXPECT_NE(0u, bar->GetThumbState() & UISTATE_CAPTURED);
    Mouse(WM_MOUSEMOVE, 8, 37, MK_LBUTTON);  // half of the thumb's travel of 34
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_EQ(0, Scrolls());
    Tick(1);
    EXPECT_EQ(50, bar->GetScrollPos());
    EXPECT_EQ(1, Scrolls());
    Mouse(WM_LBUTTONUP, 8, 37);
    EXPECT_EQ(0u, bar->GetThumbState() & (UISTATE_CAPTURED | UISTATE_PUSHED));

    bar->SetScrollRange(0);
    Mouse(WM_LBUTTONDOWN, 8, 50);
    Mouse(WM_MOUSEMOVE, 8, 80, MK_LBUTTON);
    Tick(1);
    EXPECT_EQ(0, bar->GetScrollPos()) << "range 0: a full-length thumb moves nothing";
    Mouse(WM_LBUTTONUP, 8, 80);
}

TEST_F(ScrollBarTest, ThePartsUnderTheMouseAreHotWhileTheBarIsEnabled)
{
    Mouse(WM_MOUSEMOVE, 8, 20);
    EXPECT_NE(0u, bar->GetButton1State() & UISTATE_HOT);
    EXPECT_NE(0u, bar->GetButton2State() & UISTATE_HOT);
    EXPECT_NE(0u, bar->GetThumbState() & UISTATE_HOT);
    Mouse(WM_MOUSEMOVE, 8, 70);
    EXPECT_EQ(0u, bar->GetThumbState() & UISTATE_HOT) << "left the thumb";
    Mouse(WM_MOUSEMOVE, 100, 50);
    EXPECT_EQ(0u, bar->GetButton1State() & UISTATE_HOT) << "left the bar";

    Mouse(WM_MOUSEMOVE, 8, 20);
    bar->SetEnabled(false);
    EXPECT_EQ(0u, bar->GetButton1State() | bar->GetButton2State() | bar->GetThumbState());
    Mouse(WM_LBUTTONDOWN, 8, 95);
    Mouse(WM_LBUTTONUP, 8, 95);
    EXPECT_EQ(0, bar->GetScrollPos()) << "a disabled bar does not scroll";
}

TEST_F(ScrollBarTest, AttributesSetRangePositionButtonsAndImages)
{
    bar->ApplyAttributeList("range=\"50\" value=\"80\" linesize=\"3\" showbutton1=\"false\" "
                            "thumbhotimage=\"res='120'\"");
    EXPECT_EQ(50, bar->GetScrollRange());
    EXPECT_EQ(50, bar->GetScrollPos()) << "clamped to the range";
    EXPECT_EQ(3, bar->GetLineSize());
    EXPECT_FALSE(bar->GetShowButton1());
    const RECT button1 = bar->GetButton1Rect();
    EXPECT_TRUE(IsRectEmpty(&button1));
    EXPECT_STREQ("res='120'", bar->GetImage(TScrollBarPart::Thumb, TScrollBarImage::Hot));
    bar->ApplyAttributeList("range=\"-5\"");
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());
    bar->ApplyAttributeList("name=\"renamed\"");
    EXPECT_STREQ("renamed", bar->GetName()) << "other names go to the control base";
}

TEST_F(ScrollBarTest, APartInAStateWithoutAnImageShowsTheNormalImage)
{
    bar->ApplyAttributeList("thumbnormalimage=\"res='115' restype='png'\" "
                            "thumbhotimage=\"res='117' restype='png'\"");
    Repaint();
    const DWORD normal = PixelAt(8, 25);
    Mouse(WM_MOUSEMOVE, 8, 25);
    Repaint();
    ASSERT_NE(normal, PixelAt(8, 25)) << "the hot image";
    Mouse(WM_LBUTTONDOWN, 8, 25, MK_LBUTTON);
    ASSERT_NE(0u, bar->GetThumbState() & UISTATE_PUSHED);
    Repaint();
    EXPECT_EQ(normal, PixelAt(8, 25)) << "pushed and hot, without a pushed image";
    Mouse(WM_LBUTTONUP, 8, 25);
}

TEST_F(ScrollBarTest, WithoutImagesArrowsAndThumbAreOutlined)
{
    const DWORD outline = 0x85E4FF;
    EXPECT_EQ(outline, PixelAt(0, 8)) << "the up arrow's edge";
    EXPECT_EQ(0xFFFFFFu, PixelAt(8, 8)) << "its inside";
    EXPECT_EQ(outline, PixelAt(8, 99)) << "the down arrow's edge";
    EXPECT_EQ(outline, PixelAt(15, 30)) << "the thumb's edge";
    EXPECT_EQ(0xFFFFFFu, PixelAt(8, 70)) << "the track";
}

}  // namespace
}  // namespace VeneerTest

// Buttons on a real window: what makes a click (press, drag, release; keys), a press that
// another window cancels, the state images and text colours, and a click receiver that
// destroys the button.

#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ButtonUI.h"

namespace VeneerTest {
namespace {

constexpr DWORD kWhite = 0xFFFFFF;
const RECT kButton = {20, 20, 120, 60};

class ButtonTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        root->SetBkColor(0xFF000000 | kWhite);
        button = new Poisoned<CButtonUI>;
        button->SetName("b");
        AddPlaced(root, button, kButton);
        Attach(root);
        notes.Clear();
    }

    int Clicks() const
    {
        int clicks = 0;
        for (const std::string& entry : notes.entries)
            clicks += entry == "b:click";
        return clicks;
    }

    CContainerUI* root = nullptr;
    CButtonUI* button = nullptr;
};

TEST_F(ButtonTest, AClickIsAPressAndAReleaseInsideWhereverTheMouseWentBetween)
{
    const struct {
        const char* what;
        std::vector<POINT> moves;
        POINT release;
        int clicks;
    } cases[] = {
        {"pressed and released", {}, {70, 40}, 1},
        {"dragged out, released outside", {{150, 80}}, {150, 80}, 0},
        {"dragged out and back", {{150, 80}, {60, 30}}, {60, 30}, 1},
        {"dragged within", {{21, 59}}, {119, 21}, 1},
    };
    for (const auto& c : cases) {
        notes.Clear();
        Mouse(WM_LBUTTONDOWN, 70, 40, MK_LBUTTON);
        EXPECT_EQ(UISTATE_PUSHED | UISTATE_CAPTURED,
                  button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
        for (const POINT& pt : c.moves) {
            Mouse(WM_MOUSEMOVE, pt.x, pt.y, MK_LBUTTON);
            const bool inside = PtInRect(&kButton, pt) != FALSE;
            EXPECT_EQ(inside, (button->GetButtonState() & UISTATE_PUSHED) != 0) << c.what;
            EXPECT_NE(0u, button->GetButtonState() & UISTATE_CAPTURED) << c.what;
        }
        Mouse(WM_LBUTTONUP, c.release.x, c.release.y);
        EXPECT_EQ(c.clicks, Clicks()) << c.what;
        EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED)) << c.what;
    }
}

TEST_F(ButtonTest, APressThatAnotherWindowTakesTheMouseFromSendsNoClick)
{
    Mouse(WM_LBUTTONDOWN, 70, 40, MK_LBUTTON);
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
    SetCapture(other);
    EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
    ReleaseCapture();
    DestroyWindow(other);
    Mouse(WM_LBUTTONUP, 70, 40);
    EXPECT_EQ(0, Clicks());
}

TEST_F(ButtonTest, SpaceAndReturnClickAFocusedButtonThatTakesKeys)
{
    const struct {
        WPARAM key;
        bool keyboard;
        int clicks;
    } cases[] = {
        {VK_SPACE, true, 1},
        {VK_RETURN, true, 1},
        {'A', true, 0},
        {VK_SPACE, false, 0},
    };
    button->SetFocus();
    for (const auto& c : cases) {
        notes.Clear();
        button->SetKeyboardEnabled(c.keyboard);
        Send(WM_KEYDOWN, c.key);
        Send(WM_KEYUP, c.key);
        EXPECT_EQ(c.clicks, Clicks()) << c.key << " " << c.keyboard;
    }
    button->SetKeyboardEnabled(true);
    EXPECT_EQ(UIFLAG_TABSTOP | UIFLAG_SETCURSOR, button->GetControlFlags());
    button->SetEnabled(false);
    EXPECT_FALSE(button->Activate());
    EXPECT_EQ(UINT{UIFLAG_TABSTOP}, button->GetControlFlags());
    EXPECT_EQ(0, Clicks());
}

TEST_F(ButtonTest, AStateImageThatCannotBeLoadedGivesWayToTheNormalImageForGood)
{
    button->ApplyAttributeList("normalimage=\"res='115' restype='png'\" "
                               "hotimage=\"res='9999' restype='png'\" "
                               "pushedimage=\"res='117' restype='png'\"");
    Repaint();
    const DWORD normal = PixelAt(70, 40);
    ASSERT_NE(kWhite, normal);
    EXPECT_STREQ("res='9999' restype='png'", button->GetImage(TButtonImage::Hot))
        << "not tried before the button is hot";

    Mouse(WM_MOUSEMOVE, 70, 40);
    ASSERT_NE(0u, button->GetButtonState() & UISTATE_HOT);
    Repaint();
    EXPECT_EQ(normal, PixelAt(70, 40));
    EXPECT_STREQ("", button->GetImage(TButtonImage::Hot)) << "forgotten, so not tried again";

    Mouse(WM_LBUTTONDOWN, 70, 40, MK_LBUTTON);
    Repaint();
    EXPECT_NE(normal, PixelAt(70, 40)) << "the pushed image";
    Mouse(WM_LBUTTONUP, 70, 40);
}

TEST_F(ButtonTest, TheTextColourFollowsPushedThenHotThenFocused)
{
    button->ApplyAttributeList("text=\"MMMM\" textcolor=\"#FF000000\" hottextcolor=\"#FF00FF00\" "
                               "pushedtextcolor=\"#FF0000FF\" focusedtextcolor=\"#FFFF0000\"");
    const auto ink = [this] {
        Repaint();
        return InkColor(kButton, kWhite);
    };
    Manager().SetFocus(nullptr);  // the first paint gave it to the first tab stop
    EXPECT_EQ(0x000000u, ink());
    button->SetFocus();
    EXPECT_EQ(0xFF0000u, ink());
    Mouse(WM_MOUSEMOVE, 70, 40);
    EXPECT_EQ(0x00FF00u, ink());
    Mouse(WM_LBUTTONDOWN, 70, 40, MK_LBUTTON);
    EXPECT_EQ(0x0000FFu, ink());
    Mouse(WM_LBUTTONUP, 70, 40);
    button->SetEnabled(false);
    EXPECT_EQ(0u, button->GetButtonState() & ~UISTATE_DISABLED) << "disabling resets the state";
}

TEST_F(ButtonTest, AClickReceiverMayDestroyTheButton)
{
    root->SetDelayedDestroy(false);
    RemoveSender destroyer(root, "click");
    Manager().AddNotifier(&destroyer);
    Mouse(WM_LBUTTONDOWN, 70, 40, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 70, 40);
    EXPECT_EQ(0, root->GetCount());
    EXPECT_EQ(1, Clicks());
    Manager().RemoveNotifier(&destroyer);
}

}  // namespace
}  // namespace VeneerTest

// The multi-line text control on a real window: the links its mark-up draws, "link" on a
// release over one, the hot link under the mouse, plain text without links, and its size
// estimate.

#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/TextUI.h"

namespace VeneerTest {
namespace {

constexpr DWORD kWhite = 0xFFFFFF;

POINT Middle(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class TextTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        root->SetBkColor(0xFF000000 | kWhite);
        text = new CTextUI;
        text->SetName("t");
        text->ApplyAttributeList(
            "showhtml=\"true\" text=\"{a one}first{/a} and {a two}second{/a}\"");
        AddPlaced(root, text, RECT{0, 0, 200, 60});
        Attach(root);
        notes.Clear();
    }

    void Click(POINT down, POINT up)
    {
        Mouse(WM_LBUTTONDOWN, down.x, down.y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, up.x, up.y);
    }

    CContainerUI* root = nullptr;
    CTextUI* text = nullptr;
};

TEST_F(TextTest, ReleasingOverALinkSendsItsIndex)
{
    ASSERT_EQ(2, text->GetLinkCount());
    EXPECT_STREQ("one", text->GetLinkText(0));
    EXPECT_STREQ("two", text->GetLinkText(1));
    EXPECT_EQ(UINT{UIFLAG_SETCURSOR}, text->GetControlFlags());
    const POINT first = Middle(text->GetLinkRect(0));
    const POINT second = Middle(text->GetLinkRect(1));
    const POINT between = {(text->GetLinkRect(0).right + text->GetLinkRect(1).left) / 2, first.y};

    Click(first, second);
    Click(second, between);
    ASSERT_EQ((std::vector<std::string>{"t:link"}), notes.Of({"link"}));
    for (const TNotifyMsg& msg : notes.messages) {
        if (msg.type == "link") {
            EXPECT_EQ(WPARAM{1}, msg.wParam) << "the link under the release counts";
        }
    }

    text->SetEnabled(false);
    notes.Clear();
    Click(first, first);
    EXPECT_TRUE(notes.Of({"link"}).empty()) << "disabled";
    EXPECT_EQ(0u, text->GetControlFlags());
}

TEST_F(TextTest, TheLinkUnderTheMouseIsDrawnHot)
{
    Manager().SetLinkFontColor(0xFF0000FF);
    Manager().SetLinkHoverFontColor(0xFFFF0000);
    Repaint();
    const RECT second = text->GetLinkRect(1);
    EXPECT_EQ(0x0000FFu, InkColor(second, kWhite));
    Validate();
    Mouse(WM_MOUSEMOVE, Middle(second).x, Middle(second).y);
    RECT update = UpdateRect();
    EXPECT_FALSE(IsRectEmpty(&update)) << "entering a link repaints";
    Paint();
    EXPECT_EQ(0xFF0000u, InkColor(second, kWhite));
    EXPECT_EQ(0x0000FFu, InkColor(text->GetLinkRect(0), kWhite));
    Mouse(WM_MOUSEMOVE, Middle(second).x + 1, Middle(second).y);
    update = UpdateRect();
    EXPECT_TRUE(IsRectEmpty(&update)) << "moving within it does not";

    // A link is hot only under the mouse, never through the place of a link drawn before.
    Mouse(WM_MOUSEMOVE, 199, 59);
    text->SetText("{a two}x{/a}");
    Repaint();
    ASSERT_EQ(1, text->GetLinkCount());
    Mouse(WM_MOUSEMOVE, Middle(second).x, Middle(second).y);
    Repaint();
    EXPECT_EQ(0x0000FFu, InkColor(text->GetLinkRect(0), kWhite));
}

TEST_F(TextTest, AtMostEightLinksAreKeptAndPlainTextHasNone)
{
    std::string many;
    for (int i = 0; i < 10; ++i)
        many += "{a " + std::to_string(i) + "}L{/a} ";
    text->SetText(many.c_str());
    Repaint();
    EXPECT_EQ(CTextUI::kMaxLinks, text->GetLinkCount());
    EXPECT_STREQ("7", text->GetLinkText(7));

    // Links of earlier mark-up must not answer once the text is drawn plain.
    const POINT link = Middle(text->GetLinkRect(0));
    text->SetShowHtml(false);
    Repaint();
    EXPECT_EQ(0, text->GetLinkCount());
    EXPECT_EQ(0u, text->GetControlFlags());
    Click(link, link);
    EXPECT_TRUE(notes.Of({"link"}).empty());
}

TEST_F(TextTest, TheSizeEstimateMeasuresTheTextInTheAvailableWidth)
{
    CTextUI measured;
    root->Add(&measured);
    measured.ApplyAttributeList("showhtml=\"true\" text=\"one\"");
    const SIZE one = measured.EstimateSize(SIZE{200, 0});
    measured.SetText("one{n}two");
    const SIZE two = measured.EstimateSize(SIZE{200, 0});
    EXPECT_GT(one.cy, 0);
    EXPECT_EQ(2 * one.cy, two.cy) << "two lines";
    EXPECT_EQ(one.cx, two.cx);
    EXPECT_LT(one.cx, 100) << "as wide as the text, with the padding";

    measured.ApplyAttributeList("textpadding=\"2,5,2,7\"");
    EXPECT_EQ(two.cy + 12, measured.EstimateSize(SIZE{200, 0}).cy);
    measured.ApplyAttributeList("height=\"40\"");
    EXPECT_EQ(40, measured.EstimateSize(SIZE{200, 0}).cy);

    measured.ApplyAttributeList("showhtml=\"false\" height=\"0\" textpadding=\"0,0,0,0\" "
                                "text=\"aaa bbb ccc ddd eee\"");
    const SIZE wide = measured.EstimateSize(SIZE{500, 0});
    const SIZE narrow = measured.EstimateSize(SIZE{40, 0});
    EXPECT_GT(narrow.cy, 2 * wide.cy) << "plain text broken at words";
    measured.ApplyAttributeList("width=\"500\"");
    EXPECT_EQ(wide.cy, measured.EstimateSize(SIZE{40, 0}).cy) << "the fixed width when wider";
    root->SetAutoDestroy(false);
    root->Remove(&measured);
}

}  // namespace
}  // namespace VeneerTest

// The layouts on a real window, dressed by skin attributes: box layouts with inset and
// child padding, the separator drag, tiles, and the tab layout's pages and selection.

#include <string>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/controls/TileLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"

namespace VeneerTest {
namespace {

CControlUI* Leaf(const char* name, const char* attributes)
{
    auto* leaf = new CControlUI;
    leaf->SetName(name);
    leaf->ApplyAttributeList(attributes);
    return leaf;
}

class LayoutTest : public ControlTreeTest {};

TEST_F(LayoutTest, BoxLayoutsKeepTheInsetAndSpaceTheirChildren)
{
    // Inner area 5..193 x 6..92; for the last adjustable child the spacing counts twice.
    const struct {
        const char* name;
        CContainerUI* layout;
        const char* first;
        const char* last;
        RECT expected[3];
    } cases[] = {
        {"vertical",
         new CVerticalLayoutUI,
         "height=\"20\"",
         "height=\"10\"",
         {{5, 6, 193, 26}, {5, 30, 193, 74}, {5, 78, 193, 88}}},
        {"horizontal",
         new CHorizontalLayoutUI,
         "width=\"20\"",
         "width=\"10\"",
         {{5, 6, 25, 92}, {29, 6, 175, 92}, {179, 6, 189, 92}}},
    };
    for (const auto& c : cases) {
        c.layout->ApplyAttributeList("inset=\"5,6,7,8\" childpadding=\"4\"");
        c.layout->Add(Leaf("first", c.first));
        c.layout->Add(Leaf("middle", ""));
        c.layout->Add(Leaf("last", c.last));
        Attach(c.layout);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c.expected[i], c.layout->GetItemAt(i)->GetPos()) << c.name << " " << i;
    }
}

TEST_F(LayoutTest, AnInsetFarBeyondTheScreenPushesChildrenToTheEdgeOfTheRange)
{
    for (CContainerUI* layout : {static_cast<CContainerUI*>(new CVerticalLayoutUI),
                                 static_cast<CContainerUI*>(new CHorizontalLayoutUI),
                                 static_cast<CContainerUI*>(new CTileLayoutUI)}) {
        layout->ApplyAttributeList("inset=\"2147483647,2147483647,0,0\"");
        layout->Add(Leaf("leaf", "width=\"10\" height=\"10\""));
        CContainerUI* root = new CContainerUI;
        AddPlaced(root, layout, RECT{10, 10, 110, 90});
        Attach(root);
        const RECT rc = layout->GetItemAt(0)->GetPos();
        EXPECT_GE(rc.left, 0) << layout->GetClass() << ": not wrapped round";
        EXPECT_GE(rc.top, 0) << layout->GetClass();
    }
}

TEST_F(LayoutTest, TilesFillRowsOfTheColumnsThatFit)
{
    auto* tiles = new CTileLayoutUI;
    tiles->ApplyAttributeList("itemsize=\"60,30\"");
    for (int i = 0; i < 4; ++i)
        tiles->Add(Leaf("tile", ""));
    Attach(tiles);
    EXPECT_EQ((RECT{0, 0, 66, 30}), tiles->GetItemAt(0)->GetPos()) << "three columns of 66";
    EXPECT_EQ((RECT{132, 0, 198, 30}), tiles->GetItemAt(2)->GetPos());
    EXPECT_EQ((RECT{0, 30, 66, 60}), tiles->GetItemAt(3)->GetPos());
    tiles->ApplyAttributeList("itemsize=\"0,0\" columns=\"0\"");
    EXPECT_EQ(1, tiles->GetColumns()) << "columns below 1 are ignored";
}

// A band 4 high at the bottom of a layout 50 high, over a white filler.
class SeparatorTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        auto* root = new CVerticalLayoutUI;
        top = new CVerticalLayoutUI;
        top->ApplyAttributeList("height=\"50\" sepheight=\"4\" bkcolor=\"#FFFFFFFF\"");
        root->Add(top);
        root->Add(Leaf("filler", "bkcolor=\"#FFFFFFFF\""));
        Attach(root);
    }

    CVerticalLayoutUI* top = nullptr;
};

TEST_F(SeparatorTest, TheBandFollowsTheMouseAtOnceOrOnRelease)
{
    EXPECT_EQ(UINT{UIFLAG_SETCURSOR}, top->GetControlFlags());
    EXPECT_EQ((RECT{0, 46, kWidth, 50}), top->GetSeparatorRect());
    for (bool immediate : {false, true}) {
        top->SetSepImmediateMode(immediate);
        top->SetFixedHeight(50);
        Paint();
        Mouse(WM_LBUTTONDOWN, 100, 48);
        Mouse(WM_MOUSEMOVE, 100, 70, MK_LBUTTON);
        Paint();
        if (immediate) {
            EXPECT_EQ((RECT{0, 0, kWidth, 72}), top->GetPos()) << "follows at once";
        } else {
            EXPECT_EQ((RECT{0, 0, kWidth, 50}), top->GetPos()) << "waits for the release";
            EXPECT_EQ((RECT{0, 68, kWidth, 72}), top->GetSeparatorRect(true));
            EXPECT_GT(0x808080u, PixelAt(100, 70)) << "the band is drawn dark where it goes";
        }
        Mouse(WM_LBUTTONUP, 100, 70);
        Paint();
        EXPECT_EQ((RECT{0, 0, kWidth, 72}), top->GetPos()) << immediate;
        EXPECT_EQ(0xFFFFFFu, PixelAt(100, 70)) << "no band once released";
    }
    top->SetEnabled(false);
    EXPECT_EQ(0u, top->GetControlFlags());
}

// Pages a, b, c, each holding a tab stop.
class TabLayoutTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        tab = new CTabLayoutUI;
        for (const char* name : {"a", "b", "c"})
            tab->Add(Page(name));
        Attach(tab);
        notes.Clear();
    }

    CContainerUI* Page(const std::string& name)
    {
        auto* page = new CVerticalLayoutUI;
        page->SetName(name.c_str());
        page->Add(new ProbeControl((name + ".field").c_str(), &log, UIFLAG_TABSTOP));
        return page;
    }

    // The visible pages, and the selection.
    std::string Shown() const
    {
        std::string shown;
        for (int i = 0; i < tab->GetCount(); ++i) {
            if (tab->GetItemAt(i)->IsVisible())
                shown += tab->GetItemAt(i)->GetName().GetData();
        }
        return shown + "@" + std::to_string(tab->GetCurSel());
    }

    CTabLayoutUI* tab = nullptr;
};

TEST_F(TabLayoutTest, SelectingAPageShowsOnlyItFocusesIntoItAndTellsTheWindow)
{
    EXPECT_EQ("a@0", Shown()) << "the first page added is selected";
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_EQ("c@2", Shown());
    ASSERT_FALSE(notes.entries.empty());
    EXPECT_EQ("root:tabselect", notes.entries.back()) << "last, after the focus moved";
    EXPECT_EQ(2u, notes.messages.back().wParam);
    EXPECT_EQ(0, notes.messages.back().lParam);
    Paint();
    EXPECT_EQ((RECT{0, 0, kWidth, kHeight}), tab->GetItemAt(2)->GetPos());
    EXPECT_STREQ("c.field", Manager().GetFocus()->GetName()) << "the page's first tab stop";

    notes.Clear();
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_FALSE(tab->SelectItem(-1));
    EXPECT_TRUE(notes.entries.empty());
    EXPECT_EQ("c@2", Shown());

    tab->ApplyAttributeList("selectedid=\"1\"");
    EXPECT_EQ("b@1", Shown());
}

TEST_F(TabLayoutTest, TheSelectionFollowsItsPageAsPagesComeAndGo)
{
    tab->SelectItem(1);
    EXPECT_EQ("b@1", Shown());
    tab->AddAt(Page("d"), 0);
    EXPECT_EQ("b@2", Shown()) << "inserted before the selection, and hidden";
    tab->AddAt(Page("e"), 4);
    EXPECT_EQ("b@2", Shown());
    tab->RemoveAt(0);
    EXPECT_EQ("b@1", Shown());
    tab->RemoveAt(1);
    EXPECT_EQ("a@0", Shown()) << "the selected page removed: the first one is selected";
    Paint();
    EXPECT_EQ((RECT{0, 0, kWidth, kHeight}), tab->GetItemAt(0)->GetPos());
    tab->RemoveAll();
    EXPECT_EQ("@-1", Shown());
}

}  // namespace
}  // namespace VeneerTest

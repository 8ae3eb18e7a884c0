// Lists on a real window: selection by keys, clicks, the wheel and code with the
// notifications each gives, the selection kept in step as items come, move, hide and go,
// scrolling a selected item into view, the item backgrounds of the list's style, the
// header with its columns, and the text items.

#include <functional>
#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ListContainerElementUI.h"
#include "ui/controls/ListElementUI.h"
#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/ScrollBarUI.h"

namespace VeneerTest {
namespace {

constexpr int kRow = 20;  // item height

class ListTest : public ControlTreeTest {
protected:
    // A list over the whole window, header hidden, with count items of kRow pixels named
    // i0, i1 ...; it is the only child of the root.
    void Build(int count, const char* attributes = "header=\"hidden\"")
    {
        list = new Poisoned<CListUI>;
        list->SetName("list");
        list->ApplyAttributeList(attributes);
        for (int i = 0; i < count; ++i)
            list->Add(Item(("i" + std::to_string(i)).c_str()));
        root = new CContainerUI;
        root->Add(list);
        Attach(root);
        notes.Clear();
    }

    static CListContainerElementUI* Item(const char* name, const char* attributes = "")
    {
        auto* item = new Poisoned<CListContainerElementUI>;
        item->SetName(name);
        item->SetFixedHeight(kRow);
        item->ApplyAttributeList(attributes);
        return item;
    }

    CListContainerElementUI* At(int index) const
    {
        return static_cast<CListContainerElementUI*>(list->GetItemAt(index));
    }

    // The index of each item that thinks itself selected, then the list's selection.
    std::string Selection() const
    {
        std::string selected;
        for (int i = 0; i < list->GetCount(); ++i) {
            if (At(i)->IsSelected())
                selected += std::to_string(i) + " ";
        }
        return selected + "cur " + std::to_string(list->GetCurSel());
    }

    void Key(WPARAM key) { Send(WM_KEYDOWN, key); }
    void Click(int y, UINT down = WM_LBUTTONDOWN)
    {
        Mouse(down, 50, y, MK_LBUTTON);
        Mouse(down == WM_RBUTTONDOWN ? WM_RBUTTONUP : WM_LBUTTONUP, 50, y);
    }

    // "sender:type wParam lParam" of the notifications of some types.
    std::vector<std::string> Notes(std::initializer_list<const char*> types) const
    {
        std::vector<std::string> kept;
        for (size_t i = 0; i < notes.messages.size(); ++i) {
            for (const char* type : types) {
                const TNotifyMsg& msg = notes.messages[i];
                if (msg.type == type)
                    kept.push_back(notes.entries[i] + " " + std::to_string(msg.wParam) + " " +
                                   std::to_string(msg.lParam));
            }
        }
        return kept;
    }

    CContainerUI* root = nullptr;
    CListUI* list = nullptr;
};

TEST_F(ListTest, KeysMoveTheSelectionOverSelectableItemsOnly)
{
    Build(5);
    At(2)->SetEnabled(false);
    At(4)->SetEnabled(false);
    list->SetFocus();
    const struct {
        WPARAM key;
        const char* selection;
        std::vector<std::string> notes;
    } steps[] = {
        {VK_DOWN, "0 cur 0", {"list:itemselect 0 -1"}},  // from no selection: the first
        {VK_UP, "0 cur 0", {}},                          // the first stays selected
        {VK_DOWN, "1 cur 1", {"list:itemselect 1 0"}},
        {VK_DOWN, "3 cur 3", {"list:itemselect 3 1"}},  // over the disabled one
        {VK_END, "cur -1", {}},                         // the last is disabled
        {VK_HOME, "0 cur 0", {"list:itemselect 0 -1"}},
        {VK_DOWN, "1 cur 1", {"list:itemselect 1 0"}},
        {VK_END, "cur -1", {}},
        {VK_UP, "0 cur 0", {"list:itemselect 0 -1"}},  // from nothing, back to the first
    };
    for (const auto& step : steps) {
        notes.Clear();
        Key(step.key);
        EXPECT_EQ(step.selection, Selection()) << "key " << step.key;
        EXPECT_EQ(step.notes, Notes({"itemselect"})) << "key " << step.key;
    }
    EXPECT_EQ(At(0), Manager().GetFocus()) << "keys hand the focus to the selected item";
}

TEST_F(ListTest, AClickSendsItemClickThenItemSelectAndAgainOnlyItemClick)
{
    Build(3);
    const struct {
        int row;
        UINT button;
        std::vector<std::string> notes;
    } clicks[] = {
        {1, WM_LBUTTONDOWN, {"i1:itemclick 0 0", "list:itemselect 1 -1"}},
        {1, WM_LBUTTONDOWN, {"i1:itemclick 0 0"}},
        {2, WM_RBUTTONDOWN, {"i2:itemclick 0 0", "list:itemselect 2 1"}},
        {0, WM_LBUTTONDBLCLK, {"i0:itemactivate 0 0"}},  // activates, selects nothing
    };
    for (const auto& click : clicks) {
        notes.Clear();
        Click(click.row * kRow + 5, click.button);
        EXPECT_EQ(click.notes, Notes({"itemclick", "itemselect", "itemactivate"}))
            << "row " << click.row;
    }
    EXPECT_EQ("2 cur 2", Selection());
}

TEST_F(ListTest, ReturnOrADoubleClickActivatesAnEnabledItem)
{
    Build(3);
    Click(kRow + 5);  // i1 selected, and focused
    const struct {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> notes;
    } cases[] = {
        {"Return on the item", [&] { Key(VK_RETURN); }, {"i1:itemactivate"}},
        {"Return on the list",
         [&] {
             list->SetFocus();
             Key(VK_RETURN);
         },
         {"i1:itemactivate"}},
        {"double click", [&] { Mouse(WM_LBUTTONDBLCLK, 50, 5); }, {"i0:itemactivate"}},
        {"double click, disabled",
         [&] {
             At(2)->SetEnabled(false);
             Mouse(WM_LBUTTONDBLCLK, 50, 45);
         },
         {}},
        {"hidden",
         [&] {
             At(1)->SetVisible(false);
             EXPECT_FALSE(At(1)->Activate());
         },
         {}},
    };
    for (const auto& c : cases) {
        notes.Clear();
        c.act();
        Mouse(WM_LBUTTONUP, 50, 5);
        EXPECT_EQ(c.notes, notes.Of({"itemactivate"})) << c.name;
    }
}

TEST_F(ListTest, TheSelectionFollowsItsItemAsItemsComeMoveHideAndGo)
{
    Build(5);
    list->SetDelayedDestroy(false);
    const struct {
        const char* name;
        std::function<void()> edit;
        const char* selection;
    } steps[] = {
        {"select i2", [&] { list->SelectItem(2); }, "2 cur 2"},
        {"insert before it", [&] { list->AddAt(Item("new"), 0); }, "3 cur 3"},
        {"move it to the end", [&] { list->SetItemIndex(At(3), 5); }, "5 cur 5"},
        {"move another over it", [&] { list->SetItemIndex(At(0), 5); }, "4 cur 4"},
        {"remove one before it", [&] { list->RemoveAt(0); }, "3 cur 3"},
        {"remove it: the one in its place", [&] { list->RemoveAt(3); }, "3 cur 3"},
        {"hide it", [&] { At(3)->SetVisible(false); }, "cur -1"},
        {"a hidden item is not selectable", [&] { list->SelectItem(3); }, "cur -1"},
        {"an item selected by itself", [&] { At(1)->Select(true); }, "1 cur 1"},
        {"and deselected by itself", [&] { At(1)->Select(false); }, "cur -1"},
        {"an item selected before it joins", [&] { list->Add(Item("pre", "selected=\"true\"")); },
         "4 cur 4"},
        {"disabling keeps it, the next selection clears it",
         [&] {
             At(4)->SetEnabled(false);
             list->SelectItem(0);
         },
         "0 cur 0"},
        {"out of range", [&] { list->SelectItem(9); }, "cur -1"},
        {"remove all",
         [&] {
             list->SelectItem(1);
             list->RemoveAll();
         },
         "cur -1"},
    };
    for (const auto& step : steps) {
        step.edit();
        EXPECT_EQ(step.selection, Selection()) << step.name;
        for (int i = 0; i < list->GetCount(); ++i)
            EXPECT_EQ(i, At(i)->GetIndex()) << step.name;
    }
}

TEST_F(ListTest, AnItemTheListNoLongerOwnsForgetsIt)
{
    Build(2);
    list->SetAutoDestroy(false);
    EXPECT_FALSE(list->IsAutoDestroy());
    EXPECT_TRUE(list->GetList() != nullptr && !list->GetList()->IsAutoDestroy()) << "the body's";
    CListContainerElementUI* kept = At(1);
    EXPECT_EQ(static_cast<IListOwnerUI*>(list), kept->GetOwner());
    ASSERT_TRUE(list->Remove(kept));
    EXPECT_EQ(nullptr, kept->GetOwner());
    EXPECT_FALSE(list->Remove(kept));
    EXPECT_FALSE(list->Add(At(0))) << "an item is held once";
    EXPECT_EQ(0, At(0)->GetIndex());
    kept->SetManager(nullptr, nullptr, false);
    delete kept;
}

TEST_F(ListTest, TheWheelScrollsOrWithScrollSelectMovesTheSelection)
{
    Build(10, "header=\"hidden\" vscrollbar=\"true\"");
    const int line = Manager().GetDefaultFontEntry()->metrics.tmHeight + 8;
    auto wheel = [&](int delta) { ScreenMouse(WM_MOUSEWHEEL, 50, 50, MAKEWPARAM(0, delta)); };
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(line, list->GetScrollPos().cy);
    EXPECT_EQ(-line, At(0)->GetPos().top) << "the items move";
    wheel(WHEEL_DELTA);
    EXPECT_EQ(0, list->GetScrollPos().cy);

    list->SetAttribute("scrollselect", "true");
    Manager().SetFocus(nullptr);
    wheel(-WHEEL_DELTA);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ("1 cur 1", Selection());
    EXPECT_EQ(nullptr, Manager().GetFocus()) << "only keys move the focus with the selection";
    wheel(WHEEL_DELTA);
    EXPECT_EQ("0 cur 0", Selection());
    EXPECT_EQ(0, list->GetScrollPos().cy);
}

TEST_F(ListTest, ASelectedItemIsScrolledIntoView)
{
    Build(10, "header=\"hidden\" vscrollbar=\"true\" inset=\"0,4,0,6\"");
    // The body shows 4..94, and item i lies at 4 + 20 i unscrolled.
    const struct {
        int select;
        int scrolled;
    } steps[] = {
        {9, 110},  // its bottom (204) comes to the area's bottom
        {8, 110},  // already inside
        {2, 40},   // its top comes to the area's top
        {0, 0},
    };
    for (const auto& step : steps) {
        list->SelectItem(step.select);
        EXPECT_EQ(step.scrolled, list->GetScrollPos().cy) << "item " << step.select;
    }
    list->SelectItem(-1);
    list->EnsureVisible(9);
    EXPECT_EQ(0, list->GetScrollPos().cy) << "nothing without a selection";
}

TEST_F(ListTest, ItemsPaintTheBackgroundOfTheirStateWithAlternateRows)
{
    Build(5, "header=\"hidden\" bkcolor=\"#FFFFFFFF\" itembkcolor=\"#FF0000FF\" itemaltbk=\"true\" "
             "itemselectedbkcolor=\"#FF00FF00\" itemhotbkcolor=\"FFFF0000\" "
             "itemdisabledbkcolor=\"#FF808080\" itemlinecolor=\"#FF000000\"");
    list->SelectItem(2);
    At(3)->SetEnabled(false);
    Mouse(WM_MOUSEMOVE, 50, 4 * kRow + 5);  // item 4 is hot
    Repaint();
    const DWORD expected[] = {0x0000FF, 0xFFFFFF, 0x00FF00, 0x808080, 0xFF0000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i], PixelAt(50, i * kRow + 5)) << "row " << i;
        EXPECT_EQ(0x000000u, PixelAt(50, i * kRow + kRow - 1)) << "line under row " << i;
    }
    EXPECT_EQ(UINT{UISTATE_HOT}, At(4)->GetButtonState());
    Mouse(WM_MOUSEMOVE, 50, 5);
    EXPECT_EQ(0u, At(4)->GetButtonState());
}

TEST_F(ListTest, TheHeaderIsHiddenOnlyByTheValueHidden)
{
    const struct {
        const char* value;
        bool shown;
    } cases[] = {{"hidden", false}, {"Hidden", true}, {"shown", true}, {"", true}};
    for (const auto& c : cases) {
        Build(1, ("header=\"" + std::string(c.value) + "\"").c_str());
        CListHeaderUI* header = list->GetHeader();
        EXPECT_EQ(c.shown, header->IsVisible()) << c.value;
        const int top = c.shown ? header->GetPos().bottom : 0;
        EXPECT_EQ(c.shown ? Manager().GetDefaultFontEntry()->metrics.tmHeight + 6 : 0, top)
            << c.value << ": an empty header is one line of the default font high";
        EXPECT_EQ(top, At(0)->GetPos().top) << c.value;
    }
}

class ListHeaderTest : public ListTest {
protected:
    // Two columns of 60 and 90 pixels in a header of the skin's, given after the list's
    // attributes as a skin gives them.
    void BuildWithColumns(const char* attributes)
    {
        Build(0, attributes);
        auto* header = new CListHeaderUI;
        header->SetAttribute("height", "24");
        ASSERT_TRUE(list->Add(header));
        EXPECT_EQ(header, list->GetHeader()) << "an empty header gives way";
        for (const char* width : {"60", "90"}) {
            auto* column = new CListHeaderItemUI;
            column->ApplyAttributeList(
                ("width=\"" + std::string(width) + "\" sepwidth=\"4\" text=\"col\"").c_str());
            ASSERT_TRUE(list->Add(column));
        }
        EXPECT_EQ(0, list->GetCount()) << "columns are no items";
        Repaint();
    }
};

TEST_F(ListHeaderTest, HeaderItemsGiveTheColumnsShownOrHidden)
{
    for (const char* header : {"", "hidden"}) {
        BuildWithColumns(("header=\"" + std::string(header) + "\"").c_str());
        const TListItemStyle& style = *list->GetListInfo();
        EXPECT_EQ(2, style.columns) << header;
        EXPECT_EQ((RECT{0, 0, 60, 24}), style.columnRects[0]) << header;
        EXPECT_EQ((RECT{60, 0, 150, 24}), style.columnRects[1]) << header;
        EXPECT_EQ(header[0] == '\0', list->GetHeader()->IsVisible())
            << "the list's attribute holds for the header that came after it";
        CListHeaderUI spare;
        EXPECT_FALSE(list->Add(&spare)) << "a header with columns stays";
    }
    EXPECT_FALSE(list->GetHeader()->GetItemAt(0)->IsVisible()) << "hidden again after layout";
}

TEST_F(ListHeaderTest, AColumnIsClickedAndDraggedWiderByItsSeparator)
{
    BuildWithColumns("");
    Click(12);
    EXPECT_EQ((std::vector<std::string>{":headerclick"}), notes.Of({"headerclick", "click"}));
    notes.Clear();
    Mouse(WM_LBUTTONDOWN, 58, 12, MK_LBUTTON);  // on the first column's separator
    Mouse(WM_MOUSEMOVE, 78, 12, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 78, 12);
    Paint();
    EXPECT_TRUE(notes.Of({"headerclick"}).empty()) << "a drag is no click";
    EXPECT_EQ((RECT{0, 0, 80, 24}), list->GetListInfo()->columnRects[0]);
    EXPECT_EQ((RECT{80, 0, 170, 24}), list->GetListInfo()->columnRects[1]);
}

TEST_F(ListHeaderTest, TheHeaderScrollsSidewaysWithTheBody)
{
    BuildWithColumns("hscrollbar=\"true\"");
    list->GetHorizontalScrollBar()->SetScrollRange(100);
    list->LineRight();
    EXPECT_EQ(8, list->GetScrollPos().cx);
    EXPECT_EQ((RECT{-8, 0, 52, 24}), list->GetHeader()->GetItemAt(0)->GetPos());
    EXPECT_EQ((RECT{52, 0, 142, 24}), list->GetListInfo()->columnRects[1]);
    list->NeedUpdate();
    Paint();
    EXPECT_EQ((RECT{-8, 0, 52, 24}), list->GetListInfo()->columnRects[0]) << "laid out again";
}

TEST_F(ListHeaderTest, TextItemsDrawEachColumnsTextInItsColumnAndSendLinks)
{
    BuildWithColumns("header=\"hidden\" bkcolor=\"#FFFFFFFF\" itemtextcolor=\"#FF000000\" "
                     "itemshowhtml=\"true\"");
    auto* row = new CListTextElementUI;
    row->SetName("row");
    row->SetFixedHeight(kRow);
    row->SetText(0, "{a}go{/a}");
    row->SetText(1, "Wide");
    list->Add(row);
    Repaint();
    EXPECT_EQ("Wide", std::string(row->GetText(1).GetData()));
    const RECT first = InkBox(RECT{0, 0, kWidth, kRow}, 0xFFFFFF);
    const RECT second = InkBox(RECT{60, 0, kWidth, kRow}, 0xFFFFFF);
    EXPECT_LT(first.left, 60);
    EXPECT_GE(second.left, 60) << "the second text starts in the second column";
    EXPECT_LE(second.right, 150);
    ASSERT_EQ(1, row->GetLinkCount());

    notes.Clear();
    Mouse(WM_LBUTTONDOWN, first.left + 2, kRow / 2, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, first.left + 2, kRow / 2);
    EXPECT_EQ((std::vector<std::string>{"row:link 0 0"}), Notes({"link"}));
}

TEST_F(ListTest, ItemAttributesFillTheStyleEveryItemDrawsWith)
{
    Build(0, "itemfont=\"2\" itemalign=\"right\" itemendellipsis=\"true\" "
             "itemtextpadding=\"1,2,3,4\" "
             "itemtextcolor=\"FF112233\" itemhotimage=\"hot.png\" itemshowhtml=\"true\" "
             "multiexpanding=\"true\" scrollselect=\"true\"");
    const TListItemStyle& style = *list->GetListInfo();
    EXPECT_EQ(2, style.font);
    EXPECT_EQ(UINT{DT_RIGHT | DT_VCENTER | DT_END_ELLIPSIS}, style.textStyle);
    EXPECT_EQ((RECT{1, 2, 3, 4}), style.textPadding);
    EXPECT_EQ(0xFF112233u, style.textColor) << "the # is optional";
    EXPECT_STREQ("hot.png", style.hotImage);
    EXPECT_TRUE(style.showHtml);
    EXPECT_TRUE(style.multiExpandable);
    EXPECT_TRUE(list->IsScrollSelect());
    list->SetAttribute("itemalign", "center");
    EXPECT_EQ(UINT{DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS}, style.textStyle);
    EXPECT_EQ(0xFFC1E3FFu, style.selectedBkColor) << "defaults stay";
    EXPECT_EQ(list, list->GetInterface("List"));
    EXPECT_EQ(static_cast<IListUI*>(list), list->GetInterface("IList"));
    EXPECT_EQ(UINT{UIFLAG_TABSTOP}, list->GetControlFlags());
}

// Runs a handler on every notification of one type.
class OnNotification : public INotifyUI {
public:
    OnNotification(const char* type, std::function<void(TNotifyMsg&)> handler)
        : m_type(type), m_handler(std::move(handler))
    {
    }
    void Notify(TNotifyMsg& msg) override
    {
        if (msg.type == m_type.c_str())
            m_handler(msg);
    }

private:
    std::string m_type;
    std::function<void(TNotifyMsg&)> m_handler;
};

TEST_F(ListTest, ReceiversMayDestroyTheItemOrTheListAtEveryNotification)
{
    const struct {
        const char* type;
        bool list;  // the list is destroyed, else the item that sent it
    } cases[] = {{"itemclick", false},
                 {"itemactivate", false},
                 {"itemclick", true},
                 {"itemselect", true},
                 {"itemactivate", true}};
    for (const auto& c : cases) {
        Build(3);
        root->SetDelayedDestroy(false);
        list->SetDelayedDestroy(false);
        OnNotification destroyer(c.type, [&](TNotifyMsg& msg) {
            if (c.list)
                root->Remove(list);
            else
                list->Remove(msg.sender);
        });
        Manager().AddNotifier(&destroyer);
        Click(kRow + 5);
        Mouse(WM_LBUTTONDBLCLK, 50, 5);
        Mouse(WM_LBUTTONUP, 50, 5);
        Send(WM_KEYDOWN, VK_DOWN);
        Send(WM_KEYDOWN, VK_RETURN);
        Manager().RemoveNotifier(&destroyer);
        Repaint();
        EXPECT_EQ(c.list ? 0 : 1, root->GetCount()) << c.type;
    }
}

}  // namespace
}  // namespace VeneerTest

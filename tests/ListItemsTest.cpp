// The item list that lists and combos share, without a window: the items' indexes, owner
// and the selection kept in step as items come, go and move, what it refuses, and the
// items its holder keeps.

#include <gtest/gtest.h>

#include <string>

#include "ui/controls/ListElementUI.h"
#include "ui/controls/ListItems.h"
#include "ui/core/ControlWatch.h"

namespace VeneerTest {
namespace {

using namespace Veneer;

// The least owner: its selection is its item list's, as the list's and the combo's are.
class CFakeOwner : public CControlUI, public IListOwnerUI {
public:
    explicit CFakeOwner(bool autoDestroy) { m_holder.SetAutoDestroy(autoDestroy); }

    void* GetInterface(const char* name) override
    {
        if (std::string(name) == "IListOwner")
            return static_cast<IListOwnerUI*>(this);
        return CControlUI::GetInterface(name);
    }
    TListItemStyle* GetListInfo() override { return &m_style; }
    int GetCurSel() const override { return m_list.GetCurSel(); }
    bool SelectItem(int index, bool) override
    {
        if (index == m_list.GetCurSel())
            return true;
        CControlWatch self(this);
        return m_list.Select(self, index) != nullptr;
    }
    void DoEvent(TUIEvent& event) override { CControlUI::DoEvent(event); }

    CContainerUI m_holder;
    CListItems m_list{m_holder, *this};
    TListItemStyle m_style;
};

CListLabelElementUI* Item(const char* name)
{
    auto* item = new CListLabelElementUI;
    item->SetName(name);
    return item;
}

// Owner of four items, a0 .. a3, with a2 selected.
class ListItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(CListItems::TChange::Done,
                      owner.m_list.Insert(Item(("a" + std::to_string(i)).c_str()), i));
        ASSERT_TRUE(owner.SelectItem(2, false));
    }

    IListItemUI* At(int index) const { return AsListItem(owner.m_holder.GetItemAt(index)); }

    // The items' names in order; each item must know its index and its owner.
    std::string Names()
    {
        std::string names;
        for (int i = 0; i < owner.m_holder.GetCount(); ++i) {
            EXPECT_EQ(i, At(i)->GetIndex()) << "item " << i;
            EXPECT_EQ(static_cast<IListOwnerUI*>(&owner), At(i)->GetOwner()) << "item " << i;
            names += owner.m_holder.GetItemAt(i)->GetName().GetData();
            names += At(i)->IsSelected() ? "* " : " ";
        }
        return names;
    }

    CFakeOwner owner{true};
};

TEST_F(ListItemsTest, IndexesAndTheSelectionFollowTheItemsAsTheyComeGoAndMove)
{
    enum class Op { Insert, Remove, Move };
    struct Case {
        Op op;
        int a, b;  // insert at a; remove a; move a to b
        CListItems::TChange change;
        const char* names;
        int curSel;
    };
    using C = CListItems::TChange;
    const Case cases[] = {
        {Op::Insert, 0, 0, C::Done, "n a0 a1 a2* a3 ", 3},
        {Op::Insert, 2, 0, C::Done, "a0 a1 n a2* a3 ", 3},
        {Op::Insert, 3, 0, C::Done, "a0 a1 a2* n a3 ", 2},
        {Op::Insert, 4, 0, C::Done, "a0 a1 a2* a3 n ", 2},
        {Op::Remove, 0, 0, C::Done, "a1 a2* a3 ", 1},
        {Op::Remove, 3, 0, C::Done, "a0 a1 a2* ", 2},
        {Op::Remove, 2, 0, C::SelectionLost, "a0 a1 a3 ", -1},
        {Op::Move, 2, 0, C::Done, "a2* a0 a1 a3 ", 0},
        {Op::Move, 0, 3, C::Done, "a1 a2* a3 a0 ", 1},
        {Op::Move, 3, 0, C::Done, "a3 a0 a1 a2* ", 3},
        {Op::Move, 1, 3, C::Done, "a0 a2* a3 a1 ", 1},
        {Op::Move, 2, 3, C::Done, "a0 a1 a3 a2* ", 3},
    };
    for (const Case& c : cases) {
        owner.m_list.RemoveAll();
        SetUp();
        const std::string label = std::to_string(static_cast<int>(c.op)) + " " +
                                  std::to_string(c.a) + " " + std::to_string(c.b);
        switch (c.op) {
        case Op::Insert:
            EXPECT_EQ(c.change, owner.m_list.Insert(Item("n"), c.a)) << label;
            break;
        case Op::Remove:
            EXPECT_EQ(c.change, owner.m_list.RemoveAt(c.a)) << label;
            break;
        case Op::Move:
            EXPECT_TRUE(owner.m_list.Move(owner.m_holder.GetItemAt(c.a), c.b)) << label;
            break;
        }
        EXPECT_EQ(c.names, Names()) << label;
        EXPECT_EQ(c.curSel, owner.GetCurSel()) << label;
    }
}

TEST_F(ListItemsTest, RefusedItemsAndMovesChangeNothing)
{
    CListLabelElementUI* stranger = Item("n");
    for (int index : {-1, 5})
        EXPECT_EQ(CListItems::TChange::Refused, owner.m_list.Insert(stranger, index)) << index;
    EXPECT_EQ(nullptr, stranger->GetOwner()) << "a refused item is never touched";
    EXPECT_EQ(CListItems::TChange::Refused, owner.m_list.Insert(nullptr, 0));
    EXPECT_EQ(CListItems::TChange::Refused, owner.m_list.Insert(owner.m_holder.GetItemAt(1), 0))
        << "an item already there";
    EXPECT_EQ(CListItems::TChange::Refused, owner.m_list.RemoveAt(4));
    EXPECT_FALSE(owner.m_list.Move(stranger, 0));
    EXPECT_FALSE(owner.m_list.Move(owner.m_holder.GetItemAt(1), 4));
    EXPECT_EQ("a0 a1 a2* a3 ", Names());
    EXPECT_EQ(2, owner.GetCurSel());
    delete stranger;
}

TEST_F(ListItemsTest, SelectingTellsTheOldItemAndTheNewOneOrLeavesNoSelection)
{
    EXPECT_NE(nullptr, owner.m_list.Select(CControlWatch(&owner), 0));
    EXPECT_EQ("a0* a1 a2 a3 ", Names());
    owner.m_holder.GetItemAt(3)->SetEnabled(false);
    EXPECT_EQ(nullptr, owner.m_list.Select(CControlWatch(&owner), 3)) << "a disabled item";
    EXPECT_EQ("a0 a1 a2 a3 ", Names());
    EXPECT_EQ(-1, owner.GetCurSel());
}

TEST(ListItemsHolderTest, ItemsTheHolderKeepsLoseTheirOwnerAsTheyGo)
{
    CFakeOwner owner(false);
    CListLabelElementUI* kept[] = {Item("k0"), Item("k1"), Item("k2")};
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(CListItems::TChange::Done, owner.m_list.Insert(kept[i], i));
    EXPECT_EQ(CListItems::TChange::Done, owner.m_list.RemoveAt(1));
    EXPECT_EQ(nullptr, kept[1]->GetOwner());
    EXPECT_EQ(static_cast<IListOwnerUI*>(&owner), kept[2]->GetOwner());
    owner.m_list.RemoveAll();
    for (CListLabelElementUI* item : kept) {
        EXPECT_EQ(nullptr, item->GetOwner()) << item->GetName().GetData();
        delete item;
    }
}

}  // namespace
}  // namespace VeneerTest

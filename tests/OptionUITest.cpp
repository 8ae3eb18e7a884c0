// Options on a real window: selection in a group and alone with the notifications each
// click gives, the groups the window keeps as options come and go, and a disabled option
// that stays selected.

#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/OptionUI.h"

namespace VeneerTest {
namespace {

class OptionTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        Attach(root);
    }

    COptionUI* Option(const char* name, const char* attributes, int column)
    {
        auto* option = new Poisoned<COptionUI>;
        option->SetName(name);
        option->ApplyAttributeList(attributes);
        AddPlaced(root, option, RECT{column * 40, 0, column * 40 + 30, 30});
        Paint();  // placed by the next layout
        return option;
    }

    void Click(int column)
    {
        Mouse(WM_LBUTTONDOWN, column * 40 + 15, 15, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, column * 40 + 15, 15);
    }

    int GroupSize(const char* group) const
    {
        const CPtrArray* members = const_cast<OptionTest*>(this)->Manager().GetOptionGroup(group);
        return members != nullptr ? members->GetSize() : 0;
    }

    CContainerUI* root = nullptr;
};

TEST_F(OptionTest, GroupedOptionsSelectOneAndOptionsAloneToggle)
{
    std::vector<COptionUI*> options = {Option("a", "group=\"g\"", 0), Option("b", "group=\"g\"", 1),
                                       Option("c", "group=\"g\"", 2), Option("d", "", 3)};
    const auto selection = [&options] {
        std::string selected;
        for (COptionUI* option : options)
            selected += option->IsSelected() ? '1' : '0';
        return selected;
    };
    const struct {
        int click;
        std::vector<std::string> notes;
        const char* selected;
    } steps[] = {
        {0, {"a:click", "a:selectchanged"}, "1000"},
        {1, {"b:click", "b:selectchanged"}, "0100"},  // a is deselected without a word
        {1, {"b:click"}, "0100"},                     // already selected
        {3, {"d:click", "d:selectchanged"}, "0101"},
        {3, {"d:click", "d:selectchanged"}, "0100"},
    };
    for (const auto& step : steps) {
        notes.Clear();
        Click(step.click);
        EXPECT_EQ(step.notes, notes.Of({"click", "selectchanged"})) << "click on " << step.click;
        EXPECT_EQ(step.selected, selection()) << "click on " << step.click;
    }
    EXPECT_EQ(UINT{UISTATE_SELECTED}, options[1]->GetButtonState() & UISTATE_SELECTED);
    EXPECT_EQ(0u, options[0]->GetButtonState() & UISTATE_SELECTED);

    notes.Clear();
    options[2]->Selected(true);
    options[1]->Selected(false);  // in a group, becoming unselected tells nobody
    EXPECT_EQ((std::vector<std::string>{"c:selectchanged"}), notes.entries);
    EXPECT_EQ("0010", selection());
}

TEST_F(OptionTest, AnOptionTakesItselfOutOfTheGroupsOfTheWindowsItLeaves)
{
    COptionUI* a = Option("a", "group=\"g\"", 0);
    COptionUI* b = Option("b", "group=\"g\"", 1);
    EXPECT_EQ(2, GroupSize("g"));
    root->SetDelayedDestroy(false);
    root->Remove(b);
    EXPECT_EQ(1, GroupSize("g")) << "deleted";

    a->SetGroup("h");
    EXPECT_EQ(0, GroupSize("g"));
    EXPECT_EQ(1, GroupSize("h"));
    a->SetGroup(nullptr);
    EXPECT_EQ(0, GroupSize("h"));
    a->SetGroup("h");

    // Detached from the window, then deleted: the group must not keep a pointer to it.
    root->SetAutoDestroy(false);
    root->Remove(a);
    a->SetManager(nullptr, nullptr, false);
    EXPECT_EQ(0, GroupSize("h"));
    a->SetManager(&Manager(), root, true);
    EXPECT_EQ(1, GroupSize("h")) << "joins again when initialised in a window";
    a->SetManager(nullptr, nullptr, false);
    delete a;
    COptionUI* c = Option("c", "group=\"h\"", 2);
    c->Selected(true);
    EXPECT_TRUE(c->IsSelected());
}

TEST_F(OptionTest, OfOptionsMarkedSelectedBeforeTheyJoinedTheirGroupTheLastWins)
{
    // As the skin builder makes them: attributes first, the window afterwards.
    COptionUI* a = Option("a", "group=\"g\" selected=\"true\"", 0);
    COptionUI* b = Option("b", "group=\"g\" selected=\"true\"", 1);
    COptionUI* c = Option("c", "group=\"h\" selected=\"true\"", 2);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_TRUE(c->IsSelected()) << "another group";
    c->SetGroup("g");
    EXPECT_FALSE(b->IsSelected()) << "a selected option that moves into a group";
}

TEST_F(OptionTest, ADisabledOptionStaysSelected)
{
    COptionUI* option = Option("a", "selected=\"true\"", 0);
    EXPECT_TRUE(option->IsSelected());
    Mouse(WM_MOUSEMOVE, 15, 15);
    option->SetEnabled(false);
    EXPECT_EQ(UINT{UISTATE_SELECTED}, option->GetButtonState());
    notes.Clear();
    Click(0);
    EXPECT_TRUE(option->IsSelected());
    EXPECT_TRUE(notes.Of({"click", "selectchanged"}).empty());
    EXPECT_STREQ("OptionUI", option->GetClass());
    EXPECT_EQ(option, option->GetInterface("Button"));
}

TEST_F(OptionTest, AReceiverMayDestroyTheOptionAtEitherNotification)
{
    root->SetDelayedDestroy(false);
    for (const char* type : {"click", "selectchanged"}) {
        Option("a", "group=\"g\"", 0);
        RemoveSender destroyer(root, type);
        Manager().AddNotifier(&destroyer);
        notes.Clear();
        Click(0);
        Manager().RemoveNotifier(&destroyer);
        EXPECT_EQ(0, root->GetCount()) << type;
        EXPECT_EQ(0, GroupSize("g")) << type;
    }
}

}  // namespace
}  // namespace VeneerTest

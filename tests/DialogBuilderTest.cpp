// The skin builder on a real window: declarations and window settings reach the manager,
// elements become controls in order, and whatever the skin gets wrong costs no control
// and no crash.

#include "ui/core/DialogBuilder.h"

#include <cstdio>
#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ControlClasses.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/base/ControlFactory.h"
#include "ui/core/base/ControlWatch.h"

namespace VeneerTest {
namespace {

// Controls made by the test's callback count themselves, so a lost one shows.
template <class Base>
class Counted : public Base {
public:
    Counted() { ++Live(); }
    ~Counted() override { --Live(); }
    static int& Live()
    {
        static int live = 0;
        return live;
    }
};

// Records what the builder does to it: each attribute, and whether it had a manager then.
class Recorder : public CControlUI {
public:
    void SetAttribute(const char* name, const char* value) override
    {
        calls.push_back(std::string(name) + "=" + value +
                        (GetManager() != nullptr ? "" : " (no manager)"));
        CControlUI::SetAttribute(name, value);
    }
    std::vector<std::string> calls;
};

// As it joins a window, takes out of the control tree itself, or the container it joins.
class EndsOnJoin : public CControlUI {
public:
    static bool endsParent;
    void DoInit() override
    {
        IControlUI* victim = endsParent ? GetParent() : this;
        AsContainer(victim->GetParent())->Remove(victim);
    }
};
bool EndsOnJoin::endsParent = false;

class TestCallback : public IDialogBuilderCallback {
public:
    IControlUI* CreateControl(const char* className) override
    {
        asked.push_back(className);
        const std::string name = className;
        if (name == "Counted")
            return new Counted<CControlUI>;
        if (name == "CountedBox")
            return new Counted<CContainerUI>;
        if (name == "Recorder")
            return new Recorder;
        if (name == "EndsOnJoin")
            return new Poisoned<EndsOnJoin>;
        return nullptr;
    }
    std::vector<std::string> asked;
};

class DialogBuilderTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        ASSERT_TRUE(RegisterControls());
        Counted<CControlUI>::Live() = 0;
    }
    void TearDown() override
    {
        CWindowManagerUI::SetResourcePath("");
        for (const std::string& path : m_files)
            std::remove(path.c_str());
        ControlTreeTest::TearDown();
    }

    // Builds a skin text for this window's manager, without a parent.
    IControlUI* Build(const char* skin, IControlUI* parent = nullptr)
    {
        CDialogBuilder builder;
        return builder.Create(skin, nullptr, &callback, &Manager(), parent);
    }
    // A skin file in the temporary directory, which becomes the resource path.
    void WriteSkin(const char* name, const char* text)
    {
        const std::string directory = testing::TempDir();
        CWindowManagerUI::SetResourcePath(directory.c_str());
        m_files.push_back(directory + name);
        std::FILE* file = std::fopen(m_files.back().c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fputs(text, file);
        std::fclose(file);
    }
    static std::vector<std::string> Names(IControlUI* container)
    {
        std::vector<std::string> names;
        for (int i = 0; i < AsContainer(container)->GetCount(); ++i)
            names.push_back(AsContainer(container)->GetItemAt(i)->GetName().GetData());
        return names;
    }

    TestCallback callback;

private:
    std::vector<std::string> m_files;
};

using Strings = std::vector<std::string>;

TEST_F(DialogBuilderTest, TheMainWindowSkinFillsTheManagerAndGivesItsLayout)
{
    IControlUI* root = Build(
        "<Window caption=\"0,0,0,250\" roundcorner=\"5,5\" size=\"800,600\" sizebox=\"6,6,6,6\" "
        "mininfo=\"800,600\" defaultfontcolor=\"#FF102030\" selectedcolor=\"FF405060\">"
        "<Font name=\"Tahoma\" size=\"13\" default=\"true\"/>"
        "<Font name=\"Arial\" size=\"30\" bold=\"true\"/>"
        "<Font size=\"20\"/>"
        "<Font name=\"Tahoma\" size=\"14\" underline=\"true\"/>"
        "<Font name=\"Tahoma\" italic=\"true\"/>"
        "<Default name=\"Combo\" value=\"bkcolor=&quot;#FF00FF00&quot;\"/>"
        "<Default name=\"VScrollBar\" value=\"linesize=&quot;7&quot;\"/>"
        "<VerticalLayout name=\"body\"><Control name=\"header\"/></VerticalLayout>"
        "</Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("VerticalLayoutUI", root->GetClass());
    EXPECT_EQ(Strings{"header"}, Names(root));
    delete root;

    const struct {
        const char* face;
        int size;
        bool bold, underline, italic;
    } fonts[] = {
        {"Tahoma", 13, false, false, false},
        {"Arial", 30, true, false, false},
        {"Tahoma", 14, false, true, false},
        {"Tahoma", 12, false, false, true},  // no size: 12; the font without a name made none
    };
    ASSERT_EQ(4, Manager().GetCustomFontCount());
    for (int i = 0; i < 4; ++i) {
        TFontEntry* entry = Manager().GetFontEntry(i);
        EXPECT_STREQ(fonts[i].face, entry->face) << i;
        EXPECT_EQ(fonts[i].size, entry->size) << i;
        EXPECT_EQ(fonts[i].bold, entry->bold) << i;
        EXPECT_EQ(fonts[i].underline, entry->underline) << i;
        EXPECT_EQ(fonts[i].italic, entry->italic) << i;
    }
    EXPECT_STREQ("Tahoma", Manager().GetDefaultFontEntry()->face);
    EXPECT_EQ(13, Manager().GetDefaultFontEntry()->size);
    EXPECT_STREQ("bkcolor=\"#FF00FF00\"", Manager().FindDefaultAttributes("Combo"));
    EXPECT_STREQ("linesize=\"7\"", Manager().FindDefaultAttributes("VScrollBar"));

    EXPECT_EQ(800, Manager().GetInitialSize().cx);
    EXPECT_EQ(600, Manager().GetInitialSize().cy);
    RECT client = {};
    GetClientRect(Window(), &client);
    EXPECT_EQ((RECT{0, 0, 800, 600}), client) << "a window without a root takes the size at once";
    EXPECT_EQ((RECT{6, 6, 6, 6}), Manager().GetSizeBox());
    EXPECT_EQ((RECT{0, 0, 0, 250}), Manager().GetCaptionArea());
    EXPECT_EQ(5, Manager().GetRoundCorner().cx);
    EXPECT_EQ(800, Manager().GetMinInfo().cx);
    EXPECT_EQ(600, Manager().GetMinInfo().cy);
    EXPECT_EQ(0xFF102030u, Manager().GetDefaultFontColor());
    EXPECT_EQ(0xFF405060u, Manager().GetSelectedColor()) << "the '#' is optional";
}

TEST_F(DialogBuilderTest, WindowSettingsComeOnlyFromARootCalledWindowExactly)
{
    const struct {
        const char* skin;
        int width, height;
    } cases[] = {
        {"<Window size=\"300,200\"/>", 300, 200},
        {"<Window size=\"300, 200\"/>", 300, 200},
        {"<Window size=\"300;200\"/>", 300, 200},
        {"<window size=\"300,200\"/>", 0, 0},
        {"<WINDOW size=\"300,200\"/>", 0, 0},
        {"<Window mininfo=\"300,200\" sizes=\"1,1\"/>", 0, 0},
    };
    for (const auto& c : cases) {
        Manager().SetInitialSize(0, 0);
        EXPECT_EQ(nullptr, Build(c.skin)) << "no control element";
        EXPECT_EQ(c.width, Manager().GetInitialSize().cx) << c.skin;
        EXPECT_EQ(c.height, Manager().GetInitialSize().cy) << c.skin;
    }

    CWindowManagerUI windowless;
    CDialogBuilder builder;
    builder.Create("<Window size=\"300,200\"><Font name=\"Tahoma\"/></Window>", nullptr, nullptr,
                   &windowless);
    EXPECT_EQ(0, windowless.GetInitialSize().cx) << "a manager without a window";
    EXPECT_EQ(1, windowless.GetCustomFontCount()) << "still takes the declarations";
}

TEST_F(DialogBuilderTest, EmptyControlElementsMakePlainControls)
{
    for (const char* skin :
         {"<Window><Control></Control></Window>", "<Window><Control/></Window>"}) {
        IControlUI* control = Build(skin);
        ASSERT_NE(nullptr, control) << skin;
        EXPECT_STREQ("ControlUI", control->GetClass());
        EXPECT_STREQ("", control->GetName());
        EXPECT_TRUE(control->IsVisible());
        EXPECT_EQ(nullptr, control->GetManager()) << "the manager comes with the window";
        delete control;
    }
}

TEST_F(DialogBuilderTest, DefaultsComeFirstThenTheElementsOwnAttributesInOrder)
{
    IControlUI* root = Build(
        "<Window>"
        "<Default name=\"Recorder\" value=\"text=&quot;default&quot; tooltip=&quot;tip&quot;\"/>"
        "<Default name=\"Control\" value=\"bkcolor=&quot;#FF000001&quot; "
        "text=&quot;default&quot;\"/>"
        "<VerticalLayout>"
        "<Recorder name=\"r\" text=\"own\"/>"
        "<Control name=\"c\" text=\"own\"/>"
        "</VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    auto* recorder = dynamic_cast<Recorder*>(AsContainer(root)->GetItemAt(0));
    ASSERT_NE(nullptr, recorder);
    EXPECT_EQ((Strings{"text=default", "tooltip=tip", "name=r", "text=own"}), recorder->calls)
        << "every attribute is set while the control has the manager";
    EXPECT_EQ(nullptr, recorder->GetManager()) << "and only then";
    auto* control = AsControl(AsContainer(root)->GetItemAt(1));
    EXPECT_STREQ("own", control->GetText());
    EXPECT_EQ(0xFF000001u, control->GetBkColor());
    delete root;
}

TEST_F(DialogBuilderTest, UnknownNamesGoToTheCallbackAndAreSkippedWithTheirSubtree)
{
    IControlUI* root = Build("<Window><VerticalLayout>"
                             "<Lable name=\"typo\"><Counted name=\"inside\"/></Lable>"
                             "<Counted name=\"made\"/>"
                             "<control name=\"case\"/>"
                             "<Image name=\"misplaced\"/>"
                             "<Control name=\"kept\"/>"
                             "</VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ((Strings{"made", "kept"}), Names(root));
    EXPECT_EQ((Strings{"Lable", "Counted", "control"}), callback.asked)
        << "names are exact; nothing below an unknown element is made";
    EXPECT_EQ(nullptr, Manager().GetImage("misplaced")) << "declarations count at the top only";
    delete root;
    EXPECT_EQ(0, Counted<CControlUI>::Live());
}

TEST_F(DialogBuilderTest, ChildrenOfAControlThatHoldsNoneAreDropped)
{
    IControlUI* root =
        Build("<Window><VerticalLayout>"
              "<Control name=\"leaf\"><Counted name=\"first\"/><Counted name=\"second\"/></Control>"
              "<Control name=\"after\"/>"
              "</VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ((Strings{"leaf", "after"}), Names(root)) << "the leaf itself stays";
    EXPECT_EQ(0, Counted<CControlUI>::Live()) << "the first child destroyed, the rest never made";
    EXPECT_EQ((Strings{"Counted"}), callback.asked);
    delete root;
}

TEST_F(DialogBuilderTest, WithoutAParentOnlyTheFirstTopLevelControlIsMade)
{
    IControlUI* root = Build("<Window><Counted name=\"first\"/><Counted name=\"second\"/>"
                             "<Include source=\"&lt;Window&gt;&lt;Font name=&quot;Tahoma&quot;/&gt;"
                             "&lt;Counted name=&quot;included&quot;/&gt;&lt;/Window&gt;\"/>"
                             "</Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("first", root->GetName());
    EXPECT_EQ(1, Counted<CControlUI>::Live()) << "nothing could hold the others";
    EXPECT_EQ(1, Manager().GetCustomFontCount()) << "the included skin's declarations count";
    delete root;
}

TEST_F(DialogBuilderTest, IncludeFromTheResourcesReadsSourceAsAnIdCountTimes)
{
    CDialogBuilder builder;
    IControlUI* root = builder.Create(MAKEINTRESOURCEA(9100), "xml", nullptr, &Manager());
    ASSERT_NE(nullptr, root) << builder.GetDocument().GetErrorMessage();
    EXPECT_EQ((Strings{"row", "row", "row"}), Names(root));
    EXPECT_EQ(20, AsControl(AsContainer(root)->GetItemAt(2))->GetFixedHeight());
    EXPECT_EQ(3, Manager().GetCustomFontCount()) << "each build declares its font";
    delete root;
}

TEST_F(DialogBuilderTest, IncludeFromTextAndFilesBuildsInPlace)
{
    WriteSkin("row.xml", "\xEF\xBB\xBF<Window><Control name=\"file\"/></Window>");
    IControlUI* root = Build(
        "<Window><VerticalLayout>"
        "<Control name=\"before\"/>"
        "<Include source=\"row.xml\" count=\"2\"/>"
        "<Include source=\"&lt;Window&gt;&lt;Control name=&quot;text&quot;/&gt;&lt;/Window&gt;\"/>"
        "<Include count=\"2\"/>"
        "<Include source=\"row.xml\" count=\"0\"/>"
        "<Include source=\"row.xml\" count=\"-3\"/>"
        "<Include source=\"missing.xml\" count=\"3\"/>"
        "<Control name=\"after\"/>"
        "</VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ((Strings{"before", "file", "file", "text", "after"}), Names(root));
    delete root;
}

TEST_F(DialogBuilderTest, ASkinThatIncludesItselfStopsAtTheDepthLimit)
{
    WriteSkin("self.xml", "<Window><Counted/><Include source=\"self.xml\"/></Window>");
    IControlUI* root =
        Build("<Window><VerticalLayout><Include source=\"self.xml\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CDialogBuilder::kMaxIncludeDepth, AsContainer(root)->GetCount());
    delete root;
    EXPECT_EQ(0, Counted<CControlUI>::Live());
}

// The first control of each level, from the given one down.
int FirstChildDepth(IControlUI* control)
{
    int depth = 0;
    while (control != nullptr) {
        ++depth;
        IContainerUI* box = AsContainer(control);
        control = box != nullptr && box->GetCount() > 0 ? box->GetItemAt(0) : nullptr;
    }
    return depth;
}

TEST_F(DialogBuilderTest, OneNestingLimitHoldsForTheWholeBuildAcrossIncludes)
{
    std::string deep = "<Window>";
    for (int i = 0; i < 200; ++i)
        deep += "<Container>";
    deep += "<Include source=\"deep.xml\"/>";
    for (int i = 0; i < 200; ++i)
        deep += "</Container>";
    WriteSkin("deep.xml", (deep + "</Window>").c_str());
    IControlUI* root =
        Build("<Window><VerticalLayout><Include source=\"deep.xml\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CDialogBuilder::kMaxNesting, FirstChildDepth(root));
    delete root;
}

TEST_F(DialogBuilderTest, ASkinThatIncludesItselfManyTimesOverStopsAtTheIncludeBudget)
{
    WriteSkin("many.xml", "<Window><Counted/><Include source=\"many.xml\" count=\"5\"/></Window>");
    IControlUI* root =
        Build("<Window><VerticalLayout><Include source=\"many.xml\" count=\"5\"/></VerticalLayout>"
              "</Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_LT(Counted<CControlUI>::Live(), CDialogBuilder::kMaxIncludedElements)
        << "five to the power of the depth limit would be 390625";
    EXPECT_GT(Counted<CControlUI>::Live(), CDialogBuilder::kMaxIncludedElements / 4);
    delete root;
    EXPECT_EQ(0, Counted<CControlUI>::Live());
}

TEST_F(DialogBuilderTest, SkinsThatCannotBeLoadedGiveNullAndLeaveTheManagerAlone)
{
    WriteSkin("empty.xml", "");
    const struct {
        const char* skin;
        const char* type;
        const char* error;
    } cases[] = {
        {"<Window><Control></Window>", nullptr, "Unmatched closing tag"},
        {"missing.xml", nullptr, "Error opening file"},
        {"empty.xml", nullptr, "File is empty"},
        {MAKEINTRESOURCEA(9199), "xml", "Resource not found"},
        {MAKEINTRESOURCEA(9100), "png", "Resource not found"},
        {MAKEINTRESOURCEA(9100), nullptr, "Resource not found"},
    };
    for (const auto& c : cases) {
        CDialogBuilder builder;
        EXPECT_EQ(nullptr, builder.Create(c.skin, c.type, &callback, &Manager()));
        EXPECT_STREQ(c.error, builder.GetDocument().GetErrorMessage());
    }
    CDialogBuilder empty;
    EXPECT_EQ(nullptr, empty.Create(&callback, &Manager())) << "nothing loaded";
    EXPECT_EQ(0, Manager().GetCustomFontCount());
    EXPECT_EQ(0, Manager().GetInitialSize().cx);
    EXPECT_TRUE(callback.asked.empty());
}

TEST_F(DialogBuilderTest, ADefaultListLongerThanAnyBufferAppliesWhole)
{
    std::string list;
    for (int i = 0; i < 40; ++i)
        list += "userdata=&quot;" + std::to_string(i) + "&quot; ";
    list += "text=&quot;last&quot;";
    const std::string skin =
        "<Window><Default name=\"Control\" value=\"" + list + "\"/><Control/></Window>";
    ASSERT_GT(list.size(), 600u);
    IControlUI* control = Build(skin.c_str());
    ASSERT_NE(nullptr, control);
    EXPECT_STREQ("last", AsControl(control)->GetText());
    delete control;
}

TEST_F(DialogBuilderTest, ControlsBuiltIntoALiveContainerJoinItsWindowDressed)
{
    CContainerUI* root = AttachRoot();
    IControlUI* made = Build(
        "<Window><Control name=\"late\" text=\"x\"/><Control name=\"later\"/></Window>", root);
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(made, Manager().FindControl("late")) << "entered under the name it was given";
    EXPECT_NE(nullptr, Manager().FindControl("later"));
    EXPECT_EQ(&Manager(), made->GetManager());
    EXPECT_EQ(root, made->GetParent());
    EXPECT_EQ(2, root->GetCount());
}

TEST_F(DialogBuilderTest, AControlThatEndsItselfOrItsParentAsItJoinsTheWindowIsNotBuiltOn)
{
    CContainerUI* root = AttachRoot();
    root->SetDelayedDestroy(false);  // what is taken out ends at once
    struct Case {
        const char* name;
        bool endsParent;
        int built;  // controls left in the container built into
    };
    const Case cases[] = {
        {"the control ends itself: its siblings are still made", false, 1},
        {"the control ends the container: nothing more is made", true, 0},
    };
    for (const Case& c : cases) {
        auto* box = new Poisoned<CContainerUI>;
        box->SetDelayedDestroy(false);
        ASSERT_TRUE(root->Add(box));
        CControlWatch boxAlive(box);
        EndsOnJoin::endsParent = c.endsParent;
        IControlUI* made = Build("<Window><EndsOnJoin/><Counted name=\"after\"/></Window>", box);
        EXPECT_EQ(c.endsParent, !boxAlive) << c.name;
        EXPECT_EQ(c.built, Counted<CControlUI>::Live()) << c.name;
        EXPECT_EQ(c.built != 0 ? Manager().FindControl("after") : nullptr, made) << c.name;
        if (boxAlive)
            root->Remove(box);
        EXPECT_EQ(0, Counted<CControlUI>::Live()) << c.name;
    }
}

}  // namespace
}  // namespace VeneerTest

// The seam between the skin builder (ui/core) and the controls (ui/controls): controls made
// by element name, dressed and attached through ui/core's interfaces only, and found again
// by name and class.

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ControlClasses.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/base/ControlFactory.h"

namespace VeneerTest {
namespace {

class ControlClassesTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        ASSERT_TRUE(RegisterControls());
    }

    // What the builder does with one element: make it, give it the window's default list
    // and its own attributes, and hand it to its parent's child list.
    IControlUI* Make(const char* element, const char* attributes, IControlUI* parent)
    {
        IControlUI* control = CControlFactory::Create(element);
        if (control == nullptr)
            return nullptr;
        if (parent != nullptr && !AsContainer(parent)->Add(control)) {
            delete control;
            return nullptr;
        }
        control->SetManager(&Manager(), nullptr, false);
        control->ApplyAttributeList(Manager().FindDefaultAttributes(element));
        control->ApplyAttributeList(attributes);
        control->SetManager(nullptr, nullptr, false);
        return control;
    }
};

// Every element name the builder knows, the class it makes, and whether that holds children.
struct TControlClassCase {
    const char* element;
    const char* className;
    bool container;
};
const TControlClassCase kClassCases[] = {
    {"Control", "ControlUI", false},
    {"Container", "ContainerUI", true},
    {"VerticalLayout", "VerticalLayoutUI", true},
    {"HorizontalLayout", "HorizontalLayoutUI", true},
    {"TileLayout", "TileLayoutUI", true},
    {"TabLayout", "TabLayoutUI", true},
    {"ScrollBar", "ScrollBarUI", false},
    {"Label", "LabelUI", false},
    {"Button", "ButtonUI", false},
    {"Option", "OptionUI", false},
    {"Text", "TextUI", false},
    {"List", "ListUI", true},
    {"ListHeader", "ListHeaderUI", true},
    {"ListHeaderItem", "ListHeaderItemUI", false},
    {"ListLabelElement", "ListLabelElementUI", false},
    {"ListTextElement", "ListTextElementUI", false},
    {"ListContainerElement", "ListContainerElementUI", true},
    {"Edit", "EditUI", false},
    {"Progress", "ProgressUI", false},
    {"Slider", "SliderUI", false},
    {"Combo", "ComboUI", true},
    {"ActiveX", "ActiveXUI", false},
    {"RichEdit", "RichEditUI", true},
};

TEST_F(ControlClassesTest, ElementNamesMakeTheirClassesExactly)
{
    for (const TControlClassCase& c : kClassCases) {
        IControlUI* control = CControlFactory::Create(c.element);
        ASSERT_NE(nullptr, AsControl(control)) << c.element;
        EXPECT_STREQ(c.className, control->GetClass());
        EXPECT_EQ(c.container, AsContainer(control) != nullptr) << c.element;
        EXPECT_EQ(static_cast<void*>(AsContainer(control)), control->GetInterface("IContainer"))
            << c.element << " answers the builder's question with its child list";
        delete control;
    }
    EXPECT_EQ(nullptr, CControlFactory::Create("control"));
    EXPECT_EQ(nullptr, CControlFactory::Create("Menu")) << "left to the builder's callback";
}

TEST_F(ControlClassesTest, EveryClassReadsNullNamesAndValuesAsEmpty)
{
    for (const TControlClassCase& c : kClassCases) {
        IControlUI* control = CControlFactory::Create(c.element);
        ASSERT_NE(nullptr, control) << c.element;
        control->SetAttribute("name", "kept");
        control->SetAttribute(nullptr, "ignored");
        EXPECT_STREQ("kept", control->GetName()) << c.element;
        control->SetAttribute("name", nullptr);
        EXPECT_STREQ("", control->GetName()) << c.element;
        delete control;
    }
}

// What a skin checker is told a class reads is what it applies: every row of every
// class's chain, shared rows too, has its setter.
void ExpectEveryRowApplies(const TAttributeTable& table, const char* element)
{
    for (const TAttributeTable* t = &table; t != nullptr; t = t->base) {
        for (int i = 0; i < t->count; ++i)
            EXPECT_NE(nullptr, t->rows[i].apply) << element << " " << t->rows[i].name;
        if (t->shared != nullptr)
            ExpectEveryRowApplies(*t->shared, element);
    }
}

TEST_F(ControlClassesTest, EveryAttributeAClassListsItApplies)
{
    for (const TControlClassCase& c : kClassCases) {
        IControlUI* control = CControlFactory::Create(c.element);
        ASSERT_NE(nullptr, control) << c.element;
        ExpectEveryRowApplies(control->GetAttributeTable(), c.element);
        delete control;
    }
}

TEST_F(ControlClassesTest, ATreeBuiltThroughTheInterfacesIsFoundByNameAndClass)
{
    Manager().AddDefaultAttributes("Control", "bkcolor=\"#FF000001\" text=\"default\"");
    IControlUI* root = Make("VerticalLayout", "name=\"box\"", nullptr);
    Make("Control", "name=\"leaf\" text=\"own\"", root);
    Make("Control", "name=\"second\"", root);
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(2, AsContainer(root)->GetCount());
    ASSERT_TRUE(Manager().AttachRoot(root));

    CControlUI* leaf = Manager().FindControl<CControlUI>("leaf");
    ASSERT_NE(nullptr, leaf);
    EXPECT_EQ(0xFF000001u, leaf->GetBkColor()) << "the default list applies";
    EXPECT_STREQ("own", leaf->GetText()) << "the element's own attributes come after it";
    EXPECT_EQ(root, leaf->GetParent()) << "attaching the root gave every child its parent";
    EXPECT_EQ(nullptr, Manager().FindControl<CContainerUI>("leaf")) << "another class";
    EXPECT_EQ(root, Manager().FindControl<CVerticalLayoutUI>("box"));
    EXPECT_EQ(nullptr, Manager().FindControl<CControlUI>("nosuch"));
    EXPECT_EQ(nullptr, AsContainer(leaf)) << "a plain control has no child list";
}

// Answers for its kinds with another object, as a control that forwards the question
// might: the cast must not take the answer for the control itself.
class Forwarding : public CControlUI {
public:
    void* GetInterface(const char* name) override { return inner.GetInterface(name); }
    CControlUI inner;
};

TEST(ControlCastTest, AsControlTrustsTheTypeNotTheAnswer)
{
    Forwarding forwarding;
    EXPECT_EQ(&forwarding, AsControl(&forwarding));
    EXPECT_EQ(nullptr, AsControl(nullptr));
    CContainerUI box;
    EXPECT_EQ(static_cast<IContainerUI*>(&box), AsContainer(&box));
}

}  // namespace
}  // namespace VeneerTest

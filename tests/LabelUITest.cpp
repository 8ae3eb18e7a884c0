// Labels on a real window: alignment words, the label's attributes, the window's default
// colours taken into the fields at the first paint, and the height estimates of labels
// and buttons.

#include <cstdio>
#include <string>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"

namespace VeneerTest {
namespace {

constexpr DWORD kWhite = 0xFFFFFF;

class LabelTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        root->SetBkColor(0xFF000000 | kWhite);
        Attach(root);
    }

    CLabelUI* Label(const char* attributes, RECT at)
    {
        auto* label = new CLabelUI;
        label->ApplyAttributeList(attributes);
        AddPlaced(root, label, at);
        return label;
    }

    CContainerUI* root = nullptr;
};

TEST_F(LabelTest, AlignWordsApplyInTheirOwnOrderWhateverTheValuesOrder)
{
    const struct {
        UINT style;
        const char* value;
        UINT expected;
    } cases[] = {
        {DT_VCENTER, "right top", 0},  // "top" clears the right alignment again
        {DT_VCENTER, "center bottom", DT_CENTER | DT_BOTTOM},
        {DT_VCENTER, "bottom right", DT_BOTTOM},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, "left", DT_VCENTER | DT_SINGLELINE},
        {DT_VCENTER, "middle", DT_VCENTER},
    };
    for (const auto& c : cases) {
        CLabelUI label;
        label.SetTextStyle(c.style);
        label.SetAttribute("align", c.value);
        EXPECT_EQ(c.expected, label.GetTextStyle()) << c.value;
    }

    // Drawn: "right top" stands at the top left, "right" at the right, centred vertically.
    Label("text=\"Wg\" align=\"right top\"", RECT{0, 0, 200, 50});
    Label("text=\"Wg\" align=\"right\"", RECT{0, 50, 200, 100});
    Repaint();
    const RECT topLeft = InkBox(RECT{0, 0, 200, 50}, kWhite);
    EXPECT_LT(topLeft.left, 5);
    EXPECT_LT(topLeft.top, 8);
    const RECT right = InkBox(RECT{0, 50, 200, 100}, kWhite);
    EXPECT_GT(right.right, 190);
    EXPECT_GT(right.top, 58);
}

std::string Fields(const CLabelUI& label)
{
    const RECT pad = label.GetTextPadding();
    char text[128];
    std::snprintf(text, sizeof(text), "%X %d %08lX %08lX %ld,%ld,%ld,%ld %d", label.GetTextStyle(),
                  label.GetFont(), static_cast<unsigned long>(label.GetTextColor()),
                  static_cast<unsigned long>(label.GetDisabledTextColor()), pad.left, pad.top,
                  pad.right, pad.bottom, label.IsShowHtml());
    return text;
}

TEST_F(LabelTest, AttributesSetTheLabelsFields)
{
    // Fields: style, font, textcolor, disabledtextcolor, textpadding, showhtml.
    const struct {
        const char* attributes;
        const char* fields;
    } cases[] = {
        {"", "4 -1 00000000 00000000 0,0,0,0 0"},
        {"endellipsis=\"true\"", "8004 -1 00000000 00000000 0,0,0,0 0"},
        {"endellipsis=\"true\" endellipsis=\"false\"", "4 -1 00000000 00000000 0,0,0,0 0"},
        {"font=\"2\"", "4 2 00000000 00000000 0,0,0,0 0"},
        {"textcolor=\"#FF112233\" disabledtextcolor=\"80FFFFFF\"",
         "4 -1 FF112233 80FFFFFF 0,0,0,0 0"},
        {"textcolor=\" #FF112233\"", "4 -1 00000000 00000000 0,0,0,0 0"},  // no blanks skipped
        {"textpadding=\"1, 2,3,4\"", "4 -1 00000000 00000000 1,2,3,4 0"},
        {"showhtml=\"true\"", "4 -1 00000000 00000000 0,0,0,0 1"},
        {"showhtml=\"True\"", "4 -1 00000000 00000000 0,0,0,0 0"},
    };
    for (const auto& c : cases) {
        CLabelUI label;
        label.ApplyAttributeList(c.attributes);
        EXPECT_EQ(c.fields, Fields(label)) << c.attributes;
    }
    CLabelUI label;
    label.ApplyAttributeList("text=\"base\" width=\"40\"");
    EXPECT_STREQ("base", label.GetText()) << "other names go to the control base";
    EXPECT_EQ(40, label.GetFixedWidth());
    EXPECT_STREQ("LabelUI", label.GetClass());
    EXPECT_EQ(&label, label.GetInterface("Label"));
    EXPECT_EQ(&label, label.GetInterface("Control"));
    EXPECT_EQ(nullptr, label.GetInterface("Button"));
}

TEST_F(LabelTest, ColoursLeftZeroTakeTheWindowsDefaultsAndKeepThem)
{
    Manager().SetDefaultFontColor(0xFFFF0000);
    Manager().SetDisabledFontColor(0xFF0000FF);
    CLabelUI* enabled = Label("text=\"MMMM\"", RECT{0, 0, 200, 50});
    CLabelUI* disabled = Label("text=\"MMMM\" enabled=\"false\"", RECT{0, 50, 200, 100});
    Repaint();
    EXPECT_EQ(0xFF0000u, InkColor(RECT{0, 0, 200, 50}, kWhite));
    EXPECT_EQ(0x0000FFu, InkColor(RECT{0, 50, 200, 100}, kWhite));
    EXPECT_EQ(0xFFFF0000u, enabled->GetTextColor());
    EXPECT_EQ(0xFF0000FFu, disabled->GetDisabledTextColor());

    Manager().SetDefaultFontColor(0xFF00FF00);
    Repaint();
    EXPECT_EQ(0xFF0000u, InkColor(RECT{0, 0, 200, 50}, kWhite)) << "the field kept its colour";
}

TEST_F(LabelTest, WithoutAFixedHeightLabelsAreOneLineOfTheirFontHighAndButtonsMore)
{
    Manager().AddFont("Tahoma", 30, false, false, false);
    const int normal = Manager().GetDefaultFontEntry()->metrics.tmHeight;
    const int large = Manager().GetFontEntry(0)->metrics.tmHeight;
    ASSERT_GT(large, normal);
    const struct {
        CLabelUI* control;
        const char* attributes;
        SIZE expected;
    } cases[] = {
        {new CLabelUI, "", {0, normal + 4}},
        {new CLabelUI, "font=\"0\" width=\"50\"", {50, large + 4}},
        {new CButtonUI, "font=\"0\"", {0, large + 8}},
        {new COptionUI, "", {0, normal + 8}},
        {new CButtonUI, "font=\"0\" width=\"50\" height=\"17\"", {50, 17}},
    };
    for (const auto& c : cases) {
        c.control->ApplyAttributeList(c.attributes);
        root->Add(c.control);
        const SIZE size = c.control->EstimateSize(SIZE{200, 100});
        EXPECT_EQ(c.expected.cx, size.cx) << c.control->GetClass() << " " << c.attributes;
        EXPECT_EQ(c.expected.cy, size.cy) << c.control->GetClass() << " " << c.attributes;
    }
}

}  // namespace
}  // namespace VeneerTest

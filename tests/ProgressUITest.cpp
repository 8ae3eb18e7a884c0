// Progress bars and sliders on a real window: the filled part the fore image is drawn
// over, the repaired range, where the thumb lies, and the values a release, a click on the
// track and the wheel give, with the "valuechanged" each tells.

#include <functional>
#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/SliderUI.h"

namespace VeneerTest {
namespace {

constexpr DWORD kWhite = 0xFFFFFF;
const char kFill[] = "res='131' restype='png'";
const char kThumb[] = "res='132' restype='png'";

class ProgressTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        root->SetBkColor(0xFF000000 | kWhite);
        Attach(root);
    }

    template <class Control>
    Control* Place(const char* attributes, RECT at)
    {
        auto* control = new Poisoned<Control>;
        control->SetName("s");
        control->ApplyAttributeList(attributes);
        AddPlaced(root, control, at);
        return control;
    }

    CContainerUI* root = nullptr;
};

TEST_F(ProgressTest, TheForeImageCoversTheFilledPartAndPaintingRepairsTheRange)
{
    const struct {
        const char* attributes;
        RECT at;
        RECT fill;  // empty: nothing filled
        int value;
        int max;
    } cases[] = {
        {"value=\"25\"", {0, 10, 200, 22}, {0, 10, 50, 22}, 25, 100},
        {"hor=\"false\" value=\"25\"", {100, 0, 120, 100}, {100, 75, 120, 100}, 25, 100},
        {"value=\"150\"", {0, 10, 200, 22}, {0, 10, 200, 22}, 100, 100},
        {"min=\"-100\" value=\"-50\"", {0, 10, 200, 22}, {0, 10, 50, 22}, -50, 100},
        {"min=\"50\" max=\"50\" value=\"0\"", {0, 10, 200, 22}, {}, 50, 51},
        {"min=\"-2147483648\" max=\"2147483647\" value=\"0\"",
         {0, 10, 200, 22},
         {0, 10, 100, 22},
         0,
         2147483647},
    };
    for (const auto& c : cases) {
        auto* progress = Place<CProgressUI>(c.attributes, c.at);
        progress->SetForeImage(kFill);
        Repaint();
        EXPECT_EQ(c.fill, InkBox(c.at, kWhite)) << c.attributes;
        EXPECT_EQ(c.value, progress->GetValue()) << c.attributes;
        EXPECT_EQ(c.max, progress->GetMaxValue()) << c.attributes;
        root->Remove(progress);
    }
}

// A horizontal slider 110 wide from x 0 and a vertical one 100 high from y 0, both with
// a 10 x 10 thumb; each row acts on one of them and names the value it leaves and the
// values "valuechanged" told, in order.
TEST_F(ProgressTest, ASliderTakesItsValueFromReleasesClicksAndTheWheel)
{
    struct TCase {
        const char* what;
        const char* attributes;
        std::function<void()> act;
        int value;
        std::vector<int> told;
    };
    const RECT horizontal = {0, 20, 110, 40};
    const RECT vertical = {150, 0, 170, 100};
    auto press = [this](int x, int y, std::vector<POINT> moves, POINT release) {
        Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        for (const POINT& pt : moves)
            Mouse(WM_MOUSEMOVE, pt.x, pt.y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, release.x, release.y);
    };
    auto wheel = [this](int notches) {
        ScreenMouse(WM_MOUSEWHEEL, 50, 30, MAKEWPARAM(0, notches * WHEEL_DELTA));
    };
    const TCase cases[] = {
        {"thumb dragged, released at 60",
         "",
         [&] {
             press(5, 30, {{30, 30}}, {60, 30});
         },
         55,
         {55}},
        {"released at 105",
         "",
         [&] {
             press(5, 30, {}, {105, 30});
         },
         100,
         {100}},
        {"released beyond the end",
         "",
         [&] {
             press(5, 30, {}, {300, 30});
         },
         100,
         {100}},
        {"released at 5",
         "value=\"50\"",
         [&] {
             press(55, 30, {}, {5, 30});
         },
         0,
         {0}},
        {"a click on the track",
         "",
         [&] {
             press(60, 30, {}, {60, 30});
         },
         55,
         {55}},
        {"vertical, released at y 50",
         "hor=\"false\"",
         [&] {
             press(160, 95, {}, {160, 50});
         },
         50,
         {50}},
        {"vertical, released at the top",
         "hor=\"false\"",
         [&] {
             press(160, 95, {}, {160, 3});
         },
         100,
         {100}},
        {"wheel away from the user", "step=\"5\" value=\"90\"", [&] { wheel(1); }, 95, {95}},
        {"wheel past the maximum", "step=\"5\" value=\"98\"", [&] { wheel(1); }, 100, {100}},
        {"wheel past the minimum", "step=\"5\" value=\"3\"", [&] { wheel(-1); }, 0, {0}},
        {"disabled",
         "enabled=\"false\" value=\"20\"",
         [&] {
             press(60, 30, {}, {60, 30});
             wheel(1);
         },
         20,
         {}},
    };
    for (const TCase& c : cases) {
        const bool isVertical = std::string(c.attributes).find("hor=") != std::string::npos;
        auto* slider = Place<CSliderUI>(c.attributes, isVertical ? vertical : horizontal);
        std::vector<int> told;
        NotifyHook hook([&](TNotifyMsg& msg) {
            if (msg.type == "valuechanged")
                told.push_back(slider->GetValue());
        });
        Manager().AddNotifier(&hook);
        Repaint();
        c.act();
        Manager().RemoveNotifier(&hook);
        EXPECT_EQ(c.value, slider->GetValue()) << c.what;
        EXPECT_EQ(c.told, told) << c.what;
        EXPECT_EQ(0u, slider->GetButtonState() & UISTATE_CAPTURED) << c.what;
        root->Remove(slider);
    }
}

TEST_F(ProgressTest, TheThumbIsDrawnWhereTheValueIsAndFollowsADragSilently)
{
    const RECT at = {0, 20, 110, 40};
    auto* slider = Place<CSliderUI>("value=\"55\"", at);
    slider->SetThumbImage(TThumbImage::Normal, kThumb);
    Repaint();
    EXPECT_EQ((RECT{55, 25, 65, 35}), slider->GetThumbRect());
    EXPECT_EQ(slider->GetThumbRect(), InkBox(at, kWhite));
    EXPECT_EQ(UINT{UIFLAG_SETCURSOR}, slider->GetControlFlags());

    const DWORD normal = InkColor(at, kWhite);

    // Dragged: the value follows without telling, the thumb in its pushed image; a press
    // another window cancels keeps the dragged value and tells it once.
    slider->SetThumbImage(TThumbImage::Pushed, kFill);
    notes.Clear();
    Mouse(WM_LBUTTONDOWN, 60, 30, MK_LBUTTON);
    EXPECT_NE(0u, slider->GetButtonState() & UISTATE_CAPTURED);
    Mouse(WM_MOUSEMOVE, 25, 30, MK_LBUTTON);
    EXPECT_EQ(20, slider->GetValue());
    EXPECT_TRUE(notes.Of({"valuechanged"}).empty());
    Repaint();
    EXPECT_NE(normal, InkColor(at, kWhite));
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
    SetCapture(other);
    ReleaseCapture();
    DestroyWindow(other);
    EXPECT_EQ(20, slider->GetValue()) << "not moved to the cancelled release's (-1, -1)";
    EXPECT_EQ(std::vector<std::string>{"s:valuechanged"}, notes.Of({"valuechanged"}));
    Repaint();
    EXPECT_EQ((RECT{20, 25, 30, 35}), InkBox(at, kWhite));

    slider->SetEnabled(false);
    EXPECT_EQ(0u, slider->GetControlFlags());
}

TEST_F(ProgressTest, AValueChangedReceiverMayDestroyTheSlider)
{
    root->SetDelayedDestroy(false);
    Place<CSliderUI>("", RECT{0, 20, 110, 40});
    Repaint();
    RemoveSender destroyer(root, "valuechanged");
    Manager().AddNotifier(&destroyer);
    Mouse(WM_LBUTTONDOWN, 60, 30, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 60, 30);
    EXPECT_EQ(0, root->GetCount());
    Manager().RemoveNotifier(&destroyer);
}

TEST_F(ProgressTest, AttributesAndNames)
{
    CSliderUI slider;
    const char* list = "thumbsize=\"16,12\" step=\"7\" thumbhotimage=\"res='132'\" "
                       "foreimage=\"res='131'\" min=\"3\" max=\"9\" value=\"4\" "
                       "hor=\"false\" text=\"base\" thumbimage=\"a\" thumbpushedimage=\"b\"";
    slider.ApplyAttributeList(list);
    ExpectListedAttributes(slider, list);
    EXPECT_EQ(16, slider.GetThumbSize().cx);
    EXPECT_EQ(12, slider.GetThumbSize().cy);
    EXPECT_EQ(7, slider.GetChangeStep());
    EXPECT_STREQ("res='132'", slider.GetThumbImage(TThumbImage::Hot));
    EXPECT_STREQ("res='131'", slider.GetForeImage());
    EXPECT_EQ(3, slider.GetMinValue());
    EXPECT_EQ(9, slider.GetMaxValue());
    EXPECT_EQ(4, slider.GetValue());
    EXPECT_FALSE(slider.IsHorizontal());
    // An emptied range is repaired for the thumb's arithmetic too, painted or not.
    slider.SetMaxValue(3);
    EXPECT_EQ(4, slider.GetValue());
    EXPECT_EQ(12, slider.GetThumbRect().bottom - slider.GetThumbRect().top);
    EXPECT_STREQ("base", slider.GetText()) << "other names go to the label";
    EXPECT_EQ(UINT{DT_CENTER | DT_SINGLELINE}, slider.GetTextStyle());
    EXPECT_EQ(12, slider.GetFixedHeight());
    EXPECT_STREQ("SliderUI", slider.GetClass());
    for (const char* name : {"Slider", "Progress", "Label", "Control"})
        EXPECT_EQ(&slider, slider.GetInterface(name)) << name;
    CProgressUI progress;
    ExpectListedAttributes(progress,
                           "foreimage=\"a\" hor=\"true\" min=\"1\" max=\"2\" value=\"1\"");
    EXPECT_EQ(nullptr, FindAttribute(progress.GetAttributeTable(), "thumbsize"));
    EXPECT_STREQ("ProgressUI", progress.GetClass());
    EXPECT_EQ(&progress, progress.GetInterface("Progress"));
    EXPECT_EQ(nullptr, progress.GetInterface("Slider"));
}

}  // namespace
}  // namespace VeneerTest

// The control base: attribute strings and the fields they give, geometry and visibility
// rules, event handling and bubbling, invalidation clipped by ancestors, and what it
// paints, read back from the window's back buffer.

#include <cstdio>
#include <cstdlib>

#include "tests/ControlTreeFixture.h"

namespace VeneerTest {
namespace {

std::string Pair(long a, long b)
{
    return std::to_string(a) + "," + std::to_string(b);
}

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%08lX", static_cast<unsigned long>(value));
    return text;
}

enum class Field {
    FixedXY,
    FixedSize,
    MinSize,
    MaxSize,
    Padding,
    Relative,
    BkColor,
    BkColor2,
    BkColor3,
    BorderColor,
    FocusBorderColor,
    ColorHSL,
    BorderSize,
    BorderRound,
    BkImage,
    Name,
    Text,
    ToolTip,
    UserData,
    Enabled,
    Mouse,
    Keyboard,
    Visible,
    Float,
    Shortcut,
    Menu,
};

std::string Read(CControlUI& c, Field field)
{
    const RECT pad = c.GetPadding();
    const TRelativePosUI rel = c.GetRelativePos();
    switch (field) {
    case Field::FixedXY:
        return Pair(c.GetFixedXY().cx, c.GetFixedXY().cy);
    case Field::FixedSize:
        return Pair(c.GetFixedWidth(), c.GetFixedHeight());
    case Field::MinSize:
        return Pair(c.GetMinWidth(), c.GetMinHeight());
    case Field::MaxSize:
        return Pair(c.GetMaxWidth(), c.GetMaxHeight());
    case Field::Padding:
        return Pair(pad.left, pad.top) + "," + Pair(pad.right, pad.bottom);
    case Field::Relative:
        return std::to_string(rel.relative) + ":" + Pair(rel.moveXPercent, rel.moveYPercent) + "," +
               Pair(rel.zoomXPercent, rel.zoomYPercent);
    case Field::BkColor:
        return Hex(c.GetBkColor());
    case Field::BkColor2:
        return Hex(c.GetBkColor2());
    case Field::BkColor3:
        return Hex(c.GetBkColor3());
    case Field::BorderColor:
        return Hex(c.GetBorderColor());
    case Field::FocusBorderColor:
        return Hex(c.GetFocusBorderColor());
    case Field::ColorHSL:
        return std::to_string(c.IsColorHSL());
    case Field::BorderSize:
        return std::to_string(c.GetBorderSize());
    case Field::BorderRound:
        return Pair(c.GetBorderRound().cx, c.GetBorderRound().cy);
    case Field::BkImage:
        return c.GetBkImage();
    case Field::Name:
        return c.GetName().GetData();
    case Field::Text:
        return c.GetText().GetData();
    case Field::ToolTip:
        return c.GetToolTip().GetData();
    case Field::UserData:
        return c.GetUserData().GetData();
    case Field::Enabled:
        return std::to_string(c.IsEnabled());
    case Field::Mouse:
        return std::to_string(c.IsMouseEnabled());
    case Field::Keyboard:
        return std::to_string(c.IsKeyboardEnabled());
    case Field::Visible:
        return std::to_string(c.IsVisible());
    case Field::Float:
        return std::to_string(c.IsFloat());
    case Field::Shortcut:
        return std::string(1, c.GetShortcut()).c_str();
    case Field::Menu:
        return std::to_string(c.IsContextMenuUsed());
    }
    return "?";
}

TEST(ControlUITest, AttributeStringsGiveTheirFields)
{
    struct Case {
        const char* name;
        const char* value;
        Field field;
        const char* expected;
    };
    const Case cases[] = {
        {"pos", "0,0,100,30", Field::FixedSize, "100,30"},
        {"pos", "20,10,120,40", Field::FixedXY, "20,10"},
        {"pos", "-10,5,-60,25", Field::FixedXY, "-60,5"},   // anchored to the right edge
        {"pos", "-10,5,-60,25", Field::FixedSize, "0,20"},  // width -50 is ignored
        {"pos", "10,20", Field::FixedXY, "10,20"},          // missing numbers are 0
        {"pos", "10,20", Field::FixedSize, "0,0"},
        {"relativepos", "10,20,30,40", Field::Relative, "1:10,20,30,40"},
        {"relativepos", "50", Field::Relative, "1:50,0,0,0"},
        {"padding", "10, 0, 0, 10", Field::Padding, "10,0,0,10"},
        {"padding", "3,4", Field::Padding, "3,4,0,0"},
        {"bkcolor", "#FF4775CC", Field::BkColor, "FF4775CC"},
        {"bkcolor", " #FF4775CC", Field::BkColor, "FF4775CC"},
        {"bkcolor1", "FF4775CC", Field::BkColor, "FF4775CC"},
        {"bkcolor2", "#4775CC", Field::BkColor2, "004775CC"},
        {"bkcolor3", "\t#FF010203", Field::BkColor3, "FF010203"},
        {"bordercolor", "#FF4775CC", Field::BorderColor, "FF4775CC"},
        {"bordercolor", " #FF4775CC", Field::BorderColor, "00000000"},
        {"focusbordercolor", "#FF0000FF", Field::FocusBorderColor, "FF0000FF"},
        {"colorhsl", "true", Field::ColorHSL, "1"},
        {"bordersize", "3", Field::BorderSize, "3"},
        {"bordersize", "thick", Field::BorderSize, "0"},
        {"borderround", "4,4", Field::BorderRound, "4,4"},
        {"borderround", "4", Field::BorderRound, "4,0"},
        {"bkimage", "res='103' restype='png'", Field::BkImage, "res='103' restype='png'"},
        {"width", "120", Field::FixedSize, "120,0"},
        {"width", "-5", Field::FixedSize, "0,0"},
        {"height", "30", Field::FixedSize, "0,30"},
        {"minwidth", "10", Field::MinSize, "10,0"},
        {"minheight", "-7", Field::MinSize, "0,0"},
        {"maxwidth", "500", Field::MaxSize, "500,9999"},
        {"maxheight", "60", Field::MaxSize, "9999,60"},
        {"name", "btn_ok", Field::Name, "btn_ok"},
        {"text", "\xD6\xD0\xCE\xC4", Field::Text, "\xD6\xD0\xCE\xC4"},
        {"tooltip", "tip", Field::ToolTip, "tip"},
        {"userdata", "42", Field::UserData, "42"},
        {"enabled", "false", Field::Enabled, "0"},
        {"mouse", "TRUE", Field::Mouse, "0"},  // only "true" is true
        {"keyboard", "1", Field::Keyboard, "0"},
        {"visible", "True", Field::Visible, "0"},
        {"visible", "true", Field::Visible, "1"},
        {"float", "true", Field::Float, "1"},
        {"shortcut", "nx", Field::Shortcut, "n"},
        {"menu", "true", Field::Menu, "1"},
        {"Name", "ignored", Field::Name, ""},  // names compare with case
        {"nosuch", "1", Field::Name, ""},
    };
    for (const Case& c : cases) {
        CControlUI control;
        control.SetAttribute(c.name, c.value);
        EXPECT_EQ(c.expected, Read(control, c.field)) << c.name << "=\"" << c.value << '"';
    }
}

TEST(ControlUITest, NullNamesAndValuesReadAsEmpty)
{
    CControlUI control;
    control.SetAttribute("text", "kept");
    control.SetAttribute(nullptr, "ignored");
    EXPECT_STREQ("kept", control.GetText());
    control.SetAttribute("text", nullptr);
    control.SetAttribute("shortcut", nullptr);
    control.SetAttribute("pos", nullptr);
    EXPECT_STREQ("", control.GetText());
    EXPECT_EQ('\0', control.GetShortcut());
    EXPECT_EQ(nullptr, control.GetInterface(nullptr));
    control.SetName(nullptr);
    CWindowManagerUI manager;
    EXPECT_EQ(nullptr, manager.FindControl(nullptr));
}

TEST(ControlUITest, AttributeListsApplyPairsInOrderUpToTheFirstMalformedOne)
{
    CControlUI control;
    control.ApplyAttributeList("name=\"a\" text=\"one\" text=\"two\" bkcolor=\"#FF000001\" "
                               "tooltip=broken userdata=\"never\"");
    EXPECT_STREQ("a", control.GetName());
    EXPECT_STREQ("two", control.GetText());
    EXPECT_EQ(0xFF000001u, control.GetBkColor());
    EXPECT_STREQ("", control.GetToolTip());
    EXPECT_STREQ("", control.GetUserData());
}

TEST(ControlUITest, TheBaseAnswersForItsKindOnly)
{
    CControlUI control;
    EXPECT_STREQ("ControlUI", control.GetClass());
    EXPECT_EQ(&control, control.GetInterface("Control"));
    EXPECT_EQ(nullptr, control.GetInterface("control"));
    EXPECT_EQ(&control, AsControl(&control));
    EXPECT_EQ(0u, control.GetControlFlags());
    control.SetAttribute("pos", "0,0,30,20");
    EXPECT_EQ(30, control.EstimateSize(SIZE{500, 500}).cx);
    EXPECT_TRUE(control.Activate());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Activate());
}

TEST(ControlUITest, FindControlFiltersByItsFlags)
{
    struct Case {
        const char* what;
        bool visible, enabled, mouse;
        POINT at;
        UINT flags;
        bool found;
    };
    const POINT inside = {5, 5};
    const POINT outside = {50, 5};
    const Case cases[] = {
        {"every control", false, false, false, outside, UIFIND_ALL, true},
        {"hidden, visible only", false, true, true, inside, UIFIND_VISIBLE, false},
        {"disabled, enabled only", true, false, true, inside, UIFIND_ENABLED, false},
        {"disabled, visible only", true, false, true, inside, UIFIND_VISIBLE, true},
        {"hit", true, true, true, inside, UIFIND_HITTEST, true},
        {"missed", true, true, true, outside, UIFIND_HITTEST, false},
        {"mouse disabled", true, true, false, inside, UIFIND_HITTEST, false},
    };
    for (const Case& c : cases) {
        CControlUI control;
        control.SetPos(RECT{0, 0, 10, 10});
        control.SetVisible(c.visible);
        control.SetEnabled(c.enabled);
        control.SetMouseEnabled(c.mouse);
        POINT at = c.at;
        IControlUI* found = control.FindControl(
            [](IControlUI* candidate, void*) { return candidate; }, &at, c.flags);
        EXPECT_EQ(c.found ? &control : nullptr, found) << c.what;
    }
}

TEST(ControlUITest, EventsBubbleUpUnlessHandledOrStoppedByADelegate)
{
    EventLog log;
    ProbeControl parent("parent", &log);
    ProbeControl child("child", &log);
    child.SetManager(nullptr, &parent, false);
    EXPECT_EQ(&parent, child.GetParent());

    TUIEvent event;
    event.type = TUIEventType::ButtonDown;
    child.Event(event);
    event.type = TUIEventType::ContextMenu;  // without the context menu: bubbles too
    child.Event(event);
    event.type = TUIEventType::SetFocus;
    child.Event(event);
    EXPECT_EQ((EventLog{"child:ButtonDown", "parent:ButtonDown", "child:ContextMenu",
                        "parent:ContextMenu", "child:SetFocus"}),
              log);
    EXPECT_TRUE(child.IsFocused());
    event.type = TUIEventType::KillFocus;
    child.Event(event);
    EXPECT_FALSE(child.IsFocused());

    log.clear();
    child.OnEvent.Add(MakeDelegate(
        [](void* e) { return static_cast<TUIEvent*>(e)->type != TUIEventType::ButtonUp; }));
    event.type = TUIEventType::ButtonUp;
    child.Event(event);
    EXPECT_TRUE(log.empty()) << "a delegate that answers false stops the event";
}

TEST(ControlUITest, TheSetCursorEventShowsTheArrow)
{
    CControlUI control;
    SetCursor(nullptr);
    TUIEvent event;
    event.type = TUIEventType::SetCursor;
    control.Event(event);
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), GetCursor());
}

int g_initialised = 0;

TEST(ControlUITest, AttachingUnderAParentInitialisesOnce)
{
    g_initialised = 0;
    CControlUI parent;
    CControlUI child;
    child.OnInit.Add(MakeDelegate([](void*) { return ++g_initialised > 0; }));
    child.SetManager(nullptr, nullptr, true);
    EXPECT_EQ(0, g_initialised) << "no parent yet";
    child.SetManager(nullptr, &parent, false);
    EXPECT_EQ(0, g_initialised);
    child.SetManager(nullptr, &parent, true);
    EXPECT_EQ(1, g_initialised);
}

// A box inside the root, and leaves inside the box; positions are relative to the parent.
class ControlTreeGeometryTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        box = new CContainerUI;
        leaf = new ProbeControl("leaf", &log);
        outside = new ProbeControl("outside", &log);
        AddPlaced(root, box, RECT{50, 10, 100, 60});
        AddPlaced(box, leaf, RECT{30, 30, 100, 80});   // (80,40)-(150,90): partly in the box
        AddPlaced(box, outside, RECT{60, 0, 80, 20});  // (110,10)-(130,30): out of the box
        Attach(root);
        Validate();
    }

    CContainerUI* root = nullptr;
    CContainerUI* box = nullptr;
    ProbeControl* leaf = nullptr;
    ProbeControl* outside = nullptr;
};

TEST_F(ControlTreeGeometryTest, InvalidationIsClippedByEveryAncestor)
{
    EXPECT_EQ((RECT{80, 40, 150, 90}), leaf->GetPos());
    leaf->Invalidate();
    EXPECT_EQ((RECT{80, 40, 100, 60}), UpdateRect());

    Validate();
    outside->Invalidate();
    EXPECT_EQ(RECT{}, UpdateRect());
}

TEST_F(ControlTreeGeometryTest, HiddenControlsAreNeverInvalidated)
{
    leaf->SetVisible(false);
    Paint();
    Validate();
    leaf->Invalidate();
    leaf->SetText("changed");
    EXPECT_EQ(RECT{}, UpdateRect());

    leaf->SetVisible(true);
    box->SetVisible(false);
    Paint();
    Validate();
    EXPECT_FALSE(leaf->IsVisible()) << "hidden with its container";
    leaf->Invalidate();
    EXPECT_EQ(RECT{}, UpdateRect());
}

TEST_F(ControlTreeGeometryTest, OnlyChangesInvalidate)
{
    leaf->SetText("same");
    Validate();
    leaf->SetText("same");
    leaf->SetBkColor(0);
    leaf->SetEnabled(true);
    EXPECT_EQ(RECT{}, UpdateRect());
    leaf->SetBkColor(0xFF000000);
    EXPECT_EQ((RECT{80, 40, 100, 60}), UpdateRect());
}

TEST_F(ControlTreeGeometryTest, MovingInvalidatesBothPlacesWithinTheAncestors)
{
    outside->SetPos(RECT{60, 20, 70, 30});
    EXPECT_EQ((RECT{60, 10, 100, 30}), UpdateRect()) << "old place clipped away, new one kept";
    EXPECT_FALSE(outside->IsUpdateNeeded());
}

TEST_F(ControlTreeGeometryTest, SetPosMakesRectanglesProperAndFiresOnSizeOnce)
{
    static int sized;
    sized = 0;
    leaf->OnSize.Add(MakeDelegate([](void* control) {
        ++sized;
        // Placing the control again from its own handler does not fire the handler again.
        static_cast<CControlUI*>(control)->SetPos(static_cast<CControlUI*>(control)->GetPos());
        return true;
    }));
    leaf->SetPos(RECT{90, 50, 70, 40});
    EXPECT_EQ((RECT{90, 50, 90, 50}), leaf->GetPos());
    EXPECT_EQ(1, sized);
}

TEST_F(ControlTreeGeometryTest, AFloatingControlKeepsTheSideItIsAnchoredTo)
{
    leaf->SetFloat(true);
    leaf->SetFixedXY(SIZE{-30, 10});
    leaf->SetPos(RECT{80, 30, 95, 50});  // box is (50,10)-(100,60)
    EXPECT_EQ("-5,20", Read(*leaf, Field::FixedXY)) << "still counted from the right";
    EXPECT_EQ("15,20", Read(*leaf, Field::FixedSize));
    leaf->SetFixedXY(SIZE{5, 5});
    leaf->SetPos(RECT{60, 20, 70, 40});
    EXPECT_EQ("10,10", Read(*leaf, Field::FixedXY));
}

TEST_F(ControlTreeGeometryTest, GeometryChangesAskTheParentUnlessTheControlFloats)
{
    leaf->SetFloat(false);
    Paint();
    leaf->SetFixedWidth(40);
    EXPECT_TRUE(box->IsUpdateNeeded());
    EXPECT_FALSE(leaf->IsUpdateNeeded());

    leaf->SetFloat(true);
    Paint();
    EXPECT_EQ(120, leaf->GetPos().right) << "placed from its own fields";
    leaf->SetFixedHeight(10);
    EXPECT_FALSE(box->IsUpdateNeeded());
    EXPECT_TRUE(leaf->IsUpdateNeeded());
    leaf->SetMinWidth(-1);
    leaf->SetMaxWidth(-1);
    EXPECT_EQ("0,0", Read(*leaf, Field::MinSize));
    EXPECT_EQ("9999,9999", Read(*leaf, Field::MaxSize));
}

TEST_F(ControlTreeGeometryTest, ADeletedControlIsForgottenByItsManager)
{
    static bool destroyed;
    destroyed = false;
    leaf->OnDestroy.Add(MakeDelegate([](void*) { return destroyed = true; }));
    Mouse(WM_MOUSEMOVE, 85, 45);
    leaf->SetFocus();
    EXPECT_EQ(leaf, Manager().FindControl("leaf"));
    box->SetAutoDestroy(false);
    ASSERT_TRUE(box->Remove(leaf));
    delete leaf;
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(nullptr, Manager().GetFocus());
    EXPECT_EQ(nullptr, Manager().FindControl("leaf"));
    Mouse(WM_MOUSEMOVE, 60, 45);  // would tell the deleted hover control it was left
}

// What a control paints, over a white root: each case gives one control its attributes
// and reads pixels of the back buffer.
class ControlPaintTest : public ControlTreeTest {};

struct Probe {
    int x, y;
    DWORD rgb;
};

bool Near(DWORD expected, DWORD actual)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int e = (expected >> shift) & 0xFF;
        const int a = (actual >> shift) & 0xFF;
        if (std::abs(e - a) > 10)
            return false;
    }
    return true;
}

TEST_F(ControlPaintTest, BackgroundsAndBordersAsPainted)
{
    struct Case {
        const char* attributes;
        bool focused;
        std::vector<Probe> probes;  // the control covers (10,10)-(110,90)
    };
    const DWORD white = 0xFFFFFF;
    const Case cases[] = {
        {"bkcolor=\"#FF4775CC\"", false, {{50, 50, 0x4775CC}, {9, 50, white}}},
        {"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF0000FF\"",
         false,
         {{50, 10, 0xFF0000}, {50, 89, 0x0000FF}, {50, 50, 0x800080}}},
        {"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\"",
         false,
         {{50, 10, 0xFF0000}, {50, 50, 0x00FF00}, {50, 89, 0x0000FF}}},
        {"bkcolor2=\"#FF0000FF\"", false, {{50, 50, white}}},    // no first colour: nothing
        {"bkcolor=\"#00FF0000\"", false, {{50, 50, white}}},     // alpha 0: nothing
        {"bkcolor=\"#80800000\"", false, {{50, 50, 0xFF7F7F}}},  // blended over white
        {"bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF00FF00\"",
         false,
         {{10, 50, 0x00FF00}, {109, 50, 0x00FF00}, {11, 50, white}}},
        {"bordercolor=\"#FF00FF00\" bordersize=\"2\"", false, {{11, 50, 0x00FF00}}},
        {"bordercolor=\"#FF00FF00\" bordersize=\"0\"", false, {{10, 50, white}}},
        {"bordercolor=\"#FF00FF00\" focusbordercolor=\"#FFFF0000\"", true, {{10, 50, 0xFF0000}}},
        {"bordercolor=\"#FF00FF00\" focusbordercolor=\"#FFFF0000\"", false, {{10, 50, 0x00FF00}}},
        {"borderround=\"4,4\"", false, {{60, 10, 0x000000}, {10, 50, 0x000000}}},
        {"borderround=\"4,4\" bordersize=\"0\"", false, {{60, 10, white}}},
        {"bkcolor=\"#FF0000FF\" borderround=\"30,30\" bordersize=\"0\"",
         false,
         {{10, 10, white}, {60, 50, 0x0000FF}}},
    };
    for (const Case& c : cases) {
        CContainerUI* root = new CContainerUI;
        root->SetBkColor(0xFFFFFFFF);
        CControlUI* control = new CControlUI;
        control->ApplyAttributeList(c.attributes);
        AddPlaced(root, control, RECT{10, 10, 110, 90});
        Attach(root);
        if (c.focused) {
            control->SetFocus();
            Paint();
        }
        for (const Probe& probe : c.probes) {
            EXPECT_TRUE(Near(probe.rgb, PixelAt(probe.x, probe.y)))
                << c.attributes << " at " << probe.x << "," << probe.y << ": "
                << Hex(PixelAt(probe.x, probe.y)) << " instead of " << Hex(probe.rgb);
        }
    }
}

TEST_F(ControlPaintTest, ABackgroundImageThatCannotBeLoadedIsForgottenUntilSetAgain)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* control = new CControlUI;
    control->SetBkImage("file='missing.png'");
    AddPlaced(root, control, RECT{10, 10, 110, 90});
    Attach(root);
    EXPECT_STREQ("", control->GetBkImage()) << "not read from disk again at every paint";
    control->SetBkImage("file='missing.png'");
    EXPECT_STREQ("file='missing.png'", control->GetBkImage());
}

TEST_F(ControlPaintTest, AStringOfWhichOneImageLoadsIsKeptAndDrawnAtEveryPaint)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* control = new CControlUI;
    const char* image = "res='115' restype='png' file='missing.png'";
    control->SetBkImage(image);
    AddPlaced(root, control, RECT{10, 10, 110, 90});
    Attach(root);
    const DWORD drawn = PixelAt(20, 20);
    ASSERT_NE(PixelAt(5, 5), drawn) << "image 115 is drawn";
    Repaint();
    EXPECT_STREQ(image, control->GetBkImage());
    EXPECT_EQ(drawn, PixelAt(20, 20)) << "still drawn after the first paint";
}

TEST_F(ControlPaintTest, APaintWithoutADeviceContextForgetsNoImage)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* control = new CControlUI;
    const char* image = "res='115' restype='png'";
    control->SetBkImage(image);
    AddPlaced(root, control, RECT{10, 10, 110, 90});
    Attach(root);
    Send(WM_PRINTCLIENT, 0, PRF_CLIENT);
    control->DoPaint(nullptr, RECT{10, 10, 110, 90});
    EXPECT_STREQ(image, control->GetBkImage());
}

TEST(ControlUIPaintTest, AnImageThatCannotBeDrawnIsDropped)
{
    CControlUI control;
    control.SetBkImage("missing.png");
    control.SetPos(RECT{0, 0, 10, 10});
    HDC dc = CreateCompatibleDC(nullptr);
    control.DoPaint(dc, RECT{0, 0, 10, 10});  // no manager to draw with
    DeleteDC(dc);
    EXPECT_STREQ("", control.GetBkImage());
}

}  // namespace
}  // namespace VeneerTest

// The edit control on a real window: the native edit window it opens while focused, text
// both ways with "textchanged" and "return", closing on focus loss and on hiding, password
// masking, the character limit, the disabled state, the reflected colour messages, and an
// edit destroyed while its native window is open.

#include <functional>
#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/EditUI.h"
#include "ui/core/base/TextStep.h"

namespace VeneerTest {
namespace {

constexpr DWORD kWhite = 0xFFFFFF;
const RECT kEdit = {20, 20, 120, 50};
const POINT kInside = {70, 35};
const POINT kElsewhere = {150, 80};

std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

class EditTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        root->SetBkColor(0xFF000000 | kWhite);
        root->SetDelayedDestroy(false);
        page = new CContainerUI;
        page->SetDelayedDestroy(false);
        AddPlaced(root, page, RECT{0, 0, 130, 60});
        edit = new Poisoned<CEditUI>;
        edit->SetName("e");
        AddPlaced(page, edit, kEdit);
        Attach(root);
        // The first paint focused the edit, which opened its native window.
        Manager().SetFocus(nullptr);
        Pump();
        notes.Clear();
    }

    // Delivers what was posted: the native window closes itself by a posted WM_CLOSE.
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    void Click(POINT pt)
    {
        Mouse(WM_LBUTTONDOWN, pt.x, pt.y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, pt.x, pt.y);
    }

    static void Type(HWND window, const char* text)
    {
        for (const char* p = text; *p != '\0'; ++p)
            SendMessageA(window, WM_CHAR, static_cast<unsigned char>(*p), 1);
    }

    static void PressReturn(HWND window)
    {
        SendMessageA(window, WM_KEYDOWN, VK_RETURN, 1);
        SendMessageA(window, WM_CHAR, '\r', 1);
    }

    HWND OpenByClick()
    {
        Click(kInside);
        return edit->GetNativeWindow();
    }

    CContainerUI* root = nullptr;
    CContainerUI* page = nullptr;
    CEditUI* edit = nullptr;
};

TEST_F(EditTest, AClickOpensTheNativeWindowOverTheTextWithAllOfItSelected)
{
    edit->SetText("hello");
    Mouse(WM_LBUTTONDOWN, kInside.x, kInside.y, MK_LBUTTON);
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(nullptr, native);
    EXPECT_EQ(native, GetFocus());
    EXPECT_EQ(nullptr, GetCapture()) << "the rest of the press is the native window's";
    EXPECT_TRUE(IsWindowVisible(native));
    EXPECT_EQ("hello", WindowText(native));
    DWORD start = 99;
    DWORD end = 99;
    SendMessageA(native, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(5u, end);

    // Over the text rectangle (padding 4,3,4,3), one line of the font high, centred on it.
    RECT placed = {};
    GetWindowRect(native, &placed);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&placed), 2);
    const int line = Manager().GetDefaultFontEntry()->metrics.tmHeight;
    ASSERT_LT(line, 24);
    const int top = 23 + ((47 - line) - 23) / 2;
    EXPECT_EQ((RECT{24, top, 116, top + line}), placed);
    Mouse(WM_LBUTTONUP, kInside.x, kInside.y);
    EXPECT_TRUE(notes.Of({"textchanged"}).empty()) << "dressing the window tells nothing";

    // Laid out elsewhere, the open window follows.
    edit->SetPos(RECT{20, 30, 120, 60});
    GetWindowRect(native, &placed);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(top + 10, placed.top);
}

TEST_F(EditTest, TypingIsCopiedBackAtEachChangeAndReturnIsToldNotTyped)
{
    std::vector<std::string> textAtNotify;
    NotifyHook hook([&](TNotifyMsg& msg) {
        if (msg.type == "textchanged")
            textAtNotify.push_back(edit->GetText().GetData());
    });
    Manager().AddNotifier(&hook);
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);

    Type(native, "ab");
    EXPECT_EQ((std::vector<std::string>{"a", "ab"}), textAtNotify);
    PressReturn(native);
    EXPECT_EQ((std::vector<std::string>{"e:textchanged", "e:textchanged", "e:return"}),
              notes.Of({"textchanged", "return"}));
    EXPECT_STREQ("ab", edit->GetText());
    EXPECT_EQ("ab", WindowText(native));

    edit->SetText("xyz");
    EXPECT_EQ("xyz", WindowText(native)) << "SetText writes into the open window";
    Manager().RemoveNotifier(&hook);
}

// "한글" as text of code page 65001, which the system's code page (GBK) cannot hold, both
// ways between the edit and its native window.
TEST_F(EditTest, TheNativeWindowKeepsEveryCharacterOfTheTextCodePage)
{
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_UTF8));
    const char korean[] = "\xED\x95\x9C\xEA\xB8\x80";
    edit->SetText(korean);
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    wchar_t shown[8] = {};
    GetWindowTextW(native, shown, 8);
    EXPECT_STREQ(L"\uD55C\uAE00", shown);
    SetWindowTextW(native, L"\uAE00\uD55C");
    EXPECT_STREQ("\xEA\xB8\x80\xED\x95\x9C", edit->GetText());
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_ACP));
}

TEST_F(EditTest, AReceiverThatSetsTheTextItWasToldOfIsToldOnce)
{
    // Upper-cases what is typed: its own change is told once more, then nothing changes.
    int told = 0;
    NotifyHook upper([&](TNotifyMsg& msg) {
        if (msg.type != "textchanged" || ++told > 10)
            return;
        CUIString text = edit->GetText();
        text.MakeUpper();
        edit->SetText(text);
    });
    Manager().AddNotifier(&upper);
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    Type(native, "a");
    Manager().RemoveNotifier(&upper);
    EXPECT_STREQ("A", edit->GetText());
    EXPECT_EQ("A", WindowText(native));
    EXPECT_EQ(2, told);
}

TEST_F(EditTest, ClickingElsewhereClosesTheNativeWindowAndKeepsTheTypedText)
{
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    Type(native, "ab");
    Click(kElsewhere);
    Pump();
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(nullptr, edit->GetNativeWindow());
    EXPECT_STREQ("ab", edit->GetText());

    // Clicked again, it opens a new one with the text.
    const HWND again = OpenByClick();
    ASSERT_NE(nullptr, again);
    EXPECT_EQ("ab", WindowText(again));
}

TEST_F(EditTest, AfterTheWindowIsResizedTheEditingGoesOnInANewNativeWindow)
{
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    Type(native, "ab");
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight));
    Pump();
    Paint();
    EXPECT_FALSE(IsWindow(native));
    const HWND again = edit->GetNativeWindow();
    ASSERT_NE(nullptr, again);
    EXPECT_EQ("ab", WindowText(again));
    EXPECT_EQ(edit, Manager().GetFocus());
}

TEST_F(EditTest, TheCharacterLimitHoldsForTypingButNotForSetText)
{
    edit->SetAttribute("maxchar", "5");
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    Type(native, "abcdefg");
    EXPECT_STREQ("abcde", edit->GetText());
    edit->SetText("abcdefgh");
    EXPECT_STREQ("abcdefgh", edit->GetText());
    EXPECT_EQ("abcdefgh", WindowText(native));

    // Changed while open, the limit and the read-only state reach the native window.
    edit->SetAttribute("maxchar", "3");
    EXPECT_EQ(3, SendMessageA(native, EM_GETLIMITTEXT, 0, 0));
    edit->SetAttribute("readonly", "true");
    EXPECT_NE(0, GetWindowLongPtrA(native, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditTest, APasswordIsPaintedMaskedWhileIdleAndMaskedByTheNativeWindow)
{
    // The same text drawn by a plain edit, for comparison.
    const RECT below = {20, 60, 120, 90};
    auto* plain = new CEditUI;
    AddPlaced(root, plain, below);
    edit->ApplyAttributeList("password=\"true\" text=\"abc\"");
    plain->SetText("***");
    Repaint();
    const RECT masked = InkBox(kEdit, kWhite);
    RECT stars = InkBox(below, kWhite);
    OffsetRect(&stars, 0, -40);
    ASSERT_FALSE(IsRectEmpty(&masked));
    EXPECT_EQ(stars, masked);
    plain->SetText("abc");
    Repaint();
    RECT clear = InkBox(below, kWhite);
    OffsetRect(&clear, 0, -40);
    EXPECT_FALSE(clear == masked);

    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    EXPECT_NE(0, GetWindowLongPtrA(native, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ('*', SendMessageA(native, EM_GETPASSWORDCHAR, 0, 0));
}

TEST_F(EditTest, HidingTheEditOrAnAncestorEndsTheEditing)
{
    const struct {
        const char* what;
        std::function<void(CEditUI*, CContainerUI*)> hide;
        std::function<void(CEditUI*, CContainerUI*)> show;
    } cases[] = {
        {"the edit", [](CEditUI* e, CContainerUI*) { e->SetVisible(false); },
         [](CEditUI* e, CContainerUI*) { e->SetVisible(true); }},
        {"its container", [](CEditUI*, CContainerUI* c) { c->SetVisible(false); },
         [](CEditUI*, CContainerUI* c) { c->SetVisible(true); }},
    };
    for (const auto& c : cases) {
        edit->SetFocus();
        const HWND native = edit->GetNativeWindow();
        ASSERT_NE(nullptr, native) << c.what;
        c.hide(edit, page);
        Pump();
        EXPECT_FALSE(IsWindow(native)) << c.what;
        EXPECT_EQ(nullptr, edit->GetNativeWindow()) << c.what;
        edit->SetFocus();
        EXPECT_EQ(nullptr, edit->GetNativeWindow()) << c.what << ": hidden, it opens no window";
        c.show(edit, page);
    }
}

TEST_F(EditTest, ADisabledEditShowsItsImageIgnoresTheMouseAndOpensNothing)
{
    edit->ApplyAttributeList("normalimage=\"res='115' restype='png'\" "
                             "hotimage=\"res='116' restype='png'\" "
                             "disabledimage=\"res='117' restype='png'\"");
    Repaint();
    const DWORD normal = PixelAt(kInside.x, kInside.y);
    EXPECT_EQ(UINT{UIFLAG_TABSTOP | UIFLAG_SETCURSOR}, edit->GetControlFlags());

    edit->SetEnabled(false);
    Mouse(WM_MOUSEMOVE, kInside.x, kInside.y);
    EXPECT_EQ(0u, edit->GetButtonState() & UISTATE_HOT) << "mouse enter ignored";
    Repaint();
    const DWORD disabled = PixelAt(kInside.x, kInside.y);
    EXPECT_NE(normal, disabled);
    EXPECT_EQ(0u, edit->GetControlFlags());
    Click(kInside);
    EXPECT_EQ(nullptr, edit->GetNativeWindow());

    edit->SetEnabled(true);
    Mouse(WM_MOUSEMOVE, kElsewhere.x, kElsewhere.y);
    Mouse(WM_MOUSEMOVE, kInside.x, kInside.y);
    EXPECT_NE(0u, edit->GetButtonState() & UISTATE_HOT);
    Repaint();
    EXPECT_NE(normal, PixelAt(kInside.x, kInside.y)) << "hot";
    EXPECT_NE(disabled, PixelAt(kInside.x, kInside.y)) << "hot";

    // Disabled while open: nothing more is typed into it.
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    edit->SetEnabled(false);
    Pump();
    EXPECT_TRUE(!IsWindow(native) || !IsWindowEnabled(native));
    Click(kInside);
    Pump();
    const HWND after = edit->GetNativeWindow();
    EXPECT_TRUE(after == nullptr || after == native) << "a click opens none while disabled";
}

TEST_F(EditTest, TheNativeWindowIsColouredOnlyWhenTheSkinAsks)
{
    edit->SetAttribute("textcolor", "#FF112233");
    const HWND native = OpenByClick();
    ASSERT_NE(nullptr, native);
    HDC dc = CreateCompatibleDC(nullptr);
    const auto colour = [&] {
        return reinterpret_cast<HBRUSH>(
            Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(native)));
    };
    EXPECT_EQ(nullptr, colour()) << "the system's own background";

    edit->SetAttribute("nativebkcolor", "#FF00FF00");
    const HBRUSH brush = colour();
    ASSERT_NE(nullptr, brush);
    LOGBRUSH logBrush = {};
    GetObjectA(brush, sizeof(logBrush), &logBrush);
    EXPECT_EQ(RGB(0, 255, 0), logBrush.lbColor);
    EXPECT_EQ(RGB(0x11, 0x22, 0x33), GetTextColor(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(brush, colour()) << "made once";
    DeleteDC(dc);
}

TEST_F(EditTest, AnEditDestroyedWhileEditingIsNeverReachedByItsNativeWindow)
{
    // After the edit is gone its window is typed into before it closes: a window that
    // still knew the edit would write into it.
    const struct {
        const char* what;
        std::function<void(HWND)> edit;
        const char* destroyOn;  // notification whose receiver destroys the edit
    } cases[] = {
        {"removed by the program", [](HWND) {}, nullptr},
        {"by a textchanged receiver", [](HWND w) { Type(w, "x"); }, "textchanged"},
        {"by a return receiver", [](HWND w) { PressReturn(w); }, "return"},
    };
    for (const auto& c : cases) {
        edit = new Poisoned<CEditUI>;
        AddPlaced(page, edit, kEdit);
        edit->SetFocus();
        const HWND native = edit->GetNativeWindow();
        ASSERT_NE(nullptr, native) << c.what;
        RemoveSender destroyer(page, c.destroyOn != nullptr ? c.destroyOn : "");
        Manager().AddNotifier(&destroyer);
        if (c.destroyOn == nullptr)
            page->Remove(edit);
        c.edit(native);
        Manager().RemoveNotifier(&destroyer);
        EXPECT_EQ(1, page->GetCount()) << c.what << ": the edit of SetUp stays";
        Type(native, "yz");
        PressReturn(native);
        SendMessageA(native, WM_KILLFOCUS, 0, 0);
        Pump();
        EXPECT_FALSE(IsWindow(native)) << c.what;
    }
}

TEST_F(EditTest, AttributesAndSizes)
{
    const struct {
        const char* attributes;
        UINT maxChar;
        bool readOnly;
        bool password;
        DWORD nativeBkColor;
    } cases[] = {
        {"", 255, false, false, 0xFFFFFFFF},
        {"maxchar=\"12\" readonly=\"true\"", 12, true, false, 0xFFFFFFFF},
        {"password=\"true\" nativebkcolor=\"#FF102030\"", 255, false, true, 0xFF102030},
        {"password=\"True\" nativebkcolor=\"80FFFFFF\"", 255, false, false, 0x80FFFFFF},
    };
    for (const auto& c : cases) {
        CEditUI e;
        e.ApplyAttributeList(c.attributes);
        ExpectListedAttributes(e, c.attributes);
        EXPECT_EQ(c.maxChar, e.GetMaxChar()) << c.attributes;
        EXPECT_EQ(c.readOnly, e.IsReadOnly()) << c.attributes;
        EXPECT_EQ(c.password, e.IsPasswordMode()) << c.attributes;
        EXPECT_EQ(c.nativeBkColor, e.GetNativeEditBkColor()) << c.attributes;
    }
    CEditUI e;
    const char* others = "normalimage=\"a\" hotimage=\"b\" disabledimage=\"c\" "
                         "focusedimage=\"res='115'\" text=\"base\" align=\"center\"";
    e.ApplyAttributeList(others);
    ExpectListedAttributes(e, others);
    EXPECT_STREQ("res='115'", e.GetImage(TEditImage::Focused));
    EXPECT_STREQ("base", e.GetText()) << "other names go to the label";
    EXPECT_EQ((RECT{4, 3, 4, 3}), e.GetTextPadding());
    EXPECT_EQ(0xFFFFFFFFu, e.GetBkColor());
    EXPECT_STREQ("EditUI", e.GetClass());
    EXPECT_EQ(&e, e.GetInterface("Edit"));
    EXPECT_EQ(&e, e.GetInterface("Label"));

    // Without a fixed height: the window's default font, whatever the edit's own.
    Manager().AddFont("Tahoma", 30, false, false, false);
    edit->SetAttribute("font", "0");
    edit->SetFixedHeight(0);
    EXPECT_EQ(Manager().GetDefaultFontEntry()->metrics.tmHeight + 6,
              edit->EstimateSize(SIZE{200, 100}).cy);
}

}  // namespace
}  // namespace VeneerTest

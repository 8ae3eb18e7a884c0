// The rich edit on a real window, over the system's text services: typing (with double-byte
// characters of the GBK code page), Return with and without wantreturn, the character
// limit, read-only and password modes, keyboard selection, the framework's scroll bar over a
// long text, Tab in and out, a rich edit destroyed by its own "return", and what a rich edit
// leaves behind (host references, GDI and USER objects) when it goes.

#include <algorithm>
#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/RichEditUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/base/TextStep.h"

namespace VeneerTest {
namespace {

constexpr DWORD kWhite = 0xFFFFFF;
const RECT kRich = {10, 10, 190, 90};

// Holds keys down in the thread's keyboard state, which the manager and the text services
// read, and lets them go at the end of its scope.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<BYTE> keys)
    {
        GetKeyboardState(m_saved);
        BYTE state[256];
        std::memcpy(state, m_saved, sizeof(state));
        for (BYTE key : keys)
            state[key] |= 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(m_saved); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE m_saved[256];
};

class RichEditTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        root->SetBkColor(0xFF000000 | kWhite);
        root->SetDelayedDestroy(false);
        rich = AddRich(kRich);
        Attach(root);
        ASSERT_NE(nullptr, rich->GetTextServices()) << "riched20's text services";
        Manager().SetFocus(rich);
        notes.Clear();
    }

    CRichEditUI* AddRich(RECT at)
    {
        CRichEditUI* made = new Poisoned<CRichEditUI>;
        made->SetName("r");
        made->SetAttribute("bkcolor", "#FFFFFFFF");
        AddPlaced(root, made, at);
        return made;
    }

    void Type(const char* text)
    {
        for (const char* p = text; *p != '\0'; ++p)
            Send(WM_CHAR, static_cast<unsigned char>(*p), 1);
    }

    void Key(WPARAM key)
    {
        Send(WM_KEYDOWN, key, 1);
        Send(WM_KEYUP, key, 0xC0000001);
    }

    void PressReturn()
    {
        Send(WM_KEYDOWN, VK_RETURN, 1);
        Send(WM_CHAR, '\r', 1);
        Send(WM_KEYUP, VK_RETURN, 0xC0000001);
    }

    // Tab as the message loop meets it: the manager's pre-translation first.
    void PressTab()
    {
        LRESULT result = 0;
        if (Manager().PreMessageHandler(WM_KEYDOWN, VK_TAB, 1, result))
            return;
        Send(WM_KEYDOWN, VK_TAB, 1);
        Send(WM_CHAR, '\t', 1);
    }

    std::string Text() const { return rich->GetText().GetData(); }

    CContainerUI* root = nullptr;
    CRichEditUI* rich = nullptr;
};

TEST_F(RichEditTest, TypedCharactersBecomeTheTextAndEachChangeIsTold)
{
    Type("ab");
    EXPECT_EQ("ab", Text());
    EXPECT_EQ((std::vector<std::string>{"r:textchanged", "r:textchanged"}),
              notes.Of({"textchanged"}));

    notes.Clear();
    rich->SetText("xyz");
    EXPECT_EQ("xyz", Text());
    EXPECT_TRUE(notes.Of({"textchanged"}).empty()) << "only the user's changes are told";
}

TEST_F(RichEditTest, DoubleByteCharactersOfTheTextCodePageArriveAsTheirTwoBytes)
{
    if (TextCodePage() != 936)
        GTEST_SKIP() << "needs the GBK code page (LANG=zh_CN.UTF-8)";
    // "中文" in GBK, byte by byte as an ANSI window receives it from the input method.
    Type("a\xD6\xD0\xCE\xC4");
    EXPECT_EQ("a\xD6\xD0\xCE\xC4", Text());
    rich->SetText("\xBA\xC3");  // 好
    EXPECT_EQ("\xBA\xC3", Text());
}

struct TReturnCase {
    const char* name;
    bool wantReturn;
    bool wantCtrlReturn;
    bool control;
    bool multiLine;
    bool told;  // "return" sent, nothing inserted; else a new paragraph
};

const TReturnCase kReturnCases[] = {
    {"plain Return with wantreturn", true, false, false, true, false},
    {"plain Return without wantreturn", false, false, false, true, true},
    {"Return on one line", true, false, false, false, true},
    {"Ctrl+Return with wantctrlreturn", true, true, true, true, true},
    {"plain Return beside wantctrlreturn", true, true, false, true, false},
    {"Ctrl+Return without wantctrlreturn", true, false, true, true, false},
};

TEST_F(RichEditTest, ReturnIsToldOrTypedAsTheAttributesSay)
{
    for (const TReturnCase& c : kReturnCases) {
        SCOPED_TRACE(c.name);
        rich->SetWantReturn(c.wantReturn);
        rich->SetWantCtrlReturn(c.wantCtrlReturn);
        rich->SetMultiLine(c.multiLine);
        rich->SetText("ab");
        rich->SetSel(2, 2);
        notes.Clear();
        {
            HeldKeys keys(c.control ? std::initializer_list<BYTE>{VK_CONTROL}
                                    : std::initializer_list<BYTE>{});
            Send(WM_KEYDOWN, VK_RETURN, 1);
            Send(WM_CHAR, c.control ? '\n' : '\r', 1);
        }
        Send(WM_KEYUP, VK_RETURN, 0xC0000001);
        Type("c");
        EXPECT_EQ(c.told ? "abc" : "ab\r\nc", Text());
        EXPECT_EQ(c.told ? 1u : 0u, notes.Of({"return"}).size());
    }
}

TEST_F(RichEditTest, MaxCharLimitsTypingAndReadOnlyRefusesIt)
{
    rich->SetAttribute("maxchar", "5");
    Type("abcdefgh");
    EXPECT_EQ("abcde", Text());

    rich->SetAttribute("readonly", "true");
    rich->SetText("fixed");
    notes.Clear();
    Type("x");
    Key(VK_BACK);
    EXPECT_EQ("fixed", Text());
    EXPECT_TRUE(notes.Of({"textchanged"}).empty());
}

TEST_F(RichEditTest, PasswordModeDrawsOneMaskPerCharacter)
{
    // Narrow and wide letters take the same room once masked.
    auto inkWidth = [this](const char* text) {
        rich->SetText(text);
        Repaint();
        const RECT ink = InkBox(rich->GetTextRect(), kWhite);
        return ink.right - ink.left;
    };
    const int narrow = inkWidth("iiii");
    const int wide = inkWidth("WWWW");
    EXPECT_LT(narrow, wide);
    rich->SetAttribute("password", "true");
    const int maskedNarrow = inkWidth("iiii");
    EXPECT_EQ(maskedNarrow, inkWidth("WWWW"));
    EXPECT_EQ("WWWW", Text()) << "the text itself stays";
}

TEST_F(RichEditTest, ShiftWithArrowsSelectsFromTheCaret)
{
    Type("hello");
    Key(VK_HOME);
    {
        HeldKeys shift({VK_SHIFT});
        Key(VK_RIGHT);
        Key(VK_RIGHT);
        Key(VK_RIGHT);
    }
    LONG start = -1;
    LONG end = -1;
    rich->GetSel(&start, &end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(3, end);
    Type("J");
    EXPECT_EQ("Jlo", Text()) << "typing replaces the selection";
}

TEST_F(RichEditTest, APressTakesTheFocusAndADragSelects)
{
    rich->SetText("hello world");
    Manager().SetFocus(nullptr);
    const RECT text = rich->GetTextRect();
    const int y = text.top + 5;
    Mouse(WM_LBUTTONDOWN, text.left, y, MK_LBUTTON);
    EXPECT_EQ(rich, Manager().GetFocus());
    Mouse(WM_MOUSEMOVE, text.right - 5, y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, text.right - 5, y);
    LONG start = -1;
    LONG end = -1;
    rich->GetSel(&start, &end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(11, end);
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = locked;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST_F(RichEditTest, CopyCutAndPasteGoThroughTheClipboard)
{
    Type("hello");
    rich->SetSel(0, 4);
    {
        HeldKeys control({VK_CONTROL});
        Key('C');
    }
    EXPECT_EQ(L"hell", ClipboardText());
    rich->SetSel(5, 5);
    {
        HeldKeys control({VK_CONTROL});
        Key('V');
    }
    EXPECT_EQ("hellohell", Text());
    rich->SetSel(0, 5);
    notes.Clear();
    {
        HeldKeys control({VK_CONTROL});
        Key('X');
    }
    EXPECT_EQ("hell", Text());
    EXPECT_EQ(L"hello", ClipboardText());
    EXPECT_FALSE(notes.Of({"textchanged"}).empty());
}

TEST_F(RichEditTest, ALongTextScrollsWithTheFrameworksBar)
{
    rich->SetAttribute("vscrollbar", "true");
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    rich->SetText(text.c_str());
    Repaint();
    Repaint();
    CScrollBarUI* bar = rich->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(bar->IsVisible()) << "the text overflows the view";
    EXPECT_GT(bar->GetScrollRange(), 0);
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_LE(rich->GetTextRect().right, bar->GetPos().left) << "the text makes room";
    ASSERT_EQ(0, rich->GetTextServices() ? 0 : 1);
    LRESULT firstLine = 0;
    rich->GetTextServices()->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &firstLine);
    EXPECT_EQ(0, firstLine);

    // The bar's down arrow scrolls the text, and the bar follows the text services.
    const RECT down = bar->GetButton2Rect();
    Mouse(WM_LBUTTONDOWN, (down.left + down.right) / 2, (down.top + down.bottom) / 2, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, (down.left + down.right) / 2, (down.top + down.bottom) / 2);
    EXPECT_GT(bar->GetScrollPos(), 0);
    rich->GetTextServices()->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &firstLine);
    EXPECT_GT(firstLine, 0);

    // Dragged to the end by the bar's position, the last line is in view.
    rich->SetScrollPos(SIZE{0, bar->GetScrollRange()});
    EXPECT_EQ(bar->GetScrollRange(), bar->GetScrollPos());
    rich->GetTextServices()->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &firstLine);
    EXPECT_GT(firstLine, 30);

    // The wheel turned towards the user scrolls down from the top.
    rich->HomeUp();
    EXPECT_EQ(0, bar->GetScrollPos());
    ScreenMouse(WM_MOUSEWHEEL, 50, 50, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
    EXPECT_GT(bar->GetScrollPos(), 0);
}

// A line longer than the view does not wrap with autohscroll; the horizontal bar shows it
// and scrolls it sideways.
TEST_F(RichEditTest, ALongLineScrollsSidewaysWithTheHorizontalBar)
{
    rich->SetAttribute("autohscroll", "true");
    rich->SetAttribute("hscrollbar", "true");
    rich->SetText(std::string(300, 'w').c_str());
    Repaint();
    Repaint();
    CScrollBarUI* bar = rich->GetHorizontalScrollBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(bar->IsVisible()) << "the line overflows the view";
    EXPECT_GT(bar->GetScrollRange(), 0);
    EXPECT_LE(rich->GetTextRect().bottom, bar->GetPos().top) << "the text makes room";
    LONG min = 0, max = 0, pos = -1, page = 0;
    BOOL enabled = FALSE;
    rich->GetTextServices()->TxGetHScroll(&min, &max, &pos, &page, &enabled);
    EXPECT_EQ(0, pos);

    rich->SetScrollPos(SIZE{bar->GetScrollRange(), 0});
    EXPECT_EQ(bar->GetScrollRange(), bar->GetScrollPos());
    rich->GetTextServices()->TxGetHScroll(&min, &max, &pos, &page, &enabled);
    EXPECT_GT(pos, 0) << "the text services scrolled with the bar";
}

TEST_F(RichEditTest, TabMovesTheFocusUnlessTheRichEditWantsIt)
{
    CRichEditUI* second = AddRich(RECT{10, 92, 190, 99});
    Repaint();
    Manager().SetFocus(rich);
    PressTab();
    EXPECT_EQ(second, Manager().GetFocus());
    EXPECT_EQ((std::vector<std::string>{"r:killfocus", "r:setfocus"}),
              notes.Of({"setfocus", "killfocus"}));

    Manager().SetFocus(rich);
    rich->SetAttribute("wanttab", "true");
    PressTab();
    EXPECT_EQ(rich, Manager().GetFocus());
    EXPECT_EQ("\t", Text());
}

HWND CaretWindow()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) ? info.hwndCaret : nullptr;
}

TEST_F(RichEditTest, AReceiverMayDestroyTheRichEditFromItsReturn)
{
    rich->SetWantReturn(false);
    RemoveSender remover(root, "return");
    Manager().AddNotifier(&remover);
    Type("a");
    EXPECT_EQ(Window(), CaretWindow()) << "the focused rich edit shows a caret";
    PressReturn();
    Manager().RemoveNotifier(&remover);
    EXPECT_EQ(0, root->GetCount());
    EXPECT_EQ(nullptr, CaretWindow()) << "its caret went with it";
    EXPECT_EQ(nullptr, Manager().GetFocus());
    Type("b");
    Repaint();
}

TEST_F(RichEditTest, TheHostIsReleasedByEveryoneWhenTheRichEditGoes)
{
    CTxtWinHost* host = rich->GetTextHost();
    ASSERT_NE(nullptr, host);
    host->AddRef();
    Type("abc");
    Repaint();
    root->Remove(rich);
    EXPECT_EQ(0u, host->Release()) << "references left on the host";
}

// The highest slot of the process's GDI handle table (the low word of a handle) that a
// batch of fresh objects takes. Wine counts no GUI resources; but objects left alive keep
// their slots, so after a leak fresh objects must go beyond the slots they took before.
WORD HighestFreshGdiSlot()
{
    const int kBatch = 64;
    HGDIOBJ batch[kBatch] = {};
    WORD highest = 0;
    for (HGDIOBJ& object : batch) {
        object = CreateRectRgn(0, 0, 1, 1);
        highest = std::max(highest, LOWORD(reinterpret_cast<UINT_PTR>(object)));
    }
    for (HGDIOBJ object : batch)
        DeleteObject(object);
    return highest;
}

TEST_F(RichEditTest, AThousandRichEditsLeaveNoGdiOrUserObjectBehind)
{
    auto makeAndDestroy = [this] {
        CRichEditUI* made = AddRich(kRich);
        made->SetAttribute("vscrollbar", "true");
        Manager().SetFocus(made);
        Send(WM_CHAR, 'x', 1);
        made->SetText("{\\rtf1 {\\b bold} plain}");
        Repaint();
        root->Remove(made);
    };
    root->Remove(rich);
    makeAndDestroy();
    const HANDLE process = GetCurrentProcess();
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const WORD slot = HighestFreshGdiSlot();
    for (int i = 0; i < 1000; ++i)
        makeAndDestroy();
    EXPECT_EQ(gdi, GetGuiResources(process, GR_GDIOBJECTS));
    EXPECT_EQ(user, GetGuiResources(process, GR_USEROBJECTS));
    // One object left a round would take 1000 slots more.
    EXPECT_LT(HighestFreshGdiSlot(), slot + 100);
}

}  // namespace
}  // namespace VeneerTest

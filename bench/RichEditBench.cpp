// richedit: the rich edit over the system's text services. Times typing 10 000 characters
// through the window's messages (the manager's routing, the double-byte joining, the text
// services' editing), alone and with the window painted after every tenth character, and
// the paint of a 100-line text: the whole paint message and the text services' drawing
// into the back buffer alone.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchWindow.h"
#include "bench/Timing.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/ControlClasses.h"
#include "ui/controls/RichEditUI.h"

using namespace Veneer;
using namespace LorvikBench;

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
int kTyped = 10000;  // or the first argument
constexpr int kLines = 100;
constexpr int kRounds = 3;

// Letters with a blank every eighth, so the text services wrap words as they go, and a
// Return every 80th, as paragraphs of a note are typed.
void TypeOne(HWND hwnd, int index)
{
    if (index % 80 == 79) {
        SendMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 1);
        SendMessageA(hwnd, WM_CHAR, '\r', 1);
        return;
    }
    const char typed = index % 8 == 7 ? ' ' : static_cast<char>('a' + index % 26);
    SendMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(typed), 1);
}

void Type(HWND hwnd, CRichEditUI* rich, int paintEvery)
{
    rich->SetText("");
    for (int i = 0; i < kTyped; ++i) {
        TypeOne(hwnd, i);
        if (paintEvery > 0 && i % paintEvery == 0)
            UpdateWindow(hwnd);
    }
}

std::string HundredLines()
{
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "Line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog\r\n";
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        kTyped = std::atoi(argv[1]);
    RegisterControls();
    BenchWindow window("VeneerRichEditBench");
    const HWND hwnd = window.Open("richedit", kWidth, kHeight);
    if (hwnd == nullptr)
        return 1;
    CContainerUI* root = new CContainerUI;
    root->SetBkColor(0xFFFFFFFF);
    CRichEditUI* rich = new CRichEditUI;
    rich->SetAttribute("vscrollbar", "true");
    root->Add(rich);
    window.manager.AttachRoot(root);
    UpdateWindow(hwnd);
    if (rich->GetTextServices() == nullptr) {
        std::fprintf(stderr, "richedit: no text services (riched20)\n");
        return 1;
    }
    window.manager.SetFocus(rich);

    std::printf("richedit: %d x %d window, one rich edit with a vertical bar; best of %d rounds\n",
                kWidth, kHeight, kRounds);
    const double typing = Best(kRounds, [&] { Type(hwnd, rich, 0); });
    std::printf("type %d characters:                    %9.1f ms (%.1f us a character)\n", kTyped,
                typing, 1000.0 * typing / kTyped);
    const double typingPainted = Best(kRounds, [&] { Type(hwnd, rich, 10); });
    std::printf("type %d characters, paint every 10th:  %9.1f ms (%.1f us a character)\n", kTyped,
                typingPainted, 1000.0 * typingPainted / kTyped);

    rich->SetText(HundredLines().c_str());
    UpdateWindow(hwnd);
    const double paint = Best(kRounds * 4, [&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    std::printf("paint the window, %d-line text:        %9.3f ms\n", kLines, paint);
    const RECT whole = {0, 0, kWidth, kHeight};
    const HDC buffer = window.manager.GetOffscreenDC();
    const double draw = Best(kRounds * 4, [&] { rich->DoPaint(buffer, whole); });
    std::printf("draw the rich edit alone, %d lines:    %9.3f ms\n", kLines, draw);
    DestroyWindow(hwnd);
    return 0;
}

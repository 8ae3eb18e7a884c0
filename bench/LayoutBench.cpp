// layout: a vertical layout with a scroll bar and 1 000 or 10 000 children 20 pixels high
// in an 800 x 600 window. Times a full layout, one LineDown step (which moves every
// child), the repaint after it, and the step with its repaint, and prints how each grows
// from 1 000 to 10 000 children.
#include <windows.h>

#include <cstdio>

#include "bench/BenchWindow.h"
#include "bench/Timing.h"
#include "ui/controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace LorvikBench;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kChildHeight = 20;
constexpr int kRounds = 7;
constexpr int kSteps = 20;  // steps per round: the figures are per step

struct Figures {
    double layout;   // SetPos of the layout with every child, as the manager's pass does
    double step;     // one LineDown
    double repaint;  // the paint that follows one step
    double frame;    // a step and its repaint
};

CVerticalLayoutUI* NewList(int children)
{
    auto* list = new CVerticalLayoutUI;
    list->SetBkColor(0xFFFFFFFF);
    list->SetAttribute("vscrollbar", "true");
    for (int i = 0; i < children; ++i) {
        auto* child = new CControlUI;
        child->SetFixedHeight(kChildHeight);
        child->SetBkColor(0xFF000000u | static_cast<DWORD>(i * 2654435761u >> 8));
        child->SetBorderColor(0xFF202020);
        list->Add(child);
    }
    return list;
}

Figures Measure(HWND hwnd, CWindowManagerUI& manager, int children)
{
    CVerticalLayoutUI* list = NewList(children);
    manager.AttachRoot(list);
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    RECT client = {};
    GetClientRect(hwnd, &client);
    Figures figures;
    figures.layout = Best(kRounds, [&] { list->SetPos(client); });
    UpdateWindow(hwnd);
    // Each round steps down from the top; the step and the paint after it are timed apart.
    figures.step = figures.repaint = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        list->HomeUp();
        UpdateWindow(hwnd);
        double step = 0;
        double repaint = 0;
        for (int i = 0; i < kSteps; ++i) {
            LARGE_INTEGER start, stepped, painted;
            QueryPerformanceCounter(&start);
            list->LineDown();
            GdiFlush();
            QueryPerformanceCounter(&stepped);
            UpdateWindow(hwnd);
            GdiFlush();
            QueryPerformanceCounter(&painted);
            step += Milliseconds(start, stepped);
            repaint += Milliseconds(stepped, painted);
        }
        figures.step = std::min(figures.step, step / kSteps);
        figures.repaint = std::min(figures.repaint, repaint / kSteps);
    }
    figures.frame = figures.step + figures.repaint;
    return figures;
}

void Print(int children, const Figures& f)
{
    std::printf("%8d %12.3f %12.3f %12.3f %14.3f\n", children, f.layout, f.step, f.repaint,
                f.frame);
}

}  // namespace

int main()
{
    BenchWindow window("VeneerLayoutBench");
    HWND hwnd = window.Open("layout", kWidth, kHeight);
    if (hwnd == nullptr)
        return 1;

    std::printf("layout: %d x %d window, a vertical layout with a scroll bar and children %d\n"
                "pixels high; per step the mean of %d LineDown steps, best of %d rounds\n",
                kWidth, kHeight, kChildHeight, kSteps, kRounds);
    std::printf("%8s %12s %12s %12s %14s\n", "children", "layout ms", "step ms", "repaint ms",
                "step+paint ms");
    const int sizes[] = {1000, 10000};
    Figures figures[2];
    for (int s = 0; s < 2; ++s) {
        figures[s] = Measure(hwnd, window.manager, sizes[s]);
        Print(sizes[s], figures[s]);
    }
    std::printf("growth 1000 -> 10000: layout %.1fx, step %.1fx, repaint %.1fx, "
                "step+paint %.1fx\n",
                figures[1].layout / figures[0].layout, figures[1].step / figures[0].step,
                figures[1].repaint / figures[0].repaint, figures[1].frame / figures[0].frame);
    std::printf("target: step+paint under 16 ms at 10000 children (%s); growth at most 11x "
                "(%s)\n",
                figures[1].frame < 16.0 ? "met" : "missed",
                figures[1].frame / figures[0].frame <= 11.0 ? "met" : "missed");
    DestroyWindow(hwnd);
    return 0;
}

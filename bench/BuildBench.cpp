// build: skins from text to the first paint of a window, in three steps timed apart:
// building the control tree (CDialogBuilder from the skin's text, with its fonts and
// default lists), laying it out, and the first paint (back buffer, images decoded on first
// use); and the whole way, build and first paint with the manager's own layout. The main
// window's shape (tests/skins/mainwindow.xml, 30 controls with the program's images) and
// generated skins of 1 000 and 5 000 controls, with the growth between those two. Each
// round uses a new window and manager, as the program does once.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/BenchWindow.h"
#include "bench/Timing.h"
#include "tests/SourceFile.h"
#include "ui/controls/ControlClasses.h"
#include "ui/core/DialogBuilder.h"

using namespace Veneer;
using namespace LorvikBench;

namespace {

constexpr int kRounds = 7;

struct Figures {
    int controls = 0;
    double build = 1e30;
    double layout = 1e30;
    double paint = 1e30;
    double total = 1e30;
};

// A scrolling list of rows: each row a horizontal layout of nine controls, images and
// labels with a colour and a border; rows * 10 + 1 controls in all.
std::string GeneratedSkin(int rows)
{
    std::string text = "<Window size=\"800,600\"><Font name=\"Tahoma\" size=\"12\"/>"
                       "<VerticalLayout vscrollbar=\"true\" bkcolor=\"#FFFFFFFF\">";
    for (int row = 0; row < rows; ++row) {
        text += "<HorizontalLayout height=\"24\" childpadding=\"2\">";
        for (int column = 0; column < 9; ++column) {
            const std::string name = std::to_string(row) + "_" + std::to_string(column);
            if (column % 3 == 0)
                text += "<Control name=\"img" + name +
                        "\" width=\"75\" bkimage=\"res='115' restype='png' corner='4,4,4,4'\"/>";
            else
                text += "<Label name=\"label" + name +
                        "\" bkcolor=\"#FF4775CC\" bordercolor=\"#FF0934DA\" text=\"" + name +
                        "\"/>";
        }
        text += "</HorizontalLayout>";
    }
    return text + "</VerticalLayout></Window>";
}

int CountControls(IControlUI* root)
{
    int count = 0;
    root->FindControl(
        [](IControlUI*, void* n) -> IControlUI* {
            ++*static_cast<int*>(n);
            return nullptr;
        },
        &count, UIFIND_ALL);
    return count;
}

IControlUI* Build(CWindowManagerUI& manager, const std::string& skin)
{
    CDialogBuilder builder;
    IControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &manager);
    if (root == nullptr)
        std::fprintf(stderr, "build: the skin makes no control: %s\n",
                     builder.GetDocument().GetErrorMessage());
    return root;
}

void Paint(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    GdiFlush();
}

// The steps apart: the layout as a root's SetPos (as bench/layout times it; each control
// placed invalidates its rectangle, which the manager's own pass saves), then the paint.
// And the whole way as the program goes it: build, attach, and the first paint, in which
// the manager lays the tree out.
Figures Measure(const std::string& skin)
{
    Figures figures;
    for (int round = 0; round < kRounds; ++round) {
        BenchWindow apart("LorvikBuildBench");
        BenchWindow together("LorvikBuildBench");
        if (apart.Open("build", 800, 600) == nullptr || together.Open("build", 800, 600) == nullptr)
            return figures;
        LARGE_INTEGER start, built, laidOut, painted;
        QueryPerformanceCounter(&start);
        IControlUI* root = Build(apart.manager, skin);
        QueryPerformanceCounter(&built);
        if (root == nullptr)
            return figures;
        apart.manager.AttachRoot(root);
        RECT client = {};
        GetClientRect(apart.GetHWND(), &client);
        root->SetPos(client);
        QueryPerformanceCounter(&laidOut);
        Paint(apart.GetHWND());
        QueryPerformanceCounter(&painted);
        figures.controls = CountControls(root);
        figures.build = std::min(figures.build, Milliseconds(start, built));
        figures.layout = std::min(figures.layout, Milliseconds(built, laidOut));
        figures.paint = std::min(figures.paint, Milliseconds(laidOut, painted));

        LARGE_INTEGER wholeStart, wholeEnd;
        QueryPerformanceCounter(&wholeStart);
        together.manager.AttachRoot(Build(together.manager, skin));
        Paint(together.GetHWND());
        QueryPerformanceCounter(&wholeEnd);
        figures.total = std::min(figures.total, Milliseconds(wholeStart, wholeEnd));
        DestroyWindow(apart.GetHWND());
        DestroyWindow(together.GetHWND());
    }
    return figures;
}

void Print(const char* name, const Figures& f)
{
    std::printf("%-26s %8d %9.2f %10.2f %9.2f %9.2f %9.2f\n", name, f.controls, f.build, f.layout,
                f.paint, f.total, 1000.0 * f.total / (f.controls > 0 ? f.controls : 1));
}

}  // namespace

int main()
{
    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    RegisterControls();
    const std::string main = VeneerTest::SourceFile("tests/skins/mainwindow.xml");
    if (main.empty()) {
        std::fprintf(stderr, "build: tests/skins/mainwindow.xml cannot be read\n");
        return 1;
    }
    const Figures window = Measure(main);
    const Figures small = Measure(GeneratedSkin(100));
    const Figures large = Measure(GeneratedSkin(500));

    std::printf("build: skins from text to the first paint in an 800 x 600 window, "
                "best of %d rounds (ms)\n\n",
                kRounds);
    std::printf("%-26s %8s %9s %10s %9s %9s %9s\n", "skin", "controls", "build", "layout", "paint",
                "whole", "us/ctl");
    Print("main window", window);
    Print("generated, 1 000 controls", small);
    Print("generated, 5 000 controls", large);
    const double controls = static_cast<double>(large.controls) / small.controls;
    std::printf("\ngrowth from 1 000 to 5 000 controls (x%.2f the controls): build x%.2f, "
                "layout x%.2f, paint x%.2f, whole x%.2f\n",
                controls, large.build / small.build, large.layout / small.layout,
                large.paint / small.paint, large.total / small.total);
    std::printf("target: the main window from text to first paint (whole) under 20 ms: %s "
                "(%.2f ms)\n",
                window.total < 20.0 ? "met" : "missed", window.total);
    return 0;
}

// paint: a window with 1 000 and 10 000 leaf controls, flat and nested ten deep. Times a
// full layout and paint, a repaint after one control's Invalidate, and the routing of
// 10 000 mouse moves, and prints how each grows from 1 000 to 10 000 controls.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "bench/BenchWindow.h"
#include "bench/Timing.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/TileLayoutUI.h"

using namespace Veneer;
using namespace LorvikBench;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kMoves = 10000;
constexpr int kRounds = 5;
constexpr int kDepth = 10;
constexpr int kLeavesPerGroup = 100;

// A grid of `count` children filling a tile layout of the given height, one pixel in from
// its edges.
CTileLayoutUI* NewGrid(int count, int height)
{
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / std::max(columns, 1);
    CTileLayoutUI* grid = new CTileLayoutUI;
    grid->SetInset(RECT{1, 1, 1, 1});
    grid->SetColumns(columns);
    grid->SetItemSize(SIZE{0, (height - 2) / std::max(rows, 1)});
    return grid;
}

CControlUI* NewLeaf(int index)
{
    CControlUI* leaf = new CControlUI;
    leaf->SetBkColor(0xFF000000u | static_cast<DWORD>(index * 2654435761u >> 8));
    leaf->SetBorderColor(0xFF202020);
    return leaf;
}

// All leaves side by side under the root.
CContainerUI* FlatTree(int leaves, CControlUI** sample)
{
    CTileLayoutUI* root = NewGrid(leaves, kHeight);
    for (int i = 0; i < leaves; ++i) {
        CControlUI* leaf = NewLeaf(i);
        root->Add(leaf);
        if (i == leaves / 2)
            *sample = leaf;
    }
    return root;
}

// Groups of 100 leaves, each group at the bottom of a chain of ten nested containers.
CContainerUI* NestedTree(int leaves, CControlUI** sample)
{
    const int groups = (leaves + kLeavesPerGroup - 1) / kLeavesPerGroup;
    CTileLayoutUI* root = NewGrid(groups, kHeight);
    const int groupHeight = root->GetItemSize().cy;
    for (int group = 0; group < groups; ++group) {
        CContainerUI* inner = new CContainerUI;
        root->Add(inner);
        for (int level = 1; level < kDepth - 1; ++level) {
            CContainerUI* next = new CContainerUI;
            next->SetInset(RECT{1, 1, 1, 1});
            inner->Add(next);
            inner = next;
        }
        CTileLayoutUI* bottom = NewGrid(kLeavesPerGroup, groupHeight - 2 * (kDepth - 2));
        inner->Add(bottom);
        for (int i = 0; i < kLeavesPerGroup; ++i) {
            CControlUI* leaf = NewLeaf(group * kLeavesPerGroup + i);
            bottom->Add(leaf);
            if (group * kLeavesPerGroup + i == leaves / 2)
                *sample = leaf;
        }
    }
    return root;
}

struct Figures {
    double full;   // layout of the whole tree and a paint of the whole window
    double paint;  // the paint of the whole window alone
    double one;    // one control invalidated and the window painted
    double moves;  // 10 000 mouse moves routed
};

Figures Measure(HWND hwnd, CWindowManagerUI& manager, CContainerUI* root, CControlUI* sample)
{
    manager.AttachRoot(root);
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    Figures figures;
    figures.full = Best(kRounds, [&] {
        root->NeedUpdate();
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    figures.paint = Best(kRounds, [&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    figures.one = Best(kRounds, [&] {
        sample->Invalidate();
        UpdateWindow(hwnd);
    });
    figures.moves = Best(kRounds, [&] {
        for (int i = 0; i < kMoves; ++i) {
            const int x = (i * 37) % kWidth;
            const int y = (i * 53) % kHeight;
            SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        }
    });
    return figures;
}

void Print(const char* shape, int leaves, const Figures& f)
{
    std::printf("%-16s %6d %10.2f %10.2f %10.3f %16.2f %9.0fx\n", shape, leaves, f.full, f.paint,
                f.one, f.moves, f.full / f.one);
}

}  // namespace

int main()
{
    BenchWindow window("VeneerPaintBench");
    HWND hwnd = window.Open("paint", kWidth, kHeight);
    if (hwnd == nullptr)
        return 1;

    std::printf("paint: %d x %d window, leaves with a colour and a border; best of %d rounds\n",
                kWidth, kHeight, kRounds);
    std::printf("%-16s %6s %10s %10s %10s %16s %10s\n", "tree", "leaves", "full ms", "paint ms",
                "one ms", "10000 moves ms", "full/one");
    // The floor: one paint cycle of a window whose tree draws nothing.
    CContainerUI* empty = new CContainerUI;
    const Figures floor = Measure(hwnd, window.manager, empty, empty);
    std::printf("%-16s %6d %10.2f %10.2f %10.3f %16.2f\n", "empty root", 0, floor.full, floor.paint,
                floor.one, floor.moves);
    const int sizes[] = {1000, 10000};
    for (const char* shape : {"flat", "nested 10 deep"}) {
        Figures figures[2];
        for (int s = 0; s < 2; ++s) {
            CControlUI* sample = nullptr;
            CContainerUI* root =
                shape[0] == 'f' ? FlatTree(sizes[s], &sample) : NestedTree(sizes[s], &sample);
            figures[s] = Measure(hwnd, window.manager, root, sample);
            Print(shape, sizes[s], figures[s]);
        }
        std::printf("%-16s growth 1000 -> 10000: full %.1fx, paint %.1fx, one %.1fx, "
                    "moves %.1fx\n",
                    shape, figures[1].full / figures[0].full, figures[1].paint / figures[0].paint,
                    figures[1].one / figures[0].one, figures[1].moves / figures[0].moves);
    }
    std::printf("A one-control repaint costs about the floor above (%.3f ms): under Wine each\n"
                "paint cycle pays for GetUpdateRect, BeginPaint and EndPaint in the wine server\n"
                "and for the copy to the X display, whatever it draws. A full paint adds the\n"
                "drawing of every leaf on top of that; the one-control repaint adds only a walk\n"
                "over the children that skips all but the one.\n",
                floor.one);
    DestroyWindow(hwnd);
    return 0;
}

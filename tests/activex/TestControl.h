#pragma once
// The test control's identity and what it tells its tests: an in-process COM server of the
// project's own (TestControl.cpp), since Wine ships few controls. One class, two CLSIDs:
// the windowless one draws into its host's device context, the windowed one into a child
// window of its own; both fill their rectangle with one known colour.

#include <windows.h>

#include <ole2.h>

namespace LorvikTestControl {

// {6F1D2A40-7C3B-4E55-9A1E-3C0B5D7E8A01}
constexpr CLSID kWindowlessClsid = {
    0x6f1d2a40, 0x7c3b, 0x4e55, {0x9a, 0x1e, 0x3c, 0x0b, 0x5d, 0x7e, 0x8a, 0x01}};
// {6F1D2A40-7C3B-4E55-9A1E-3C0B5D7E8A02}
constexpr CLSID kWindowedClsid = {
    0x6f1d2a40, 0x7c3b, 0x4e55, {0x9a, 0x1e, 0x3c, 0x0b, 0x5d, 0x7e, 0x8a, 0x02}};
constexpr const char* kWindowlessClsidText = "{6F1D2A40-7C3B-4E55-9A1E-3C0B5D7E8A01}";
constexpr const char* kWindowedClsidText = "{6F1D2A40-7C3B-4E55-9A1E-3C0B5D7E8A02}";
constexpr const char* kWindowlessProgId = "Lorvik.TestControl";
constexpr const char* kWindowedProgId = "Lorvik.TestControlWindowed";

// The fills, as COLORREF.
constexpr COLORREF kWindowlessColor = RGB(0x20, 0xC0, 0x40);
constexpr COLORREF kWindowedColor = RGB(0x30, 0x40, 0xD0);
// The key the control takes as an accelerator (TranslateAccelerator answers S_OK).
constexpr WPARAM kAcceleratorKey = VK_F5;

// Counters of the whole server since it was loaded (or since Reset, for the events).
struct TStats {
    LONG liveObjects;    // controls not yet destroyed
    LONG references;     // references held on controls and class factories
    LONG serverLocks;    // IClassFactory::LockServer
    LONG windows;        // child windows of windowed controls that exist
    LONG inPlaceActive;  // controls active in place
    LONG windowless;     // ... of which windowless
    LONG uiActive;       // controls active with the keyboard focus
    LONG userMode;       // the last ambient user mode read: 1, 0, or -1 when not given
    LONG backColor;      // the last ambient back colour read (OLE_COLOR), or -1
    LONG fontHeight;     // the last ambient font's size in points, or -1 when not given
    LONG draws;          // IViewObject::Draw calls
    LONG keys;           // WM_KEYDOWN seen, by window or by OnWindowMessage
    LONG accelerators;   // key presses offered to TranslateAccelerator
    RECT objectRect;     // the last rectangle the site placed a control at
    SIZEL extent;        // the last extent set, HIMETRIC
    HWND window;         // the last windowed control's window, or null
    LONG wheels;         // WM_MOUSEWHEEL seen by OnWindowMessage
    LONG cursors;        // WM_SETCURSOR seen by OnWindowMessage
};

// Exported by the server: "LorvikTestControlStats" and "LorvikTestControlReset".
using StatsProc = const TStats*(WINAPI*)();
using ResetProc = void(WINAPI*)();

}  // namespace LorvikTestControl

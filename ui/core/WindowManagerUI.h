#pragma once
// CWindowManagerUI: one per skin window. It routes the window's messages to its controls
// and stores the resources they draw with. The two halves live in separate files:
// WindowManagerResources.cpp (process-wide settings, images, fonts, default lists, window
// settings) and the message half.

#include <windows.h>

#include "ui/core/UIString.h"

namespace Veneer {

class CWindowManagerUI {
public:
    // Process-wide settings.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // Directory of the instance's module file with its trailing backslash; empty without one.
    static CUIString GetInstancePath();
    // A non-empty path that does not end in '\' or '/' gets '\' appended.
    static void SetResourcePath(const char* path);
    static const CUIString& GetResourcePath();
    // The module that skin and image resources are read from: the instance.
    static HINSTANCE GetResourceModule();
};

}  // namespace Veneer

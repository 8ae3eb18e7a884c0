#pragma once
#include <windows.h>

// The strict test bed's switches. Linked into a test program (lorvik_strict), its wrappers
// hold the calls that Wine forgives to the rules Windows documents (README.md); a test
// turns on the conditions that a café PC meets and Wine never shows.

namespace Strict {

// The notification area refuses icons for the given time from now, as at a slow or
// antivirus-laden log-on; the first add after that times out, though the icon is added.
void RefuseTrayIconsFor(unsigned milliseconds);

// comctl32 as a program without a manifest dependency on Common Controls 6 gets it: 5.82.
void PretendCommonControls5(bool on);
// The next `count` tools added to a tooltip window are refused (comctl32 short of memory).
void RefuseTools(int count);

// The DLL loader of Windows 7 without KB2533623: no SetDefaultDllDirectories, and
// LoadLibraryEx refuses the LOAD_LIBRARY_SEARCH_ flags as ERROR_INVALID_PARAMETER.
void PretendWindows7WithoutKB2533623(bool on);
// What the program last set with SetDefaultDllDirectories; 0 before that.
unsigned long DefaultDllDirectories();

// A second monitor of the primary's size right of it (its taskbar takes the bottom 40 px).
void AddSecondMonitor(bool on);
RECT SecondMonitorWorkArea();

// The ANSI code page that GetACP answers and CP_ACP means in the conversions, as a system
// set to another one would have it (65001: "Use Unicode UTF-8 for worldwide language
// support"); 0 gives the system's back.
void ForceAnsiCodePage(unsigned codePage);

}  // namespace Strict

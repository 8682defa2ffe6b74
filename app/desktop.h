// Attaching the calendar to the desktop: the main window becomes a child of the shell's icon view
// ("SHELLDLL_DefView" holding a "SysListView32") under a visible "progman" or "WorkerW" window.
#pragma once

#include <windows.h>

// EnumWindows callback; lParam is the main window. Every match re-parents it, so the last match in
// enumeration order wins. Always TRUE: every top-level window is looked at.
BOOL CALLBACK DesktopEnumProc(HWND hwnd, LPARAM lParam);

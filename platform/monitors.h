// The rectangles of the monitors there are (virtual-screen pixels), for the placing rule of
// platform/placement.h; and where a child window lies in its parent.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/placement.h"

std::vector<PixelRect> MonitorRects();
// The work area (the monitor less its task bars) of the monitor nearest a point.
PixelRect WorkAreaAt(int x, int y);
// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// The rectangles of the monitors there are (virtual-screen pixels), for the placing rule of
// platform/placement.h.
#pragma once

#include <vector>

#include "platform/placement.h"

std::vector<PixelRect> MonitorRects();
// The work area (the monitor less its task bars) of the monitor nearest a point.
PixelRect WorkAreaAt(int x, int y);

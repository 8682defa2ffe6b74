// The rectangles of the monitors there are (virtual-screen pixels), and the placing rule of
// app_model.h applied to them.
#pragma once

#include <vector>

#include "app/app_model.h"

std::vector<PixelRect> MonitorRects();

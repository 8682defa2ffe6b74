// The main window's layout: every rectangle of it in pixels of a 96 DPI screen, scaled by the
// window's DPI when it is made and again after a move to a monitor of another scale.
#pragma once

#include "grid/month_model.h"

struct LayoutRect {
    int left, top, right, bottom;
};

constexpr int kMainWidth = kGridWidth;  // the window is as wide as its grid
constexpr int kMainHeight = 278;
constexpr int kTopStripHeight = 25;     // the dark strip behind the boxes and buttons
constexpr int kGridTop = 22;

constexpr LayoutRect kPrevMonthRect{175, 3, 205, 20};  // "上月"
constexpr LayoutRect kNextMonthRect{215, 3, 245, 20};  // "下月"
constexpr LayoutRect kTodayRect{255, 3, 285, 20};      // "返回"
constexpr LayoutRect kFindRect{290, 3, 320, 20};       // "查找", left of "-" and "x"
constexpr LayoutRect kGridRect{0, kGridTop, kGridWidth, kGridTop + kGridHeight};
// The headline under the grid, and "下一篇" right of it.
constexpr LayoutRect kHeadlineRect{2, kGridHeight + 24, 190, kGridHeight + 42};
constexpr LayoutRect kNextHeadlineRect{230, kGridHeight + 25, 290, kGridHeight + 43};

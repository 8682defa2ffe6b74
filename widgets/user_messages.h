// The program's private window messages, each defined once.
#pragma once

#include <windows.h>

// Posted by a CClickLabel to its parent when the left button is released over it:
// wParam = the label's control id, lParam = 0.
constexpr UINT WM_LABEL_CLICKED = WM_USER + 101;

// Posted by a CClickLabel to its parent when the right button is released over it:
// wParam = the label's control id, lParam = 0.
constexpr UINT WM_LABEL_RCLICKED = WM_USER + 102;

// Posted by the headline fetch's worker thread to the main window: wParam = the request's result,
// lParam = a HeadlineResult* the window takes over (TakeHeadlineResult).
constexpr UINT WM_HEADLINE_FETCHED = WM_USER + 103;

// Posted by the find window's search worker to the find window when a search finished (the
// window takes it from its NoteFinder): wParam = lParam = 0.
constexpr UINT WM_NOTES_FOUND = WM_USER + 104;

// Posted by the holiday fetch's worker thread to the main window: wParam 0, lParam the round's
// answers, which the window takes over (HolidayFetcher::Take).
constexpr UINT WM_HOLIDAYS_FETCHED = WM_USER + 110;

// CCalendarApp: the one application object. It lets one calendar run at a time, runs the main
// window modally and ends the process when that window ends.
#pragma once

#include "framework/afxwin.h"

class CCalendarApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

// The name of the mutex the first calendar of a session holds.
constexpr const wchar_t* kSingleInstanceMutex = L"Local\\VestrelCalendarRunning";

// The main window of a calendar already running (marked with CCalendarDlg::kMainWindowProperty,
// wherever it sits in the window tree, the desktop's icon view included), or null.
HWND FindRunningCalendar();
// Asks the calendar already running to show itself and come to the front. True when one answered.
bool WakeRunningCalendar();

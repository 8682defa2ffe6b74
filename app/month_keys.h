// CMonthKeys: Page Up, Page Down, Home and the wheel from the main window's focusable controls.
#pragma once

#include "framework/afxwin.h"

class CCalendarDlg;

// A control of the main window that can have the focus (the edit field of the year or month box,
// "-", "x"): Page Up, Page Down and Home go to the main window (from a box only while its list is
// closed: a box whose list is open keeps them), and so does the wheel over the grid, which the
// system sends to the window with the focus.
class CMonthKeys : public CWnd {
public:
    // The control belongs to the dialog: it is let go here, never destroyed.
    ~CMonthKeys() override { Detach(); }
    BOOL BindBox(CWnd* box, CCalendarDlg* owner);
    BOOL BindButton(UINT id, CCalendarDlg* owner);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_box = nullptr;
    CCalendarDlg* m_owner = nullptr;
};

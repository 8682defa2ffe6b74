// Wrappers of the standard controls the windows bind to template items.
#pragma once

#include "framework/cwnd.h"

class CComboBox : public CWnd {
public:
    int AddString(const char* text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetCurSel() { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int GetCount() { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    CString GetLBText(int index);
};

class CStatic : public CWnd {};

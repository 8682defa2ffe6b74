// Wrappers of the standard controls the windows bind to template items.
#pragma once

#include "framework/cwnd.h"

class CComboBox : public CWnd {
public:
    int AddString(const char* text);  // GBK text, added as UTF-16
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetCurSel() { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int GetCount() { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    CString GetLBText(int index);
};

class CStatic : public CWnd {};

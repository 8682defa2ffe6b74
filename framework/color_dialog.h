// CColorDialog: the common colour dialog, with one set of 16 custom colours shared by every use
// during the run. Given a parent, it is modal to that window and opens centred over it.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "framework/cwnd.h"

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    // ::ChooseColorA (owned by the parent, which it disables while open); IDOK when a colour was
    // chosen, else IDCANCEL.
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }
    static COLORREF* CustomColors();

    CHOOSECOLORW m_cc{};
};

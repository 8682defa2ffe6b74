// The common colour dialog.
#include "framework/color_dialog.h"

#include <commdlg.h>

COLORREF* CColorDialog::CustomColors() {
    static COLORREF colors[16] = {
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
    };
    return colors;
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) {
    m_cc.lStructSize = sizeof m_cc;
    m_cc.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = CustomColors();
    m_cc.Flags = flags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() { return ::ChooseColorA(&m_cc) ? IDOK : IDCANCEL; }

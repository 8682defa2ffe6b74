// The common colour dialog.
#include "framework/color_dialog.h"

#include <commdlg.h>

#include "platform/monitors.h"
#include "platform/placement.h"

namespace {

// Moves the picker over the middle of its owner, whole on the owner's monitor.
UINT_PTR CALLBACK CentreOverOwner(HWND picker, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG || lParam == 0) return 0;
    HWND owner = reinterpret_cast<const CHOOSECOLORW*>(lParam)->hwndOwner;
    RECT o{}, p{};
    if (owner == nullptr || !::GetWindowRect(owner, &o) || !::GetWindowRect(picker, &p)) return 0;
    const Origin at = CentreOver(PixelRect{o.left, o.top, o.right, o.bottom}, p.right - p.left, p.bottom - p.top,
                                 WorkAreaAt((o.left + o.right) / 2, (o.top + o.bottom) / 2));
    ::SetWindowPos(picker, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

}  // namespace

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
    if (m_cc.hwndOwner != nullptr) {
        m_cc.Flags |= CC_ENABLEHOOK;
        m_cc.lpfnHook = &CentreOverOwner;
    }
}

INT_PTR CColorDialog::DoModal() { return ::ChooseColorW(&m_cc) ? IDOK : IDCANCEL; }

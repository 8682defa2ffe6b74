// CMonthKeys.
#include "app/month_keys.h"

#include "app/calendar_dlg.h"

BOOL CMonthKeys::BindBox(CWnd* box, CCalendarDlg* owner) {
    m_box = box->GetSafeHwnd();
    m_owner = owner;
    // The edit field of a drop-down box is its child 1001; the box hands it its keys too.
    return SubclassDlgItem(1001, box);
}

BOOL CMonthKeys::BindButton(UINT id, CCalendarDlg* owner) {
    m_owner = owner;
    return SubclassDlgItem(id, owner);
}

LRESULT CMonthKeys::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_owner != nullptr && (m_box == nullptr || !::SendMessageW(m_box, CB_GETDROPPEDSTATE, 0, 0)) &&
        ((message == WM_KEYDOWN && m_owner->OnMonthKey(static_cast<UINT>(wParam))) ||
         (message == WM_MOUSEWHEEL && m_owner->OnGridWheel(wParam, lParam))))
        return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}

// The tab windows.
#include "notes/tab_dlg.h"

#include "platform/dpi.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CTabDlg, CDialog)
    ON_BN_CLICKED(IDC_TAB_BUTTON, &CTabDlg::OnTabButton)
    ON_MESSAGE(WM_DPICHANGED, &CTabDlg::OnDpiChanged)
    ON_MESSAGE(kWmGetDpiScaledSize, &CTabDlg::OnGetDpiScaledSize)
END_MESSAGE_MAP()

BOOL CTabDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_scale.Record(GetSafeHwnd(), WindowDpi(GetSafeHwnd()));
    return TRUE;
}

LRESULT CTabDlg::OnDpiChanged(WPARAM dpi, LPARAM suggested) {
    TakeSuggestedRect(GetSafeHwnd(), suggested);
    m_scale.Apply(LOWORD(dpi));
    return 0;
}

CMemoTabDlg::CMemoTabDlg(MemoPadOwner* owner) : CTabDlg(owner, IDD_MEMO_TAB, &MemoPadOwner::ShowMemoPad) {}
CCalendarTabDlg::CCalendarTabDlg(MemoPadOwner* owner)
    : CTabDlg(owner, IDD_CALENDAR_TAB, &MemoPadOwner::ShowCalendar) {}

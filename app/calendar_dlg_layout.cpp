// CCalendarDlg's layout at a display scale: the window's size, the strip's buttons and labels, the
// grid, the headline and the tabs, all from the 96 DPI rectangles of app/main_layout.h.
#include "app/calendar_dlg.h"

#include "app/main_layout.h"
#include "platform/dpi.h"
#include "platform/monitors.h"
#include "platform/placement.h"
#include "res/resource.h"

void CCalendarDlg::PlaceStripButtons() {
    RECT button{};  // "-" and "x" keep the size the template gives them at this scale
    ::GetWindowRect(GetDlgItem(IDC_MAIN_HIDE), &button);
    const int width = button.right - button.left, height = button.bottom - button.top;
    ::MoveWindow(GetDlgItem(IDC_MAIN_HIDE), S(kMainWidth) - 2 * width - S(2), 0, width, height, TRUE);
    ::MoveWindow(GetDlgItem(IDC_MAIN_CLOSE), S(kMainWidth) - width - S(1), 0, width, height, TRUE);
}

void CCalendarDlg::TakeScale(int dpi, const RECT* suggested) {
    m_dpi = dpi;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (suggested != nullptr) {
        ::SetWindowPos(GetSafeHwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, flags);
    } else {
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, S(kMainWidth), S(kMainHeight), flags | SWP_NOMOVE);
    }
    m_templateScale.Apply(dpi);
}

void CCalendarDlg::Relayout(int dpi, const RECT* suggested) {
    if (!m_bInitDone || dpi <= 0) return;
    TakeScale(dpi, suggested);
    const struct {
        CColorLabel* label;
        const LayoutRect& rect;
    } labels[] = {{&m_btnPrevMonth, kPrevMonthRect}, {&m_btnNextMonth, kNextMonthRect}, {&m_btnToday, kTodayRect},
                  {&m_btnFind, kFindRect}};
    for (const auto& l : labels) {
        l.label->MoveTo(S(l.rect.left), S(l.rect.top));
        l.label->SetDpi(dpi);
    }
    m_headlineBar.Relayout(dpi);
    m_holidayUpdates.Relayout(dpi);
    m_grid->HidePopup();
    m_grid->MoveWindow(S(kGridRect.left), S(kGridRect.top), S(kGridRect.right) - S(kGridRect.left),
                       S(kGridRect.bottom) - S(kGridRect.top), TRUE);
    m_grid->SetDpi(dpi);
    PlaceStripButtons();
    PlaceTabWindows();
    Invalidate(TRUE);
}

LRESULT CCalendarDlg::OnDpiChanged(WPARAM dpi, LPARAM suggested) {
    Relayout(LOWORD(dpi), reinterpret_cast<const RECT*>(suggested));
    return 0;
}

LRESULT CCalendarDlg::OnDpiChangedAfterParent(WPARAM, LPARAM) {
    Relayout(WindowDpi(GetSafeHwnd()), nullptr);
    return 0;
}

LRESULT CCalendarDlg::OnGetDpiScaledSize(WPARAM dpi, LPARAM lParam) {
    SIZE* size = reinterpret_cast<SIZE*>(lParam);
    size->cx = Scale(kMainWidth, static_cast<int>(dpi));
    size->cy = Scale(kMainHeight, static_cast<int>(dpi));
    return TRUE;
}

void CCalendarDlg::PlaceTabWindows() {
    RECT r;
    GetWindowRect(&r);
    // Right of the calendar, or left of it when the right side is off screen.
    const PixelRect me{r.left, r.top, r.right, r.bottom};
    const std::vector<PixelRect> monitors = MonitorRects();
    const int width = S(26), height = S(18);
    const Origin memo = RightOrLeft(me, r.bottom - height, width, height, S(10), monitors);
    const Origin calendar = RightOrLeft(me, r.bottom - S(54), width, height, S(10), monitors);
    if (m_memoTab && m_memoTab->GetSafeHwnd()) m_memoTab->MoveWindow(memo.x, memo.y, width, height, TRUE);
    if (m_calendarTab && m_calendarTab->GetSafeHwnd())
        m_calendarTab->MoveWindow(calendar.x, calendar.y, width, height, TRUE);
}

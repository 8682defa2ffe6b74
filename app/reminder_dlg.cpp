// CReminderWindow.
#include "app/reminder_dlg.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/dpi.h"
#include "platform/wide_text.h"
#include "widgets/quiet_window.h"

namespace {

constexpr const wchar_t* kClassName = L"VestrelReminder";
constexpr int kClientWidth = 380, kClientHeight = 190;  // at 96 DPI

std::wstring LineText(const DueReminder& r) {
    const LocalMinute t = LocalMinuteOf(r.minute);
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%s%04d-%02d-%02d  ", r.missed ? "错过 " : "", t.date.year, t.date.month,
                  t.date.day);
    // The line begins with its own time.
    return WideFromGbk(stamp) + WideFromGbk(r.line);
}

}  // namespace

CReminderWindow::~CReminderWindow() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
    if (m_font) ::DeleteObject(m_font);
}

void CReminderWindow::Tick() {
    std::vector<DueReminder> due = m_clock.Tick();
    if (due.empty()) return;
    if (!m_hwnd) Open();
    if (!m_hwnd) return;  // logged by Open; they are in the record already
    Add(std::move(due));
    ::MessageBeep(MB_ICONASTERISK);
}

void CReminderWindow::Open() {
    static const ATOM registered = RegisterQuietClass(kClassName, Proc);
    if (!registered) return;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_APPWINDOW, kClassName,
                               WideFromGbk("提醒").c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, kClientWidth,
                               kClientHeight, nullptr, nullptr, instance, this);
    if (!m_hwnd) return;
    const auto child = [&](const wchar_t* cls, const char* text, DWORD style, int id) {
        ::CreateWindowExW(0, cls, WideFromGbk(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, m_hwnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    child(L"STATIC", "提醒", SS_LEFT | SS_NOPREFIX, kIdHeading);
    child(L"LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kIdList);
    child(L"BUTTON", "知道了", WS_TABSTOP | BS_DEFPUSHBUTTON, kIdDone);
    child(L"BUTTON", "10分钟后提醒", WS_TABSTOP | BS_PUSHBUTTON, kIdSnooze);
    m_dpi = WindowDpi(m_hwnd);
    Layout();
    ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    ::SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CReminderWindow::Layout() {
    const HFONT oldFont = m_font;  // the controls hold it until they are given the new one
    m_font = MessageFontOf(S(13));

    RECT frame{0, 0, S(kClientWidth), S(kClientHeight)};
    ::AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);  // the lower right corner, as notifications sit
    ::SetWindowPos(m_hwnd, nullptr, work.right - width - S(12), work.bottom - height - S(12), width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const struct {
        int id, x, y, w, h;
    } places[] = {{kIdHeading, 12, 10, 356, 20},
                  {kIdList, 12, 34, 356, 104},
                  {kIdDone, 150, 148, 96, 30},
                  {kIdSnooze, 254, 148, 114, 30}};
    for (const auto& p : places) {
        const HWND item = ::GetDlgItem(m_hwnd, p.id);
        ::SetWindowPos(item, nullptr, S(p.x), S(p.y), S(p.w), S(p.h), SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    }
    ::SendDlgItemMessageW(m_hwnd, kIdList, LB_SETITEMHEIGHT, 0, S(20));
    if (oldFont) ::DeleteObject(oldFont);
}

void CReminderWindow::Add(std::vector<DueReminder> reminders) {
    for (DueReminder& r : reminders) {
        if (HoldsReminder(m_listed, r)) continue;  // a snoozed one back while the window still shows it
        ::SendDlgItemMessageW(m_hwnd, kIdList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LineText(r).c_str()));
        m_listed.push_back(std::move(r));
    }
    const bool missed = std::any_of(m_listed.begin(), m_listed.end(), [](const DueReminder& l) { return l.missed; });
    ::SetDlgItemTextW(m_hwnd, kIdHeading, WideFromGbk(missed ? "错过的提醒" : "到时间的提醒").c_str());
}

void CReminderWindow::OnCommand(int id, int code) {
    if (id == kIdDone || id == IDCANCEL) {
        Close();
    } else if (id == kIdSnooze) {
        m_clock.Snooze(m_listed);
        Close();
    } else if (id == kIdList && code == LBN_SELCHANGE) {
        const LRESULT at = ::SendDlgItemMessageW(m_hwnd, kIdList, LB_GETCURSEL, 0, 0);
        if (at >= 0 && static_cast<size_t>(at) < m_listed.size() && m_showMonth) {
            const LocalMinute t = LocalMinuteOf(m_listed[static_cast<size_t>(at)].minute);
            m_showMonth(t.date.year, t.date.month);
        }
    }
}

void CReminderWindow::Close() {
    m_listed.clear();
    if (m_hwnd) ::DestroyWindow(m_hwnd);  // WM_DESTROY clears m_hwnd
}

LRESULT CALLBACK CReminderWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject<CReminderWindow>(hwnd, message, lParam);
    if (self) {
        switch (message) {
            case WM_COMMAND: self->OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
            case WM_CLOSE: self->Close(); return 0;
            case WM_CTLCOLORSTATIC: return OnWindowColour(wParam);
            case WM_DPICHANGED:
                self->m_dpi = HIWORD(wParam);
                self->Layout();
                return 0;
            case WM_DESTROY:
                self->m_hwnd = nullptr;
                self->m_listed.clear();
                ForgetWindowObject(hwnd);
                break;
            default: break;
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

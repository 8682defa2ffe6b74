// CNoticeWindow.
#include "app/notice_window.h"

#include <algorithm>

#include "platform/dpi.h"
#include "platform/log.h"
#include "platform/monitors.h"
#include "platform/wide_text.h"
#include "widgets/quiet_window.h"

namespace {

constexpr const wchar_t* kClassName = L"VestrelNotice";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
constexpr int kClientWidth = 380, kMargin = 12, kButtonWidth = 96, kButtonHeight = 28;  // at 96 DPI
constexpr int kGap = 10;

// The notices one under another, each paragraph in the edit's CR LF.
std::wstring Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts) {
        if (!all.empty()) all += "\r\n\r\n";
        for (char c : t) {
            if (c == '\n' && (all.empty() || all.back() != '\r')) all += '\r';
            all += c;
        }
    }
    return WideFromGbk(all);
}

}  // namespace

CNoticeWindow::~CNoticeWindow() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
    if (m_font) ::DeleteObject(m_font);
}

void CNoticeWindow::Add(const std::string& text, HWND beside) {
    if (!m_hwnd) Open();
    if (!m_hwnd) {
        LogLine("notice window not created (error %lu)", ::GetLastError());
        return;
    }
    m_shown.push_back(text);
    if (m_shown.size() > kMaxShown) m_shown.erase(m_shown.begin(), m_shown.end() - kMaxShown);
    const std::wstring all = Joined(m_shown);
    ::SetDlgItemTextW(m_hwnd, kIdText, all.c_str());
    Layout(beside, WindowDpi(beside), all);
    // Placed on a monitor of another scale (beside a calendar at the edge of its own): laid out
    // again at the scale of where it is.
    const int there = WindowDpi(m_hwnd);
    if (there != m_dpi) Layout(beside, there, all);
    // Shown, never activated: the window the user types in keeps the keyboard.
    ::SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::MessageBeep(MB_ICONWARNING);
}

void CNoticeWindow::Open() {
    static const ATOM registered = RegisterQuietClass(kClassName, Proc);
    if (!registered) return;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_hwnd = ::CreateWindowExW(kExStyle, kClassName, WideFromGbk(kCaption).c_str(), kStyle, 0, 0, 0, 0, nullptr,
                               nullptr, instance, this);
    if (!m_hwnd) return;
    // A read-only edit: a long notice scrolls, and its text can be copied.
    ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0,
                      m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdText)), instance, nullptr);
    ::CreateWindowExW(0, L"BUTTON", WideFromGbk("知道了").c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0,
                      m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdDone)), instance, nullptr);
}

void CNoticeWindow::Layout(HWND beside, int dpi, const std::wstring& all) {
    RECT anchor{};
    ::GetWindowRect(beside, &anchor);
    m_dpi = dpi;
    const HFONT oldFont = m_font;  // the controls hold it until they are given the new one
    m_font = MessageFontOf(S(13));
    const HWND text = ::GetDlgItem(m_hwnd, kIdText), done = ::GetDlgItem(m_hwnd, kIdDone);
    ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    ::SendMessageW(done, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    if (oldFont) ::DeleteObject(oldFont);

    // The text's height at the edit's width, up to half the work area (then the edit scrolls).
    const int textWidth = S(kClientWidth - 2 * kMargin);
    const PixelRect work = WorkAreaAt((anchor.left + anchor.right) / 2, (anchor.top + anchor.bottom) / 2);
    const HDC dc = ::GetDC(m_hwnd);
    const HGDIOBJ old = ::SelectObject(dc, m_font);
    const auto heightAt = [&](int width) {  // the edit keeps a few pixels of margin on each side
        RECT measured{0, 0, width - S(8), 0};
        ::DrawTextW(dc, all.c_str(), static_cast<int>(all.size()), &measured, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        return static_cast<int>(measured.bottom) + S(4);
    };
    const int most = (work.bottom - work.top) / 2;
    const bool scrolls = heightAt(textWidth) > most;
    const int textHeight = std::min(heightAt(scrolls ? textWidth - ::GetSystemMetrics(SM_CXVSCROLL) : textWidth), most);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hwnd, dc);
    // A scroll bar only for a text taller than the window may be.
    const LONG_PTR style = ::GetWindowLongPtrW(text, GWL_STYLE);
    ::SetWindowLongPtrW(text, GWL_STYLE, scrolls ? style | WS_VSCROLL : style & ~static_cast<LONG_PTR>(WS_VSCROLL));

    const int clientHeight = S(kMargin) + textHeight + S(kMargin) + S(kButtonHeight) + S(kMargin);
    RECT frame{0, 0, S(kClientWidth), clientHeight};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const Origin at = OnAnySide(PixelRect{anchor.left, anchor.top, anchor.right, anchor.bottom}, width, height, S(kGap),
                                MonitorRects());
    ::SetWindowPos(m_hwnd, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(text, nullptr, S(kMargin), S(kMargin), textWidth, textHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::SetWindowPos(done, nullptr, S(kClientWidth - kMargin - kButtonWidth), clientHeight - S(kMargin + kButtonHeight),
                   S(kButtonWidth), S(kButtonHeight), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNoticeWindow::Close() {
    m_shown.clear();
    const HWND back = m_returnTo;
    m_returnTo = nullptr;
    if (m_hwnd) ::DestroyWindow(m_hwnd);  // WM_DESTROY clears m_hwnd
    if (back != nullptr && ::IsWindow(back)) ::SetForegroundWindow(back);
}

LRESULT CALLBACK CNoticeWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject<CNoticeWindow>(hwnd, message, lParam);
    if (self) {
        switch (message) {
            case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // a click reads or closes it, and the typing goes on
            case WM_PARENTNOTIFY:
                // A button takes the focus, and its window the activation, as it is pressed: the
                // window typed in before gets them back when this one closes.
                if (LOWORD(wParam) == WM_LBUTTONDOWN && ::GetForegroundWindow() != hwnd)
                    self->m_returnTo = ::GetForegroundWindow();
                break;
            case WM_COMMAND:
                if (LOWORD(wParam) == kIdDone || LOWORD(wParam) == IDCANCEL) self->Close();
                return 0;
            case WM_CLOSE: self->Close(); return 0;
            case WM_CTLCOLORSTATIC: return OnWindowColour(wParam);  // the read-only edit on the window's white
            case WM_DESTROY:
                self->m_hwnd = nullptr;
                self->m_shown.clear();
                ForgetWindowObject(hwnd);
                break;
            default: break;
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// CWnd: binding, dispatch through message maps, default handling.
#include "framework/cwnd.h"

#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "platform/log.h"
#include "platform/wide_text.h"

namespace {

// The window property that holds the bound object.
constexpr const wchar_t* kObjectProperty = L"Vestrel.CWnd";

HINSTANCE g_instance = nullptr;

// Creation passes the object through CREATESTRUCT::lpCreateParams to WM_NCCREATE.
struct CreationContext {
    CWnd* wnd;
};

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }
void AfxSetInstanceHandle(HINSTANCE instance) { g_instance = instance; }

const MessageMap* CWnd::GetThisMessageMap() {
    static const MsgMapEntry kEntries[] = {{0, 0, 0, nullptr}};
    static const MessageMap kMap = {nullptr, kEntries};
    return &kMap;
}

const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::~CWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this) {
        HWND hwnd = m_hWnd;
        Detach();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProperty, this);
}

void CWnd::Detach() {
    if (m_hWnd) {
        if (m_oldWndProc) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldWndProc));
        ::RemovePropW(m_hWnd, kObjectProperty);
    }
    m_oldWndProc = nullptr;
    m_hWnd = nullptr;
}


void CWnd::SetWindowText(const char* text) { ::SetWindowTextW(m_hWnd, WideFromGbk(text).c_str()); }

CString CWnd::GetWindowText() const { return CString(GbkFromWide(WindowTextOf(m_hWnd))); }

int AfxMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return ::MessageBoxW(owner, WideFromGbk(text).c_str(), WideFromGbk(caption).c_str(), type);
}

std::wstring WindowTextOf(HWND hwnd) {
    const int n = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(hwnd, &text[0], n + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id) {
    CreationContext context{this};
    HWND hwnd = ::CreateWindowExW(exStyle, WideFromGbk(className).c_str(), WideFromGbk(windowName).c_str(), style,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  parent ? parent->m_hWnd : nullptr,
                                  (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr,
                                  AfxGetInstanceHandle(), &context);
    if (hwnd == nullptr) {
        if (m_hWnd) Detach();
        return FALSE;
    }
    if (m_hWnd != hwnd) Attach(hwnd);  // a class of another procedure: bind after the fact
    return TRUE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id) {
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND hwnd = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    if (hwnd == nullptr) return FALSE;
    Attach(hwnd);
    m_oldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    HWND hwnd = m_hWnd;
    return ::DestroyWindow(hwnd);
}

LRESULT CWnd::Default() {
    if (m_current == nullptr) return 0;
    m_current->defaultAsked = true;
    if (m_isDialog) return 0;  // the dialog manager handles it when the dialog procedure returns
    if (m_oldWndProc)
        return ::CallWindowProcW(m_oldWndProc, m_hWnd, m_current->message, m_current->wParam, m_current->lParam);
    return ::DefWindowProcW(m_hWnd, m_current->message, m_current->wParam, m_current->lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return Default();
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // WM_PRINTCLIENT paints into the device context it carries, through the WM_PAINT handler.
    const UINT lookFor = message == WM_PRINTCLIENT ? WM_PAINT : message;
    const UINT code = message == WM_COMMAND ? HIWORD(wParam) : 0;
    const UINT id = message == WM_COMMAND ? LOWORD(wParam) : 0;
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base ? map->base() : nullptr) {
        for (const MsgMapEntry* e = map->entries; e->invoke != nullptr; ++e) {
            if (e->registered != nullptr) {
                const UINT registered = e->registered();
                if (registered == 0 || registered != message) continue;
            } else if (e->message != lookFor) {
                continue;
            }
            if (lookFor == WM_COMMAND && (e->code != code || e->id != id)) continue;
            if (message == WM_PRINTCLIENT) {
                PrintClientScope printing(reinterpret_cast<HDC>(wParam));
                *result = e->invoke(this, 0, 0);
            } else {
                *result = e->invoke(this, wParam, lParam);
            }
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd == nullptr && message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const auto* context = static_cast<const CreationContext*>(cs->lpCreateParams);
        if (context && context->wnd) {
            wnd = context->wnd;
            wnd->Attach(hwnd);
        }
    }
    if (wnd == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    bool defaulted = false;
    return wnd->RouteMessage(message, wParam, lParam, &defaulted);
}

LRESULT CWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* defaulted) {
    CurrentMessage current{message, wParam, lParam, false};
    CurrentMessage* outer = m_current;
    m_current = &current;
    LRESULT result = 0;
    try {
        result = WindowProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        // Exceptions never cross the window procedure: the message counts as handled.
        LogLine("exception in the handler of message 0x%04X: %s", message, e.what());
        result = 0;
    } catch (...) {
        LogLine("exception in the handler of message 0x%04X", message);
        result = 0;
    }
    m_current = outer;
    if (message == WM_NCDESTROY) Detach();  // the window is gone; the object stays
    *defaulted = current.defaultAsked;
    return result;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::map<std::string, std::string>* registered = new std::map<std::string, std::string>;
    char name[96];
    std::snprintf(name, sizeof name, "Vestrel:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    auto it = registered->find(name);
    if (it != registered->end()) return it->second.c_str();
    const std::wstring wideName = WideFromGbk(name);
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::StdWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = wideName.c_str();
    ::RegisterClassW(&wc);  // already registered by an earlier call is fine too
    return registered->emplace(name, name).first->second.c_str();
}

void BeginWindowDrag(HWND hwnd) {
    // A click whose button is already up is no drag: a move loop started now would have no
    // button-up left to end it and would carry the window along with the pointer. The physical
    // button is asked for, so the one that acts as the left button when the buttons are swapped.
    const int button = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    MSG up;
    if (!(::GetAsyncKeyState(button) & 0x8000) ||
        ::PeekMessageW(&up, hwnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
        return;
    // Only the move command: a WM_NCLBUTTONDOWN posted as well would start a second move loop
    // once this one has ended, after the button went up.
    ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

// CWnd: a C++ object bound to one window. It owns the link from the HWND to the object (a window
// property, set in one place: Attach), dispatches messages through the class's message map and
// sends everything unhandled to one default procedure.
#pragma once

#include <windows.h>

#include <string>

#include "framework/cstring.h"
#include "framework/gdi.h"
#include "framework/message_map.h"

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}  // NOLINT
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // --- creation and binding --------------------------------------------------------------
    // Creates a window of a class registered with this framework's window procedure (see
    // AfxRegisterWndClass); rect is in the parent's client coordinates.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id);
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Binds this object to control id of parent and routes its messages through this object's
    // message map (the control's own procedure stays the default). FALSE if there is no such control.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Binds the object to an existing window without taking its messages (wrappers of controls).
    void AttachHandle(HWND hwnd) { m_hWnd = hwnd; }
    BOOL DestroyWindow();

    // The bound window, or null before Create and after WM_NCDESTROY.
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }  // NOLINT
    // The object bound to hwnd by this framework, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // --- thin wrappers of the Win32 API: each calls ::Api on the bound window, which fails as --
    // --- the API does when the window is gone or was never made ------------------------------
    HWND GetParentHwnd() const { return ::GetParent(m_hWnd); }      // ::GetParent
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    void MoveWindow(const RECT& r, BOOL repaint = TRUE) { MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }                        // ::ShowWindow
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }                    // ::IsWindowVisible
    void InvalidateRect(const RECT* r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }      // ::InvalidateRect
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }                                       // ::UpdateWindow
    UINT_PTR SetTimer(UINT_PTR id, UINT ms, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, ms, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }                       // ::KillTimer
    HWND SetCapture() { return ::SetCapture(m_hWnd); }                                    // ::SetCapture
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }                  // ::ClientToScreen
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }                  // ::ScreenToClient
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }                     // ::GetWindowRect
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }                     // ::GetClientRect
    void SetWindowText(const char* text);                          // ::SetWindowTextW, the GBK text converted
    CString GetWindowText() const;                                 // ::GetWindowTextW, converted to GBK
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }                    // ::GetDlgItem
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageW(m_hWnd, msg, w, l); }

    // --- message handling ------------------------------------------------------------------
    // The default handling of the message being dispatched (the window's original procedure, or
    // the dialog manager's for dialogs).
    LRESULT Default();
    // Routes one message: the message map first, else Default(). Returns the message's result.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_hWnd = nullptr;

protected:
    // Override these through the message map: the handlers' default is Default().
    void OnPaint() { Default(); }
    void OnDestroy() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnMove(int, int) { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
    void OnShowWindow(BOOL, UINT) { Default(); }

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // Looks the message up in the map chain; true with *result when a handler took it.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Runs one message through WindowProc with Default() available, catching every exception;
    // *defaulted tells whether the handling asked for the default. Unbinds at WM_NCDESTROY.
    LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* defaulted);

    // Binds the object to hwnd: the one place that links a window to its object.
    void Attach(HWND hwnd);
    void Detach();

    // The procedure that was the window's before this framework took its messages.
    WNDPROC m_oldWndProc = nullptr;
    // True for dialogs: their default handling belongs to the dialog manager.
    bool m_isDialog = false;

    // The message being dispatched, for Default().
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool defaultAsked;
    };
    CurrentMessage* m_current = nullptr;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;

public:
    // The procedure of every window class registered by this framework.
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// Starts moving a window with the mouse from a left-button press: sends
// WM_SYSCOMMAND SC_MOVE | HTCAPTION; the window's WM_MOVE messages follow the pointer until the
// button goes up. Nothing happens when the button is already up again.
void BeginWindowDrag(HWND hwnd);

// ::MessageBoxW with GBK text and caption.
int AfxMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// The whole text of a window (::GetWindowTextW).
std::wstring WindowTextOf(HWND hwnd);

// Registers (once) and names a window class that uses the framework's window procedure.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                HICON icon = nullptr);

// The instance that holds the program's resources.
HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE instance);

template <class T, auto F>
LRESULT afx::Invoke_v_u_p(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(static_cast<UINT>(wParam), CPoint(LowSigned(lParam), HighSigned(lParam)));
    return 0;
}

// Message maps: each window class has a static table of typed entries chained to its base
// class's table. The dispatcher (CWnd::OnWndMsg) unpacks WPARAM and LPARAM once and calls the
// handler with typed arguments.
//
//   class CMyWnd : public CWnd { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//       ON_WM_PAINT()
//       ON_BN_CLICKED(1000, &CMyWnd::OnHide)
//       ON_MESSAGE(WM_USER + 101, &CMyWnd::OnLabelClick)
//       ON_REGISTERED_MESSAGE(&CMyWnd::TaskbarCreated, &CMyWnd::OnTaskbarCreated)
//   END_MESSAGE_MAP()
#pragma once

#include <windows.h>

class CWnd;
class CDC;
struct CPoint;

// A handler is called through an invoker made for its class and signature: the one place where
// WPARAM and LPARAM are unpacked into typed arguments.
using AfxInvoker = LRESULT (*)(CWnd* wnd, WPARAM wParam, LPARAM lParam);

struct MsgMapEntry {
    UINT message;  // WM_xxx; WM_COMMAND for commands and notifications; 0 ends the table
    UINT code;     // notification code (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE ...) for WM_COMMAND
    UINT id;       // control or command id for WM_COMMAND; 0 otherwise
    AfxInvoker invoke;
    // For a registered message (ON_REGISTERED_MESSAGE): the function that gives its number, known
    // only at run time; message is 0 then. Null for every other entry.
    UINT (*registered)() = nullptr;
};

struct MessageMap {
    const MessageMap* (*base)();  // the base class's map, or null for the root
    const MsgMapEntry* entries;   // ended by an entry whose invoke is null
};

namespace afx {

inline short LowSigned(LPARAM l) { return static_cast<short>(LOWORD(l)); }
inline short HighSigned(LPARAM l) { return static_cast<short>(HIWORD(l)); }

// void ()                          WM_PAINT, WM_DESTROY, commands, notifications
template <class T, auto F>
LRESULT Invoke_v_v(CWnd* w, WPARAM, LPARAM) {
    (static_cast<T*>(w)->*F)();
    return 0;
}
// BOOL (CDC*)                      WM_ERASEBKGND
template <class T, auto F>
LRESULT Invoke_b_D(CWnd* w, WPARAM wParam, LPARAM);
// void (UINT flags, CPoint)        mouse messages
template <class T, auto F>
LRESULT Invoke_v_u_p(CWnd* w, WPARAM wParam, LPARAM lParam);
// void (int x, int y)              WM_MOVE
template <class T, auto F>
LRESULT Invoke_v_i_i(CWnd* w, WPARAM, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(LowSigned(lParam), HighSigned(lParam));
    return 0;
}
// void (UINT_PTR id)               WM_TIMER
template <class T, auto F>
LRESULT Invoke_v_t(CWnd* w, WPARAM wParam, LPARAM) {
    (static_cast<T*>(w)->*F)(static_cast<UINT_PTR>(wParam));
    return 0;
}
// void (UINT id, LPARAM)           WM_SYSCOMMAND
template <class T, auto F>
LRESULT Invoke_v_u_l(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(static_cast<UINT>(wParam), lParam);
    return 0;
}
// HCURSOR ()                       WM_QUERYDRAGICON
template <class T, auto F>
LRESULT Invoke_h_v(CWnd* w, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((static_cast<T*>(w)->*F)());
}
// int (LPCREATESTRUCT)             WM_CREATE; -1 = creation failed
template <class T, auto F>
LRESULT Invoke_i_cs(CWnd* w, WPARAM, LPARAM lParam) {
    return (static_cast<T*>(w)->*F)(reinterpret_cast<LPCREATESTRUCT>(lParam));
}
// void (BOOL show, UINT status)    WM_SHOWWINDOW
template <class T, auto F>
LRESULT Invoke_v_b_u(CWnd* w, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(w)->*F)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    return 0;
}
// LRESULT (WPARAM, LPARAM)         any message (ON_MESSAGE)
template <class T, auto F>
LRESULT Invoke_l_w_l(CWnd* w, WPARAM wParam, LPARAM lParam) {
    return (static_cast<T*>(w)->*F)(wParam, lParam);
}

}  // namespace afx

#define DECLARE_MESSAGE_MAP()                            \
protected:                                               \
    static const MessageMap* GetThisMessageMap();        \
    const MessageMap* GetMessageMap() const override;    \
                                                         \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap() {                                 \
        using ThisClass = theClass;                                                   \
        using TheBaseClass = baseClass;                                               \
        static const MsgMapEntry kEntries[] = {

#define END_MESSAGE_MAP()                                                        \
    {0, 0, 0, nullptr}                                                           \
    }                                                                            \
    ;                                                                            \
    static const MessageMap kMap = {&TheBaseClass::GetThisMessageMap, kEntries}; \
    return &kMap;                                                                \
    }

#define VESTREL_ENTRY(message, code, id, sig, member) \
    {(message), (code), (id), &afx::Invoke_##sig<ThisClass, member>},

#define ON_WM_PAINT() VESTREL_ENTRY(WM_PAINT, 0, 0, v_v, &ThisClass::OnPaint)
#define ON_WM_DESTROY() VESTREL_ENTRY(WM_DESTROY, 0, 0, v_v, &ThisClass::OnDestroy)
#define ON_WM_ERASEBKGND() VESTREL_ENTRY(WM_ERASEBKGND, 0, 0, b_D, &ThisClass::OnEraseBkgnd)
#define ON_WM_LBUTTONDOWN() VESTREL_ENTRY(WM_LBUTTONDOWN, 0, 0, v_u_p, &ThisClass::OnLButtonDown)
#define ON_WM_LBUTTONUP() VESTREL_ENTRY(WM_LBUTTONUP, 0, 0, v_u_p, &ThisClass::OnLButtonUp)
#define ON_WM_RBUTTONUP() VESTREL_ENTRY(WM_RBUTTONUP, 0, 0, v_u_p, &ThisClass::OnRButtonUp)
#define ON_WM_MOUSEMOVE() VESTREL_ENTRY(WM_MOUSEMOVE, 0, 0, v_u_p, &ThisClass::OnMouseMove)
#define ON_WM_MOVE() VESTREL_ENTRY(WM_MOVE, 0, 0, v_i_i, &ThisClass::OnMove)
#define ON_WM_TIMER() VESTREL_ENTRY(WM_TIMER, 0, 0, v_t, &ThisClass::OnTimer)
#define ON_WM_SYSCOMMAND() VESTREL_ENTRY(WM_SYSCOMMAND, 0, 0, v_u_l, &ThisClass::OnSysCommand)
#define ON_WM_QUERYDRAGICON() VESTREL_ENTRY(WM_QUERYDRAGICON, 0, 0, h_v, &ThisClass::OnQueryDragIcon)
#define ON_WM_CREATE() VESTREL_ENTRY(WM_CREATE, 0, 0, i_cs, &ThisClass::OnCreate)
#define ON_WM_SHOWWINDOW() VESTREL_ENTRY(WM_SHOWWINDOW, 0, 0, v_b_u, &ThisClass::OnShowWindow)
#define ON_COMMAND(id, member) VESTREL_ENTRY(WM_COMMAND, 0, (id), v_v, member)
#define ON_BN_CLICKED(id, member) VESTREL_ENTRY(WM_COMMAND, BN_CLICKED, (id), v_v, member)
#define ON_EN_CHANGE(id, member) VESTREL_ENTRY(WM_COMMAND, EN_CHANGE, (id), v_v, member)
#define ON_LBN_DBLCLK(id, member) VESTREL_ENTRY(WM_COMMAND, LBN_DBLCLK, (id), v_v, member)
#define ON_CBN_SELCHANGE(id, member) VESTREL_ENTRY(WM_COMMAND, CBN_SELCHANGE, (id), v_v, member)
#define ON_CBN_KILLFOCUS(id, member) VESTREL_ENTRY(WM_COMMAND, CBN_KILLFOCUS, (id), v_v, member)
#define ON_MESSAGE(message, member) VESTREL_ENTRY((message), 0, 0, l_w_l, member)
// A message numbered by RegisterWindowMessage: messageOf() gives its number (0 when it could not be
// registered, which matches nothing).
#define ON_REGISTERED_MESSAGE(messageOf, member) \
    {0, 0, 0, &afx::Invoke_l_w_l<ThisClass, member>, (messageOf)},

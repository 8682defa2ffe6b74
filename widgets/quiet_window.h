// The pieces of a top-level window of a class of its own that tells the user something without
// taking the focus (the reminder window, the notice window): its class, the object behind its
// window procedure, its white background and the system's message font.
#pragma once

#include <windows.h>

// Registers the class (the caller does so once per process, keeping the answer): the arrow
// cursor, the window colour as background. 0 when it could not be registered.
ATOM RegisterQuietClass(const wchar_t* name, WNDPROC proc);

// The object a window was created for (CreateWindowEx's lpParam), kept in its user data from
// WM_NCCREATE on; null before that and after ForgetWindowObject.
template <class T>
T* WindowObject(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    return reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}
inline void ForgetWindowObject(HWND hwnd) { ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); }

// WM_CTLCOLORSTATIC's answer for a static or read-only edit on the window colour.
LRESULT OnWindowColour(WPARAM dc);

// The system's message font at pixelHeight pixels (the caller deletes it).
HFONT MessageFontOf(int pixelHeight);

// vestrel-grid: the month grid alone in a plain window, on the user's own notes, for looking at
// the grid before the whole program exists. Page Up / Page Down (or the arrow keys) browse the
// months; Home goes back to today. With "--shot FILE.bmp" it saves the window as a bitmap and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/app_model.h"
#include "framework/afxwin.h"
#include "grid/month_grid.h"
#include "notes/month_notes.h"
#include "notes/note_files.h"
#include "notes/note_opener.h"
#include "res/resource.h"

namespace {

class CViewerWnd : public CWnd {
public:
    BOOL Create() {
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
        const auto outer = [style](int dpi) {  // the window round a client of 363 x 258 at dpi
            RECT r{0, 0, Scale(363, dpi), Scale(258, dpi)};
            ::AdjustWindowRect(&r, style, FALSE);
            return r;
        };
        RECT r = outer(kBaseDpi);
        const char* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                              static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)),
                                              ::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)));
        if (!CreateEx(0, cls, "vestrel-grid", style | WS_VISIBLE, CRect(120, 120, 120 + r.right - r.left, 120 + r.bottom - r.top),
                      nullptr, 0))
            return FALSE;
        const int dpi = WindowDpi(GetSafeHwnd());
        r = outer(dpi);
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        if (!m_grid.Create(CRect(0, Scale(22, dpi), Scale(363, dpi), Scale(258, dpi)), this, IDC_MONTH_GRID, dpi))
            return FALSE;
        m_grid.SetClickHandlers({[this](int day) { m_opener.OpenDay(this, day); },
                                 [this](int weekday) { m_opener.OpenWeekly(this, weekday); }});
        GoToToday();
        return TRUE;
    }
    void GoToToday() {
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        m_state = AtToday(m_state, LocalDate{now.wYear, now.wMonth, now.wDay});
        if (const LocalDate* today = m_state.TodayInRange()) m_grid.SetToday(today->year, today->month, today->day);
        Show();
    }
    void Step(int months) {
        m_state = Stepped(m_state, months);
        Show();
    }
    CMonthGrid& Grid() { return m_grid; }

protected:
    void Show() {
        MonthLayout layout;
        LayOutMonth(m_state.shown.year, m_state.shown.month, &layout);
        m_notes.Open(layout);
        m_grid.Show(layout, m_notes.View());
        char title[64];
        std::snprintf(title, sizeof title, "%d年%d月 - vestrel-grid", m_state.shown.year, m_state.shown.month);
        SetWindowText(title);
    }
    void OnDestroy() { ::PostQuitMessage(0); }

    CalendarState m_state;
    MonthNoteLists m_notes;
    NoteOpener m_opener{&m_notes, [this] { m_grid.SetNotes(m_notes.View()); }};
    CMonthGrid m_grid;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CViewerWnd, CWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// The window as the screen shows it, as a 24-bit BMP.
bool SaveShot(HWND hwnd, const char* path) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    ScopedMemoryDc mem(screen);
    ScopedBitmap bitmap(::CreateCompatibleBitmap(screen, w, h));
    {
        ScopedSelect select(mem.get(), bitmap.get());
        ::BitBlt(mem.get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    char* bits = new char[static_cast<size_t>(stride) * h];
    ::GetDIBits(mem.get(), bitmap.get(), 0, h, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * h;
    FILE* out = std::fopen(path, "wb");
    bool ok = out != nullptr;
    if (ok) {
        ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
             std::fwrite(bits, static_cast<size_t>(stride) * h, 1, out) == 1;
        ok = std::fclose(out) == 0 && ok;
    }
    delete[] bits;
    return ok;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    AfxSetInstanceHandle(instance);
    SetUpNoteFolders();
    CViewerWnd window;
    if (!window.Create()) return 1;
    const char* shot = std::strstr(commandLine, "--shot ");
    if (shot != nullptr) {
        for (int i = 0; i < 20; ++i) {  // let every window paint
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            ::Sleep(25);
        }
        const bool saved = SaveShot(window.GetSafeHwnd(), shot + 7);
        window.DestroyWindow();
        return saved ? 0 : 1;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN) {
            switch (msg.wParam) {
                case VK_PRIOR: case VK_LEFT: window.Step(-1); continue;
                case VK_NEXT: case VK_RIGHT: window.Step(1); continue;
                case VK_UP: window.Step(-12); continue;
                case VK_DOWN: window.Step(12); continue;
                case VK_HOME: window.GoToToday(); continue;
                default: break;
            }
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

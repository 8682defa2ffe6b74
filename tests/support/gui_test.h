// Support for the Windows GUI tests: a host window that records what its children post, rendering
// a window into a 32-bit bitmap and saving it as PNG, synthetic mouse messages, pumping messages
// until a condition holds, and driving a modal dialog that a click opens.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace guitest {

// A visible top-level window (plain class) to parent the controls under test. It records every
// message at or above WM_USER that reaches it.
class HostWindow {
public:
    HostWindow(int width, int height, COLORREF background = RGB(255, 255, 255));
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Posted> posted;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    HBRUSH brush_ = nullptr;
};

// A window's client area as rendered by WM_PRINTCLIENT into a 32-bit DIB.
struct Bitmap {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
    COLORREF At(int x, int y) const;  // as a COLORREF (0x00BBGGRR)
    int Count(COLORREF color) const;
};
Bitmap Render(HWND hwnd);
// What the screen shows of a window (frame and children included), copied from the display after
// the window has painted: for pictures a person looks at.
Bitmap CaptureWindow(HWND hwnd);

// Writes the bitmap as build/windows/tests/gui-shots/<name>.png so a person can look.
std::string SavePng(const Bitmap& bitmap, const std::string& name);

// Sends a mouse message with a client-area point.
void SendMouse(HWND hwnd, UINT message, int x, int y, WPARAM flags = 0);

// Dispatches pending messages.
void PumpPending();
// Pumps messages until done() holds or the time passes; returns done().
[[nodiscard]] bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Runs action on the next dialog box this thread opens (found by a timer while the dialog's own
// modal loop runs). The action typically fills edits and presses a button.
void OnNextDialog(std::function<void(HWND dialog)> action);
// Clicks a push button of a dialog (BM_CLICK).
void ClickButton(HWND dialog, int id);
// The text of a dialog item.
std::string ItemText(HWND dialog, int id);
// Sets a control's text to GBK text, as UTF-16.
void SetItemText(HWND dialog, int id, const char* gbk);

// Bytes of private memory the process has committed, for leak checks.
size_t PrivateBytes();

}  // namespace guitest

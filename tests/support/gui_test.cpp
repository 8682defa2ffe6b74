// GUI test support.
#include "tests/support/gui_test.h"

#include <psapi.h>

#include <cstdio>
#include <memory>
#include <set>

#include "framework/cwnd.h"
#include "platform/wide_text.h"

namespace guitest {

// ------------------------------------------------------------------------------------------------
// Host window

LRESULT CALLBACK HostWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER && message < 0xC000) {
        auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self) self->posted.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HostWindow::HostWindow(int width, int height, COLORREF background) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &HostWindow::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = "VestrelTestHost";
        RegisterClassA(&wc);
        registered = true;
    }
    brush_ = CreateSolidBrush(background);
    hwnd_ = CreateWindowExA(0, "VestrelTestHost", "test host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, width,
                            height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_));
    PumpPending();
}

HostWindow::~HostWindow() {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    DeleteObject(brush_);
}

// ------------------------------------------------------------------------------------------------
// Rendering

COLORREF Bitmap::At(int x, int y) const {
    const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Bitmap::Count(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) n += At(x, y) == color ? 1 : 0;
    return n;
}

namespace {

// A width x height bitmap drawn by draw(memory DC of a 32-bit top-down DIB), read back.
Bitmap DrawToBitmap(int width, int height, const std::function<void(HDC)>& draw) {
    Bitmap b;
    b.width = width;
    b.height = height;
    if (width <= 0 || height <= 0) return b;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, dib);
    draw(mem);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    b.pixels.assign(p, p + static_cast<size_t>(width) * height);
    for (uint32_t& px : b.pixels) px &= 0x00FFFFFF;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    return b;
}

}  // namespace

Bitmap Render(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    return DrawToBitmap(client.right, client.bottom, [&](HDC mem) {
        FillRect(mem, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
    });
}

Bitmap CaptureWindow(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpPending();
    RECT r;
    GetWindowRect(hwnd, &r);
    return DrawToBitmap(r.right - r.left, r.bottom - r.top, [&](HDC mem) {
        HDC screen = GetDC(nullptr);
        BitBlt(mem, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

// ------------------------------------------------------------------------------------------------
// PNG (uncompressed deflate blocks)

namespace {

uint32_t Crc(const unsigned char* data, size_t n, uint32_t crc = 0xFFFFFFFFu) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void Put32(std::string& out, uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    Put32(out, Crc(reinterpret_cast<const unsigned char*>(body.data()), body.size()) ^ 0xFFFFFFFFu);
}

// build/windows/tests/gui-shots, or gui-shots-<VESTREL_SHOTS_SUFFIX> (a run under another locale).
std::string OutputFolder() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::string dir = Utf8FromWide(exe);
    dir = dir.substr(0, dir.find_last_of("\\/"));  // the test's folder, build/windows/tests/<folder>
    dir = dir.substr(0, dir.find_last_of("\\/"));
    dir += "\\gui-shots";
    wchar_t suffix[32] = {};
    if (GetEnvironmentVariableW(L"VESTREL_SHOTS_SUFFIX", suffix, 32) > 0) dir += "-" + Utf8FromWide(suffix);
    CreateDirectoryW(WideFromUtf8(dir).c_str(), nullptr);
    return dir;
}

}  // namespace

std::string SavePng(const Bitmap& b, const std::string& name) {
    std::string raw;
    for (int y = 0; y < b.height; ++y) {
        raw += '\0';  // filter: none
        for (int x = 0; x < b.width; ++x) {
            const uint32_t p = b.pixels[static_cast<size_t>(y) * b.width + x];
            raw += static_cast<char>((p >> 16) & 0xFF);
            raw += static_cast<char>((p >> 8) & 0xFF);
            raw += static_cast<char>(p & 0xFF);
        }
    }
    std::string z = "\x78\x01";
    uint32_t a = 1, bsum = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        bsum = (bsum + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0; pos += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z += static_cast<char>(last ? 1 : 0);
        z += static_cast<char>(n & 0xFF);
        z += static_cast<char>(n >> 8);
        z += static_cast<char>(~n & 0xFF);
        z += static_cast<char>((~n >> 8) & 0xFF);
        z.append(raw, pos, n);
        if (last) break;
    }
    Put32(z, (bsum << 16) | a);
    std::string header;
    Put32(header, static_cast<uint32_t>(b.width));
    Put32(header, static_cast<uint32_t>(b.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    const std::string path = OutputFolder() + "\\" + name + ".png";
    FILE* f = _wfopen(WideFromUtf8(path).c_str(), L"wb");
    if (f) {
        fwrite(png.data(), 1, png.size(), f);
        fclose(f);
    }
    return path;
}

// ------------------------------------------------------------------------------------------------
// Input and message pumping

void SendMouse(HWND hwnd, UINT message, int x, int y, WPARAM flags) {
    SendMessageA(hwnd, message, flags, MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))));
}

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end) return false;
        PumpPending();
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// ------------------------------------------------------------------------------------------------
// Modal dialogs

namespace {

std::function<void(HWND)>* g_dialogAction = nullptr;
UINT_PTR g_dialogTimer = 0;

// The dialogs on screen when the action was set (a main window, a tab window): never the next one.
std::set<HWND> g_dialogsBefore;

bool IsShownDialog(HWND hwnd) {
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return std::string(cls) == "#32770" && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

BOOL CALLBACK NoteShownDialog(HWND hwnd, LPARAM) {
    if (IsShownDialog(hwnd)) g_dialogsBefore.insert(hwnd);
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM result) {
    if (IsShownDialog(hwnd) && g_dialogsBefore.count(hwnd) == 0) {
        *reinterpret_cast<HWND*>(result) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DialogTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || g_dialogAction == nullptr) return;
    KillTimer(nullptr, g_dialogTimer);
    g_dialogTimer = 0;
    std::unique_ptr<std::function<void(HWND)>> action(g_dialogAction);
    g_dialogAction = nullptr;
    (*action)(dialog);
}

}  // namespace

void OnNextDialog(std::function<void(HWND dialog)> action) {
    delete g_dialogAction;
    g_dialogAction = new std::function<void(HWND)>(std::move(action));
    g_dialogsBefore.clear();
    EnumThreadWindows(GetCurrentThreadId(), NoteShownDialog, 0);
    if (g_dialogTimer == 0) g_dialogTimer = SetTimer(nullptr, 0, 50, DialogTimer);
}

void ClickButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string ItemText(HWND dialog, int id) { return GbkFromWide(WindowTextOf(GetDlgItem(dialog, id))); }

void SetItemText(HWND dialog, int id, const char* gbk) { SetDlgItemTextW(dialog, id, WideFromGbk(gbk).c_str()); }

size_t PrivateBytes() {
    // Committed private memory, region by region: Wine's process memory counters leave
    // PrivateUsage at 0.
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* p = nullptr; VirtualQuery(p, &region, sizeof region) == sizeof region;
         p = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return total;
}

}  // namespace guitest

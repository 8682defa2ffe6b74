// What the end-to-end suite does to the calendar from another Windows process, as other programs
// on a person's PC do:
//   e2e_helper hold PATH MS        holds PATH open without sharing for MS milliseconds (a backup,
//                                  a virus scanner)
//   e2e_helper shell FILE          plays the desktop's shell: a visible "Progman" holding
//                                  "SHELLDLL_DefView" > "SysListView32"; ends it when FILE appears,
//                                  makes a new one and broadcasts "TaskbarCreated" when FILE is
//                                  gone again, and ends for good when FILE appears a second time.
//   e2e_helper text CAPTION        prints the texts in the window captioned CAPTION (GBK), a list
//                                  box's lines each on a line of its own
//   e2e_helper where               prints where the calendar sits: attached, top or none
//   e2e_helper shown               prints the text of each visible window of the calendar's process
//                                  and of their visible children, one a line (GBK)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "res/resource.h"

namespace {

HWND MakeShell() {
    for (const char* name : {"Progman", "SHELLDLL_DefView", "SysListView32"}) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    HWND top = CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND view = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 1280, 1024, top, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, "SysListView32", "", WS_CHILD | WS_VISIBLE, 0, 0, 1280, 1024, view, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(top, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return top;
}

// Pumps messages until the file's presence is want (or a minute passes).
bool PumpUntilFile(const char* file, bool want) {
    for (int i = 0; i < 6000; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if ((GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES) == want) return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "hold") == 0) {
        // Holds the file for MS milliseconds; with TEXT, writes it over the file before letting go
        // (another PC's version, which nobody could read before it was whole).
        const bool write = argc == 5;
        HANDLE h = CreateFileA(argv[2], GENERIC_READ | (write ? GENERIC_WRITE : 0), 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return 1;
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::atoi(argv[3])));
        DWORD written = 0;
        if (write && (!WriteFile(h, argv[4], static_cast<DWORD>(std::strlen(argv[4])), &written, nullptr) ||
                      !SetEndOfFile(h)))
            return 1;
        CloseHandle(h);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "shell") == 0) {
        HWND shell = MakeShell();
        if (!PumpUntilFile(argv[2], true)) return 1;
        DestroyWindow(shell);
        if (!PumpUntilFile(argv[2], false)) return 1;
        shell = MakeShell();
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000,
                            &ignored);
        PumpUntilFile(argv[2], true);
        DestroyWindow(shell);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "text") == 0) {
        // The texts of the controls of the window captioned argv[2] (a message box, a note dialog
        // with its edits: asked with WM_GETTEXT, which GetWindowText does not send to a control of
        // another process).
        HWND box = FindWindowA(nullptr, argv[2]);
        if (box == nullptr) return 1;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM) -> BOOL {
                char text[1024] = {};
                DWORD_PTR copied = 0;
                SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                    2000, &copied);
                std::fputs(text, stdout);
                char cls[16] = {};
                GetClassNameA(child, cls, sizeof cls);
                if (lstrcmpiA(cls, "ListBox") != 0) return TRUE;
                const LRESULT n = SendMessageA(child, LB_GETCOUNT, 0, 0);
                for (LRESULT i = 0; i < n; ++i) {  // the wide form: the A one loses the text between processes
                    wchar_t line[512] = {};
                    if (SendMessageW(child, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 512) continue;
                    SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
                    WideCharToMultiByte(CP_ACP, 0, line, -1, text, sizeof text, nullptr, nullptr);
                    std::printf("\n%s", text);
                }
                return TRUE;
            },
            0);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "memo") == 0) {
        // The text of the memo pad's edit (the pad has no caption to find it by).
        HWND edit = nullptr;
        EnumWindows(
            [](HWND top, LPARAM out) -> BOOL {
                HWND found = GetDlgItem(top, IDC_MEMO_EDIT);
                if (found == nullptr || !(GetWindowLongA(found, GWL_STYLE) & ES_MULTILINE)) return TRUE;
                *reinterpret_cast<HWND*>(out) = found;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&edit));
        if (edit == nullptr) return 1;
        char text[1024] = {};
        SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        std::fputs(text, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "where") == 0) {
        // Where the calendar's main window (marked with its window property) sits: "attached" under
        // a shell's icon view, "top" as a window of its own, or "none".
        HWND found = nullptr;
        const WNDENUMPROC find = [](HWND hwnd, LPARAM out) -> BOOL {
            if (GetPropA(hwnd, "VestrelCalendarMain") == nullptr) return TRUE;
            *reinterpret_cast<HWND*>(out) = hwnd;
            return FALSE;
        };
        EnumChildWindows(GetDesktopWindow(), find, reinterpret_cast<LPARAM>(&found));
        if (found == nullptr) EnumWindows(find, reinterpret_cast<LPARAM>(&found));
        char cls[64] = {};
        if (found) GetClassNameA(GetAncestor(found, GA_PARENT), cls, sizeof cls);
        std::printf("%s\n", found == nullptr ? "none" : std::strcmp(cls, "SHELLDLL_DefView") == 0 ? "attached" : "top");
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "shown") == 0) {
        // What the calendar's process shows as window texts: its labels, boxes and note popup.
        static DWORD process = 0;
        static const WNDENUMPROC print = [](HWND hwnd, LPARAM top) -> BOOL {
            DWORD owner = 0;
            char text[1024] = {};
            GetWindowThreadProcessId(hwnd, &owner);
            if (GetPropA(hwnd, "VestrelCalendarMain") != nullptr) process = owner;
            if (owner != process || !IsWindowVisible(hwnd)) return TRUE;
            // WM_GETTEXT, which GetWindowText does not send to a window of another process: a
            // list box's selected text.
            DWORD_PTR copied = 0;
            SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                                &copied);
            if (text[0] != '\0') std::printf("%s\n", text);
            if (top) EnumChildWindows(hwnd, print, 0);
            return TRUE;
        };
        EnumWindows([](HWND hwnd, LPARAM) { return GetPropA(hwnd, "VestrelCalendarMain") ? print(hwnd, 0) : TRUE; }, 0);
        EnumWindows(print, 1);
        return 0;
    }
    std::fprintf(stderr, "usage: e2e_helper hold PATH MS [TEXT] | shell FILE | text CAPTION | memo | where | shown\n");
    return 2;
}

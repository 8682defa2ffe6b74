// CNoticeWindow: where the calendar tells the user what happened to the notes (a damaged file, a
// note or the memo changed elsewhere, a bad "假日.txt"). It is shown beside the calendar without
// taking the focus: the user typing in the memo pad or a note keeps typing there, and no key can
// press its button before it is read. Notices told while it is open are added under the others;
// "知道了" or its close box closes it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/dpi_scaled.h"

class CNoticeWindow : protected CDpiScaled {
public:
    CNoticeWindow() = default;
    ~CNoticeWindow();
    CNoticeWindow(const CNoticeWindow&) = delete;
    CNoticeWindow& operator=(const CNoticeWindow&) = delete;

    // Adds a notice (GBK) and shows the window beside `beside` (the calendar), at its scale.
    void Add(const std::string& text, HWND beside);

    enum : int { kIdText = 101, kIdDone = 102 };
    static constexpr const char* kCaption = "Vestrel 记事";
    static constexpr size_t kMaxShown = 8;  // the latest notices kept in the window
    // The window while it is open, else null.
    HWND Window() const { return m_hwnd; }
    const std::vector<std::string>& Shown() const { return m_shown; }
    void Close();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Open();
    void Layout(HWND beside, int dpi, const std::wstring& text);

    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    HWND m_returnTo = nullptr;  // the window active when a button of this one was pressed
    std::vector<std::string> m_shown;
};

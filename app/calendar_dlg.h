// CCalendarDlg: the main window. A strip with the year and month boxes and "上月", "下月", "返回",
// the month grid, the headline under it; it attaches itself to the desktop, remembers where it was
// dragged, owns the memo pad and the two tab windows, and keeps to today's date on a timer.
#pragma once

#include <memory>
#include <string>

#include "app/app_model.h"
#include "framework/afxwin.h"
#include "grid/month_grid.h"
#include "calendar/holidays.h"
#include "platform/dpi.h"
#include "notes/folder_watch.h"
#include "notes/memo_pad_dlg.h"
#include "web/headline.h"
#include "web/headline_fetcher.h"
#include "widgets/click_label.h"
#include "widgets/dialog_scale.h"

class CCalendarDlg;

// A control of the main window that can have the focus (the edit field of the year or month box,
// "-", "x"): Page Up, Page Down and Home go to the main window (from a box only while its list is
// closed: a box whose list is open keeps them), and so does the wheel over the grid, which the
// system sends to the window with the focus.
class CMonthKeys : public CWnd {
public:
    // The control belongs to the dialog: it is let go here, never destroyed.
    ~CMonthKeys() override { Detach(); }
    BOOL BindBox(CWnd* box, CCalendarDlg* owner);
    BOOL BindButton(UINT id, CCalendarDlg* owner);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_box = nullptr;
    CCalendarDlg* m_owner = nullptr;
};

class CCalendarDlg : public CDialog, public MemoPadOwner {
public:
    CCalendarDlg();
    ~CCalendarDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Enter in the year box shows the typed year; elsewhere it does nothing.
    void OnOK() override;
    void OnCancel() override {}  // Escape does nothing

    // The operations the pad, the tabs and the buttons call.
    void ShowMemoPad() override;
    void HideMemoPad() override;
    void ShowCalendar() override;
    void HideCalendar();
    void PlaceTabWindows();
    // Reads today's date, tells the grid, and moves it to today's month unless it already shows it.
    void GoToToday();
    // Page Up / Page Down: the month before / after; Home: today. False for any other key.
    bool OnMonthKey(UINT key);
    // The wheel (WM_MOUSEWHEEL's parameters) over the grid: a month a notch, up = earlier. False,
    // with nothing done, when the pointer is not over the grid.
    bool OnGridWheel(WPARAM wParam, LPARAM lParam);
    // Starts a headline request on the worker thread (dropped while one runs).
    void FetchHeadline();
    // Ends the program, first giving a memo that could not be saved one more try and, should that
    // fail too, asking the user; uninstall also removes the start-up value once the answer is to
    // end. False when the user chose to keep the program.
    bool EndProgram(bool uninstall = false);

    // Reads "假日.txt" of the notes folder, when there is one, over the built-in holidays and gives
    // the grid the result; each bad line of it is told once. At start and when the folder changes.
    void LoadHolidays();

    // For tests and the second start.
    CMonthGrid* Grid() const { return m_pGrid; }
    CMemoPadDlg* MemoPad() const { return m_pMemoPad; }
    CMemoTabDlg* MemoTab() const { return m_pMemoTab; }
    CCalendarTabDlg* CalendarTab() const { return m_pCalendarTab; }
    const HeadlineState& Headline() const { return m_headline; }
    int HeadlineResultsTaken() const { return m_headlineResults; }
    bool InitDone() const { return m_bInitDone; }
    // Where the headline is fetched from (the build's host and port 80 unless changed here).
    void SetHeadlineServer(const char* host, unsigned short port);

    // The window property that marks the main window, so a second start can find it.
    static constexpr const char* kMainWindowProperty = "VestrelCalendarMain";
    // Registered message a second start sends to the main window: show yourself.
    static UINT ShowYourselfMessage();
    // Registered message the program posts when a new shell announced itself: attach again.
    static UINT AttachAgainMessage();
    // The main window of this process at the moment, or null.
    static HWND CurrentWindow();

    // What a main window built again after the shell took the old one with it starts from.
    struct Restart {
        YearMonth shown;
        bool calendarHidden;
    };
    // Shows this month (and hides the calendar) once the window is up, instead of today's month.
    void RestartFrom(const Restart& state) { m_restart = state; m_haveRestart = true; }
    // After DoModal: true when the window ended without the user ending the program (the desktop's
    // shell window it was a child of went, and took it along); *state is what it showed.
    bool EndedByShell(Restart* state) const;

protected:
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBoxChange();
    // The year typed into the year box is shown when it is in range; otherwise the box returns to
    // the shown year.
    void OnYearTyped();
    void OnMove(int x, int y);
    // Lays the window out again at dpi: its size (the suggested rectangle when one is given, else
    // the top-left corner stays), the strip, the grid, the headline, "-" and "x", the tabs.
    void Relayout(int dpi, const RECT* suggested);
    // Takes dpi as the window's scale: its size (as for Relayout) and the template's controls.
    void TakeScale(int dpi, const RECT* suggested);
    // "-" and "x" at the right end of the strip, whatever size the dialog font gives their units.
    void PlaceStripButtons();
    void LimitHeadline();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnUninstallCommand();
    void OnHideButton();
    void OnCloseButton();
    LRESULT OnControlClicked(WPARAM id, LPARAM);
    void OnTimer(UINT_PTR id);
    LRESULT OnHeadlineFetched(WPARAM result, LPARAM lParam);
    // The wheel over the grid, which lets it rise to this window; taken here wherever the pointer is.
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam) {
        OnGridWheel(wParam, lParam);
        return 0;
    }
    LRESULT OnKeyDown(WPARAM key, LPARAM);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows ym in the grid and selects it in the boxes; ShowGridMonth leaves the boxes alone.
    // Both show "返回" unless today's month is on show.
    void ShowMonth(YearMonth ym);
    // Shows what the note store has to tell the user, one message box each (never two at once).
    void ShowNotices();
    // Takes changes other programs made to the note folders: the shown month's notes, the memo.
    void FollowNoteFolders(bool dialogOpen);

    void ShowGridMonth(YearMonth ym);
    // "返回" shows while another month than today's is on show.
    void UpdateTodayButton();
    // Selects the month in the boxes; only a box with the focus shows its text selected.
    void SelectBoxes(int year, int month);

    // The layout is in pixels of a 96 DPI screen, scaled by the window's DPI (when it is made and
    // after a move to a monitor of another scale).
    int S(int px) const { return Scale(px, m_dpi); }
    CRect ScaledRect(int l, int t, int r, int b) const { return CRect(S(l), S(t), S(r), S(b)); }
    int m_dpi = kBaseDpi;
    DialogScale m_templateScale;  // the year and month boxes, "-" and "x"

    COLORREF m_crStrip = RGB(50, 80, 90);
    COLORREF m_crButtonText = RGB(189, 183, 107);
    CClickLabel m_btnPrevMonth, m_btnNextMonth, m_btnToday;
    int m_nWidth = 363;
    CComboBox m_cbYear, m_cbMonth;
    CMonthKeys m_yearKeys, m_monthKeys, m_hideKeys, m_closeKeys;
    int m_wheelDelta = 0;  // the part of a notch turned so far (fine-grained wheels)
    int m_nGridHeight = 236;
    bool m_bAutoStartOk = false;
    HICON m_hIcon = nullptr;
    CMonthGrid* m_pGrid = nullptr;
    bool m_bInitDone = false;
    // Today's date: this window owns it and tells the grid.
    int m_nTodayDay = 0, m_nTodayMonth = 0, m_nTodayYear = 0;
    CClickLabel m_lblHeadline, m_lblNext;
    CMemoPadDlg* m_pMemoPad = nullptr;
    CMemoTabDlg* m_pMemoTab = nullptr;
    CCalendarTabDlg* m_pCalendarTab = nullptr;
    HeadlineState m_headline;  // text (m_strHeadline) and link (m_strHeadlineUrl)
    std::unique_ptr<HeadlineFetcher> m_fetcher;
    int m_tickCount = -2;
    int m_headlineResults = 0;  // fetch results received
    bool m_winsockStarted = false;
    std::unique_ptr<FolderWatch> m_listWatch, m_memoWatch;  // "日历" and "备忘"
    std::unique_ptr<FolderWatch> m_rootWatch;              // the notes folder, for "假日.txt"
    std::unique_ptr<HolidayTable> m_holidays;              // built-in and "假日.txt", or null
    bool m_telling = false;  // a notice is on screen
    bool m_endPlanned = false;  // EndProgram ended the window
    bool m_calendarHidden = false;
    HWND m_ownWindow = nullptr;  // the window, also after it is gone
    Restart m_restart{};
    bool m_haveRestart = false;

    DECLARE_MESSAGE_MAP()
};

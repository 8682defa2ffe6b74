// CCalendarDlg: the main window. A strip with the year and month boxes and "上月", "下月", "返回",
// the month grid, the headline under it; it attaches itself to the desktop, remembers where it was
// dragged, owns the memo pad and the two tab windows, and keeps to today's date on a timer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/app_model.h"
#include "app/find_dlg.h"
#include "app/headline_bar.h"
#include "app/holiday_updates.h"
#include "app/month_keys.h"
#include "app/note_folders.h"
#include "app/reminder_dlg.h"
#include "framework/afxwin.h"
#include "grid/month_grid.h"
#include "notes/memo_pad_dlg.h"
#include "notes/month_notes.h"
#include "notes/note_opener.h"
#include "notes/tab_dlg.h"
#include "widgets/click_label.h"
#include "widgets/dialog_scale.h"

class CCalendarDlg : public CDialog, public MemoPadOwner, protected CDpiScaled {
public:
    CCalendarDlg();
    ~CCalendarDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Enter in the year box shows the typed year; elsewhere it does nothing.
    void OnOK() override;
    // Escape puts a note popup away and does nothing else.
    void OnCancel() override {
        if (m_grid) m_grid->HidePopup();
    }

    // The operations the pad, the tabs and the buttons call.
    void ShowMemoPad() override;
    void HideMemoPad() override;
    void ShowCalendar() override;
    void HideCalendar();
    void PlaceTabWindows();
    // Reads today's date, tells the grid, and shows today's month unless it is already on show.
    void GoToToday();
    // Page Up / Page Down: the month before / after; Home: today; Ctrl+F: the find window. False
    // for any other key.
    bool OnMonthKey(UINT key);
    // Shows the find window ("查找", Ctrl+F); a row chosen there shows its month and opens its note.
    void OpenFind();
    // The wheel (WM_MOUSEWHEEL's parameters) over the grid: a month a notch, up = earlier. False,
    // with nothing done, when the pointer is not over the grid.
    bool OnGridWheel(WPARAM wParam, LPARAM lParam);
    // Starts a headline request on the worker thread (dropped while one runs).
    void FetchHeadline();
    // Ends the program, first giving a memo that could not be saved one more try and, should that
    // fail too, asking the user; uninstall also removes the start-up value once the answer is to
    // end. False when the user chose to keep the program.
    bool EndProgram(bool uninstall = false);

    // Reads "假日.txt" of the notes folder again and gives the grid the result.
    void LoadHolidays();

    // For tests and the second start.
    const CalendarState& State() const { return m_state; }
    CMonthGrid* Grid() const { return m_grid.get(); }
    CMemoPadDlg* MemoPad() const { return m_memoPad.get(); }
    CFindDlg* FindDlg() const { return m_find.get(); }
    CMemoTabDlg* MemoTab() const { return m_memoTab.get(); }
    CCalendarTabDlg* CalendarTab() const { return m_calendarTab.get(); }
    const HeadlineState& Headline() const { return m_headlineBar.State(); }
    int HeadlineResultsTaken() const { return m_headlineBar.ResultsTaken(); }
    bool InitDone() const { return m_bInitDone; }
    const CReminderWindow& Reminders() const { return m_reminders; }
    NoteFolders& Folders() { return m_folders; }
    // Where the headline is fetched from (the build's host and port 80 unless changed here).
    void SetHeadlineServer(const char* host, unsigned short port) { m_headlineBar.SetServer(host, port); }
    // The fetched holiday years (its test seams are set before the window is made).
    HolidayUpdates& Holidays() { return m_holidayUpdates; }

    // The window property that marks the main window, so a second start can find it.
    static constexpr const wchar_t* kMainWindowProperty = L"VestrelCalendarMain";
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
        bool memoUnsaved;        // the pad held text it could not save: memoText, shown as unsaved
        std::string memoText;
        std::string memoBase;    // the memo memoText was typed over (a memo differing from it is kept)
        std::vector<std::string> notices;  // the notices on screen, not yet closed: shown again
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
    void OnLButtonDown(UINT flags, CPoint point);
    void OnUninstallCommand();
    void OnHideButton();
    void OnCloseButton();
    LRESULT OnControlClicked(WPARAM id, LPARAM);
    void OnTimer(UINT_PTR id);
    LRESULT OnHeadlineFetched(WPARAM result, LPARAM lParam);
    LRESULT OnHolidaysFetched(WPARAM, LPARAM lParam) {
        m_holidayUpdates.OnFetched(lParam);
        return 0;
    }
    // The wheel over the grid, which lets it rise to this window; taken here wherever the pointer is.
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam) {
        OnGridWheel(wParam, lParam);
        return 0;
    }
    LRESULT OnKeyDown(WPARAM key, LPARAM);
    // Moved to a monitor of another scale: as a top-level window with the rectangle the system
    // suggests (WM_DPICHANGED); attached to the desktop, after its parent.
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    LRESULT OnDpiChangedAfterParent(WPARAM, LPARAM);
    // The size at another scale: 363 x 278 scaled, not the template's.
    LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size);
    // A new shell announced itself: go back under its icon view (a no-op without one).
    LRESULT OnAttachAgain(WPARAM, LPARAM);
    // A second start asks this one to show itself.
    LRESULT OnShowYourself(WPARAM, LPARAM);
    // Log-off or shutdown: a memo that could not be saved gets one more try, then goes to its
    // recovery file, which the next start offers back.
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Makes s the calendar's state: the grid shows its month (its notes read once when the month
    // changed), the boxes select it unless keepBoxes, and "返回" shows unless today's month is on
    // show.
    void Show(const CalendarState& s, bool keepBoxes = false);
    // Takes changes other programs made to the note folders: the shown month's notes, the
    // holidays, the memo.
    void FollowNoteFolders(bool dialogOpen);
    // Selects the month in the boxes; only a box with the focus shows its text selected.
    void SelectBoxes(int year, int month);

    DialogScale m_templateScale;  // the year and month boxes, "-" and "x"

    COLORREF m_crStrip = RGB(50, 80, 90);
    COLORREF m_crButtonText = RGB(189, 183, 107);
    CClickLabel m_btnPrevMonth, m_btnNextMonth, m_btnToday, m_btnFind;
    CComboBox m_cbYear, m_cbMonth;
    CMonthKeys m_yearKeys, m_monthKeys, m_hideKeys, m_closeKeys;
    int m_wheelDelta = 0;  // the part of a notch turned so far (fine-grained wheels)
    bool m_bAutoStartOk = false;
    HICON m_hIcon = nullptr;
    bool m_bInitDone = false;
    CalendarState m_state;        // the shown month and today
    MonthNoteLists m_notes;       // the shown month's note lists
    NoteOpener m_noteOpener{&m_notes, [this] { if (m_grid) m_grid->SetNotes(m_notes.View()); }};
    NoteFolders m_folders;        // the watches, "假日.txt" and the notices
    HeadlineBar m_headlineBar;    // Windows Sockets, the headline and "下一篇"
    HolidayUpdates m_holidayUpdates;  // the fetched holiday years and the line of an awaited year
    int m_tickCount = -2;
    bool m_endPlanned = false;  // EndProgram ended the window
    bool m_calendarHidden = false;
    HWND m_ownWindow = nullptr;  // the window, also after it is gone
    Restart m_restart{};
    bool m_haveRestart = false;
    // The "提醒" window; a click on a line shows the day's month, the calendar shown again when it
    // was hidden (not while a note dialog is open).
    CReminderWindow m_reminders{[this](int year, int month) {
        if (m_noteOpener.DialogOpen()) return;
        if (m_calendarHidden) ShowCalendar();
        Show(Showing(m_state, YearMonth{year, month}));
    }};
    // The windows this one makes; they go with it (declared last, so they go first).
    std::unique_ptr<CMonthGrid> m_grid;
    std::unique_ptr<CMemoTabDlg> m_memoTab;
    std::unique_ptr<CCalendarTabDlg> m_calendarTab;
    std::unique_ptr<CMemoPadDlg> m_memoPad;
    std::unique_ptr<CFindDlg> m_find;

    DECLARE_MESSAGE_MAP()
};

// CCalendarDlg.
#include "app/calendar_dlg.h"

#include <cstdio>

#include "app/desktop.h"
#include "app/exit_prompt_dlg.h"
#include "app/main_layout.h"
#include "notes/note_files.h"
#include "platform/dpi.h"
#include "platform/monitors.h"
#include "platform/settings.h"
#include "platform/wide_text.h"
#include "res/resource.h"
#include "widgets/user_messages.h"

BEGIN_MESSAGE_MAP(CCalendarDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_CBN_SELCHANGE(IDC_MONTH_BOX, &CCalendarDlg::OnBoxChange)
    ON_CBN_SELCHANGE(IDC_YEAR_BOX, &CCalendarDlg::OnBoxChange)
    ON_CBN_KILLFOCUS(IDC_YEAR_BOX, &CCalendarDlg::OnYearTyped)
    ON_WM_MOVE()
    ON_WM_LBUTTONDOWN()
    ON_COMMAND(ID_UNINSTALL, &CCalendarDlg::OnUninstallCommand)
    ON_BN_CLICKED(IDC_MAIN_HIDE, &CCalendarDlg::OnHideButton)
    ON_MESSAGE(WM_LABEL_CLICKED, &CCalendarDlg::OnControlClicked)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_MAIN_CLOSE, &CCalendarDlg::OnCloseButton)
    ON_MESSAGE(WM_HEADLINE_FETCHED, &CCalendarDlg::OnHeadlineFetched)
    ON_MESSAGE(WM_HOLIDAYS_FETCHED, &CCalendarDlg::OnHolidaysFetched)
    ON_MESSAGE(WM_MOUSEWHEEL, &CCalendarDlg::OnMouseWheel)
    ON_MESSAGE(WM_KEYDOWN, &CCalendarDlg::OnKeyDown)
    ON_MESSAGE(WM_DPICHANGED, &CCalendarDlg::OnDpiChanged)
    ON_MESSAGE(kWmDpiChangedAfterParent, &CCalendarDlg::OnDpiChangedAfterParent)
    ON_MESSAGE(kWmGetDpiScaledSize, &CCalendarDlg::OnGetDpiScaledSize)
    ON_REGISTERED_MESSAGE(&CCalendarDlg::AttachAgainMessage, &CCalendarDlg::OnAttachAgain)
    ON_REGISTERED_MESSAGE(&CCalendarDlg::ShowYourselfMessage, &CCalendarDlg::OnShowYourself)
    ON_MESSAGE(WM_QUERYENDSESSION, &CCalendarDlg::OnQueryEndSession)
    ON_MESSAGE(WM_ENDSESSION, &CCalendarDlg::OnQueryEndSession)
END_MESSAGE_MAP()

namespace {

constexpr Origin kDefaultOrigin{500, 300};
HWND g_currentWindow = nullptr;

}  // namespace

UINT CCalendarDlg::ShowYourselfMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"VestrelCalendarShowYourself");
    return message;
}

UINT CCalendarDlg::AttachAgainMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"VestrelCalendarAttachAgain");
    return message;
}

HWND CCalendarDlg::CurrentWindow() { return g_currentWindow; }

bool CCalendarDlg::EndedByShell(Restart* state) const {
    if (m_endPlanned || !m_bInitDone || !m_grid) return false;
    state->shown = m_state.shown;
    // Text typed while its save failed goes with the window into the one built again.
    state->memoUnsaved = m_memoPad && m_memoPad->StillUnsaved();
    state->memoText = state->memoUnsaved ? std::string(m_memoPad->Text()) : std::string();
    state->memoBase = state->memoUnsaved ? m_memoPad->OnDisk() : std::string();
    state->calendarHidden = m_calendarHidden;
    state->notices = m_folders.Notices().Shown();
    return true;
}

CCalendarDlg::CCalendarDlg() : CDialog(IDD_MAIN, nullptr) {
    m_hIcon = ::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

// The grid, the pad and the tabs live as long as the window and go with it, so that tests can
// make and end main windows one after another.
CCalendarDlg::~CCalendarDlg() {
    if (g_currentWindow == GetSafeHwnd() || g_currentWindow == m_ownWindow) g_currentWindow = nullptr;
}

void CCalendarDlg::DoDataExchange(CDataExchange*) {
    m_cbYear.AttachHandle(GetDlgItem(IDC_YEAR_BOX));
    m_cbMonth.AttachHandle(GetDlgItem(IDC_MONTH_BOX));
    if (m_yearKeys.GetSafeHwnd() == nullptr) m_yearKeys.BindBox(&m_cbYear, this);
    if (m_monthKeys.GetSafeHwnd() == nullptr) m_monthKeys.BindBox(&m_cbMonth, this);
    if (m_hideKeys.GetSafeHwnd() == nullptr) m_hideKeys.BindButton(IDC_MAIN_HIDE, this);
    if (m_closeKeys.GetSafeHwnd() == nullptr) m_closeKeys.BindButton(IDC_MAIN_CLOSE, this);
}

BOOL CCalendarDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_dpi = WindowDpi(GetSafeHwnd());
    m_templateScale.Record(GetSafeHwnd(), m_dpi);
    ::SetPropW(GetSafeHwnd(), kMainWindowProperty, reinterpret_cast<HANDLE>(1));
    g_currentWindow = m_ownWindow = GetSafeHwnd();

    m_headlineBar.StartSockets(GetSafeHwnd());

    // The stored position, unless no piece of the top strip could be reached there any more.
    Origin stored = kDefaultOrigin;
    const bool haveX = ReadRegInt(kSettingsKey, kValuePosX, &stored.x);
    if (haveX) ReadRegInt(kSettingsKey, kValuePosY, &stored.y);
    const Origin origin = ReachableOrigin(haveX, stored, kDefaultOrigin, S(kMainWidth), S(kTopStripHeight),
                                          MonitorRects(), S(40), S(20));
    MoveWindow(origin.x, origin.y, S(kMainWidth), S(kMainHeight), TRUE);
    // Placed on a monitor of another scale than the one it was made on: laid out there (the
    // WM_DPICHANGED of that move came before anything but the template's controls was made).
    const int placedDpi = WindowDpi(GetSafeHwnd());
    if (placedDpi != m_dpi) TakeScale(placedDpi, nullptr);

    m_bAutoStartOk = EnsureAutoStart();
    ::EnumWindows(DesktopEnumProc, reinterpret_cast<LPARAM>(GetSafeHwnd()));
    m_folders.Start();

    m_memoTab = std::make_unique<CMemoTabDlg>(this);
    m_memoTab->Create(this);
    m_calendarTab = std::make_unique<CCalendarTabDlg>(this);
    m_calendarTab->Create(this);
    PlaceTabWindows();
    RECT me;
    GetWindowRect(&me);
    m_memoPad = std::make_unique<CMemoPadDlg>(this);
    m_memoPad->SetAnchor(PixelRect{me.left, me.top, me.right, me.bottom});
    m_memoPad->Create(this);
    int memoShow = 0;
    if (ReadRegInt(kSettingsKey, kValueMemoShow, &memoShow) && memoShow == 1) {
        ShowMemoPad();
    } else {
        HideMemoPad();
    }

    const struct {
        CClickLabel* button;
        const LayoutRect& rect;
        UINT id;
    } buttons[] = {{&m_btnPrevMonth, kPrevMonthRect, IDC_PREV_MONTH},
                   {&m_btnNextMonth, kNextMonthRect, IDC_NEXT_MONTH},
                   {&m_btnToday, kTodayRect, IDC_TODAY},
                   {&m_btnFind, kFindRect, IDC_FIND}};
    for (const auto& b : buttons) {
        b.button->Create(ScaledRect(b.rect.left, b.rect.top, b.rect.right, b.rect.bottom), this, b.id, m_crStrip,
                         m_crButtonText, 100, "楷体_gb2312");
    }

    m_grid = std::make_unique<CMonthGrid>();
    m_grid->Create(ScaledRect(kGridRect.left, kGridRect.top, kGridRect.right, kGridRect.bottom), this, IDC_MONTH_GRID,
                   m_dpi);
    m_grid->SetClickHandlers({[this](int day) { m_noteOpener.OpenDay(this, day); },
                              [this](int weekday) { m_noteOpener.OpenWeekly(this, weekday); }});
    LoadHolidays();
    m_holidayUpdates.Start(this, m_dpi, &m_folders, m_grid.get(), &m_noteOpener);

    char text[16];
    for (int month = 1; month <= 12; ++month) {
        std::snprintf(text, sizeof text, "%d月", month);
        m_cbMonth.AddString(text);
    }
    for (int year = kFirstShownYear; year <= kLastShownYear; ++year) {
        std::snprintf(text, sizeof text, "%d年", year);
        m_cbYear.AddString(text);
    }
    GoToToday();

    m_headlineBar.Create(this, m_dpi);

    PlaceStripButtons();

    m_btnPrevMonth.SetText("上月", 1);
    m_btnNextMonth.SetText("下月", 1);
    m_btnToday.SetText("返回", 0);
    m_btnFind.SetText("查找", 1);

    if (m_haveRestart) {
        Show(Showing(m_state, m_restart.shown));
        if (m_restart.calendarHidden) HideCalendar();
        if (m_restart.memoUnsaved) m_memoPad->AdoptUnsaved(m_restart.memoText.c_str(), &m_restart.memoBase);
        for (const std::string& notice : m_restart.notices) TellUser(notice);  // on the first second
    }
    m_bInitDone = true;
    SetTimer(1, 1000);
    return TRUE;
}

LRESULT CCalendarDlg::OnAttachAgain(WPARAM, LPARAM) {
    if (::GetAncestor(GetSafeHwnd(), GA_PARENT) == ::GetDesktopWindow())
        ::EnumWindows(DesktopEnumProc, reinterpret_cast<LPARAM>(GetSafeHwnd()));
    return 1;
}

LRESULT CCalendarDlg::OnShowYourself(WPARAM, LPARAM) {
    ShowCalendar();
    ::SetForegroundWindow(GetSafeHwnd());
    ::BringWindowToTop(GetSafeHwnd());
    return 1;
}

LRESULT CCalendarDlg::OnQueryEndSession(WPARAM, LPARAM) {
    if (m_memoPad && m_memoPad->StillUnsaved()) m_memoPad->KeepForRecovery();
    return TRUE;  // never in the way of the log-off
}

LRESULT CCalendarDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY && !m_endPlanned) {
        // Gone with the shell window it was a child of. Nothing else may ever wake the modal loop,
        // whose timer went with the window: a message does, so that the loop sees the window gone.
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CCalendarDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == 0x0010) return;
    CDialog::OnSysCommand(id, lParam);
}

void CCalendarDlg::OnPaint() {
    CPaintDC dc(this);
    dc.FillSolidRect(CRect(0, 0, S(kMainWidth), S(kTopStripHeight)), m_crStrip);
}

HCURSOR CCalendarDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

void CCalendarDlg::Show(const CalendarState& s, bool keepBoxes) {
    const bool newMonth = !m_bInitDone || s.shown != m_state.shown || m_notes.Layout().daysInMonth == 0;
    m_state = s;
    if (m_grid) {
        // A popup belongs to a day of the month it was shown over (and the date may have changed).
        m_grid->HidePopup();
        // Dates beyond the calendar's range show its nearest month, and the grid's today stays.
        if (const LocalDate* today = m_state.TodayInRange()) m_grid->SetToday(today->year, today->month, today->day);
        if (newMonth) {  // the month's notes are read again only when another month is on show
            MonthLayout layout;
            LayOutMonth(m_state.shown.year, m_state.shown.month, &layout);
            m_notes.Open(layout);
            m_grid->Show(layout, m_notes.View());
        }
    }
    if (!keepBoxes) SelectBoxes(m_state.shown.year, m_state.shown.month);
    m_btnToday.ShowWindow(m_state.TodayShown() ? SW_HIDE : SW_SHOW);
    m_holidayUpdates.Tick(m_state.shown.year, m_headlineBar.HaveHeadline());
}

void CCalendarDlg::SelectBoxes(int year, int month) {
    m_cbYear.SetCurSel(year - kFirstShownYear);
    m_cbMonth.SetCurSel(month - 1);
    HWND focus = ::GetFocus();
    for (HWND box : {m_cbYear.GetSafeHwnd(), m_cbMonth.GetSafeHwnd()}) {
        if (focus != box && !::IsChild(box, focus)) ::SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
    }
}

void CCalendarDlg::OnOK() {
    HWND focus = ::GetFocus();
    HWND box = m_cbYear.GetSafeHwnd();
    if (focus != nullptr && (focus == box || ::IsChild(box, focus))) OnYearTyped();
}

void CCalendarDlg::OnYearTyped() {
    if (!m_grid) return;
    const std::string text = GbkFromWide(WindowTextOf(m_cbYear.GetSafeHwnd()));
    bool accepted = false;
    const CalendarState typed = WithTypedYear(m_state, text.c_str(), &accepted);
    if (!accepted || typed.shown.year == m_state.shown.year) {
        if (!accepted) ::MessageBeep(MB_ICONWARNING);  // "abc", 1899: refused with a sound, the shown year back
        SelectBoxes(m_state.shown.year, m_state.shown.month);
        return;
    }
    Show(typed);
}

void CCalendarDlg::OnBoxChange() {
    int monthIndex = m_cbMonth.GetCurSel();
    const int yearIndex = m_cbYear.GetCurSel();
    if (monthIndex < 0 || yearIndex < 0) return;
    const int before = monthIndex;
    const YearMonth ym = MonthOfBoxes(yearIndex, &monthIndex);
    if (monthIndex != before) m_cbMonth.SetCurSel(monthIndex);
    Show(Showing(m_state, ym), true);
}

void CCalendarDlg::GoToToday() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    Show(AtToday(m_state, LocalDate{now.wYear, now.wMonth, now.wDay}));
}

bool CCalendarDlg::OnMonthKey(UINT key) {
    const bool find = key == 'F' && ::GetKeyState(VK_CONTROL) < 0;
    if (!m_grid || (key != VK_PRIOR && key != VK_NEXT && key != VK_HOME && !find)) return false;
    if (find) {
        OpenFind();
    } else if (key == VK_HOME) {
        GoToToday();
    } else {
        Show(Stepped(m_state, key == VK_PRIOR ? -1 : 1));
    }
    return true;
}

void CCalendarDlg::OpenFind() {
    if (!m_find) m_find = std::make_unique<CFindDlg>([this](const FoundRow& row) {
        m_noteOpener.OpenFound(this, row, [this](int year, int month) { Show(Showing(m_state, YearMonth{year, month})); },
                               [this] { ShowMemoPad(); });
    });
    m_find->Open(this);
}

LRESULT CCalendarDlg::OnKeyDown(WPARAM key, LPARAM) {
    if (!OnMonthKey(static_cast<UINT>(key))) Default();
    return 0;
}

bool CCalendarDlg::OnGridWheel(WPARAM wParam, LPARAM lParam) {
    const POINT pt{afx::LowSigned(lParam), afx::HighSigned(lParam)};  // screen pixels
    RECT grid{};
    if (!m_grid || m_noteOpener.DialogOpen()) return false;
    m_grid->GetWindowRect(&grid);
    if (!::PtInRect(&grid, pt)) return false;
    m_wheelDelta += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = m_wheelDelta / WHEEL_DELTA;
    m_wheelDelta -= notches * WHEEL_DELTA;
    if (notches != 0) Show(Stepped(m_state, -notches));
    return true;
}

void CCalendarDlg::OnMove(int x, int y) {
    Default();
    if (!m_bInitDone) return;
    WriteRegInt(kSettingsKey, kValuePosX, x);
    WriteRegInt(kSettingsKey, kValuePosY, y);
    PlaceTabWindows();
    if (m_grid) m_grid->HidePopup();  // it would float where the window was
    // Attached to the desktop, the window gets no WM_DPICHANGED of its own: a move onto a monitor
    // of another scale is seen here.
    const int dpi = WindowDpi(GetSafeHwnd());
    if (::GetAncestor(GetSafeHwnd(), GA_PARENT) != ::GetDesktopWindow() && dpi != m_dpi) Relayout(dpi, nullptr);
}

void CCalendarDlg::OnLButtonDown(UINT flags, CPoint point) {
    BeginWindowDrag(GetSafeHwnd());
    CDialog::OnLButtonDown(flags, point);
}

void CCalendarDlg::ShowMemoPad() {
    if (m_memoPad && m_memoPad->GetSafeHwnd()) m_memoPad->ShowWindow(SW_SHOW);
    if (m_memoTab && m_memoTab->GetSafeHwnd()) m_memoTab->ShowWindow(SW_HIDE);
    WriteRegString(kSettingsKey, kValueMemoShow, "1");
}

void CCalendarDlg::HideMemoPad() {
    if (m_memoPad && m_memoPad->GetSafeHwnd()) m_memoPad->ShowWindow(SW_HIDE);
    if (m_memoTab && m_memoTab->GetSafeHwnd()) m_memoTab->ShowWindow(SW_SHOW);
    WriteRegString(kSettingsKey, kValueMemoShow, "0");
}

void CCalendarDlg::ShowCalendar() {
    m_calendarHidden = false;
    ShowWindow(SW_SHOW);
    if (m_calendarTab && m_calendarTab->GetSafeHwnd()) m_calendarTab->ShowWindow(SW_HIDE);
}

void CCalendarDlg::HideCalendar() {
    m_calendarHidden = true;
    if (m_grid) m_grid->HidePopup();
    ShowWindow(SW_HIDE);
    if (m_calendarTab && m_calendarTab->GetSafeHwnd()) m_calendarTab->ShowWindow(SW_SHOW);
}

void CCalendarDlg::OnHideButton() { HideCalendar(); }

bool CCalendarDlg::EndProgram(bool uninstall) {
    if (m_memoPad && m_memoPad->StillUnsaved()) {
        if (AfxMessageBox(GetSafeHwnd(), "记事小本未能保存，仍要退出吗？", "警告", MB_YESNO | MB_ICONWARNING) != IDYES)
            return false;
    }
    if (uninstall) SetAutoStart(false, kRunValue);
    m_endPlanned = true;
    CDialog::OnCancel();
    return true;
}

void CCalendarDlg::OnCloseButton() {
    CExitPromptDlg prompt(this);
    prompt.DoModal();
    if (prompt.m_nChoice == CExitPromptDlg::kEndProgram) {
        EndProgram(false);
    } else if (prompt.m_nChoice == CExitPromptDlg::kUninstall) {
        EndProgram(true);
    }
}

void CCalendarDlg::OnUninstallCommand() { EndProgram(true); }

LRESULT CCalendarDlg::OnControlClicked(WPARAM id, LPARAM) {
    switch (id) {
        case IDC_PREV_MONTH: Show(Stepped(m_state, -1)); break;
        case IDC_NEXT_MONTH: Show(Stepped(m_state, 1)); break;
        case IDC_TODAY: GoToToday(); break;
        case IDC_FIND: OpenFind(); break;
        default: m_headlineBar.OnClick(static_cast<UINT>(id), GetSafeHwnd(), WM_HEADLINE_FETCHED); break;
    }
    return 0;
}

void CCalendarDlg::OnTimer(UINT_PTR) {
    const TickWork work = WorkOfTick(m_tickCount, m_headlineBar.HaveHeadline());
    // While a note dialog is open its notes belong to the month on show: today's notes and a new
    // date wait for a tick after it has closed.
    const bool dialogOpen = m_noteOpener.DialogOpen();
    if (work.showTodayNotes && !dialogOpen) m_grid->ShowTodayNotes();
    if (work.fetchHeadline) FetchHeadline();
    FollowNoteFolders(dialogOpen);
    m_folders.ShowNotices(GetSafeHwnd());  // told beside the calendar, the focus left where it is
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const LocalDate today{now.wYear, now.wMonth, now.wDay};
    if (!dialogOpen && DateChanged(m_state, today)) Show(AtToday(m_state, today));
    m_reminders.Tick();
    m_holidayUpdates.Tick(m_state.shown.year, m_headlineBar.HaveHeadline());
    ++m_tickCount;
}

void CCalendarDlg::FollowNoteFolders(bool dialogOpen) {
    // A note dialog shows its notes as read when it opened and reads them again on "确定".
    const NoteFolders::Changes changes = m_folders.Poll(!dialogOpen);
    // A list held by another program at the last reading is read again every few seconds.
    const bool retry = !dialogOpen && m_tickCount % 3 == 0 && m_notes.AnyUnreadable();
    if (changes.lists || retry) {
        m_notes.Reload();
        m_grid->SetNotes(m_notes.View());
    }
    if (changes.holidays) m_grid->SetHolidays(m_folders.Holidays());
    if (m_memoPad && (changes.memo || m_memoPad->MemoUnreadable() || m_memoPad->SaveFailed())) m_memoPad->Poll();
}

void CCalendarDlg::LoadHolidays() {
    m_folders.LoadHolidays();
    m_grid->SetHolidays(m_folders.Holidays());
}

void CCalendarDlg::FetchHeadline() { m_headlineBar.Fetch(GetSafeHwnd(), WM_HEADLINE_FETCHED); }

LRESULT CCalendarDlg::OnHeadlineFetched(WPARAM result, LPARAM lParam) {
    m_headlineBar.OnFetched(result, lParam);
    m_holidayUpdates.Tick(m_state.shown.year, m_headlineBar.HaveHeadline());  // a headline takes the line
    return 0;
}

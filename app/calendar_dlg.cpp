// CCalendarDlg.
#include "app/calendar_dlg.h"

#include <winsock2.h>

#include <cstdio>
#include <set>

#include "app/desktop.h"
#include "app/exit_prompt_dlg.h"
#include "platform/dpi.h"
#include "platform/monitors.h"
#include "platform/settings.h"
#include "notes/note_files.h"
#include "res/resource.h"
#include "web/http_get.h"
#include "web/page_open.h"
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
    ON_MESSAGE(WM_MOUSEWHEEL, &CCalendarDlg::OnMouseWheel)
    ON_MESSAGE(WM_KEYDOWN, &CCalendarDlg::OnKeyDown)
END_MESSAGE_MAP()

namespace {

constexpr int kWindowHeight = 278;
constexpr int kTopStripHeight = 25;
constexpr Origin kDefaultOrigin{500, 300};

}  // namespace

UINT CCalendarDlg::ShowYourselfMessage() {
    static const UINT message = ::RegisterWindowMessageA("VestrelCalendarShowYourself");
    return message;
}

UINT CCalendarDlg::AttachAgainMessage() {
    static const UINT message = ::RegisterWindowMessageA("VestrelCalendarAttachAgain");
    return message;
}

namespace {

HWND g_currentWindow = nullptr;

}  // namespace

HWND CCalendarDlg::CurrentWindow() { return g_currentWindow; }

BOOL CMonthKeys::BindBox(CWnd* box, CCalendarDlg* owner) {
    m_box = box->GetSafeHwnd();
    m_owner = owner;
    // The edit field of a drop-down box is its child 1001; the box hands it its keys too.
    return SubclassDlgItem(1001, box);
}

BOOL CMonthKeys::BindButton(UINT id, CCalendarDlg* owner) {
    m_owner = owner;
    return SubclassDlgItem(id, owner);
}

LRESULT CMonthKeys::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_owner != nullptr && (m_box == nullptr || !::SendMessageA(m_box, CB_GETDROPPEDSTATE, 0, 0)) &&
        ((message == WM_KEYDOWN && m_owner->OnMonthKey(static_cast<UINT>(wParam))) ||
         (message == WM_MOUSEWHEEL && m_owner->OnGridWheel(wParam, lParam))))
        return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CCalendarDlg::EndedByShell(Restart* state) const {
    if (m_endPlanned || !m_bInitDone || m_pGrid == nullptr) return false;
    state->shown = YearMonth{m_pGrid->ShownYear(), m_pGrid->ShownMonth()};
    state->calendarHidden = m_calendarHidden;
    return true;
}

CCalendarDlg::CCalendarDlg()
    : CDialog(IDD_MAIN, nullptr), m_fetcher(std::make_unique<HeadlineFetcher>(kHeadlineHost, kHeadlinePort)) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

// The grid, the pad and the tabs live as long as the window; they go with it here so that tests
// can make and end main windows one after another.
CCalendarDlg::~CCalendarDlg() {
    if (g_currentWindow == GetSafeHwnd() || g_currentWindow == m_ownWindow) g_currentWindow = nullptr;
    delete m_pMemoPad;
    delete m_pMemoTab;
    delete m_pCalendarTab;
    delete m_pGrid;
    if (m_winsockStarted) ::WSACleanup();
}

void CCalendarDlg::SetHeadlineServer(const char* host, unsigned short port) {
    m_fetcher = std::make_unique<HeadlineFetcher>(host, port);
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
    m_nWidth = S(363);
    ::SetPropA(GetSafeHwnd(), kMainWindowProperty, reinterpret_cast<HANDLE>(1));
    g_currentWindow = m_ownWindow = GetSafeHwnd();

    WSADATA wsa;
    if (::WSAStartup(0x0202, &wsa) != 0) {
        ::WSACleanup();
        ::MessageBoxA(GetSafeHwnd(), "网络初始化失败，请报告管理员", "警告", MB_OK);
    } else {
        m_winsockStarted = true;
    }

    // The stored position, unless no piece of the top strip could be reached there any more.
    Origin stored = kDefaultOrigin;
    const bool haveX = ReadRegInt(kSettingsKey, kValuePosX, &stored.x);
    if (haveX) ReadRegInt(kSettingsKey, kValuePosY, &stored.y);
    const Origin origin =
        ReachableOrigin(haveX, stored, kDefaultOrigin, m_nWidth, S(kTopStripHeight), MonitorRects(), S(40), S(20));
    m_nGridHeight = S(236);
    MoveWindow(origin.x, origin.y, m_nWidth, S(kWindowHeight), TRUE);
    // Placed on a monitor of another scale than the one it was made on: laid out there (the
    // WM_DPICHANGED of that move came before anything but the template's controls was made).
    const int placedDpi = WindowDpi(GetSafeHwnd());
    if (placedDpi != m_dpi) TakeScale(placedDpi, nullptr);

    m_bAutoStartOk = EnsureAutoStart();
    ::EnumWindows(DesktopEnumProc, reinterpret_cast<LPARAM>(GetSafeHwnd()));
    SetUpNoteFolders();
    m_listWatch = std::make_unique<FolderWatch>("日历");
    m_memoWatch = std::make_unique<FolderWatch>("备忘");
    m_rootWatch = std::make_unique<FolderWatch>("");

    m_pMemoTab = new CMemoTabDlg(this);
    m_pMemoTab->Create(this);
    m_pCalendarTab = new CCalendarTabDlg(this);
    m_pCalendarTab->Create(this);
    PlaceTabWindows();
    RECT me;
    GetWindowRect(&me);
    m_pMemoPad = new CMemoPadDlg(this);
    m_pMemoPad->SetAnchor(PixelRect{me.left, me.top, me.right, me.bottom});
    m_pMemoPad->Create(this);
    int memoShow = 0;
    if (ReadRegInt(kSettingsKey, kValueMemoShow, &memoShow) && memoShow == 1) {
        ShowMemoPad();
    } else {
        HideMemoPad();
    }

    m_btnPrevMonth.Create(ScaledRect(175, 3, 205, 20), this, IDC_PREV_MONTH, m_crStrip, m_crButtonText, 100,
                          "楷体_gb2312");
    m_btnNextMonth.Create(ScaledRect(215, 3, 245, 20), this, IDC_NEXT_MONTH, m_crStrip, m_crButtonText, 100,
                          "楷体_gb2312");
    m_btnToday.Create(ScaledRect(255, 3, 285, 20), this, IDC_TODAY, m_crStrip, m_crButtonText, 100, "楷体_gb2312");

    m_pGrid = new CMonthGrid;
    m_pGrid->Create(CRect(0, S(22), m_nWidth, S(22) + m_nGridHeight), this, IDC_MONTH_GRID, m_dpi);
    LoadHolidays();

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

    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    m_lblHeadline.Create(ScaledRect(2, 236 + 24, 190, 236 + 42), this, IDC_HEADLINE, face, RGB(0, 0, 208), 110,
                         "宋体");
    m_lblNext.Create(ScaledRect(230, 236 + 25, 290, 236 + 43), this, IDC_NEXT_HEADLINE, face, RGB(0, 0, 208), 100,
                     "楷体_gb2312");

    PlaceStripButtons();

    m_btnPrevMonth.SetText("上月", 1);
    m_btnNextMonth.SetText("下月", 1);
    m_btnToday.SetText("返回", 0);

    if (m_haveRestart) {
        ShowMonth(StepMonth(m_restart.shown, 0));
        if (m_restart.calendarHidden) HideCalendar();
    }
    m_bInitDone = true;
    SetTimer(1, 1000);
    return TRUE;
}

void CCalendarDlg::PlaceStripButtons() {
    RECT button{};  // "-" and "x" keep the size the template gives them at this scale
    ::GetWindowRect(GetDlgItem(IDC_MAIN_HIDE), &button);
    const int width = button.right - button.left, height = button.bottom - button.top;
    ::MoveWindow(GetDlgItem(IDC_MAIN_HIDE), m_nWidth - 2 * width - S(2), 0, width, height, TRUE);
    ::MoveWindow(GetDlgItem(IDC_MAIN_CLOSE), m_nWidth - width - S(1), 0, width, height, TRUE);
}

void CCalendarDlg::LimitHeadline() {
    // A long headline is cut short of "下一篇", which stays whole and clickable.
    m_lblHeadline.LimitWidth(m_lblNext.Rect().left - m_lblHeadline.Rect().left - S(6));
}

void CCalendarDlg::TakeScale(int dpi, const RECT* suggested) {
    m_dpi = dpi;
    m_nWidth = S(363);
    m_nGridHeight = S(236);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (suggested != nullptr) {
        ::SetWindowPos(GetSafeHwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, flags);
    } else {
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, m_nWidth, S(kWindowHeight), flags | SWP_NOMOVE);
    }
    m_templateScale.Apply(dpi);
}

void CCalendarDlg::Relayout(int dpi, const RECT* suggested) {
    if (!m_bInitDone || dpi <= 0) return;
    TakeScale(dpi, suggested);
    const struct {
        CColorLabel* label;
        int x, y;
    } labels[] = {{&m_btnPrevMonth, 175, 3}, {&m_btnNextMonth, 215, 3},   {&m_btnToday, 255, 3},
                  {&m_lblHeadline, 2, 236 + 24}, {&m_lblNext, 230, 236 + 25}};
    for (const auto& l : labels) {
        l.label->MoveTo(S(l.x), S(l.y));
        l.label->SetDpi(dpi);
    }
    LimitHeadline();
    m_pGrid->HidePopup();
    m_pGrid->MoveWindow(0, S(22), m_nWidth, m_nGridHeight, TRUE);
    m_pGrid->SetDpi(dpi);
    PlaceStripButtons();
    PlaceTabWindows();
    Invalidate(TRUE);
}

LRESULT CCalendarDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Moved to a monitor of another scale: as a top-level window with the rectangle the system
    // suggests; attached to the desktop, after its parent.
    if (message == WM_DPICHANGED) {
        Relayout(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    if (message == kWmDpiChangedAfterParent) {
        Relayout(WindowDpi(GetSafeHwnd()), nullptr);
        return 0;
    }
    if (message == kWmGetDpiScaledSize) {  // the size at another scale: 363 x 278 scaled, not the template's
        SIZE* size = reinterpret_cast<SIZE*>(lParam);
        size->cx = Scale(363, static_cast<int>(wParam));
        size->cy = Scale(kWindowHeight, static_cast<int>(wParam));
        return TRUE;
    }
    if (message == WM_NCDESTROY && !m_endPlanned) {
        // Gone with the shell window it was a child of. Nothing else may ever wake the modal loop,
        // whose timer went with the window: a message does, so that the loop sees the window gone.
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    if (message == AttachAgainMessage() && message != 0) {
        // A new shell announced itself: go back under its icon view (a no-op without one).
        if (::GetAncestor(GetSafeHwnd(), GA_PARENT) == ::GetDesktopWindow())
            ::EnumWindows(DesktopEnumProc, reinterpret_cast<LPARAM>(GetSafeHwnd()));
        return 1;
    }
    if (message == ShowYourselfMessage() && message != 0) {
        ShowCalendar();
        ::SetForegroundWindow(GetSafeHwnd());
        ::BringWindowToTop(GetSafeHwnd());
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CCalendarDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == 0x0010) return;
    CDialog::OnSysCommand(id, lParam);
}

void CCalendarDlg::OnPaint() {
    CPaintDC dc(this);
    dc.FillSolidRect(CRect(0, 0, m_nWidth, S(kTopStripHeight)), m_crStrip);
}

HCURSOR CCalendarDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

void CCalendarDlg::ShowMonth(YearMonth ym) {
    ShowGridMonth(ym);
    SelectBoxes(ym.year, ym.month);
}

void CCalendarDlg::ShowGridMonth(YearMonth ym) {
    // A popup belongs to a day of the month it was shown over.
    m_pGrid->HidePopup();
    m_pGrid->ShowMonth(ym.year, ym.month);
    UpdateTodayButton();
}

void CCalendarDlg::UpdateTodayButton() {
    const bool todayShown = m_pGrid->ShownYear() == m_nTodayYear && m_pGrid->ShownMonth() == m_nTodayMonth;
    m_btnToday.ShowWindow(todayShown ? SW_HIDE : SW_SHOW);
}

void CCalendarDlg::SelectBoxes(int year, int month) {
    m_cbYear.SetCurSel(year - kFirstShownYear);
    m_cbMonth.SetCurSel(month - 1);
    HWND focus = ::GetFocus();
    for (HWND box : {m_cbYear.GetSafeHwnd(), m_cbMonth.GetSafeHwnd()}) {
        if (focus != box && !::IsChild(box, focus)) ::SendMessageA(box, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
    }
}

void CCalendarDlg::OnOK() {
    HWND focus = ::GetFocus();
    HWND box = m_cbYear.GetSafeHwnd();
    if (focus != nullptr && (focus == box || ::IsChild(box, focus))) OnYearTyped();
}

void CCalendarDlg::OnYearTyped() {
    if (m_pGrid == nullptr) return;
    char text[32] = {};
    ::GetWindowTextA(m_cbYear.GetSafeHwnd(), text, sizeof text);
    const int year = TypedYear(text);
    const YearMonth shown{m_pGrid->ShownYear(), m_pGrid->ShownMonth()};
    if (year == 0 || year == shown.year) {
        SelectBoxes(shown.year, shown.month);
        return;
    }
    ShowMonth(StepMonth(YearMonth{year, shown.month}, 0));
}

void CCalendarDlg::OnBoxChange() {
    int monthIndex = m_cbMonth.GetCurSel();
    const int yearIndex = m_cbYear.GetCurSel();
    if (monthIndex < 0 || yearIndex < 0) return;
    const int before = monthIndex;
    const YearMonth ym = MonthOfBoxes(yearIndex, &monthIndex);
    if (monthIndex != before) m_cbMonth.SetCurSel(monthIndex);
    ShowGridMonth(ym);
}

void CCalendarDlg::GoToToday() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_nTodayDay = now.wDay;
    m_nTodayMonth = now.wMonth;
    m_nTodayYear = now.wYear;
    if (m_pGrid == nullptr) return;
    m_pGrid->HidePopup();  // the date may have changed under it
    // Dates beyond the calendar's range show its nearest month, and the grid's today stays.
    const YearMonth ym = StepMonth(YearMonth{m_nTodayYear, m_nTodayMonth}, 0);
    const bool inRange = ym == YearMonth{m_nTodayYear, m_nTodayMonth};
    if (inRange) m_pGrid->SetToday(m_nTodayYear, m_nTodayMonth, m_nTodayDay);
    // The month's notes are read again only when another month is on show.
    if (m_pGrid->ShownYear() == ym.year && m_pGrid->ShownMonth() == ym.month) {
        UpdateTodayButton();
        return;
    }
    ShowMonth(ym);
}

bool CCalendarDlg::OnMonthKey(UINT key) {
    if (m_pGrid == nullptr || (key != VK_PRIOR && key != VK_NEXT && key != VK_HOME)) return false;
    if (key == VK_HOME) {
        GoToToday();
    } else {
        ShowMonth(StepMonth(YearMonth{m_pGrid->ShownYear(), m_pGrid->ShownMonth()}, key == VK_PRIOR ? -1 : 1));
    }
    return true;
}

LRESULT CCalendarDlg::OnKeyDown(WPARAM key, LPARAM) {
    if (!OnMonthKey(static_cast<UINT>(key))) Default();
    return 0;
}

bool CCalendarDlg::OnGridWheel(WPARAM wParam, LPARAM lParam) {
    const POINT pt{afx::LowSigned(lParam), afx::HighSigned(lParam)};  // screen pixels
    RECT grid{};
    if (m_pGrid == nullptr || m_pGrid->DialogOpen()) return false;
    m_pGrid->GetWindowRect(&grid);
    if (!::PtInRect(&grid, pt)) return false;
    m_wheelDelta += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = m_wheelDelta / WHEEL_DELTA;
    m_wheelDelta -= notches * WHEEL_DELTA;
    if (notches != 0)
        ShowMonth(StepMonth(YearMonth{m_pGrid->ShownYear(), m_pGrid->ShownMonth()}, -notches));
    return true;
}

void CCalendarDlg::OnMove(int x, int y) {
    Default();
    if (!m_bInitDone) return;
    WriteRegInt(kSettingsKey, kValuePosX, x);
    WriteRegInt(kSettingsKey, kValuePosY, y);
    PlaceTabWindows();
    if (m_pGrid) m_pGrid->HidePopup();  // it would float where the window was
    // Attached to the desktop, the window gets no WM_DPICHANGED of its own: a move onto a monitor
    // of another scale is seen here.
    const int dpi = WindowDpi(GetSafeHwnd());
    if (::GetAncestor(GetSafeHwnd(), GA_PARENT) != ::GetDesktopWindow() && dpi != m_dpi) Relayout(dpi, nullptr);
}

void CCalendarDlg::OnLButtonDown(UINT flags, CPoint point) {
    BeginWindowDrag(GetSafeHwnd());
    CDialog::OnLButtonDown(flags, point);
}

void CCalendarDlg::PlaceTabWindows() {
    RECT r;
    GetWindowRect(&r);
    // Right of the calendar, or left of it when the right side is off screen.
    const PixelRect me{r.left, r.top, r.right, r.bottom};
    const std::vector<PixelRect> monitors = MonitorRects();
    const int width = S(26), height = S(18);
    const Origin memo = RightOrLeft(me, r.bottom - height, width, height, S(10), monitors);
    const Origin calendar = RightOrLeft(me, r.bottom - S(54), width, height, S(10), monitors);
    if (m_pMemoTab && m_pMemoTab->GetSafeHwnd()) m_pMemoTab->MoveWindow(memo.x, memo.y, width, height, TRUE);
    if (m_pCalendarTab && m_pCalendarTab->GetSafeHwnd())
        m_pCalendarTab->MoveWindow(calendar.x, calendar.y, width, height, TRUE);
}

void CCalendarDlg::ShowMemoPad() {
    if (m_pMemoPad && m_pMemoPad->GetSafeHwnd()) m_pMemoPad->ShowWindow(SW_SHOW);
    if (m_pMemoTab && m_pMemoTab->GetSafeHwnd()) m_pMemoTab->ShowWindow(SW_HIDE);
    WriteRegString(kSettingsKey, kValueMemoShow, "1");
}

void CCalendarDlg::HideMemoPad() {
    if (m_pMemoPad && m_pMemoPad->GetSafeHwnd()) m_pMemoPad->ShowWindow(SW_HIDE);
    if (m_pMemoTab && m_pMemoTab->GetSafeHwnd()) m_pMemoTab->ShowWindow(SW_SHOW);
    WriteRegString(kSettingsKey, kValueMemoShow, "0");
}

void CCalendarDlg::ShowCalendar() {
    m_calendarHidden = false;
    ShowWindow(SW_SHOW);
    if (m_pCalendarTab && m_pCalendarTab->GetSafeHwnd()) m_pCalendarTab->ShowWindow(SW_HIDE);
}

void CCalendarDlg::HideCalendar() {
    m_calendarHidden = true;
    ShowWindow(SW_HIDE);
    if (m_pCalendarTab && m_pCalendarTab->GetSafeHwnd()) m_pCalendarTab->ShowWindow(SW_SHOW);
}

void CCalendarDlg::OnHideButton() { HideCalendar(); }

bool CCalendarDlg::EndProgram(bool uninstall) {
    if (m_pMemoPad && m_pMemoPad->SaveFailed() && !m_pMemoPad->SaveNow()) {
        if (::MessageBoxA(GetSafeHwnd(), "记事小本未能保存，仍要退出吗？", "警告", MB_YESNO | MB_ICONWARNING) != IDYES)
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
    const YearMonth shown{m_pGrid->ShownYear(), m_pGrid->ShownMonth()};
    switch (id) {
        case IDC_PREV_MONTH: ShowMonth(StepMonth(shown, -1)); break;
        case IDC_NEXT_MONTH: ShowMonth(StepMonth(shown, 1)); break;
        case IDC_TODAY: GoToToday(); break;
        case IDC_HEADLINE: OpenHeadlineLink(GetSafeHwnd(), m_headline.link); break;
        case IDC_NEXT_HEADLINE: FetchHeadline(); break;
        default: break;
    }
    return 0;
}

void CCalendarDlg::OnTimer(UINT_PTR) {
    const TickWork work = WorkOfTick(m_tickCount, !m_headline.text.empty());
    // While a note dialog is open its notes belong to the month on show: today's notes and a new
    // date wait for a tick after it has closed.
    const bool dialogOpen = m_pGrid->DialogOpen();
    if (work.showTodayNotes && !dialogOpen) m_pGrid->ShowTodayNotes();
    if (work.fetchHeadline) FetchHeadline();
    FollowNoteFolders(dialogOpen);
    if (!dialogOpen) ShowNotices();
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    if (!dialogOpen && (now.wDay != m_nTodayDay || now.wMonth != m_nTodayMonth || now.wYear != m_nTodayYear))
        GoToToday();
    ++m_tickCount;
}

void CCalendarDlg::FollowNoteFolders(bool dialogOpen) {
    // A note dialog shows its notes as read when it opened and reads them again on "确定".
    if (!dialogOpen && m_listWatch && m_listWatch->Changed()) m_pGrid->ReloadNotes();
    if (m_rootWatch && m_rootWatch->Changed()) LoadHolidays();
    if (m_pMemoPad && ((m_memoWatch && m_memoWatch->Changed()) || m_pMemoPad->MemoUnreadable() ||
                       m_pMemoPad->SaveFailed()))
        m_pMemoPad->Poll();
}

void CCalendarDlg::LoadHolidays() {
    static constexpr const char* kHolidayFile = "假日.txt";
    const FileBytes file = ReadWholeFile(NotePath(kHolidayFile), ReadFrom::Disk);
    if (file.status == ReadStatus::Unreadable) return;  // held for now: what was read stays
    std::unique_ptr<HolidayTable> table;
    if (file.status == ReadStatus::Ok) {
        std::vector<HolidayProblem> problems;
        const HolidayTable user = HolidayTable::Parse(file.data.get(), static_cast<size_t>(file.size), kHolidayFile,
                                                      &problems);
        table = std::make_unique<HolidayTable>(HolidayTable::Overlay(HolidayTable::BuiltIn(), user));
        static std::set<std::string> told;
        for (const HolidayProblem& p : problems) {
            const std::string text = "假日文件“" + RelativeToRoot(NotePath(kHolidayFile)) + "”第" +
                                     std::to_string(p.line) + "行有误，这一行没有用上（" + p.reason + "）。";
            if (told.insert(text).second) TellUser(text);
        }
    }
    m_pGrid->SetHolidays(table.get());
    m_holidays = std::move(table);
}

void CCalendarDlg::ShowNotices() {
    if (m_telling) return;
    m_telling = true;
    for (const std::string& text : TakeNotices())
        ::MessageBoxA(GetSafeHwnd(), text.c_str(), "Vestrel 记事", MB_OK | MB_ICONWARNING);
    m_telling = false;
}

void CCalendarDlg::FetchHeadline() {
    if (m_fetcher) m_fetcher->Start(GetSafeHwnd(), WM_HEADLINE_FETCHED);
}

LRESULT CCalendarDlg::OnHeadlineFetched(WPARAM result, LPARAM lParam) {
    const std::unique_ptr<HeadlineResult> fetched = m_fetcher ? m_fetcher->Take(lParam) : nullptr;
    if (!fetched) return 0;  // not a result of this window's fetcher
    ++m_headlineResults;
    LimitHeadline();
    if (ApplyHeadlineBody(&m_headline, static_cast<int>(result), fetched->body.c_str()))
        m_lblHeadline.SetText(m_headline.text.c_str(), 1);
    if (m_headline.showNext) m_lblNext.SetText("下一篇", 1);
    return 0;
}

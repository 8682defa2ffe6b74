// CFindDlg.
#include "app/find_dlg.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "notes/note_files.h"
#include "platform/dpi.h"
#include "platform/monitors.h"
#include "platform/placement.h"
#include "platform/wide_text.h"
#include "res/resource.h"
#include "widgets/gbk_edit.h"
#include "widgets/user_messages.h"

BEGIN_MESSAGE_MAP(CFindDlg, CDialog)
    ON_EN_CHANGE(IDC_FIND_TEXT, &CFindDlg::OnTextChanged)
    ON_LBN_DBLCLK(IDC_FIND_LIST, &CFindDlg::OnListDoubleClick)
    ON_MESSAGE(WM_NOTES_FOUND, &CFindDlg::OnNotesFound)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_DRAWITEM, &CFindDlg::OnDrawItem)
    ON_MESSAGE(WM_DPICHANGED, &CFindDlg::OnDpiChanged)
    ON_MESSAGE(kWmGetDpiScaledSize, &CFindDlg::OnGetDpiScaledSize)
END_MESSAGE_MAP()

// The edit's and the list's keys. The calendar's message loop gives a modeless window none of the
// dialog manager's keys: Enter and Escape act here as the dialog's, and in the edit Up, Down, Page
// Up and Page Down move through the rows.
class CFindDlg::Keys : public CWnd {
public:
    Keys(CFindDlg* owner, bool movesRows) : m_owner(owner), m_movesRows(movesRows) {}
    ~Keys() override { Detach(); }  // the control belongs to the dialog: let go, never destroyed

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            m_owner->OnOK();
            return 0;
        }
        if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
            m_owner->OnCancel();
            return 0;
        }
        if (message == WM_KEYDOWN && m_movesRows &&
            (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT))
            return ::SendMessageW(m_owner->GetDlgItem(IDC_FIND_LIST), message, wParam, lParam);
        if (message == WM_CHAR && (wParam == '\r' || wParam == 0x1B)) return 0;  // taken above, without a beep
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    CFindDlg* m_owner;
    bool m_movesRows;
};

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 500;
constexpr int kLongestQuery = 256;  // characters

// A note's line as a row shows it: tabs and other control bytes as spaces (no GBK trail byte is
// below 0x40, so no character is cut).
std::string RowLine(const std::string& line) {
    std::string shown = line;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return shown;
}

}  // namespace

CFindDlg::CFindDlg(Opener open) : CDialog(IDD_FIND, nullptr), m_open(std::move(open)) {}

CFindDlg::~CFindDlg() {
    // Gone while the object is whole: OnDestroy stops the worker.
    if (GetSafeHwnd() != nullptr) DestroyWindow();
}

void CFindDlg::Open(CWnd* owner) {
    HWND hwnd = GetSafeHwnd();
    if (hwnd == nullptr) {
        if (!Create(IDD_FIND, owner)) return;
        hwnd = GetSafeHwnd();
        RECT me{}, beside{};
        ::GetWindowRect(hwnd, &me);
        if (owner != nullptr) ::GetWindowRect(owner->GetSafeHwnd(), &beside);
        // Beside the calendar, clear of its tab windows, so that the month it shows stays in view.
        const Origin at = OnAnySide(PixelRect{beside.left, beside.top, beside.right, beside.bottom}, me.right - me.left,
                                    me.bottom - me.top, Scale(40, m_scale.Dpi()), MonitorRects());
        ::SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);
    HWND edit = GetDlgItem(IDC_FIND_TEXT);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    SetTimer(kWatchTimer, kWatchMs);
    Search();
}

BOOL CFindDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND hwnd = GetSafeHwnd();
    m_scale.Record(hwnd, WindowDpi(hwnd));
    HWND edit = GetDlgItem(IDC_FIND_TEXT);
    ::SendMessageW(edit, EM_LIMITTEXT, kLongestQuery, 0);
    KeepEditToGbk(edit);
    m_editKeys = std::make_unique<Keys>(this, true);
    m_editKeys->SubclassDlgItem(IDC_FIND_TEXT, this);
    m_listKeys = std::make_unique<Keys>(this, false);
    m_listKeys->SubclassDlgItem(IDC_FIND_LIST, this);
    MeasureRows();
    m_listWatch = std::make_unique<FolderWatch>("日历");
    m_memoWatch = std::make_unique<FolderWatch>("备忘");
    const std::string root = NotePath("");  // "" when the store is not ready: no folder to read
    m_finder = std::make_unique<NoteFinder>(
        [root](NoteIndex* index) { return LoadNoteIndex(std::filesystem::u8path(root), index); },
        [hwnd] { ::PostMessageW(hwnd, WM_NOTES_FOUND, 0, 0); });
    return TRUE;
}

void CFindDlg::Search() {
    if (!m_finder) return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_finder->Find(GbkFromWide(WindowTextOf(GetDlgItem(IDC_FIND_TEXT))), SolarDate{now.wYear, now.wMonth, now.wDay});
}

void CFindDlg::OnTextChanged() { Search(); }

LRESULT CFindDlg::OnNotesFound(WPARAM, LPARAM) {
    NoteFinder::Result result;
    if (m_finder && m_finder->Take(&result)) Show(&result);
    return 0;
}

void CFindDlg::Show(NoteFinder::Result* result) {
    HWND list = GetDlgItem(IDC_FIND_LIST);
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_FIND_STATUS, WideFromGbk(FindStatusLine(*result, kShownRows)).c_str());
    if (result->rows.size() > kShownRows) result->rows.resize(kShownRows);
    m_rows = std::move(result->rows);
    ::SendMessageW(list, LB_SETCOUNT, m_rows.size(), 0);
    if (!m_rows.empty()) ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    m_shownQuery = result->query;
    ++m_resultsShown;
}

void CFindDlg::MeasureRows() {
    HWND list = GetDlgItem(IDC_FIND_LIST);
    HDC dc = ::GetDC(list);
    int height = 0, widest = 0;
    {
        ScopedSelect font(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        height = metrics.tmHeight;
        // The widest "when" of each kind: a lunar day's, a date's.
        for (const char* when : {"农历每年十一月廿九", "2028年12月28日", "记事小本", "每年12月28日"})
            widest = std::max(widest, static_cast<int>(TextExtentOf(dc, when, static_cast<int>(std::strlen(when))).cx));
    }
    ::ReleaseDC(list, dc);
    const int dpi = m_scale.Dpi();
    ::SendMessageW(list, LB_SETITEMHEIGHT, 0, height + Scale(3, dpi));
    m_lineColumn = Scale(3, dpi) + widest + Scale(16, dpi);
}

LRESULT CFindDlg::OnDrawItem(WPARAM, LPARAM item) {
    const DRAWITEMSTRUCT& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(item);
    if (d.CtlID != IDC_FIND_LIST) return FALSE;
    CDC dc(d.hDC);
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    dc.FillSolidRect(d.rcItem, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (d.itemID < m_rows.size()) {
        const FoundRow& row = m_rows[d.itemID];
        const int saved = ::SaveDC(d.hDC);
        ::SetBkMode(d.hDC, TRANSPARENT);
        ::SetTextColor(d.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const int pad = Scale(3, m_scale.Dpi());
        RECT when = d.rcItem, line = d.rcItem;
        when.left += pad;
        when.right = d.rcItem.left + m_lineColumn - pad;
        line.left += m_lineColumn;
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        dc.DrawText(row.when.data(), static_cast<int>(row.when.size()), &when, format);
        const std::string shown = RowLine(row.line);
        dc.DrawText(shown.data(), static_cast<int>(shown.size()), &line, format);
        ::RestoreDC(d.hDC, saved);
    }
    if (d.itemState & ODS_FOCUS) ::DrawFocusRect(d.hDC, &d.rcItem);
    return TRUE;
}

void CFindDlg::OnOK() {
    const LRESULT selected = ::SendDlgItemMessageW(GetSafeHwnd(), IDC_FIND_LIST, LB_GETCURSEL, 0, 0);
    const size_t index = selected == LB_ERR ? 0 : static_cast<size_t>(selected);
    if (index >= m_rows.size() || !m_open) return;
    const FoundRow row = m_rows[index];  // the rows may change while the note's dialog is open
    m_open(row);
}

void CFindDlg::OnListDoubleClick() { OnOK(); }

void CFindDlg::OnCancel() {
    KillTimer(kWatchTimer);
    ShowWindow(SW_HIDE);
}

void CFindDlg::OnTimer(UINT_PTR) {
    // Both watches are asked each time, so that each takes what it saw.
    const bool lists = m_listWatch && m_listWatch->Changed();
    const bool memo = m_memoWatch && m_memoWatch->Changed();
    if ((lists || memo) && m_finder) m_finder->Reload();
}

void CFindDlg::OnDestroy() {
    KillTimer(kWatchTimer);
    m_finder.reset();  // waits for a search under way
    Default();
}

LRESULT CFindDlg::OnDpiChanged(WPARAM dpi, LPARAM suggested) {
    TakeSuggestedRect(GetSafeHwnd(), suggested);
    m_scale.Apply(LOWORD(dpi));
    MeasureRows();
    ::InvalidateRect(GetDlgItem(IDC_FIND_LIST), nullptr, TRUE);
    return 0;
}

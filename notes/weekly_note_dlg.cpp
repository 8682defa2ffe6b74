// CWeeklyNoteDlg.
#include "notes/weekly_note_dlg.h"

#include "calendar/labels.h"
#include "grid/month_grid.h"
#include "notes/memo_entry_dlg.h"
#include "res/resource.h"
#include "widgets/user_messages.h"

BEGIN_MESSAGE_MAP(CWeeklyNoteDlg, CDialog)
    ON_MESSAGE(WM_LABEL_CLICKED, &CWeeklyNoteDlg::OnPickColour)
    ON_MESSAGE(WM_LABEL_RCLICKED, &CWeeklyNoteDlg::OnClearColour)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CWeeklyNoteDlg::CWeeklyNoteDlg(CMonthGrid* grid) : CDialog(IDD_WEEKLY_NOTE, grid), m_grid(grid) {
    m_labelFont.CreatePointFont(90, "Arial");
    TakeNote(grid->WeeklyNote(grid->WeekdayColumn()), &m_text, &m_colour);
}

void CWeeklyNoteDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_WEEK_TEXT, m_text); }

BOOL CWeeklyNoteDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_WEEK_TEXT, EM_LIMITTEXT, kNoteEditLimit, 0);
    CString line;
    line.Format("每周%s", WeekdayName(m_grid->WeekdayColumn()));
    CreateLine(this, &m_weekdayLabel, line, CRect(20, 10, 80, 30), static_cast<UINT>(IDC_STATIC), &m_labelFont);
    m_swatch.Create(CRect(80, 10, 105, 30), this, IDC_WEEK_SWATCH, 100);
    return TRUE;
}

LRESULT CWeeklyNoteDlg::OnPickColour(WPARAM id, LPARAM) {
    if (id != IDC_WEEK_SWATCH) return 0;
    COLORREF custom[16] = {m_swatch.Colour()};
    for (int i = 1; i < 16; ++i) custom[i] = 0x00FFFFFF;
    m_swatch.PickColour(custom);
    return 0;
}

LRESULT CWeeklyNoteDlg::OnClearColour(WPARAM id, LPARAM) {
    if (id == IDC_WEEK_SWATCH) m_swatch.ClearColour();
    return 0;
}

void CWeeklyNoteDlg::OnPaint() { CPaintDC dc(this); }

void CWeeklyNoteDlg::OnOK() {
    UpdateData(TRUE);
    if (m_text.GetLength() > kMaxNoteLength) {
        ::MessageBoxA(m_hWnd, "每周提示超过65535字节，请删减后再确定", kWarningCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (m_grid->SetWeeklyNote(m_text, m_colour) != 0) {
        ::MessageBoxA(m_hWnd, kNoteNotSavedText, kWarningCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}

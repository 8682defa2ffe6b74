// CMemoEntryDlg.
#include "notes/memo_entry_dlg.h"

#include "calendar/labels.h"
#include "grid/month_grid.h"
#include "res/resource.h"
#include "widgets/user_messages.h"

BEGIN_MESSAGE_MAP(CMemoEntryDlg, CDialog)
    ON_MESSAGE(WM_LABEL_CLICKED, &CMemoEntryDlg::OnPickColour)
    ON_MESSAGE(WM_LABEL_RCLICKED, &CMemoEntryDlg::OnClearColour)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CMemoEntryDlg::CMemoEntryDlg(CMonthGrid* grid) : CDialog(IDD_DAY_NOTE, grid), m_grid(grid) {
    const int day = grid->HotDay();
    TakeNote(grid->MonthNote(day), &m_dayText, &m_dayColour);
    TakeNote(grid->SolarYearlyNote(day), &m_solarText, &m_solarColour);
    TakeNote(grid->GetLunarNote(day), &m_lunarText, &m_lunarColour);
    m_labelFont.CreatePointFont(90, "Arial");
}

void CMemoEntryDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_DAY_TEXT, m_dayText);
    DDX_Text(dx, IDC_SOLAR_TEXT, m_solarText);
    DDX_Text(dx, IDC_LUNAR_TEXT, m_lunarText);
}

BOOL CMemoEntryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : {IDC_DAY_TEXT, IDC_SOLAR_TEXT, IDC_LUNAR_TEXT})
        ::SendDlgItemMessageA(m_hWnd, id, EM_LIMITTEXT, kNoteEditLimit, 0);

    const int day = m_grid->HotDay();
    const DayCell& c = m_grid->Cell(day);
    // Copies: the label operations answer in buffers the next call of the same kind overwrites.
    const CString monthName = LunarMonthName(c.lunar.month, 0);
    const CString dayName = LunarDayName(c.lunar.day);
    m_dateLine.Format("%d年%d月%d日星期%s农历%s月%s", m_grid->ShownYear(), m_grid->ShownMonth(), day,
                      WeekdayName(c.weekday), static_cast<const char*>(monthName), static_cast<const char*>(dayName));
    CreateLine(this, &m_dateLabel, m_dateLine, CRect(10, 10, 330, 30), 1032, &m_labelFont);
    m_daySwatch.Create(CRect(340, 10, 365, 30), this, IDC_DAY_SWATCH, 120);

    // Each repeat line sits on the row of its edit, the swatch right after the edit.
    CString solarLine;
    solarLine.Format("阳历每年%d月%d日", m_grid->ShownMonth(), day);
    const RECT solarEdit =
        PlaceLineBeforeEdit(this, &m_solarLabel, solarLine, 1038, IDC_SOLAR_TEXT, &m_labelFont, &m_smallSolarFont);
    m_solarSwatch.Create(CRect(solarEdit.right + 3, solarEdit.top, solarEdit.right + 28, solarEdit.bottom), this,
                         IDC_SOLAR_SWATCH, 120);
    CString lunarLine;
    lunarLine.Format("农历每年%s月%s", static_cast<const char*>(monthName), static_cast<const char*>(dayName));
    const RECT lunarEdit =
        PlaceLineBeforeEdit(this, &m_lunarLabel, lunarLine, 1039, IDC_LUNAR_TEXT, &m_labelFont, &m_smallLunarFont);
    m_lunarSwatch.Create(CRect(lunarEdit.right + 3, lunarEdit.top, lunarEdit.right + 28, lunarEdit.bottom), this,
                         IDC_LUNAR_SWATCH, 120);
    return TRUE;
}

NoteSwatch* CMemoEntryDlg::SwatchById(UINT id) {
    for (NoteSwatch* s : {&m_daySwatch, &m_solarSwatch, &m_lunarSwatch})
        if (s->Id() == id) return s;
    return nullptr;
}

LRESULT CMemoEntryDlg::OnPickColour(WPARAM id, LPARAM) {
    COLORREF custom[16] = {m_daySwatch.Colour(), m_solarSwatch.Colour(), m_lunarSwatch.Colour()};
    for (int i = 3; i < 16; ++i) custom[i] = 0x00FFFFFF;
    if (NoteSwatch* swatch = SwatchById(static_cast<UINT>(id))) swatch->PickColour(custom);
    return 0;
}

LRESULT CMemoEntryDlg::OnClearColour(WPARAM id, LPARAM) {
    if (NoteSwatch* swatch = SwatchById(static_cast<UINT>(id))) swatch->ClearColour();
    return 0;
}

void CMemoEntryDlg::OnPaint() { CPaintDC dc(this); }

void CMemoEntryDlg::OnOK() {
    UpdateData(TRUE);
    const struct {
        const CString& text;
        const char* message;
    } notes[] = {
        {m_dayText, "当天的记事超过65535字节，请删减后再确定"},
        {m_solarText, "阳历每年的记事超过65535字节，请删减后再确定"},
        {m_lunarText, "农历每年的记事超过65535字节，请删减后再确定"},
    };
    for (const auto& note : notes) {
        if (note.text.GetLength() > kMaxNoteLength) {
            ::MessageBoxA(m_hWnd, note.message, kWarningCaption, MB_OK | MB_ICONWARNING);
            return;
        }
    }
    if (m_grid->SetDayNotes(m_dayText, m_dayColour, m_solarText, m_solarColour, m_lunarText, m_lunarColour) != 0) {
        ::MessageBoxA(m_hWnd, kNoteNotSavedText, kWarningCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}

// CMemoEntryDlg.
#include "notes/memo_entry_dlg.h"

#include <array>

#include "platform/monitors.h"
#include "res/resource.h"

namespace {

const CNoteDlg::NoteSpec* DaySpecs() {
    static const CNoteDlg::NoteSpec specs[3] = {
        {IDC_DAY_TEXT, IDC_DAY_SWATCH, NoteKind::Day, "当天的记事超过65535字节，请删减后再确定"},
        {IDC_SOLAR_TEXT, IDC_SOLAR_SWATCH, NoteKind::SolarYearly, "阳历每年的记事超过65535字节，请删减后再确定"},
        {IDC_LUNAR_TEXT, IDC_LUNAR_SWATCH, NoteKind::LunarYearly, "农历每年的记事超过65535字节，请删减后再确定"},
    };
    return specs;
}

}  // namespace

CMemoEntryDlg::CMemoEntryDlg(CWnd* parent, const DayNoteForm& form, Saver save)
    : CNoteDlg(IDD_DAY_NOTE, parent, DaySpecs(), std::array<NoteValue, 3>{form.dated, form.solarYearly, form.lunarYearly}.data(), 3,
               std::move(save)),
      m_form(form) {}

BOOL CMemoEntryDlg::OnInitDialog() {
    const BOOL result = CNoteDlg::OnInitDialog();
    CreateLine(this, &m_dateLabel, m_form.dateLine, ScaledRect(10, 10, 330, 30), 1032, &m_labelFont);
    // Each repeat line sits on the row of its edit.
    PlaceLineBeforeEdit(this, &m_solarLabel, m_form.solarLine, 1038, IDC_SOLAR_TEXT, &m_labelFont, &m_smallSolarFont,
                        m_dpi);
    PlaceLineBeforeEdit(this, &m_lunarLabel, m_form.lunarLine, 1039, IDC_LUNAR_TEXT, &m_labelFont, &m_smallLunarFont,
                        m_dpi);
    if (!m_form.detailsLine.IsEmpty()) PlaceDetailsLine();
    if (!m_form.holidayLine.IsEmpty())
        CreateLineUnder(this, &m_holidayLabel, m_form.holidayLine, IDC_COLOUR_HINT, IDC_HOLIDAY_LINE, &m_labelFont, m_dpi);
    return result;
}

void CMemoEntryDlg::PlaceDetailsLine() {
    HWND dialog = GetSafeHwnd();
    const RECT ok = RectInParent(GetDlgItem(IDOK)), notes = RectInParent(GetDlgItem(IDC_DAY_TEXT));
    const SIZE text = LineExtent(dialog, &m_labelFont, m_form.detailsLine);
    const RECT line{S(10), S(30), S(10) + text.cx, S(30) + text.cy};
    const int room = ok.left - S(8) - line.left;
    const int wider = text.cx > room ? text.cx - room : 0;
    const int lower = line.bottom + S(6) > notes.top ? line.bottom + S(6) - notes.top : 0;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (c == m_dateLabel.GetSafeHwnd()) continue;
        RECT r = RectInParent(c);
        const int id = ::GetDlgCtrlID(c);
        const bool widens = id == IDC_DAY_TEXT || id == IDC_SOLAR_TEXT || id == IDC_LUNAR_TEXT || id == IDC_COLOUR_HINT;
        // All from the notes down moves, but the buttons and the version line beside them.
        const bool beside = id == IDOK || id == IDCANCEL || static_cast<WORD>(id) == static_cast<WORD>(IDC_STATIC);
        if (r.top >= notes.top && !beside) ::OffsetRect(&r, 0, lower);
        if (widens) {
            r.right += wider;
        } else if (r.left >= notes.right) {
            ::OffsetRect(&r, wider, 0);  // swatches, buttons, the version
        }
        ::MoveWindow(c, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    }
    RECT window{};
    ::GetWindowRect(dialog, &window);
    ::SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + wider, window.bottom - window.top + lower,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CreateLine(this, &m_detailsLabel, m_form.detailsLine, line, IDC_DETAILS_LINE, &m_labelFont);
}

// CMemoEntryDlg.
#include "notes/memo_entry_dlg.h"

#include <array>

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
    if (!m_form.holidayLine.IsEmpty())
        CreateLineUnder(this, &m_holidayLabel, m_form.holidayLine, IDC_COLOUR_HINT, 1071, &m_labelFont, m_dpi);
    return result;
}

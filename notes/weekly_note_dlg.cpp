// CWeeklyNoteDlg.
#include "notes/weekly_note_dlg.h"

#include "res/resource.h"

namespace {

const CNoteDlg::NoteSpec kWeeklySpec = {IDC_WEEK_TEXT, IDC_WEEK_SWATCH, NoteKind::Weekly,
                                        "每周提示超过65535字节，请删减后再确定"};

}  // namespace

CWeeklyNoteDlg::CWeeklyNoteDlg(CWnd* parent, const CString& line, const NoteValue& note, Saver save)
    : CNoteDlg(IDD_WEEKLY_NOTE, parent, &kWeeklySpec, &note, 1, std::move(save)), m_line(line) {}

BOOL CWeeklyNoteDlg::OnInitDialog() {
    const BOOL result = CNoteDlg::OnInitDialog();
    CreateLine(this, &m_weekdayLabel, m_line, ScaledRect(20, 10, 80, 30), static_cast<UINT>(IDC_STATIC),
               &m_labelFont);
    return result;
}

// CWeeklyNoteDlg: the modal "每周提示" dialog a click on a weekday name opens. It edits the note
// that repeats every week on that weekday, with its "■" swatch, and hands it back on "确定".
#pragma once

#include "notes/note_dlg.h"

class CWeeklyNoteDlg : public CNoteDlg {
public:
    // line: "每周一" and so on.
    CWeeklyNoteDlg(CWnd* parent, const CString& line, const NoteValue& note, Saver save);

    BOOL OnInitDialog() override;

private:
    CString m_line;
    CStatic m_weekdayLabel;
};

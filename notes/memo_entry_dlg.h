// CMemoEntryDlg: the modal "输入记事" dialog a click on a day opens. It edits the day's three
// notes (this date; every year on this Gregorian date; every year on this lunar date), each with
// a "■" swatch in its colour, and hands them back on "确定".
#pragma once

#include "notes/note_dlg.h"

// What the dialog shows of a day: its three lines and its three notes.
struct DayNoteForm {
    CString dateLine;   // "2017年1月5日星期四农历十二月初八"
    CString solarLine;  // "阳历每年1月5日"
    CString lunarLine;  // "农历每年十二月初八"
    NoteValue dated, solarYearly, lunarYearly;
    CString holidayLine;  // "春节 放假　来源：..." on a marked day (HolidaySourceLine), else ""
};

class CMemoEntryDlg : public CNoteDlg {
public:
    // The notes come back to save in the order dated, Gregorian-yearly, lunar-yearly.
    enum { kDated = 0, kSolarYearly = 1, kLunarYearly = 2 };
    CMemoEntryDlg(CWnd* parent, const DayNoteForm& form, Saver save);

    BOOL OnInitDialog() override;

    const CString& DateLine() const { return m_form.dateLine; }

private:
    DayNoteForm m_form;
    CStatic m_dateLabel, m_solarLabel, m_lunarLabel;
    CStatic m_holidayLabel;  // under the colour hint
    CFont m_smallSolarFont, m_smallLunarFont;  // a smaller font per line, when needed
};

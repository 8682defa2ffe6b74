// CMemoEntryDlg: the modal "输入记事" dialog a click on a day opens. It edits the day's three
// notes (this date; every year on this Gregorian date; every year on this lunar date), each with
// a "■" swatch in its colour, and hands them back on "确定".
#pragma once

#include "notes/note_dlg.h"

// What the dialog shows of a day: its three lines and its three notes.
struct DayNoteForm {
    CString dateLine;   // "2017年1月5日星期四农历十二月初八"
    CString detailsLine;  // under it: "丙申年 辛丑月 壬辰日 · 第1周 · 小寒 11:56 · 二九第7天 · 腊八"; "" for none
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
    // Puts the details line under the date line, left of the buttons, and makes room for it: the
    // notes and all under them move down as far as it needs, and when it is wider than the room
    // left of the buttons the dialog widens by the rest, its edits with it, all right of them moving.
    void PlaceDetailsLine();

    DayNoteForm m_form;
    CStatic m_dateLabel, m_detailsLabel, m_solarLabel, m_lunarLabel;
    CStatic m_holidayLabel;  // under the colour hint
    CFont m_smallSolarFont, m_smallLunarFont;  // a smaller font per line, when needed
};

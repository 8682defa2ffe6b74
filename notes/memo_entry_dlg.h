// CMemoEntryDlg: the modal "输入记事" dialog a click on a day opens. It edits the day's three
// notes (this date; every year on this Gregorian date; every year on this lunar date), each with
// a "■" swatch in its colour, and stores them through the grid on "确定".
#pragma once

#include <cstdint>

#include "framework/afxwin.h"
#include "notes/note_swatch.h"

class CMonthGrid;

class CMemoEntryDlg : public CDialog {
public:
    // Takes the notes of the grid's m_hotDay.
    explicit CMemoEntryDlg(CMonthGrid* grid);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Stores the notes through the grid and closes; a note too long for the store, or a save that
    // failed, keeps the dialog open with a message.
    void OnOK() override;

    // The date line, e.g. "2017年1月5日星期四农历十二月初八".
    const CString& DateLine() const { return m_dateLine; }

protected:
    LRESULT OnPickColour(WPARAM id, LPARAM);
    LRESULT OnClearColour(WPARAM id, LPARAM);
    void OnPaint();

    NoteSwatch* SwatchById(UINT id);

    CString m_dayText, m_solarText, m_lunarText;
    uint32_t m_dayColour = 0, m_solarColour = 0, m_lunarColour = 0;
    CStatic m_dateLabel, m_solarLabel, m_lunarLabel;
    NoteSwatch m_daySwatch{&m_dayColour, NoteKind::Day};
    NoteSwatch m_solarSwatch{&m_solarColour, NoteKind::SolarYearly};
    NoteSwatch m_lunarSwatch{&m_lunarColour, NoteKind::LunarYearly};
    CFont m_labelFont, m_smallSolarFont, m_smallLunarFont;  // a smaller font per line, when needed
    CMonthGrid* m_grid;
    CString m_dateLine;

    DECLARE_MESSAGE_MAP()
};

// The longest note text the dialogs accept, in characters per edit; the store takes 65,535 bytes.
constexpr int kNoteEditLimit = 32767;
// The message of a failed save.
constexpr const char* kNoteNotSavedText = "记事未能保存，请检查磁盘空间或文件夹权限";
constexpr const char* kWarningCaption = "警告";

// CWeeklyNoteDlg: the modal "每周提示" dialog a click on a weekday name opens. It edits the note
// that repeats every week on that weekday, with its "■" swatch, and stores it through the grid.
#pragma once

#include <cstdint>

#include "framework/afxwin.h"
#include "notes/note_swatch.h"

class CMonthGrid;

class CWeeklyNoteDlg : public CDialog {
public:
    // Takes the note of the grid's m_weekdayColumn.
    explicit CWeeklyNoteDlg(CMonthGrid* grid);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Stores the note through the grid and closes; a failed save keeps the dialog open.
    void OnOK() override;

protected:
    LRESULT OnPickColour(WPARAM id, LPARAM);
    LRESULT OnClearColour(WPARAM id, LPARAM);
    void OnPaint();

    CString m_text;
    uint32_t m_colour = 0;
    NoteSwatch m_swatch{&m_colour, NoteKind::Weekly};
    CStatic m_weekdayLabel;
    CFont m_labelFont;
    CMonthGrid* m_grid;

    DECLARE_MESSAGE_MAP()
};

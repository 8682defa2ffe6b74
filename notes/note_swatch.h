// NoteSwatch: the colour square beside a note's edit in the note dialogs, drawn in the note's
// colour. A left click picks an own colour through the colour dialog; a right click goes back to
// the kind's default. Also the placing of a dialog's repeat line beside its edit.
#pragma once

#include <cstdint>

#include "framework/afxwin.h"
#include "notes/note_codec.h"
#include "platform/dpi.h"
#include "widgets/color_swatch.h"

class NoteSwatch {
public:
    NoteSwatch() = default;
    NoteSwatch(const NoteSwatch&) = delete;
    NoteSwatch& operator=(const NoteSwatch&) = delete;
    // The colour word the swatch shows and changes, and the kind whose default colour it shows.
    void Bind(uint32_t* colourWord, NoteKind kind) {
        m_colourWord = colourWord;
        m_kind = kind;
    }

    // Creates the swatch right of the edit editId of dialog, level with its first line; the edit
    // is narrowed to make room.
    void CreateBeside(CWnd* dialog, int editId, UINT id, int dpi);
    // Runs the colour dialog modal to owner and over it (initial colour: the note's), with
    // customColours as its 16 custom colours; on OK the note gets the chosen colour as its own.
    // Returns whether it did.
    bool PickColour(CWnd* owner, COLORREF* customColours);
    // Drops the note's own colour: the kind's default colour shows again.
    void ClearColour();

    UINT Id() const { return m_id; }
    COLORREF Colour() const { return NoteColor(m_colourWord ? *m_colourWord : 0, m_kind); }

private:
    uint32_t* m_colourWord = nullptr;
    NoteKind m_kind = NoteKind::Day;
    UINT m_id = 0;
    CColorSwatch m_swatch;
};

// Creates a static text line with font in dialog, on the row of the edit editId and ending a few
// pixels left of it; when the text would start left of the client area, its font is replaced by a
// smaller one (*smallFont) that fits. Returns the edit's rectangle in dialog client pixels.
RECT PlaceLineBeforeEdit(CWnd* dialog, CStatic* line, const char* text, UINT lineId, int editId, CFont* font,
                         CFont* smallFont, int dpi);
// The extent of one line of text (GBK) in font, as window's DC draws it.
SIZE LineExtent(HWND window, CFont* font, const char* text);
// Creates a static text line with font at rect and shows it.
void CreateLine(CWnd* dialog, CStatic* line, const char* text, const RECT& rect, UINT lineId, CFont* font);
// Creates a static text under the control underId, from its left to the client's right edge, wrapped
// onto as many lines as it needs, and makes the dialog taller by what it takes.
void CreateLineUnder(CWnd* dialog, CStatic* line, const char* text, int underId, UINT lineId, CFont* font, int dpi);

// NoteSwatch: the "■" beside a note in the note dialogs, drawn in the note's colour. A left click
// picks an own colour through the colour dialog; a right click goes back to the kind's default.
// Also the placing of a dialog's repeat line beside its edit.
#pragma once

#include <cstdint>

#include "framework/afxwin.h"
#include "notes/note_codec.h"
#include "widgets/click_label.h"

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

    // Creates the swatch at rect of parent with the label's font size, shows "■" in the note's colour.
    void Create(const RECT& rect, CWnd* parent, UINT id, int pointSize);
    // Runs the colour dialog (no owner, initial colour 0) with customColours as its 16 custom
    // colours; on OK the note gets the chosen colour as its own. Returns whether it did.
    bool PickColour(COLORREF* customColours);
    // Drops the note's own colour: the kind's default colour shows again.
    void ClearColour();

    UINT Id() const { return m_id; }
    COLORREF Colour() const { return NoteColor(m_colourWord ? *m_colourWord : 0, m_kind); }
    CClickLabel& Label() { return m_label; }

private:
    uint32_t* m_colourWord = nullptr;
    NoteKind m_kind = NoteKind::Day;
    UINT m_id = 0;
    CClickLabel m_label;
};

// Creates a static text line with font in dialog, on the row of the edit editId and ending a few
// pixels left of it; when the text would start left of the client area, its font is replaced by a
// smaller one (*smallFont) that fits. Returns the edit's rectangle in dialog client pixels.
RECT PlaceLineBeforeEdit(CWnd* dialog, CStatic* line, const char* text, UINT lineId, int editId, CFont* font,
                         CFont* smallFont);
// Creates a static text line with font at rect and shows it.
void CreateLine(CWnd* dialog, CStatic* line, const char* text, const RECT& rect, UINT lineId, CFont* font);

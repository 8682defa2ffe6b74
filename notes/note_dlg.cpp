// CNoteDlg.
#include "notes/note_dlg.h"

#include "widgets/gbk_edit.h"
#include "res/resource.h"
#include "widgets/user_messages.h"
#include "platform/monitors.h"
#include "platform/wide_text.h"

BEGIN_MESSAGE_MAP(CNoteDlg, CDialog)
    ON_MESSAGE(WM_LABEL_CLICKED, &CNoteDlg::OnPickColour)
    ON_MESSAGE(WM_LABEL_RCLICKED, &CNoteDlg::OnClearColour)
    ON_WM_PAINT()
END_MESSAGE_MAP()

NoteValue NoteValueOf(const NoteEntry& entry) {
    NoteValue v;
    if (entry.Present()) v.text = CString(entry.text.get(), entry.length);
    v.colourWord = entry.colourWord;
    return v;
}

CNoteDlg::CNoteDlg(UINT templateId, CWnd* parent, const NoteSpec* specs, const NoteValue* values, int count,
                   Saver save)
    : CDialog(templateId, parent), m_count(count < 0 ? 0 : (count > kMaxNotes ? kMaxNotes : count)),
      m_save(std::move(save)) {
    for (int i = 0; i < m_count; ++i) {
        Note& n = m_notes[i];
        n.spec = specs[i];
        n.given = values[i];
        n.text = values[i].text;
        n.colourWord = values[i].colourWord;
        n.swatch.Bind(&n.colourWord, specs[i].kind);
    }
}

BOOL CNoteDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_dpi = WindowDpi(GetSafeHwnd());
    m_labelFont.CreatePointFont(90, "Arial", m_dpi);
    int hintTop = 0, hintLeft = S(10);
    for (int i = 0; i < m_count; ++i) {
        const int id = m_notes[i].spec.editId;
        ::SendDlgItemMessageW(GetSafeHwnd(), id, EM_LIMITTEXT, kNoteEditLimit, 0);
        KeepEditToGbk(GetDlgItem(id));
        if (m_notes[i].given.unreadable) {
            ::SetDlgItemTextW(GetSafeHwnd(), id, WideFromGbk(kNoteUnreadableText).c_str());
            ::SendDlgItemMessageW(GetSafeHwnd(), id, EM_SETREADONLY, TRUE, 0);
        }
        m_notes[i].swatch.CreateBeside(this, id, m_notes[i].spec.swatchId, m_dpi);
        const RECT r = RectInParent(GetDlgItem(id));
        if (r.bottom > hintTop) hintTop = r.bottom;
        if (i == 0) hintLeft = r.left;
    }
    RECT client;
    GetClientRect(&client);
    CreateLine(this, &m_hint, kColourHintText, CRect(hintLeft, hintTop + S(6), client.right - S(4), hintTop + S(22)),
               IDC_COLOUR_HINT, &m_labelFont);
    // Typing goes into the first note that can be edited, after its text.
    for (int i = 0; i < m_count; ++i) {
        if (m_notes[i].given.unreadable) continue;
        HWND edit = GetDlgItem(m_notes[i].spec.editId);
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, ::GetWindowTextLengthW(edit), ::GetWindowTextLengthW(edit));
        break;
    }
    return FALSE;
}

void CNoteDlg::DoDataExchange(CDataExchange* dx) {
    for (int i = 0; i < m_count; ++i)
        if (!m_notes[i].given.unreadable) DDX_Text(dx, m_notes[i].spec.editId, m_notes[i].text);
}

NoteSwatch* CNoteDlg::SwatchById(UINT id) {
    for (int i = 0; i < m_count; ++i)
        if (m_notes[i].swatch.Id() == id && !m_notes[i].given.unreadable) return &m_notes[i].swatch;
    return nullptr;
}

LRESULT CNoteDlg::OnPickColour(WPARAM id, LPARAM) {
    // The picker's custom colours: the dialog's swatches first, then white.
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) custom[i] = i < m_count ? m_notes[i].swatch.Colour() : 0x00FFFFFF;
    for (int i = 0; i < m_count; ++i) {
        if (m_notes[i].swatch.Id() != static_cast<UINT>(id)) continue;
        // The focus comes back where it was, or into this note's edit.
        HWND focus = ::GetFocus();
        if (focus == nullptr || !::IsChild(GetSafeHwnd(), focus)) focus = GetDlgItem(m_notes[i].spec.editId);
        DWORD start = 0, end = 0;  // the caret too: the dialog manager would select the whole text
        ::SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        m_notes[i].swatch.PickColour(this, custom);
        ::SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
        ::SendMessageW(focus, EM_SETSEL, start, static_cast<LPARAM>(end));
    }
    return 0;
}

LRESULT CNoteDlg::OnClearColour(WPARAM id, LPARAM) {
    if (NoteSwatch* swatch = SwatchById(static_cast<UINT>(id))) swatch->ClearColour();
    return 0;
}

void CNoteDlg::OnPaint() { CPaintDC dc(this); }

void CNoteDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    for (int i = 0; i < m_count; ++i) {
        if (m_notes[i].text.GetLength() > kMaxNoteLength) {
            AfxMessageBox(GetSafeHwnd(), m_notes[i].spec.tooLongMessage, kWarningCaption, MB_OK | MB_ICONWARNING);
            return;
        }
    }
    for (int i = 0; i < m_count; ++i) {
        const Note& n = m_notes[i];
        m_confirmed[i].value = NoteValue{n.text, n.colourWord, n.given.unreadable};
        m_confirmed[i].changed = n.text != n.given.text || n.colourWord != n.given.colourWord;
        m_confirmed[i].given = n.given.text;
    }
    if (m_save && !m_save(m_confirmed, m_count)) {
        AfxMessageBox(GetSafeHwnd(), kNoteNotSavedText, kWarningCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}

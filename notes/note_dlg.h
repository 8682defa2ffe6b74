// CNoteDlg: what the day-note and weekly-note dialogs share. Each note of a dialog is an edit with
// a colour swatch right of it, and a line under the edits tells how to clear a colour. The dialog is given its notes by value; on "确定" it checks their
// lengths and hands every note back, marked changed or unchanged, to the saver its opener gave.
// What is saved, and where, is the opener's business.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/afxwin.h"
#include "notes/note_swatch.h"

// A note as a dialog is given it and answers it: its text ("" for an absent entry) and its colour
// word as stored (0 for a slot that never held a note).
struct NoteValue {
    CString text;
    uint32_t colourWord = 0;
    // The note's file cannot be read just now: the dialog shows kNoteUnreadableText in a read-only
    // edit and hands the note back unchanged.
    bool unreadable = false;
};
NoteValue NoteValueOf(const NoteEntry& entry);

// A note as the user confirmed it; changed when its text or colour word differs from what the
// dialog was given.
struct ConfirmedNote {
    NoteValue value;
    bool changed = false;
    CString given;  // the text the dialog was given, to tell a change made elsewhere meanwhile
};

class CNoteDlg : public CDialog, protected CDpiScaled {
public:
    static constexpr int kMaxNotes = 3;
    // Stores the confirmed notes (count of them, in the dialog's order). False when a save failed:
    // the dialog then stays open with the failed-save message.
    using Saver = std::function<bool(const ConfirmedNote* notes, int count)>;

    // One note's controls: its edit, its swatch, the kind whose default colour the swatch shows,
    // and the message for a text over the store's limit.
    struct NoteSpec {
        int editId;
        UINT swatchId;
        NoteKind kind;
        const char* tooLongMessage;
    };

protected:
    CNoteDlg(UINT templateId, CWnd* parent, const NoteSpec* specs, const NoteValue* values, int count, Saver save);

    // Fills the edits, limits them to kNoteEditLimit characters, puts each swatch beside its edit,
    // the hint line under them, and the focus at the end of the first note. Returns FALSE (the
    // focus is set): a derived dialog returns what this returns.
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Checks every length, then saves through the saver; closes with IDOK when it succeeded.
    void OnOK() override;

    // The font of the dialog's own lines, at the dialog's scale.
    CFont m_labelFont;

private:
    LRESULT OnPickColour(WPARAM id, LPARAM);
    LRESULT OnClearColour(WPARAM id, LPARAM);
    void OnPaint();
    NoteSwatch* SwatchById(UINT id);

    struct Note {
        NoteSpec spec{};
        NoteValue given;
        CString text;
        uint32_t colourWord = 0;
        NoteSwatch swatch;
    };
    Note m_notes[kMaxNotes];
    CStatic m_hint;
    ConfirmedNote m_confirmed[kMaxNotes];
    int m_count;
    Saver m_save;

    DECLARE_MESSAGE_MAP()
};

// The longest note text the dialogs accept, in characters per edit; the store takes 65,535 bytes.
constexpr int kNoteEditLimit = 32767;
// The message of a failed save.
constexpr const char* kNoteNotSavedText = "记事未能保存，请检查磁盘空间或文件夹权限";
constexpr const char* kWarningCaption = "警告";
// What a note whose file cannot be read shows in its edit.
constexpr const char* kNoteUnreadableText = "（记事文件暂时无法读取，可能正被其他程序使用。请稍后再打开。）";
// The hint under the notes.
constexpr const char* kColourHintText = "左键单击色块选颜色，右键单击恢复默认颜色";

// The memo pad "记事小本": a free-text notepad saved at every change to 备忘\default.
#pragma once

#include <string>

#include "framework/afxwin.h"
#include "notes/tab_dlg.h"
#include "platform/dpi.h"
#include "platform/placement.h"
#include "widgets/color_label.h"
#include "widgets/dialog_scale.h"

// The most characters the pad's edit takes: ten times the 100,000 a memo may need, and at two bytes
// a character always below what the store saves and reads back (kMaxMemoBytes).
constexpr int kMemoEditLimit = 1000000;
// What the pad shows while the memo file cannot be read.
constexpr const char* kMemoUnreadableText =
    "（记事小本的文件暂时无法读取，可能正被其他程序使用。能读取时这里会自动显示，在此之前不会保存任何内容。）";

class CMemoPadDlg : public CDialog {
public:
    explicit CMemoPadDlg(MemoPadOwner* owner) : CDialog(0, nullptr), m_owner(owner) {}

    // The calendar's window (screen pixels): without a reachable stored position the pad goes
    // under it, or above it when under it is off screen.
    void SetAnchor(const PixelRect& calendar) { m_anchor = calendar; }
    BOOL Create(CWnd* parent);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}      // Enter inserts a line break
    void OnCancel() override {}  // Escape does nothing

    // True while the last save of the memo failed (the strip then shows "未保存" in red).
    bool SaveFailed() const { return m_saveFailed; }
    // Saves the text on screen; true when the memo on disk now matches it (or, while the memo
    // cannot be read, when nothing was typed). The memo is read from disk first: one that cannot
    // be read is not written over; one changed elsewhere since this pad last read or wrote it is
    // kept as "备忘\default.conflict" (.2, .3 ...) and the user is told.
    bool SaveNow();
    // After a failed save, one more try: true when the text on screen is still not on disk.
    bool StillUnsaved() { return m_saveFailed && !SaveNow(); }
    // Catches up with the disk: a memo that could not be read is read again; a memo changed
    // elsewhere is shown when nothing was typed since the last save; a failed save is tried again.
    void Poll();
    // True while the memo file cannot be read: the pad shows kMemoUnreadableText and takes no typing.
    bool MemoUnreadable() const { return m_unreadable; }
    const CString& Text() const { return m_text; }
    // The memo as this pad last read or wrote it: what its unsaved text was typed over.
    const std::string& OnDisk() const { return m_onDisk; }
    // Shows text the window that came before could not save, as unsaved; the timer's Poll saves it
    // once the memo can be written. base is the memo that text was typed over: a memo that differs
    // from it by then was changed elsewhere and is kept as ".conflict". Without a base (a recovery
    // file whose base was lost) any other memo on disk is kept so.
    void AdoptUnsaved(const char* text, const std::string* base);
    // Writes the unsaved text to the recovery file beside the memo ("备忘\default.unsaved", and the
    // memo it was typed over beside it); the next start shows it again, as unsaved, tells the user,
    // and keeps a memo changed since as ".conflict".
    void KeepForRecovery();
    // The same for text whose pad is gone (a window the shell took too often to build again).
    static bool WriteRecovery(const std::string& text, const std::string& base);
    bool UnsavedMarkShown() const { return m_unsavedLabel.GetSafeHwnd() && m_unsavedLabel.IsWindowVisible(); }

protected:
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMove(int x, int y);
    // Moved to a monitor of another scale: takes the suggested rectangle and lays the pad out there.
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size) { return TellScaledSize(m_scale, dpi, size); }
    // "未保存" in the strip, between the name and "-".
    void PlaceUnsavedLabel();
    void OnChangeMemo();
    void OnHideMemo();
    void ShowSaveState();
    // Reads the memo from disk and shows it (or, when it cannot be read, kMemoUnreadableText).
    void LoadFromDisk();
    // Offers back the recovery file a log-off left, when there is one.
    void OfferRecovery();
    // Puts text into the edit without taking it for typing; keeps the caret where it was.
    void ShowText(const CString& text);

    CString m_text;
    bool m_placed = false;
    bool m_saveFailed = false;
    bool m_filling = false;     // the edit is being filled from the disk
    bool m_unreadable = false;  // the memo file could not be read
    bool m_damaged = false;     // the memo file is damaged: its next save keeps it aside
    bool m_recoveryPending = false;  // a recovery file may lie beside the memo: the next save removes it
    std::string m_onDisk;       // the memo as this pad last read or wrote it
    bool m_baseUnknown = false;  // unsaved text of an earlier run: what it was typed over is not known
    PixelRect m_anchor{500, 222, 863, 490};
    MemoPadOwner* m_owner;
    CColorLabel m_unsavedLabel;
    DialogScale m_scale;

    DECLARE_MESSAGE_MAP()
};

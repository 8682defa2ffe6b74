// The memo pad.
#include "notes/memo_pad_dlg.h"

#include <cstdio>

#include "notes/note_list.h"
#include "platform/log.h"
#include "platform/monitors.h"
#include "platform/settings.h"
#include "platform/wide_text.h"
#include "res/resource.h"
#include "widgets/gbk_edit.h"

BEGIN_MESSAGE_MAP(CMemoPadDlg, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOVE()
    ON_EN_CHANGE(IDC_MEMO_EDIT, &CMemoPadDlg::OnChangeMemo)
    ON_BN_CLICKED(IDC_MEMO_HIDE, &CMemoPadDlg::OnHideMemo)
    ON_MESSAGE(WM_DPICHANGED, &CMemoPadDlg::OnDpiChanged)
    ON_MESSAGE(kWmGetDpiScaledSize, &CMemoPadDlg::OnGetDpiScaledSize)
END_MESSAGE_MAP()

namespace {

constexpr const char* kMemoName = "default";

}  // namespace

BOOL CMemoPadDlg::Create(CWnd* parent) { return CDialog::Create(IDD_MEMO_PAD, parent); }

void CMemoPadDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_MEMO_EDIT, m_text); }

BOOL CMemoPadDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_scale.Record(GetSafeHwnd(), WindowDpi(GetSafeHwnd()));
    // The stored position, when its title strip can still be reached on a monitor; else under the
    // calendar, or above, right or left of it, the first that is whole on a monitor (at a large
    // scale a screen may have room only beside it). A stored x without a y keeps the default y.
    RECT window;
    GetWindowRect(&window);
    int dpi = WindowDpi(GetSafeHwnd());
    const std::vector<PixelRect> monitors = MonitorRects();
    const Origin fallback =
        BesideCalendar(m_anchor, window.right - window.left, window.bottom - window.top, Scale(10, dpi), monitors);
    Origin stored = fallback;
    const bool haveX = ReadRegInt(kSettingsKey, kValueMemoX, &stored.x);
    if (haveX) ReadRegInt(kSettingsKey, kValueMemoY, &stored.y);
    RECT title{0, 0, 0, 10};  // the strip above the edit, in dialog units
    ::MapDialogRect(GetSafeHwnd(), &title);
    const Origin origin =
        ReachableOrigin(haveX, stored, fallback, window.right - window.left, title.bottom, monitors, Scale(40, dpi),
                        Scale(10, dpi));
    ::SetWindowPos(GetSafeHwnd(), nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);

    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_MEMO_EDIT, EM_LIMITTEXT, kMemoEditLimit, 0);
    KeepEditToGbk(GetDlgItem(IDC_MEMO_EDIT));
    LoadFromDisk();
    OfferRecovery();

    // "未保存" in red, while the last save failed; at the scale of where the pad now is.
    dpi = m_scale.Dpi();
    m_unsavedLabel.Create(CRect(0, 0, Scale(42, dpi), title.bottom - Scale(1, dpi)), this,
                          static_cast<UINT>(IDC_STATIC), ::GetSysColor(COLOR_BTNFACE), RGB(255, 0, 0), 90, "宋体");
    PlaceUnsavedLabel();
    m_placed = true;
    return TRUE;
}

void CMemoPadDlg::PlaceUnsavedLabel() {
    const RECT hide = RectInParent(GetDlgItem(IDC_MEMO_HIDE));
    const int dpi = m_scale.Dpi();
    m_unsavedLabel.MoveTo(hide.left - Scale(44, dpi), Scale(1, dpi));
}

LRESULT CMemoPadDlg::OnDpiChanged(WPARAM dpi, LPARAM suggested) {
    TakeSuggestedRect(GetSafeHwnd(), suggested);
    m_scale.Apply(LOWORD(dpi));
    if (m_unsavedLabel.GetSafeHwnd() == nullptr) return 0;  // moved to its place while it starts
    m_unsavedLabel.SetDpi(LOWORD(dpi));
    PlaceUnsavedLabel();
    return 0;
}

void CMemoPadDlg::OnLButtonDown(UINT flags, CPoint point) {
    BeginWindowDrag(GetSafeHwnd());
    CDialog::OnLButtonDown(flags, point);
}

void CMemoPadDlg::OnMove(int x, int y) {
    Default();
    if (!m_placed) return;
    WriteRegInt(kSettingsKey, kValueMemoX, x);
    WriteRegInt(kSettingsKey, kValueMemoY, y);
}

void CMemoPadDlg::LoadFromDisk() {
    std::string text;
    const MemoRead read = ReadMemo(kMemoName, &text);
    m_unreadable = read == MemoRead::Unreadable;
    m_damaged = read == MemoRead::Damaged;
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_MEMO_EDIT, EM_SETREADONLY, m_unreadable ? TRUE : FALSE, 0);
    if (m_unreadable) {
        ShowText(kMemoUnreadableText);
        return;
    }
    m_onDisk = text;
    m_text = CString(text);
    ShowText(m_text);
}

namespace {

constexpr const char* kRecoveryName = "备忘\\default.unsaved";
constexpr const char* kRecoveryBaseName = "备忘\\default.unsaved-base";  // the memo it was typed over

}  // namespace

void CMemoPadDlg::AdoptUnsaved(const char* text, const std::string* base) {
    // Shown and kept even while the memo cannot be read: SaveNow writes it only once the memo reads,
    // keeping a version changed meanwhile as ".conflict".
    m_baseUnknown = base == nullptr;
    if (base) m_onDisk = *base;
    m_unreadable = false;
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_MEMO_EDIT, EM_SETREADONLY, FALSE, 0);
    m_text = text;
    ShowText(m_text);
    m_saveFailed = true;  // Poll saves it; until then "未保存"
    ShowSaveState();
}

bool CMemoPadDlg::WriteRecovery(const std::string& text, const std::string& base) {
    // The base first: a text without it is taken as typed over a memo not known.
    RemoveFile(NotePath(kRecoveryBaseName));
    if (!WriteWholeFile(NotePath(kRecoveryName), text.data(), static_cast<int>(text.size()))) return false;
    WriteWholeFile(NotePath(kRecoveryBaseName), base.data(), static_cast<int>(base.size()));
    LogLine("unsaved memo kept for recovery (%u bytes)", static_cast<unsigned>(text.size()));
    return true;
}

void CMemoPadDlg::KeepForRecovery() {
    m_recoveryPending = true;
    WriteRecovery(std::string(m_text, static_cast<size_t>(m_text.GetLength())), m_onDisk);
}

void CMemoPadDlg::OfferRecovery() {
    const FileBytes kept = ReadWholeFile(NotePath(kRecoveryName), ReadFrom::Disk);
    if (kept.status != ReadStatus::Ok) return;
    m_recoveryPending = true;
    const FileBytes base = ReadWholeFile(NotePath(kRecoveryBaseName), ReadFrom::Disk);
    const std::string known = base.status == ReadStatus::Ok && base.size > 0
                                  ? std::string(base.data.get(), static_cast<size_t>(base.size))
                                  : std::string();
    AdoptUnsaved(kept.size > 0 ? std::string(kept.data.get(), static_cast<size_t>(kept.size)).c_str() : "",
                 base.status == ReadStatus::Ok ? &known : nullptr);
    TellUser("上次关机或注销时，记事小本有内容没能保存，现在重新显示出来；能保存时会自动保存。");
}

void CMemoPadDlg::ShowText(const CString& text) {
    HWND edit = GetDlgItem(IDC_MEMO_EDIT);
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    m_filling = true;
    ::SetWindowTextW(edit, WideFromGbk(text).c_str());
    m_filling = false;
    ::SendMessageW(edit, EM_SETSEL, start, end);
}

bool CMemoPadDlg::SaveNow() {
    if (m_unreadable) return true;  // nothing could be typed
    std::string disk;
    const MemoRead read = ReadMemo(kMemoName, &disk);
    bool safe = read != MemoRead::Unreadable;
    // Text of an earlier run was typed over a memo not known now: any other memo there is kept.
    const bool other = m_baseUnknown ? read == MemoRead::Ok && disk != std::string(m_text, m_text.GetLength())
                                     : disk != m_onDisk;
    if (safe && read == MemoRead::Missing && !m_onDisk.empty() && !m_baseUnknown) {
        // Deleted elsewhere: there is no other version to keep; what was typed here is saved.
        TellUser("记事小本的文件在别处（另一台电脑或另一个程序）被删除了，这里保留的是您刚写的内容，已重新保存。");
    } else if (safe && !m_damaged && read != MemoRead::Damaged && other) {
        // Changed elsewhere since this pad last read or wrote it: that version is kept, not lost.
        std::string kept;
        safe = KeepMemoConflict(kMemoName, &kept);
        if (safe)
            TellUser("记事小本在别处（另一台电脑或另一个程序）被改过：那一版已另存为“" + kept +
                     "”，这里保留的是您刚写的内容。");
    }
    m_saveFailed = !safe || !SaveMemo(kMemoName, m_text, m_text.GetLength());
    if (!m_saveFailed) {
        m_onDisk.assign(m_text, static_cast<size_t>(m_text.GetLength()));
        m_damaged = false;
        m_baseUnknown = false;
        if (m_recoveryPending)  // what it kept is saved now
            m_recoveryPending = !RemoveFile(NotePath(kRecoveryName)) || !RemoveFile(NotePath(kRecoveryBaseName));
    }
    ShowSaveState();
    return !m_saveFailed;
}

void CMemoPadDlg::Poll() {
    if (!GetSafeHwnd()) return;
    if (m_unreadable) {
        LoadFromDisk();
        return;
    }
    if (m_saveFailed) {
        SaveNow();
        return;
    }
    std::string disk;
    const MemoRead read = ReadMemo(kMemoName, &disk);
    if ((read == MemoRead::Ok || read == MemoRead::Missing) && disk != m_onDisk) {
        m_onDisk = disk;
        m_text = CString(disk);
        ShowText(m_text);
    }
}

void CMemoPadDlg::OnChangeMemo() {
    if (!m_placed || m_filling) return;  // filling the edit from the disk is no change to save
    UpdateData(TRUE);
    SaveNow();
}

void CMemoPadDlg::ShowSaveState() {
    if (m_saveFailed) {
        m_unsavedLabel.SetText("未保存", 1);
    } else if (m_unsavedLabel.GetSafeHwnd()) {
        m_unsavedLabel.ShowWindow(SW_HIDE);
    }
}

void CMemoPadDlg::OnHideMemo() { m_owner->HideMemoPad(); }

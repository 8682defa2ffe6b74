// The two tab windows "本" and "历" that stand in for the memo pad and the calendar when they are
// put away, and what they and the pad ask of the main window that owns them.
#pragma once

#include "framework/afxwin.h"
#include "widgets/dialog_scale.h"

// What the pad and the tabs ask of the main window that owns them.
class MemoPadOwner {
public:
    virtual void ShowMemoPad() = 0;
    virtual void HideMemoPad() = 0;
    virtual void ShowCalendar() = 0;

protected:
    ~MemoPadOwner() = default;
};

// A tab window: one button that asks the owner to show what the tab stands in for.
class CTabDlg : public CDialog {
public:
    using Action = void (MemoPadOwner::*)();
    CTabDlg(MemoPadOwner* owner, UINT templateId, Action action)
        : CDialog(templateId, nullptr), m_owner(owner), m_action(action) {}
    BOOL Create(CWnd* parent) { return CDialog::Create(m_templateId, parent); }
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

protected:
    void OnTabButton() { (m_owner->*m_action)(); }
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size) { return TellScaledSize(m_scale, dpi, size); }
    MemoPadOwner* m_owner;
    Action m_action;
    DialogScale m_scale;
    DECLARE_MESSAGE_MAP()
};

// "本": shows the memo pad (template 256). "历": shows the calendar (template 257).
class CMemoTabDlg : public CTabDlg {
public:
    explicit CMemoTabDlg(MemoPadOwner* owner);
};
class CCalendarTabDlg : public CTabDlg {
public:
    explicit CCalendarTabDlg(MemoPadOwner* owner);
};

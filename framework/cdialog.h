// CDialog: a window made from a numbered dialog template, modal (DoModal) or modeless (Create),
// with data exchange between edit controls and CString members (DDX_Text).
#pragma once

#include "framework/cwnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls -> members; FALSE: members -> controls
    // An exchange that could not be made marks the whole exchange failed.
    void Fail() { m_failed = true; }
    bool Failed() const { return m_failed; }

private:
    bool m_failed = false;
};

// Edit control id <-> text; an id without a control fails the exchange.
void DDX_Text(CDataExchange* dx, int id, CString& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr) : m_templateId(templateId), m_parent(parent) {
        m_isDialog = true;
    }

    // Runs the dialog modally; returns the value given to EndDialog, or -1 when it could not be made.
    INT_PTR DoModal();
    // Creates the dialog modeless (hidden unless its template says WS_VISIBLE); parent is its owner.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result) { ::EndDialog(GetSafeHwnd(), result); }  // ::EndDialog
    // TRUE: read the controls into the members; FALSE: fill the controls from the members.
    // FALSE when an exchange failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Override these.
    virtual BOOL OnInitDialog();  // UpdateData(FALSE); TRUE lets the system set the focus
    virtual void OnOK();          // UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();      // EndDialog(IDCANCEL)
    virtual void DoDataExchange(CDataExchange*) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_parent;
};

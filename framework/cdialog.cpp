// CDialog on the Win32 dialog manager. The dialog procedure binds the object at WM_INITDIALOG and
// hands every message to the message map; what no handler takes goes back to the dialog manager.
#include "framework/cdialog.h"

#include <exception>

#include "platform/log.h"
#include "platform/wide_text.h"

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND control = ::GetDlgItem(dx->m_pDlgWnd->GetSafeHwnd(), id);
    if (control == nullptr) {
        dx->Fail();
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = CString(GbkFromWide(WindowTextOf(control)));
    } else {
        ::SetWindowTextW(control, WideFromGbk(value).c_str());
    }
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_parent ? m_parent->GetSafeHwnd() : nullptr;
    return ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_templateId), owner, &CDialog::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_templateId = templateId;
    m_parent = parent;
    HWND hwnd = ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(templateId),
                                     parent ? parent->GetSafeHwnd() : nullptr, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    // IDOK and IDCANCEL reach the virtual handlers unless the map took them.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return 0;
        }
    }
    return Default();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = static_cast<CDialog*>(FromHandlePermanent(hwnd));
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Attach(hwnd);
        try {
            return dialog->OnInitDialog();
        } catch (const std::exception& e) {
            LogLine("exception in a dialog's initialisation: %s", e.what());
            return TRUE;  // exceptions never cross the dialog procedure
        } catch (...) {
            LogLine("exception in a dialog's initialisation");
            return TRUE;
        }
    }
    if (dialog == nullptr) return FALSE;

    bool defaulted = false;
    const LRESULT result = dialog->RouteMessage(message, wParam, lParam, &defaulted);
    if (defaulted) return FALSE;  // the dialog manager's default handling
    // Messages whose result is not the procedure's return value carry it in DWLP_MSGRESULT.
    switch (message) {
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_QUERYDRAGICON:
            return static_cast<INT_PTR>(result);
        default:
            ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

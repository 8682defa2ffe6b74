// CExitPromptDlg.
#include "app/exit_prompt_dlg.h"

#include "res/resource.h"

BEGIN_MESSAGE_MAP(CExitPromptDlg, CDialog)
    ON_BN_CLICKED(IDC_EXIT_END, &CExitPromptDlg::OnEndProgram)
    ON_BN_CLICKED(IDC_EXIT_UNINSTALL, &CExitPromptDlg::OnUninstall)
END_MESSAGE_MAP()

CExitPromptDlg::CExitPromptDlg(CWnd* parent) : CDialog(IDD_EXIT_PROMPT, parent) {}

void CExitPromptDlg::OnCancel() {
    m_nChoice = kGoBack;
    CDialog::OnCancel();
}

void CExitPromptDlg::OnEndProgram() {
    m_nChoice = kEndProgram;
    CDialog::OnCancel();
}

void CExitPromptDlg::OnUninstall() {
    m_nChoice = kUninstall;
    CDialog::OnCancel();
}

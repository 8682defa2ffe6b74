// CExitPromptDlg: the "提示" box the main window's "x" opens: end the program, uninstall (stop
// starting with Windows, then end), or go back.
#pragma once

#include "framework/afxwin.h"

class CExitPromptDlg : public CDialog {
public:
    enum Choice { kGoBack = 0, kEndProgram = 1, kUninstall = 2 };
    explicit CExitPromptDlg(CWnd* parent);

    // "点错了，返回", Escape and the close box: go back.
    void OnCancel() override;

    int m_nChoice = kGoBack;

protected:
    void OnEndProgram();
    void OnUninstall();

    DECLARE_MESSAGE_MAP()
};

// CWinApp: the one application object. The framework's WinMain (win_app.cpp) records the instance,
// calls InitInstance, and runs a message loop only when InitInstance returns TRUE.
#pragma once

#include "framework/cwnd.h"

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Override this: FALSE ends the process.
    virtual BOOL InitInstance() { return FALSE; }
    // The message loop; returns the exit code.
    virtual int Run();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
// What WinMain does, callable from tests.
int AfxWinMain(HINSTANCE instance);

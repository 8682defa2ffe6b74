// The application object and the entry point.
#include "framework/win_app.h"

#include <exception>

#include "platform/log.h"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int AfxWinMain(HINSTANCE instance) {
    AfxSetInstanceHandle(instance);
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return 1;
    app->m_hInstance = instance;
    int code = 0;
    try {
        code = app->InitInstance() ? app->Run() : 0;
    } catch (const std::exception& e) {
        LogLine("exception ended the program: %s", e.what());
        code = 1;
    } catch (...) {
        LogLine("exception ended the program");
        code = 1;
    }
    return code;
}

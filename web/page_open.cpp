// Page opening through the shell.
#include "web/page_open.h"

#include <shellapi.h>

#include "platform/wide_text.h"
#include "web/headline.h"

namespace {

void ShellOpen(HWND owner, const char* url) {
    ShellExecuteW(owner, L"open", WideFromGbk(url).c_str(), nullptr, nullptr, SW_SHOW);
}

PageOpener g_opener = ShellOpen;

}  // namespace

void SetPageOpenerForTest(PageOpener opener) { g_opener = opener ? opener : ShellOpen; }

void OpenPage(HWND owner, const char* url) { g_opener(owner, url); }

bool OpenStripLink(HWND owner, int controlId) {
    const char* path = nullptr;
    switch (controlId) {
        case 1052: path = "/redirect.asp?id=1"; break;
        case 1055: path = "/redirect.asp?id=2"; break;
        case 1057: path = "/redirect.asp?id=3"; break;
        default: return false;
    }
    OpenPage(owner, VendorPageUrl(kVendorHost, path).c_str());
    return true;
}

bool OpenHeadlineLink(HWND owner, const std::string& link) {
    if (!IsSafeHeadlineLink(link)) return false;
    const std::string url = link[0] == '/' ? VendorPageUrl(kVendorHost, link) : link;
    OpenPage(owner, url.c_str());
    return true;
}

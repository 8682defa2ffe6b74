// Opening web pages in the user's browser: the vendor's fixed pages and the headline's link.
#pragma once

#include <windows.h>

#include <string>

// Build constants (web/hosts.cpp, linked into each program from the library vestrel_web_hosts).
extern const char* const kHeadlineHost;
extern const unsigned short kHeadlinePort;
extern const char* const kVendorHost;

// ShellExecuteA(owner, "open", url, no parameters, no directory, SW_SHOW); the result is ignored.
void OpenPage(HWND owner, const char* url);

// The grid's strip links: 1052, 1055 and 1057 open "/redirect.asp?id=1" ... "id=3" on the
// vendor web host. Returns false (and opens nothing) for any other id.
bool OpenStripLink(HWND owner, int controlId);

// The headline's link: an absolute http(s) URL as it is, a path beginning "/" on the vendor web
// host; anything else (empty, "file:", a program, other schemes) is not handed to the shell.
// Returns whether a page was opened.
bool OpenHeadlineLink(HWND owner, const std::string& link);

// Test seam: replaces the call of ShellExecuteA (null restores it).
using PageOpener = void (*)(HWND owner, const char* url);
void SetPageOpenerForTest(PageOpener opener);

// WinResult: success, or the Windows error code that says why not. What the file store, the
// settings and the headline request answer, so that a caller (and the log) can tell a full disk
// from a file held by another program.
#pragma once

struct WinResult {
    // 0 on success; else a system error code (GetLastError, a registry call's result, a Windows
    // Sockets code), never 0 for a failure.
    unsigned long error = 0;

    static WinResult Ok() { return WinResult{}; }
    // A failure with code; a code of 0 (the call failed without saying why) becomes 31
    // (ERROR_GEN_FAILURE), so that a failure never reads as success.
    static WinResult Failed(unsigned long code) { return WinResult{code != 0 ? code : 31UL}; }

    bool ok() const { return error == 0; }
    explicit operator bool() const { return ok(); }
};

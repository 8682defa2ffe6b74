// A fresh folder tree for a test under the temporary folder: removed before and after use. Paths
// are UTF-8, as the note store's are; W() gives a path to the wide functions.
#pragma once

#include <windows.h>

#include <string>

#include "platform/wide_text.h"

namespace testtree {

inline std::wstring W(const std::string& utf8) { return WideFromUtf8(utf8); }
// A GBK name of the tests' sources ("日历\\201701") as UTF-8.
inline std::string U(const std::string& gbk) { return Utf8FromGbk(gbk); }

inline void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(W(dir + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::string path = dir + "\\" + Utf8FromWide(name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(W(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(W(path).c_str());
            }
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    RemoveDirectoryW(W(dir).c_str());
}

// <temp>\<prefix>-<process id>-<name>, emptied.
inline std::string FreshFolder(const std::string& prefix, const std::string& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string dir = Utf8FromWide(temp) + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    RemoveTree(dir);
    return dir;
}

}  // namespace testtree

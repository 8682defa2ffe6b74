// A fresh folder tree for a test under the temporary folder: removed before and after use.
#pragma once

#include <windows.h>

#include <string>

namespace testtree {

inline void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

// <temp>\<prefix>-<process id>-<name>, emptied.
inline std::string FreshFolder(const std::string& prefix, const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    RemoveTree(dir);
    return dir;
}

}  // namespace testtree

// Note store file helpers on Win32.
#include "notes/note_files.h"

#include <windows.h>
#include <shlobj.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

WriteStepHook g_writeStepHook = nullptr;

bool Step(int step) { return g_writeStepHook == nullptr || g_writeStepHook(step); }

// A handle closed when it leaves scope.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE h) : h_(h) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const bool ok = !valid() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

constexpr DWORD kMaxReadBytes = 256u * 1024u * 1024u;  // no note file comes near this

}  // namespace

void SetWriteStepHook(WriteStepHook hook) { g_writeStepHook = hook; }

int EnterFolder(const char* path) {
    if (SetCurrentDirectoryA(path)) return 0;
    CreateDirectoryA(path, nullptr);
    return SetCurrentDirectoryA(path) ? 0 : -1;
}

int WriteWholeFile(const char* path, const char* bytes, int n) {
    if (path == nullptr || n < 0 || (n > 0 && bytes == nullptr)) return -1;
    const std::string temp = std::string(path) + ".new";
    {
        ScopedHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return -1;
        if (!Step(1)) return -1;
        DWORD written = 0;
        const bool whole = n == 0 || (WriteFile(file.get(), bytes, static_cast<DWORD>(n), &written, nullptr) &&
                                      written == static_cast<DWORD>(n));
        if (!whole) {
            file.Close();
            DeleteFileA(temp.c_str());
            return -1;
        }
        if (!Step(2)) return -1;
        if (!FlushFileBuffers(file.get()) || !file.Close()) {
            DeleteFileA(temp.c_str());
            return -1;
        }
    }
    if (!Step(3) || !Step(4)) return -1;
    if (!MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return -1;
    }
    return 0;
}

std::unique_ptr<char[]> ReadWholeFile(const char* path, int* size) {
    *size = 0;
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file.get(), &length) || length.QuadPart < 0 || length.QuadPart > kMaxReadBytes) return nullptr;
    const DWORD want = static_cast<DWORD>(length.QuadPart);
    std::unique_ptr<char[]> buffer(new char[want + 1]);
    DWORD got = 0;
    if (want > 0 && (!ReadFile(file.get(), buffer.get(), want, &got, nullptr) || got != want)) return nullptr;
    buffer[want] = '\0';
    *size = static_cast<int>(want);
    return buffer;
}

int RemoveFile(const char* path) {
    if (DeleteFileA(path)) return 0;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
}

int SetUpNoteFolders() {
    char documents[MAX_PATH] = {};
    int failures = 0;
    if (!SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE)) ++failures;
    const std::string root = std::string(documents) + "\\我的记事";
    failures += EnterFolder(root.c_str()) != 0;
    failures += EnterFolder("日历") != 0;
    failures += EnterFolder("..") != 0;
    failures += EnterFolder("备忘") != 0;
    failures += EnterFolder("..") != 0;
    return failures == 0 ? 0 : -1;
}

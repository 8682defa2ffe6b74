// Note store file helpers on Win32.
#include "notes/note_files.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "platform/handles.h"
#include "platform/log.h"
#include "platform/wide_text.h"

namespace {

WriteStepHook g_writeStepHook = nullptr;
std::string g_root;  // empty while the store is not ready

bool Step(int step) { return g_writeStepHook == nullptr || g_writeStepHook(step); }

// Paths are UTF-8 inside the store and UTF-16 at every call.
std::wstring W(const std::string& path) { return WideFromUtf8(path); }

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(W(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder at path, created (one level) when missing. False when path is not a folder after.
bool MakeFolder(const std::string& path) {
    if (IsFolder(path)) return true;
    CreateDirectoryW(W(path).c_str(), nullptr);
    return IsFolder(path);
}

bool Exists(const std::string& path) { return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// The bytes of small files read lately, with the size and time of last write they had. Opening a
// file costs some hundred microseconds under Wine while asking for its attributes costs about ten,
// and the grid reads the same yearly and weekly lists for every month it shows. Every write,
// removal and rename of the store forgets the file it touches; a file changed by anyone else has
// another time of last write.
class RecentFiles {
public:
    bool Find(const std::string& path, const WIN32_FILE_ATTRIBUTE_DATA& now, FileBytes* out) const {
        const auto it = files_.find(path);
        if (it == files_.end() || !Same(it->second.stamp, now)) return false;
        const std::string& bytes = it->second.bytes;
        out->data.reset(new char[bytes.size() + 1]);
        std::memcpy(out->data.get(), bytes.data(), bytes.size());
        out->data[bytes.size()] = '\0';
        out->size = static_cast<int>(bytes.size());
        out->status = ReadStatus::Ok;
        return true;
    }
    void Keep(const std::string& path, const WIN32_FILE_ATTRIBUTE_DATA& stamp, const FileBytes& file) {
        if (file.status != ReadStatus::Ok || file.size > kMaxKeptBytes) return;
        if (files_.size() >= kMaxFiles) files_.clear();
        files_[path] = Entry{stamp, std::string(file.data.get(), static_cast<size_t>(file.size))};
    }
    void Forget(const std::string& path) { files_.erase(path); }

private:
    static constexpr size_t kMaxFiles = 64;
    static constexpr int kMaxKeptBytes = 64 * 1024;
    struct Entry {
        WIN32_FILE_ATTRIBUTE_DATA stamp;
        std::string bytes;
    };
    static bool Same(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
        return CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 && a.nFileSizeLow == b.nFileSizeLow &&
               a.nFileSizeHigh == b.nFileSizeHigh;
    }
    std::map<std::string, Entry> files_;
};

RecentFiles& Recent() {
    static RecentFiles recent;  // the store runs on the one user-interface thread
    return recent;
}

}  // namespace

void SetWriteStepHook(WriteStepHook hook) { g_writeStepHook = hook; }

namespace {

bool IsFolderW(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// GBK bytes read in another code page, as a program calling the "A" functions made them on such a
// system.
std::wstring InCodePage(unsigned codePage, const char* gbk) {
    const int n = MultiByteToWideChar(codePage, 0, gbk, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, gbk, -1, &out[0], n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// Moves the files of folder from into folder to; a name to already has is kept beside it as
// "<name>.conflict" (".conflict.2" ...). Nothing is deleted. The number of files moved.
int MoveFilesInto(const std::wstring& from, const std::wstring& to) {
    int moved = 0;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring source = from + L"\\" + found.cFileName;
        std::wstring target = to + L"\\" + found.cFileName;
        for (int n = 1; GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES && n < 1000; ++n)
            target = to + L"\\" + found.cFileName + L".conflict" + (n == 1 ? L"" : L"." + std::to_wstring(n));
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
            ++moved;
        } else {
            LogFailure("old note file not moved", Utf8FromWide(source), GetLastError());
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return moved;
}

}  // namespace

bool MergeGarbledNotesFolder(const std::wstring& documents, unsigned codePage) {
    if (codePage == 936 || documents.empty()) return false;
    const std::wstring oldRoot = documents + L"\\" + InCodePage(codePage, kNotesFolderName);
    const std::wstring newRoot = documents + L"\\" + WideFromGbk(kNotesFolderName);
    if (oldRoot == newRoot || !IsFolderW(oldRoot)) return false;
    CreateDirectoryW(newRoot.c_str(), nullptr);
    int moved = 0;
    for (const char* sub : {"日历", "备忘"}) {
        const std::wstring from = oldRoot + L"\\" + InCodePage(codePage, sub);
        const std::wstring to = newRoot + L"\\" + WideFromGbk(sub);
        if (!IsFolderW(from)) continue;
        CreateDirectoryW(to.c_str(), nullptr);
        moved += MoveFilesInto(from, to);
        RemoveDirectoryW(from.c_str());  // only when it is empty
    }
    moved += MoveFilesInto(oldRoot, newRoot);
    RemoveDirectoryW(oldRoot.c_str());
    LogLine("notes of an earlier build's folder moved: %d files", moved);
    const std::string oldName = GbkFromWide(InCodePage(codePage, kNotesFolderName));
    TellUser("以前的版本把记事存在了文档文件夹的“" + oldName + "”中（系统的非Unicode程序语言不是简体中文时）。其中的" +
             std::to_string(moved) + "个文件已移到“我的记事”；同名的文件都保留了下来，名字后加了“.conflict”。");
    return true;
}

bool SetUpNoteRoot(const char* root) {
    g_root.clear();
    if (root == nullptr || root[0] == '\0') return false;
    std::string path(root);
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    // Every file of the store must be reachable without the long-path prefix.
    if (W(path).size() + kLongestRelativeName >= MAX_PATH) {
        LogFailure("notes folder path too long", path, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (!MakeFolder(path) || !MakeFolder(path + "\\" + Utf8FromGbk("日历")) ||
        !MakeFolder(path + "\\" + Utf8FromGbk("备忘")))
        return false;
    g_root = path;
    return true;
}

bool SetUpNoteFolders() {
    wchar_t documents[MAX_PATH] = {};
    const bool found = SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)) &&
                       documents[0] != L'\0';
    const std::string root = Utf8FromWide(found ? documents : L"") + "\\" + Utf8FromGbk(kNotesFolderName);
    if (found) MergeGarbledNotesFolder(documents, GetACP());
    if (found && SetUpNoteRoot(root.c_str())) return true;
    g_root.clear();
    TellUser("记事文件夹“" + GbkFromUtf8(root) + "”或其中的“日历”“备忘”无法使用：这次运行中记事和记事小本都不能保存。");
    return false;
}

bool NoteStoreReady() { return !g_root.empty(); }

std::string NotePath(const char* relative) {
    if (g_root.empty() || relative == nullptr) return std::string();
    return g_root + "\\" + Utf8FromGbk(relative);
}

namespace {

// A failed step of a write: logged with its reason; the temporary file, when made, goes.
WinResult WriteFailed(const std::string& path, const std::string& temp, DWORD error) {
    LogFailure("note file not written", path, error);
    if (!temp.empty()) DeleteFileW(W(temp).c_str());
    return WinResult::Failed(error);
}

}  // namespace

WinResult WriteWholeFile(const std::string& path, const char* bytes, int n) {
    if (path.empty() || n < 0 || (n > 0 && bytes == nullptr)) return WinResult::Failed(ERROR_INVALID_PARAMETER);
    Recent().Forget(path);
    const std::string temp = path + ".new";
    {
        ScopedFile file(
            CreateFileW(W(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return WriteFailed(path, "", GetLastError());
        if (!Step(1)) return WinResult::Failed(ERROR_CANCELLED);
        DWORD written = 0;
        const bool whole = n == 0 || (WriteFile(file.get(), bytes, static_cast<DWORD>(n), &written, nullptr) &&
                                      written == static_cast<DWORD>(n));
        if (!whole) {
            const DWORD error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_HANDLE_DISK_FULL;
            file.Close();
            return WriteFailed(path, temp, error);
        }
        if (!Step(2)) return WinResult::Failed(ERROR_CANCELLED);
        if (!FlushFileBuffers(file.get()) || !file.Close()) return WriteFailed(path, temp, GetLastError());
    }
    if (!Step(3) || !Step(4)) return WinResult::Failed(ERROR_CANCELLED);
    if (!MoveFileExW(W(temp).c_str(), W(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return WriteFailed(path, temp, GetLastError());
    return WinResult::Ok();
}

namespace {

FileBytes ReadFromDisk(const std::string& path);

}  // namespace

FileBytes ReadWholeFile(const std::string& path, ReadFrom from) {
    FileBytes out;
    if (path.empty()) return out;
    WIN32_FILE_ATTRIBUTE_DATA stamp{};
    const bool haveStamp = GetFileAttributesExW(W(path).c_str(), GetFileExInfoStandard, &stamp) != FALSE;
    if (from == ReadFrom::Cache && haveStamp && !(stamp.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        Recent().Find(path, stamp, &out))
        return out;
    Recent().Forget(path);
    out = ReadFromDisk(path);
    if (haveStamp) Recent().Keep(path, stamp, out);
    return out;
}

namespace {

FileBytes ReadFromDisk(const std::string& path) {
    FileBytes out;
    ScopedFile file;
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (attempt > 0) {
            LogFailure("note file held, reading again", path, error);
            Sleep(25);
        }
        *file.out() = CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file.valid() ? ERROR_SUCCESS : GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) break;
    }
    if (!file.valid()) {
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        out.status = missing ? ReadStatus::Missing : ReadStatus::Unreadable;
        if (!missing) {
            out.error = error;
            LogFailure("note file not read", path, error);
        }
        return out;
    }
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file.get(), &length) || length.QuadPart < 0) {
        out.status = ReadStatus::Unreadable;
        out.error = GetLastError();
        LogFailure("note file not read", path, out.error);
        return out;
    }
    if (length.QuadPart > kMaxNoteFileBytes) {
        out.status = ReadStatus::TooLarge;
        out.error = ERROR_FILE_TOO_LARGE;
        LogFailure("note file too large", path, out.error);
        return out;
    }
    const DWORD want = static_cast<DWORD>(length.QuadPart);
    std::unique_ptr<char[]> buffer(new char[want + 1]);
    DWORD got = 0;
    if (want > 0 && (!ReadFile(file.get(), buffer.get(), want, &got, nullptr) || got != want)) {
        out.status = ReadStatus::Unreadable;
        out.error = got != want && GetLastError() == ERROR_SUCCESS ? ERROR_HANDLE_EOF : GetLastError();
        LogFailure("note file not read", path, out.error);
        return out;
    }
    buffer[want] = '\0';
    out.status = ReadStatus::Ok;
    out.data = std::move(buffer);
    out.size = static_cast<int>(want);
    return out;
}

}  // namespace

WinResult RemoveFile(const std::string& path) {
    if (path.empty()) return WinResult::Failed(ERROR_INVALID_PARAMETER);
    Recent().Forget(path);
    DeleteFileW(W(path + ".new").c_str());
    if (DeleteFileW(W(path).c_str())) return WinResult::Ok();
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return WinResult::Ok();
    LogFailure("note file not removed", path, error);
    return WinResult::Failed(error);
}

namespace {

// Puts the file at path under the first free name of path + suffix, suffix + ".2" ... with place
// (a move or a copy that fails on a name taken meanwhile).
template <class Place>
bool PlaceAside(const std::string& path, const char* suffix, std::string* keptAs, Place place) {
    if (keptAs) keptAs->clear();
    if (path.empty() || suffix == nullptr) return false;
    Recent().Forget(path);
    if (!Exists(path)) return true;
    for (int n = 1; n < 1000; ++n) {
        const std::string kept = path + suffix + (n == 1 ? std::string() : "." + std::to_string(n));
        if (Exists(kept)) continue;
        if (place(W(path), W(kept))) {
            if (keptAs) *keptAs = kept;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

}  // namespace

bool KeepFileAside(const std::string& path, const char* suffix, std::string* keptAs) {
    return PlaceAside(path, suffix, keptAs, [](const std::wstring& from, const std::wstring& to) {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    });
}

bool CopyFileAside(const std::string& path, const char* suffix, std::string* keptAs) {
    return PlaceAside(path, suffix, keptAs, [](const std::wstring& from, const std::wstring& to) {
        return CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
    });
}

bool KeepDamagedFile(const std::string& path, std::string* keptAs) { return KeepFileAside(path, ".damaged", keptAs); }

namespace {

std::vector<std::string>& Notices() {
    static std::vector<std::string> notices;
    return notices;
}

}  // namespace

void TellUser(const std::string& text) {
    LogLine("notice queued for the user (%u bytes)", static_cast<unsigned>(text.size()));
    Notices().push_back(text);
}

std::vector<std::string> TakeNotices() {
    std::vector<std::string> out;
    out.swap(Notices());
    return out;
}

std::string RelativeToRoot(const std::string& path) {
    if (!g_root.empty() && path.size() > g_root.size() + 1 && path.compare(0, g_root.size(), g_root) == 0 &&
        path[g_root.size()] == '\\')
        return GbkFromUtf8(path.substr(g_root.size() + 1));
    return GbkFromUtf8(path);
}

void TellDamagedFile(const std::string& path) {
    static std::set<std::string> told;
    if (path.empty() || !told.insert(path).second) return;
    const std::string name = RelativeToRoot(path);
    TellUser("记事文件“" + name + "”已损坏：只显示损坏处之前的记事。下次修改这个文件里的记事时，原文件会保留为“" + name +
             ".damaged”，放在它旁边。");
}

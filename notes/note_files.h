// File helpers of the note store (Windows): the notes root, whole-file reads that say why they
// found nothing, whole-file writes that replace the old file in one step, and the keeping of a
// damaged file beside its name. Paths are UTF-8 (any character a Windows path may hold); the names
// relative to the notes root that callers pass are GBK, as the core's text is.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win_result.h"

// The largest file a read takes whole: above the largest valid list (2 + 32 x (8 + 65,535) bytes)
// and above the largest memo the pad saves (kMaxMemoBytes).
constexpr int kMaxNoteFileBytes = 4 * 1024 * 1024;

// The notes root: the folder under which every list and memo file lives, as a full path. The
// store never changes the process's current directory and never writes outside the root.
//
// The notes folder's name under the documents folder (GBK).
constexpr const char* kNotesFolderName = "我的记事";
// The longest name relative to the root the store makes ("备忘\default.conflict.NNN.new"), in
// UTF-16 units with its separator: the root must leave room for it within MAX_PATH.
constexpr size_t kLongestRelativeName = 32;

// Sets up <documents folder>\我的记事 with its folders "日历" and "备忘" (SetUpNoteRoot), after
// merging a folder an earlier build left under a garbled name (MergeGarbledNotesFolder); when the
// folder cannot be used the user is told (TellUser).
bool SetUpNoteFolders();
// An earlier build named its folders with the "A" functions: on a system whose code page for
// non-Unicode programs is not 936, "我的记事" (and "日历", "备忘" in it) got the names its GBK bytes
// read as in that code page. When such a folder is in documents, its files move into the real
// folders (a name already there is kept beside it as "<name>.conflict", ".conflict.2" ...; nothing is
// deleted), the emptied folders go, and the user is told once. True when one was found.
bool MergeGarbledNotesFolder(const std::wstring& documents, unsigned codePage);
// Sets up root (UTF-8) with "日历" and "备忘", creating what is missing, and makes it the notes root.
// True when all three are folders; else false and the store is not ready: every save then fails
// and writes nothing anywhere, and reads find nothing. A root too long for every file of the store
// to stay within MAX_PATH is refused the same way.
bool SetUpNoteRoot(const char* root);
// True after a successful SetUpNoteRoot.
bool NoteStoreReady();
// root + "\" + relative, or "" when the store is not ready (or relative is null).
std::string NotePath(const char* relative);

enum class ReadStatus {
    Ok,          // the whole file was read
    Missing,     // no such file (or the store is not ready)
    Unreadable,  // it exists but could not be opened or read whole
    TooLarge,    // larger than kMaxNoteFileBytes
};

struct FileBytes {
    ReadStatus status = ReadStatus::Missing;
    std::unique_ptr<char[]> data;  // size bytes and a NUL after them; null unless Ok
    int size = 0;
    unsigned long error = 0;  // why it is Unreadable or TooLarge (a system error code), else 0
};

// Where a read may take its bytes from: the store's cache of small files read lately (keyed by
// size and time of last write), or only the disk. A read that comes before a write, and a read
// that shows a note to edit, goes to the disk: another program may have changed the file without
// changing its size or time (FAT's 2-second times, a copy that keeps times, a file renamed over it).
enum class ReadFrom { Cache, Disk };

// Reads the whole of path. A file another program holds open without sharing (a backup or a
// virus scan, for a moment) is tried again a few times before it counts as unreadable.
FileBytes ReadWholeFile(const std::string& path, ReadFrom from = ReadFrom::Cache);

// Writes n bytes as the whole content of path. The bytes go to path + ".new" in the same folder,
// are flushed to disk, and then replace path in one step, so a crash, a power cut or a full disk
// leaves either the old file or the new one. A failure (the old file untouched) carries its
// reason and is logged.
WinResult WriteWholeFile(const std::string& path, const char* bytes, int n);

// Removes path, and a ".new" left beside it by an interrupted write. Ok when path is gone (or
// never was); a failure (path stays) carries its reason and is logged.
WinResult RemoveFile(const std::string& path);

// Renames path to the first free name of path + suffix, suffix + ".2", suffix + ".3" ... so the
// file survives the rewrite that follows; *keptAs (when given) is that name. True when it was
// moved or there is no file at path any more (*keptAs then ""); false when it stays under its name.
bool KeepFileAside(const std::string& path, const char* suffix, std::string* keptAs = nullptr);
// KeepFileAside, but a copy: the file stays under its name too.
bool CopyFileAside(const std::string& path, const char* suffix, std::string* keptAs = nullptr);
// KeepFileAside with ".damaged": a file that could not be read whole.
bool KeepDamagedFile(const std::string& path, std::string* keptAs = nullptr);

// What the user must be told about the notes: damaged files (each once), a notes folder that
// cannot be used, a memo changed elsewhere. The store queues the texts (GBK); the main window
// takes them and shows them.
void TellUser(const std::string& text);
std::vector<std::string> TakeNotices();
// Queues, the first time path is met in a run, the notice of a damaged note file: which file,
// that the notes before the damage are shown, and the name the original will be kept under.
void TellDamagedFile(const std::string& path);
// path relative to the notes root ("日历\\202704"), or path itself when it lies elsewhere, as GBK
// text to show the user.
std::string RelativeToRoot(const std::string& path);

// Test hook: called before each step of WriteWholeFile (1 = temporary file created, 2 = bytes
// written, 3 = flushed and closed, 4 = about to replace). A hook returning false stops the write
// there, as a crash would: the temporary file is left behind and WriteWholeFile returns false.
using WriteStepHook = bool (*)(int step);
void SetWriteStepHook(WriteStepHook hook);

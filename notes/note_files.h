// File helpers of the note store (Windows): the notes root, whole-file reads that say why they
// found nothing, whole-file writes that replace the old file in one step, and the keeping of a
// damaged file beside its name. Paths are ANSI (GBK).
#pragma once

#include <memory>
#include <string>

// The largest file a read takes whole: above the largest valid list (2 + 32 x (8 + 65,535) bytes)
// and above the largest memo the pad saves (kMaxMemoBytes).
constexpr int kMaxNoteFileBytes = 4 * 1024 * 1024;

// The notes root: the folder under which every list and memo file lives, as a full path. The
// store never changes the process's current directory and never writes outside the root.
//
// Sets up <documents folder>\我的记事 with its folders "日历" and "备忘" (SetUpNoteRoot).
bool SetUpNoteFolders();
// Sets up root with "日历" and "备忘", creating what is missing, and makes it the notes root.
// True when all three are folders; else false and the store is not ready: every save then fails
// and writes nothing anywhere, and reads find nothing.
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
};

// Reads the whole of path. A file another program holds open without sharing (a backup or a
// virus scan, for a moment) is tried again a few times before it counts as unreadable.
FileBytes ReadWholeFile(const std::string& path);

// Writes n bytes as the whole content of path. The bytes go to path + ".new" in the same folder,
// are flushed to disk, and then replace path in one step, so a crash, a power cut or a full disk
// leaves either the old file or the new one. False when it failed (the old file untouched).
bool WriteWholeFile(const std::string& path, const char* bytes, int n);

// Removes path, and a ".new" left beside it by an interrupted write. True when path is gone (or
// never was), false when it stays.
bool RemoveFile(const std::string& path);

// Renames path to the first free name of path + ".damaged", ".damaged.2", ".damaged.3" ... so a
// file that could not be read whole survives the rewrite that follows; *keptAs (when given) is
// that name. True when it was moved or there is no file at path any more (*keptAs then ""); false
// when it stays under its name.
bool KeepDamagedFile(const std::string& path, std::string* keptAs = nullptr);

// Test hook: called before each step of WriteWholeFile (1 = temporary file created, 2 = bytes
// written, 3 = flushed and closed, 4 = about to replace). A hook returning false stops the write
// there, as a crash would: the temporary file is left behind and WriteWholeFile returns false.
using WriteStepHook = bool (*)(int step);
void SetWriteStepHook(WriteStepHook hook);

// File helpers of the note store (Windows): folders, whole-file reads, and whole-file writes that
// replace the old file in one step. Paths are ANSI (GBK) and relative to the current directory.
#pragma once

#include <memory>

// Makes path the current directory, creating it (one level) when needed. 0, or -1 when it can be
// neither entered nor created and entered.
int EnterFolder(const char* path);

// Writes n bytes as the whole content of path. The bytes go to a temporary file in the same
// folder, are flushed to disk, and then replace path in one step, so a crash, a power cut or a
// full disk leaves either the old file or the new one. 0, or -1 (the old file untouched).
int WriteWholeFile(const char* path, const char* bytes, int n);

// The whole content of path with a NUL after the last byte; *size = its length. Null (and
// *size = 0) when the file cannot be opened or read whole.
std::unique_ptr<char[]> ReadWholeFile(const char* path, int* size);

// Removes path. 0 when it is gone (or never was), -1 when it stays.
int RemoveFile(const char* path);

// Sets the notes root up and makes it the current directory: the documents folder followed by
// "\我的记事", with its folders "日历" and "备忘". Each step's failure is ignored, as the store
// works relative to whatever directory is current. Returns 0 when every step succeeded.
int SetUpNoteFolders();

// Test hook: called before each step of WriteWholeFile (1 = temporary file created, 2 = bytes
// written, 3 = flushed and closed, 4 = about to replace). A hook returning false stops the write
// there, as a crash would: the temporary file is left behind and WriteWholeFile returns -1.
using WriteStepHook = bool (*)(int step);
void SetWriteStepHook(WriteStepHook hook);

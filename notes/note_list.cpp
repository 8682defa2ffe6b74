// Note lists and the memo file.
#include "notes/note_list.h"

#include <cstdio>

#include "notes/note_files.h"

void NoteList::Open(int lastIndex, const char* fileName) {
    m_entries.clear();
    m_entries.resize(static_cast<size_t>(lastIndex < 0 ? 0 : lastIndex + 1));
    m_lastIndex = lastIndex;
    std::snprintf(m_fileName, sizeof m_fileName, "%s", fileName);
}

int NoteList::OpenMonth(int a, int b) {
    char name[32];
    std::snprintf(name, sizeof name, "日历\\%d%02d", a, b);
    Open(31, name);
    return Load();
}

int NoteList::OpenWeek() {
    Open(7, "日历\\week");
    return Load();
}

int NoteList::Load() {
    ClearEntries();
    int size = 0;
    const std::unique_ptr<char[]> data = ReadWholeFile(m_fileName, &size);
    if (!data || m_lastIndex < 0) return 0;
    return DecodeNoteList(data.get(), static_cast<size_t>(size), m_entries.data(), m_lastIndex);
}

int NoteList::Save() {
    const std::vector<char> bytes = EncodeNoteList(m_entries.data(), m_lastIndex);
    if (bytes.empty()) return RemoveFile(m_fileName);
    return WriteWholeFile(m_fileName, bytes.data(), static_cast<int>(bytes.size()));
}

int NoteList::SetEntry(int index, const char* text, int length, uint32_t colourWord) {
    if (index < 0 || index > m_lastIndex) return -1;
    if (m_entries[static_cast<size_t>(index)].Assign(text, length, colourWord) != 0) return -1;
    return Save();
}

void NoteList::ClearEntries() {
    for (NoteEntry& e : m_entries) e.Clear();
}

namespace {

constexpr size_t kMemoPathSize = 260;

bool MemoPath(const char* name, char* path, size_t size) {
    const int n = std::snprintf(path, size, "备忘\\%s", name);
    return n > 0 && static_cast<size_t>(n) < size;
}

}  // namespace

int SaveMemo(const char* name, const char* text, int length) {
    char path[kMemoPathSize];
    if (!MemoPath(name, path, sizeof path)) return -1;
    if (length <= 0) return RemoveFile(path);
    return WriteWholeFile(path, text, length);
}

std::unique_ptr<char[]> LoadMemo(const char* name, int* size) {
    char path[kMemoPathSize];
    *size = 0;
    if (!MemoPath(name, path, sizeof path)) return nullptr;
    return ReadWholeFile(path, size);
}

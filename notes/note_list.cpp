// Note lists and the memo file.
#include "notes/note_list.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "notes/note_files.h"
#include "platform/wide_text.h"

void NoteList::Open(int lastIndex, const char* fileName) {
    m_entries.clear();
    m_entries.resize(static_cast<size_t>(lastIndex < 0 ? 0 : lastIndex + 1));
    m_lastIndex = lastIndex;
    m_damage = Damage::None;
    std::snprintf(m_fileName, sizeof m_fileName, "%s", fileName);
}

bool NoteList::OpenMonthFile(int prefix, int month, int lastIndex) {
    char name[32];
    std::snprintf(name, sizeof name, "日历\\%d%02d", prefix, month);
    Open(lastIndex, name);
    return Load();
}

bool NoteList::OpenDated(int year, int month) { return OpenMonthFile(year, month, 31); }
bool NoteList::OpenSolarYearly(int month) { return OpenMonthFile(1, month, 31); }
bool NoteList::OpenLunarYearly(int lunarMonth) { return OpenMonthFile(0, lunarMonth, 31); }

bool NoteList::OpenWeekly() {
    Open(7, "日历\\week");
    return Load();
}

bool NoteList::Load(ReadFrom from) {
    if (m_lastIndex < 0) {
        m_damage = Damage::None;
        return true;
    }
    const std::string path = NotePath(m_fileName);
    const FileBytes file = ReadWholeFile(path, from);
    if (file.status == ReadStatus::Unreadable) {
        // Held open by another program for now: what was read before stays on screen.
        m_damage = Damage::Unreadable;
        return false;
    }
    ClearEntries();
    m_damage = Damage::None;
    if (file.status == ReadStatus::Missing) return true;
    if (file.status == ReadStatus::Ok &&
        DecodeNoteList(file.data.get(), static_cast<size_t>(file.size), m_entries.data(), m_lastIndex) == 0)
        return true;
    m_damage = Damage::BadRecords;
    TellDamagedFile(path);
    return false;
}

bool NoteList::Save() {
    const std::string path = NotePath(m_fileName);
    if (path.empty()) return false;
    std::string kept;
    if (Damaged() && !KeepDamagedFile(path, &kept)) return false;
    const std::vector<char> bytes = EncodeNoteList(m_entries.data(), m_lastIndex);
    const WinResult written = bytes.empty() ? RemoveFile(path)
                                            : WriteWholeFile(path, bytes.data(), static_cast<int>(bytes.size()));
    if (!written) {
        // The damaged file goes back under its name: the list on disk stays as it was.
        if (!kept.empty()) MoveFileExW(WideFromUtf8(kept).c_str(), WideFromUtf8(path).c_str(), MOVEFILE_WRITE_THROUGH);
        return false;
    }
    m_damage = Damage::None;
    return true;
}

bool NoteList::SetEntry(int index, const char* text, int length, uint32_t colourWord) {
    if (index < 0 || index > m_lastIndex) return false;
    Load(ReadFrom::Disk);
    if (Unreadable()) return false;
    NoteEntry& entry = m_entries[static_cast<size_t>(index)];
    NoteEntry before = std::move(entry);
    if (entry.Assign(text, length, colourWord) != 0 || !Save()) {
        entry = std::move(before);
        return false;
    }
    return true;
}

void NoteList::ClearEntries() {
    for (NoteEntry& e : m_entries) e.Clear();
}

namespace {

// Memo files that did not load whole, by path: kept aside before their first rewrite.
std::set<std::string>& DamagedMemos() {
    static std::set<std::string> paths;
    return paths;
}

std::string MemoPath(const char* name) {
    if (name == nullptr || name[0] == '\0') return std::string();
    return NotePath((std::string("备忘\\") + name).c_str());
}

}  // namespace

bool SaveMemo(const char* name, const char* text, int length) {
    const std::string path = MemoPath(name);
    if (path.empty() || length < 0 || length > kMaxMemoBytes || (length > 0 && text == nullptr)) return false;
    std::string kept;
    const bool damaged = DamagedMemos().count(path) != 0;
    if (damaged && !KeepDamagedFile(path, &kept)) return false;
    const WinResult written = length == 0 ? RemoveFile(path) : WriteWholeFile(path, text, length);
    if (!written) {
        if (!kept.empty()) MoveFileExW(WideFromUtf8(kept).c_str(), WideFromUtf8(path).c_str(), MOVEFILE_WRITE_THROUGH);
        return false;
    }
    DamagedMemos().erase(path);
    return true;
}

MemoRead ReadMemo(const char* name, std::string* text) {
    text->clear();
    const std::string path = MemoPath(name);
    if (path.empty()) return MemoRead::Missing;
    FileBytes file = ReadWholeFile(path, ReadFrom::Disk);
    if (file.status == ReadStatus::Missing) {
        DamagedMemos().erase(path);
        return MemoRead::Missing;
    }
    if (file.status == ReadStatus::Unreadable) return MemoRead::Unreadable;
    const bool whole = file.status == ReadStatus::Ok &&
                       std::memchr(file.data.get(), '\0', static_cast<size_t>(file.size)) == nullptr;
    if (!whole) {
        DamagedMemos().insert(path);
        if (file.status == ReadStatus::Ok) {
            // A NUL where an edit control would stop: the text before it is shown, as the notice says.
            text->assign(file.data.get());
            TellDamagedFile(path);
        } else {
            TellUser("记事小本的文件“" + RelativeToRoot(path) + "”太大，没有显示。下次保存记事小本时，原文件会保留为“" +
                     RelativeToRoot(path) + ".damaged”，放在它旁边。");
        }
        return MemoRead::Damaged;
    }
    DamagedMemos().erase(path);
    text->assign(file.data.get(), static_cast<size_t>(file.size));
    return MemoRead::Ok;
}

bool KeepMemoConflict(const char* name, std::string* keptAs) {
    std::string kept;
    const bool moved = KeepFileAside(MemoPath(name), ".conflict", &kept);
    *keptAs = RelativeToRoot(kept);
    return moved;
}

// MonthNoteLists.
#include "notes/month_notes.h"

#include <string>

#include "notes/note_files.h"
#include "platform/log.h"

namespace {

// A note's text as it is stored: without the blanks the user left before it. When the note on disk
// is no longer the one the dialog was given (another program or PC changed it meanwhile) and not
// what the user confirmed either, the other version is kept: after the user's text, or whole as
// "<list>.conflict" beside the list when both do not fit in one note; the user is told.
bool SetTrimmed(NoteList* list, int index, const ConfirmedNote& note) {
    CString text = note.value.text;
    text.TrimLeft();
    std::string mine(text, static_cast<size_t>(text.GetLength()));
    if (list->Load(ReadFrom::Disk) && !list->Unreadable()) {
        const NoteEntry& now = list->Entry(index);
        const std::string theirs = now.Present() ? std::string(now.text.get(), now.length) : std::string();
        CString given = note.given;
        given.TrimLeft();
        if (theirs != std::string(given, static_cast<size_t>(given.GetLength())) && theirs != mine && !theirs.empty()) {
            const std::string path = NotePath(list->FileName());
            const bool together = MergeConflictingNote(mine, theirs, &mine);
            // A list kept by an earlier conflict stays: this one goes to ".conflict.2" and on.
            std::string kept;
            if (!together && (!CopyFileAside(path, ".conflict", &kept) || kept.empty()))
                return false;  // nothing is written over what cannot be kept
            LogLine("note changed elsewhere while its dialog was open: both kept (%s)", path.c_str());
            const std::string name = RelativeToRoot(path);
            TellUser("记事文件“" + name + "”里的这条记事在别处（另一台电脑或另一个程序）被改过：" +
                     (together ? std::string("两边的内容都保留在这条记事里，另一处的写在“（另一处的修改）”之后。")
                               : "这里保存的是您刚写的内容，另一处的那一版完整保留在“" + RelativeToRoot(kept) + "”中。"));
        }
    }
    return list->SetEntry(index, mine.c_str(), static_cast<int>(mine.size()), note.value.colourWord);
}

NoteValue ValueOf(const NoteList& list, int index) {
    NoteValue value = NoteValueOf(list.Entry(index));
    value.unreadable = list.Unreadable();
    return value;
}

}  // namespace

void MonthNoteLists::Open(const MonthLayout& layout) {
    m_layout = layout;
    // Each list is read once: the lunar lists only for the lunar months the month touches.
    m_dated.OpenDated(layout.year, layout.month);
    m_solarYearly.OpenSolarYearly(layout.month);
    m_lunarKeys = LunarListKeysOf(layout);
    for (int slot = 0; slot < kLunarSlots; ++slot) {
        if (m_lunarKeys.month[slot] != 0) {
            m_lunar[slot].OpenLunarYearly(m_lunarKeys.month[slot]);
        } else {
            m_lunar[slot].Close();
        }
    }
    m_weekly.OpenWeekly();
}

void MonthNoteLists::Reload(ReadFrom from) {
    if (m_layout.daysInMonth == 0) return;
    m_dated.Load(from);
    m_solarYearly.Load(from);
    for (NoteList& l : m_lunar) l.Load(from);
    m_weekly.Load(from);
}

bool MonthNoteLists::AnyUnreadable() const {
    bool unreadable = m_dated.Unreadable() || m_solarYearly.Unreadable() || m_weekly.Unreadable();
    for (const NoteList& l : m_lunar) unreadable = unreadable || l.Unreadable();
    return unreadable;
}

MonthNotes MonthNoteLists::View() const {
    MonthNotes n;
    n.unreadable = AnyUnreadable();
    n.month = m_dated.LastIndex() >= 31 ? &m_dated.Entry(0) : nullptr;
    n.solarYearly = m_solarYearly.LastIndex() >= 31 ? &m_solarYearly.Entry(0) : nullptr;
    for (int slot = 0; slot < kLunarSlots; ++slot)
        n.lunar[slot] = m_lunar[slot].LastIndex() >= 31 ? &m_lunar[slot].Entry(0) : nullptr;
    n.weekly = m_weekly.LastIndex() >= 7 ? &m_weekly.Entry(0) : nullptr;
    return n;
}

void MonthNoteLists::DayValues(int day, NoteValue values[3]) {
    NoteList* lists[3] = {&m_dated, &m_solarYearly, &LunarList(day)};
    for (NoteList* l : lists) l->Load(ReadFrom::Disk);
    values[0] = ValueOf(m_dated, day);
    values[1] = ValueOf(m_solarYearly, day);
    const DayNotes notes = NotesOfDay(m_layout, View(), day);
    values[2] = notes.lunarYearly != nullptr ? NoteValueOf(*notes.lunarYearly) : NoteValue{};
    values[2].unreadable = lists[2]->Unreadable();
}

NoteValue MonthNoteLists::WeeklyValue(int weekday) {
    m_weekly.Load(ReadFrom::Disk);
    return ValueOf(m_weekly, weekday);
}

bool MonthNoteLists::SaveDay(int day, const ConfirmedNote* notes, int count) {
    if (day < 1 || day > m_layout.daysInMonth || count != 3) return false;
    NoteList* lists[3] = {&m_dated, &m_solarYearly, &LunarList(day)};
    const int index[3] = {day, day, m_layout.cells[day].lunar.day};
    bool saved = true;
    for (int i = 0; i < 3; ++i) {
        if (!notes[i].changed || notes[i].value.unreadable) continue;
        if (i == 2 && !m_layout.cells[day].lunar.IsValid()) {
            saved = false;
            continue;
        }
        if (!SetTrimmed(lists[i], index[i], notes[i])) saved = false;
    }
    return saved;
}

bool MonthNoteLists::SaveWeekly(int weekday, const ConfirmedNote& note) {
    if (!note.changed || note.value.unreadable) return true;
    return SetTrimmed(&m_weekly, weekday, note);
}

// MonthNoteLists.
#include "notes/month_notes.h"

namespace {

// A note's text as it is stored: without the blanks the user left before it.
bool SetTrimmed(NoteList* list, int index, const ConfirmedNote& note) {
    CString text = note.value.text;
    text.TrimLeft();
    return list->SetEntry(index, text, text.GetLength(), note.value.colourWord);
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

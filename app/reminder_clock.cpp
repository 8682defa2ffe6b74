// ReminderClock.
#include "app/reminder_clock.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <map>
#include <memory>
#include <tuple>

#include "notes/note_files.h"
#include "notes/note_list.h"
#include "platform/log.h"
#include "platform/wide_text.h"

int64_t SystemLocalSeconds() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return SecondNumber(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

bool SystemBusy() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(::SHQueryUserNotificationState(&state))) return false;
    return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
}

ReminderClock::Seams& ReminderClock::TestSeams() {
    static Seams seams;
    return seams;
}

namespace {

// The notes of the slots the window's minutes touch, each list file read once.
std::vector<NoteReminders> NotesOf(const CheckWindow& window) {
    std::vector<NoteReminders> notes;
    if (!NoteStoreReady()) return notes;
    std::map<std::tuple<int, int, int>, std::unique_ptr<NoteList>> lists;
    for (const NoteKey& key : NoteKeysBetween(window.missedFrom, window.to)) {
        const auto id = std::make_tuple(static_cast<int>(key.kind), key.year, key.month);
        std::unique_ptr<NoteList>& list = lists[id];
        if (!list) {
            list = std::make_unique<NoteList>();
            switch (key.kind) {  // a damaged list gives the notes before the damage; the store tells the user
                case NoteKind::Day: list->OpenDated(key.year, key.month); break;
                case NoteKind::SolarYearly: list->OpenSolarYearly(key.month); break;
                case NoteKind::LunarYearly: list->OpenLunarYearly(key.month); break;
                case NoteKind::Weekly: list->OpenWeekly(); break;
            }
        }
        if (key.slot < 0 || key.slot > list->LastIndex()) continue;
        const NoteEntry& entry = list->Entry(key.slot);
        if (entry.Present()) notes.push_back({key, std::string(entry.text.get(), entry.length)});
    }
    return notes;
}

}  // namespace

std::string ReminderClock::RecordPath() const {
    if (!TestSeams().recordPath.empty()) return TestSeams().recordPath;
    wchar_t base[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base))) return "";
    const std::wstring folder = std::wstring(base) + L"\\Vestrel";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return Utf8FromWide(folder + L"\\reminders.txt");
}

void ReminderClock::ReadRecord() {
    const std::string path = RecordPath();
    if (path.empty()) return;
    const FileBytes file = ReadWholeFile(path, ReadFrom::Disk);
    if (file.status == ReadStatus::Ok) {
        m_shown = ShownReminders::Parse(std::string_view(file.data.get(), static_cast<size_t>(file.size)));
    } else if (file.status != ReadStatus::Missing) {
        LogFailure("read the shown reminders", path, file.error);
    }
}

void ReminderClock::WriteRecord() {
    const std::string path = RecordPath();
    if (path.empty()) return;
    const std::string bytes = m_shown.Serialise();
    WriteWholeFile(path, bytes.data(), static_cast<int>(bytes.size()));  // a failure is logged there
}

std::vector<DueReminder> ReminderClock::Tick() {
    if (!m_started) {
        m_started = true;
        ReadRecord();
    }
    const Seams& seams = TestSeams();
    const int64_t now = seams.clock();
    const CheckWindow window = ReminderCheckWindow(m_last, now);
    m_last = now;
    if (!window.Empty()) {
        for (DueReminder& r : DueReminders(NotesOf(window), window, m_shown))
            if (!HoldsReminder(m_waiting, r)) m_waiting.push_back(std::move(r));
    }
    for (DueReminder& r : m_snoozed.TakeDue(now)) m_waiting.push_back(std::move(r));
    if (m_waiting.empty() || seams.busy()) return {};

    std::vector<DueReminder> shown;
    shown.swap(m_waiting);
    bool added = false;
    for (const DueReminder& r : shown) {
        if (m_shown.Contains(r.minute, r.hash)) continue;  // back from a snooze
        m_shown.Add(r);
        added = true;
    }
    if (added) {
        m_shown.Prune(now / 60);
        WriteRecord();
    }
    return shown;
}

void ReminderClock::Snooze(const std::vector<DueReminder>& reminders) {
    if (reminders.empty()) return;
    int64_t seconds = TestSeams().snoozeSeconds;
    if (seconds < 1 || seconds > SnoozedReminders::kMaxSnoozeSeconds) seconds = SnoozedReminders::kDefaultSeconds;
    m_snoozed.Snooze(reminders, TestSeams().clock(), seconds);
}

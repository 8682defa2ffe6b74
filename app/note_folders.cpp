// NoteFolders.
#include "app/note_folders.h"

#include <windows.h>

#include <set>
#include <vector>

#include "framework/afxwin.h"
#include "notes/note_files.h"
#include "platform/log.h"

namespace {

// The notices of "假日.txt" told in this run (with the size the file had), also by a main window
// built before this one.
std::set<std::string>& Told() {
    static std::set<std::string> told;
    return told;
}

}  // namespace

void NoteFolders::Start() {
    SetUpNoteFolders();
    m_listWatch = std::make_unique<FolderWatch>("日历");
    m_memoWatch = std::make_unique<FolderWatch>("备忘");
    m_rootWatch = std::make_unique<FolderWatch>("");
}

NoteFolders::Changes NoteFolders::Poll(bool listsWanted) {
    Changes changes;
    changes.lists = listsWanted && m_listWatch && m_listWatch->Changed();
    // A change of the folder, or a file held at the last look and now perhaps released.
    const bool retry = m_holidaysHeld && ++m_heldTicks % kRetryTicks == 0;
    if ((m_rootWatch && m_rootWatch->Changed()) || retry) {
        LoadHolidays();
        changes.holidays = true;
    }
    changes.memo = m_memoWatch && m_memoWatch->Changed();
    return changes;
}

void NoteFolders::LoadHolidays() {
    static constexpr const char* kHolidayFile = "假日.txt";
    const FileBytes file = ReadWholeFile(NotePath(kHolidayFile), ReadFrom::Disk);
    // Held by another program for now: what was read stays, and the timer tries again.
    m_holidaysHeld = file.status == ReadStatus::Unreadable;
    if (m_holidaysHeld) return;
    HolidayTable user;
    std::string notice;
    if (file.status == ReadStatus::Ok || file.status == ReadStatus::TooLarge) {
        const size_t size = file.status == ReadStatus::Ok ? static_cast<size_t>(file.size) : kMaxHolidayFileBytes + 1;
        HolidayFileTrouble trouble = CheckHolidayFile(file.data.get(), size);
        std::vector<HolidayProblem> problems;
        size_t bad = 0;
        if (trouble == HolidayFileTrouble::None) {
            user = HolidayTable::Parse(file.data.get(), size, kHolidayFile, &problems, &bad);
            if (bad > 0) trouble = HolidayFileTrouble::BadLines;
        }
        if (trouble != HolidayFileTrouble::None) {
            notice = HolidayFileNotice(RelativeToRoot(NotePath(kHolidayFile)), trouble, problems, bad);
            LogLine("holiday file not used whole (%d)", static_cast<int>(trouble));
        }
    }
    // One notice per state of the file: told again only after the file changed and still has trouble.
    if (!notice.empty() && Told().insert(notice + "\n" + std::to_string(file.size)).second) TellUser(notice);
    m_user = std::move(user);
    m_holidays = HolidayTable::Combine(HolidayTable::BuiltIn(), m_user, m_fetched);
}

void NoteFolders::SetFetched(const std::vector<HolidayTable>& fetched) {
    m_fetched = fetched;
    m_holidays = HolidayTable::Combine(HolidayTable::BuiltIn(), m_user, m_fetched);
}

void NoteFolders::ShowNotices(HWND beside) {
    for (const std::string& text : TakeNotices()) {
        LogLine("notice shown (%u bytes)", static_cast<unsigned>(text.size()));
        m_notices.Add(text, beside);
    }
}

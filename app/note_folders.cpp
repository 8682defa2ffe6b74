// NoteFolders.
#include "app/note_folders.h"

#include <windows.h>

#include <set>
#include <vector>

#include "framework/afxwin.h"
#include "notes/note_files.h"
#include "platform/log.h"

namespace {

// The bad lines of "假日.txt" told in this run, also by a main window built before this one.
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
    if (m_rootWatch && m_rootWatch->Changed()) {
        LoadHolidays();
        changes.holidays = true;
    }
    changes.memo = m_memoWatch && m_memoWatch->Changed();
    return changes;
}

void NoteFolders::LoadHolidays() {
    static constexpr const char* kHolidayFile = "假日.txt";
    const FileBytes file = ReadWholeFile(NotePath(kHolidayFile), ReadFrom::Disk);
    if (file.status == ReadStatus::Unreadable) return;  // held for now: what was read stays
    HolidayTable user;
    if (file.status == ReadStatus::Ok) {
        std::vector<HolidayProblem> problems;
        user = HolidayTable::Parse(file.data.get(), static_cast<size_t>(file.size), kHolidayFile, &problems);
        for (const HolidayProblem& p : problems) {
            const std::string text = "假日文件“" + RelativeToRoot(NotePath(kHolidayFile)) + "”第" +
                                     std::to_string(p.line) + "行有误，这一行没有用上（" + p.reason + "）。";
            if (Told().insert(text).second) {
                LogLine("holiday file line %d left out", p.line);
                TellUser(text);
            }
        }
    }
    m_user = std::move(user);
    m_holidays = HolidayTable::Combine(HolidayTable::BuiltIn(), m_user, m_fetched);
}

void NoteFolders::SetFetched(const std::vector<HolidayTable>& fetched) {
    m_fetched = fetched;
    m_holidays = HolidayTable::Combine(HolidayTable::BuiltIn(), m_user, m_fetched);
}

void NoteFolders::ShowNotices(HWND owner) {
    if (m_telling) return;
    m_telling = true;
    for (const std::string& text : TakeNotices()) {
        LogLine("notice shown (%u bytes)", static_cast<unsigned>(text.size()));
        AfxMessageBox(owner, text.c_str(), "Vestrel 记事", MB_OK | MB_ICONWARNING);
    }
    m_telling = false;
}

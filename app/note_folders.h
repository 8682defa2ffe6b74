// NoteFolders: the notes folder as the main window follows it. It sets the folder up, watches
// "日历", "备忘" and the folder itself for changes other programs make, reads "假日.txt" over the
// built-in holidays, and shows what the note store has to tell the user.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/notice_window.h"
#include "calendar/holidays.h"
#include "notes/folder_watch.h"

class NoteFolders {
public:
    // Sets up <documents>\我的记事 (a folder that cannot be used is told) and starts the watches.
    void Start();

    // What changed since the last look (each watch is asked once).
    struct Changes {
        bool lists = false;     // "日历": the shown month's notes may have changed
        bool memo = false;      // "备忘"
        bool holidays = false;  // the folder itself: "假日.txt" was read again
    };
    // Looks at the watches; listsWanted false leaves a change of "日历" for a later look (a note
    // dialog is open). When the folder itself changed, "假日.txt" is read again.
    Changes Poll(bool listsWanted);

    // Reads "假日.txt" of the notes folder, when there is one, over the built-in holidays. A file
    // too large, in UTF-8 or with bad lines is told in one notice (the count and the first lines),
    // once for each state of the file. A file held by another program leaves what was read before
    // and is read again every few seconds until it can be.
    void LoadHolidays();
    // The fetched holiday-cn years (HolidayUpdates), under the built-in data and "假日.txt".
    void SetFetched(const std::vector<HolidayTable>& fetched);
    // The holidays to mark: the built-in table, "假日.txt" and the fetched years combined
    // (HolidayTable::Combine); the same object for the folders' lifetime, its content changing.
    const HolidayTable* Holidays() const { return &m_holidays; }
    // The years of "假日.txt" alone (empty without one).
    const HolidayTable& UserHolidays() const { return m_user; }

    // Shows what the note store has to tell the user in the notice window beside `beside`, which
    // never takes the focus.
    void ShowNotices(HWND beside);
    CNoticeWindow& Notices() { return m_notices; }
    const CNoticeWindow& Notices() const { return m_notices; }

private:
    std::unique_ptr<FolderWatch> m_listWatch, m_memoWatch;  // "日历" and "备忘"
    std::unique_ptr<FolderWatch> m_rootWatch;              // the notes folder, for "假日.txt"
    HolidayTable m_user;                                   // "假日.txt"
    std::vector<HolidayTable> m_fetched;                   // the fetched years
    HolidayTable m_holidays = HolidayTable::BuiltIn();     // the three combined
    CNoticeWindow m_notices;
    bool m_holidaysHeld = false;                           // "假日.txt" could not be read at the last look
    int m_heldTicks = 0;
    static constexpr int kRetryTicks = 3;                  // looks (seconds) between tries of a held file
};

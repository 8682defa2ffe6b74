// HolidayUpdates: the holiday-cn years the calendar fetches for itself, as the main window runs
// them. The years cached under %LOCALAPPDATA%\Vestrel\holidays are read at start; a round of
// requests runs on a worker thread of its own at start and then at most daily (app/holiday_years.h
// decides which years); each checked answer is kept, cached and combined, under the built-in data
// and "假日.txt", into the table the grid and the day-note dialog show. The line under the grid says
// when the shown year's arrangement is awaited ("2027年放假安排未公布"), while no headline is shown.
//
// The address is the registry value HolidayUrl (REG_SZ under the settings key; empty turns fetching
// off), else the build's kHolidayUrl.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/holiday_years.h"
#include "app/note_folders.h"
#include "framework/afxwin.h"
#include "grid/month_grid.h"
#include "notes/note_opener.h"
#include "web/holiday_fetcher.h"

constexpr const char* kValueHolidayUrl = "HolidayUrl";

// The time a round is decided at: seconds since 1970 (UTC) and the local year.
struct HolidayClock {
    int64_t seconds;
    int year;
};

class HolidayUpdates {
public:
    HolidayUpdates();
    HolidayUpdates(const HolidayUpdates&) = delete;
    HolidayUpdates& operator=(const HolidayUpdates&) = delete;

    // Test seams, to be set before Start: the address template (instead of the registry's and the
    // build's), the clock, the times, and the cache folder (UTF-8).
    void SetUrlForTest(const std::string& urlTemplate) { m_urlForTest = urlTemplate, m_haveUrlForTest = true; }
    void SetClockForTest(std::function<HolidayClock()> clock) { m_clock = std::move(clock); }
    void SetTimesForTest(HolidayFetchTimes times) { m_years = HolidayYears(times); }
    void SetCacheFolderForTest(const std::string& folder) { m_cacheFolder = folder; }

    // At the window's start: reads the cache, gives the folders the fetched years and the grid and
    // the opener the combined table, makes the line (hidden) and starts the first round, whose
    // answers come to window as WM_HOLIDAYS_FETCHED.
    void Start(CWnd* window, int dpi, NoteFolders* folders, CMonthGrid* grid, NoteOpener* opener);
    // Each second and after the shown month changed: starts a round when one is due (and none
    // runs), and shows the line for shownYear unless a headline is shown.
    void Tick(int shownYear, bool headlineShown);
    // A posted round: every checked answer kept and cached, the rest logged; the grid repainted
    // when a year changed.
    void OnFetched(LPARAM lParam);
    // Lays the line out again at dpi.
    void Relayout(int dpi);

    // For tests.
    int RoundsStarted() const { return m_rounds; }
    int AnswersTaken() const { return m_answers; }
    HWND Line() const { return m_line.GetSafeHwnd(); }
    const std::string& CacheFolder() const { return m_cacheFolder; }

private:
    std::string UrlTemplate() const;
    void LoadCache();
    void ShowLine(const std::string& text);

    HolidayYears m_years{HolidayFetchTimes{kHolidayRoundSeconds, kHolidayRefetchSeconds}};
    HolidayFetcher m_fetcher;
    std::function<HolidayClock()> m_clock;
    std::string m_urlForTest;
    bool m_haveUrlForTest = false;
    std::string m_cacheFolder;  // UTF-8; "" when local application data cannot be had
    CWnd* m_window = nullptr;
    NoteFolders* m_folders = nullptr;
    CMonthGrid* m_grid = nullptr;
    CStatic m_line;
    CFont m_font;
    std::string m_lineText;  // GBK, "" while hidden
    int m_dpi = 96;
    int m_currentYear = 0;
    int m_shownYear = 0;  // as the last Tick was told
    bool m_headlineShown = false;
    int m_rounds = 0, m_answers = 0;
    std::string m_toldUrl;  // the refused address last logged
};

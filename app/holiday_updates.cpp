// HolidayUpdates.
#include "app/holiday_updates.h"

#include <windows.h>
#include <shlobj.h>

#include "app/main_layout.h"
#include "notes/note_files.h"
#include "platform/dpi.h"
#include "platform/log.h"
#include "platform/settings.h"
#include "platform/wide_text.h"
#include "res/resource.h"
#include "widgets/user_messages.h"

namespace {

constexpr int64_t kFileTimeOf1970 = 116444736000000000LL;  // 100 ns units from 1601

int64_t SecondsOf(const FILETIME& t) {
    const int64_t units = (static_cast<int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return (units - kFileTimeOf1970) / 10000000;
}

HolidayClock SystemClock() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    return HolidayClock{SecondsOf(now), local.wYear};
}

// %LOCALAPPDATA%\Vestrel\holidays (UTF-8), or "".
std::string DefaultCacheFolder() {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, base))) return "";
    return Utf8FromWide(std::wstring(base) + L"\\Vestrel\\holidays");
}

std::string CacheFile(const std::string& folder, int year) { return folder + "\\" + std::to_string(year) + ".json"; }

// The folder and its parent, made when missing.
void MakeFolder(const std::string& folder) {
    const std::wstring wide = WideFromUtf8(folder);
    ::CreateDirectoryW(wide.substr(0, wide.rfind(L'\\')).c_str(), nullptr);
    ::CreateDirectoryW(wide.c_str(), nullptr);
}

}  // namespace

HolidayUpdates::HolidayUpdates() : m_clock(SystemClock), m_cacheFolder(DefaultCacheFolder()) {}

std::string HolidayUpdates::UrlTemplate() const {
    if (m_haveUrlForTest) return m_urlForTest;
    std::wstring value;
    if (ReadRegWide(kSettingsKey, kValueHolidayUrl, &value)) return Utf8FromWide(value);
    return kHolidayUrl;
}

void HolidayUpdates::LoadCache() {
    if (m_cacheFolder.empty()) return;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(WideFromUtf8(m_cacheFolder + "\\*.json").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = Utf8FromWide(found.cFileName);
        int year = 0;
        if (name.size() != 9 || name.compare(4, 5, ".json") != 0 || !ParseWholeInt(name.substr(0, 4).c_str(), &year))
            continue;
        const FileBytes file = ReadWholeFile(CacheFile(m_cacheFolder, year), ReadFrom::Disk);
        const HolidayJsonResult r = file.status == ReadStatus::Ok
                                        ? m_years.Take(year, file.data.get(), static_cast<size_t>(file.size),
                                                       SecondsOf(found.ftLastWriteTime))
                                        : HolidayJsonResult{};
        if (r.status != HolidayJsonStatus::Ok)
            LogLine("cached holiday year %d not used: %s", year, Utf8FromGbk(r.reason).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

void HolidayUpdates::Start(CWnd* window, int dpi, NoteFolders* folders, CMonthGrid* grid, NoteOpener* opener) {
    m_window = window;
    m_folders = folders;
    m_grid = grid;
    m_dpi = dpi;
    LoadCache();
    m_folders->SetFetched(m_years.Tables());
    m_grid->SetHolidays(m_folders->Holidays());
    opener->SetHolidays(m_folders->Holidays());
    HWND line = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                  window->GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_YEAR_STATUS)),
                                  AfxGetInstanceHandle(), nullptr);
    m_line.AttachHandle(line);
}

void HolidayUpdates::Tick(int shownYear, bool headlineShown) {
    if (m_window == nullptr) return;
    const HolidayClock now = m_clock();
    m_currentYear = now.year;
    const std::vector<int> due = m_years.Due(now.seconds, now.year, HolidayTable::BuiltIn(), m_folders->UserHolidays());
    if (!due.empty() && !m_fetcher.Busy()) {
        m_years.RoundStarted(now.seconds);
        const std::string urlTemplate = UrlTemplate();
        std::vector<HolidayAnswer> requests;
        for (int year : due) {
            HolidayAnswer a;
            a.year = year;
            a.url = HolidayUrlOf(urlTemplate, year);
            if (HolidayUrlAllowed(a.url)) {
                requests.push_back(std::move(a));
            } else if (!urlTemplate.empty() && urlTemplate != m_toldUrl) {
                m_toldUrl = urlTemplate;  // told once: an address without {year}, plain http elsewhere ...
                LogLine("holiday address refused (https, or http to this machine, with {year}): %s", urlTemplate.c_str());
            }
        }
        if (!requests.empty() && m_fetcher.Start(std::move(requests), kHolidayJsonMaxBytes, m_window->GetSafeHwnd(),
                                                 WM_HOLIDAYS_FETCHED))
            ++m_rounds;
    }
    m_shownYear = shownYear;
    m_headlineShown = headlineShown;
    ShowLine(headlineShown ? "" : UnpublishedLine(*m_folders->Holidays(), shownYear, m_currentYear));
}

void HolidayUpdates::OnFetched(LPARAM lParam) {
    const std::unique_ptr<std::vector<HolidayAnswer>> round = m_fetcher.Take(lParam);
    if (!round) return;
    const int64_t now = m_clock().seconds;
    bool changed = false;
    for (const HolidayAnswer& a : *round) {
        ++m_answers;
        if (!a.received) {
            LogLine("holiday year %d not fetched from %s: %s", a.year, a.url.c_str(), a.problem.c_str());
            continue;
        }
        const HolidayJsonResult r = m_years.Take(a.year, a.body.data(), a.body.size(), now);
        if (r.status == HolidayJsonStatus::NotPublished) {
            LogLine("holiday year %d not published yet at %s", a.year, a.url.c_str());
        } else if (r.status != HolidayJsonStatus::Ok) {
            LogLine("holiday year %d from %s refused: %s", a.year, a.url.c_str(), Utf8FromGbk(r.reason).c_str());
        } else {
            changed = true;
            LogLine("holiday year %d fetched from %s (%u bytes)", a.year, a.url.c_str(), static_cast<unsigned>(a.body.size()));
            if (!m_cacheFolder.empty()) {
                MakeFolder(m_cacheFolder);
                WriteWholeFile(CacheFile(m_cacheFolder, a.year), a.body.data(), static_cast<int>(a.body.size()));
            }
        }
    }
    if (!changed) return;
    m_folders->SetFetched(m_years.Tables());
    m_grid->SetHolidays(m_folders->Holidays());
    ShowLine(m_headlineShown ? "" : UnpublishedLine(*m_folders->Holidays(), m_shownYear, m_currentYear));
}

void HolidayUpdates::ShowLine(const std::string& text) {
    if (text == m_lineText) return;
    m_lineText = text;
    if (text.empty()) {
        m_line.ShowWindow(SW_HIDE);
        return;
    }
    Relayout(m_dpi);
    ::SetWindowTextW(m_line.GetSafeHwnd(), WideFromGbk(text).c_str());
    m_line.ShowWindow(SW_SHOW);
}

void HolidayUpdates::Relayout(int dpi) {
    m_dpi = dpi;
    if (m_line.GetSafeHwnd() == nullptr) return;
    // Whole in the room left of "下一篇": the font steps down until the text fits.
    const std::wstring text = WideFromGbk(m_lineText);
    const int room = Scale(kNextHeadlineRect.left - 6, dpi) - Scale(kHeadlineRect.left, dpi);
    SIZE size{};
    HDC dc = ::GetDC(m_line.GetSafeHwnd());
    for (int points = 110; points >= 60; points -= 5) {
        m_font.CreatePointFont(points, "宋体", dpi);
        ScopedSelect select(dc, m_font.GetSafeHandle());
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        if (size.cx <= room) break;
    }
    ::ReleaseDC(m_line.GetSafeHwnd(), dc);
    ::SendMessageW(m_line.GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    ::MoveWindow(m_line.GetSafeHwnd(), Scale(kHeadlineRect.left, dpi), Scale(kHeadlineRect.top, dpi),
                 size.cx < room ? size.cx + 1 : room, size.cy, TRUE);
}

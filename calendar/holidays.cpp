// Parsing the holiday lines and answering per day and per year.
#include "calendar/holidays.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "calendar/gregorian.h"

// Generated from calendar/holidays.txt at build time (cmake/EmbedHolidays.cmake).
extern const char kBuiltInHolidays[];
extern const size_t kBuiltInHolidaysSize;

namespace {

constexpr size_t kMaxTokens = 8;        // "班" lines name at most six days
constexpr size_t kMaxTokenBytes = 64;   // a notice number or a holiday's name
constexpr int kMaxSpanDays = 31;        // the longest span any notice could give

// Whole-line keywords (GBK, as every narrow literal here).
const std::string kYearWord = "年";
const std::string kAmendWord = "改";
const std::string kOffWord = "休";
const std::string kWorkWord = "班";

// Printable ASCII or complete GBK double-byte characters, nothing else (no NUL, no control bytes).
bool IsGbkToken(const std::string& s) {
    if (s.empty() || s.size() > kMaxTokenBytes) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b >= 0x21 && b <= 0x7E) continue;
        if (b < 0x81 || b == 0xFF || i + 1 == s.size()) return false;
        const unsigned char t = static_cast<unsigned char>(s[++i]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
    }
    return true;
}

bool ParseNumber(const std::string& s, size_t pos, size_t len, int* out) {
    int v = 0;
    for (size_t i = pos; i < pos + len; ++i) {
        if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    *out = v;
    return true;
}

// YYYY-MM-DD of a real date: its day number, else 0.
int32_t ParseDate(const std::string& s) {
    int y, m, d;
    if (s.size() != 10 || s[4] != '-' || s[7] != '-' || !ParseNumber(s, 0, 4, &y) || !ParseNumber(s, 5, 2, &m) ||
        !ParseNumber(s, 8, 2, &d))
        return 0;
    return DayNumber(y, m, d);
}

// 1 ... 999 in decimal; 0 for anything else.
int ParseCount(const std::string& s) {
    int v = 0;
    if (s.empty() || s.size() > 3 || s[0] == '0' || !ParseNumber(s, 0, s.size(), &v)) return 0;
    return v;
}

std::vector<std::string> Tokens(const char* line, size_t n) {
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < n && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) tokens.emplace_back(line + start, i - start);
    }
    return tokens;
}

}  // namespace

HolidayTable::Year* HolidayTable::FindYear(int year) {
    for (Year& y : years_)
        if (y.year == year) return &y;
    return nullptr;
}

const HolidayTable::Year* HolidayTable::FindYear(int year) const {
    return const_cast<HolidayTable*>(this)->FindYear(year);
}

HolidayTable HolidayTable::Parse(const char* text, size_t size, const std::string& source,
                                 std::vector<HolidayProblem>* problems, size_t* problemCount) {
    if (problemCount != nullptr) *problemCount = 0;
    HolidayTable table;
    // The year of the notice the day lines belong to, an index into years_ (which grows); -1 after a bad
    // header line.
    int current = -1;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < size) {
        const char* line = text + pos;
        const char* end = static_cast<const char*>(std::memchr(line, '\n', size - pos));
        size_t n = end != nullptr ? static_cast<size_t>(end - line) : size - pos;
        pos += n + 1;
        ++lineNumber;
        if (n > 0 && line[n - 1] == '\r') --n;
        const std::vector<std::string> t = Tokens(line, n);
        if (t.empty() || t[0][0] == '#') continue;

        const char* reason = nullptr;
        const std::string& word = t[0];
        if (t.size() > kMaxTokens) {
            reason = "字段太多";
        } else if (word == kYearWord || word == kAmendWord) {
            current = -1;
            int year = 0;
            int32_t date = 0;
            if (t.size() != 4 || t[1].size() != 4 || !ParseNumber(t[1], 0, 4, &year) || year < kHolidayFirstYear ||
                year > kHolidayLastYear) {
                reason = "应为“年|改 年份 文号 日期”，年份在1900至2100之间";
            } else if (!IsGbkToken(t[2])) {
                reason = "文号不是不超过64字节的GBK文字";
            } else if (t[3] != "-" && (date = ParseDate(t[3])) == 0) {
                reason = "通知日期不是YYYY-MM-DD或-";
            } else if (word == kYearWord && table.FindYear(year) != nullptr) {
                reason = "这一年已有一行“年”";
            } else if (word == kAmendWord && table.FindYear(year) == nullptr) {
                reason = "“改”行上面没有同一年的“年”行";
            } else {
                if (word == kYearWord)
                    table.years_.push_back(Year{year, HolidaySource{HolidayOrigin::UserFile, source}, {}, {}});
                current = static_cast<int>(table.FindYear(year) - table.years_.data());
                Year& y = table.years_[current];
                y.notices.push_back(HolidayNotice{t[2], date != 0 ? t[3] : std::string(), word == kAmendWord});
                y.days.emplace_back();
            }
        } else if (word == kOffWord || word == kWorkWord) {
            const bool off = word == kOffWord;
            std::vector<int32_t> dates;
            if (current < 0) {
                reason = "上面没有有效的“年”或“改”行";
            } else if (t.size() < 3 || !IsGbkToken(t[1])) {
                reason = off ? "应为“休 名称 日期 [末日 天数]”" : "应为“班 名称 日期 ……”";
            } else if (off) {
                const int32_t first = ParseDate(t[2]);
                const int32_t last = t.size() == 5 ? ParseDate(t[3]) : first;
                const int count = t.size() == 5 && t[4] != "-" ? ParseCount(t[4]) : -1;
                if ((t.size() != 3 && t.size() != 5) || first == 0 || last == 0 || (t.size() == 5 && t[4] != "-" &&
                                                                                     count == 0)) {
                    reason = "应为“休|班 名称 日期 [末日 天数]”，日期为YYYY-MM-DD，天数为数字或-";
                } else if (last < first || last - first >= kMaxSpanDays) {
                    reason = "末日早于首日，或一段长于31天";
                } else if (count > 0 && count != last - first + 1) {
                    reason = "这一段的天数与所写天数不符";
                } else {
                    for (int32_t d = first; d <= last; ++d) dates.push_back(d);
                }
            } else {
                for (size_t i = 2; i < t.size() && reason == nullptr; ++i) {
                    const int32_t d = ParseDate(t[i]);
                    if (d == 0) {
                        reason = "日期不是YYYY-MM-DD";
                    } else {
                        const SolarDate s = SolarFromDayNumber(d);
                        const int weekday = DayOfWeek(s.year, s.month, s.day);
                        if (weekday != 0 && weekday != 6) reason = "调休上班日不是星期六或星期日";
                        dates.push_back(d);
                    }
                }
            }
            if (reason == nullptr) {
                // Every date in the notice's year or the December before it, and none given twice.
                Year& y = table.years_[current];
                const int32_t lo = DayNumber(y.year - 1, 12, 1), hi = DayNumber(y.year, 12, 31);
                std::vector<Day>& noticeDays = y.days.back();
                for (size_t i = 0; i < dates.size() && reason == nullptr; ++i) {
                    if (dates[i] < lo || dates[i] > hi) reason = "日期不在通知的年份及其前一年的12月内";
                    for (size_t k = 0; k < i && reason == nullptr; ++k)
                        if (dates[k] == dates[i]) reason = "同一行里一天写了两次";
                    for (const Day& known : noticeDays)
                        if (known.dayNumber == dates[i] && reason == nullptr) reason = "通知里已写过这一天";
                }
                if (reason == nullptr)
                    for (int32_t d : dates)
                        noticeDays.push_back(Day{d, off ? HolidayMark::Off : HolidayMark::Work, t[1], y.year});
            }
        } else {
            reason = "无法识别：每行应以年、改、休、班或#开头";
        }
        if (reason == nullptr) continue;
        if (problemCount != nullptr) ++*problemCount;
        // Counted always, kept only so far when counted: a file of bad lines costs no memory.
        if (problems != nullptr && (problemCount == nullptr || problems->size() < kMaxHolidayProblemsKept))
            problems->push_back(HolidayProblem{source, lineNumber, reason});
    }
    std::sort(table.years_.begin(), table.years_.end(), [](const Year& a, const Year& b) { return a.year < b.year; });
    table.Rebuild();
    return table;
}

void HolidayTable::Rebuild() {
    std::map<int32_t, const Day*> effective;  // later years, and later notices within a year, override
    for (const Year& y : years_)
        for (const std::vector<Day>& notice : y.days)
            for (const Day& d : notice) effective[d.dayNumber] = &d;
    marked_.clear();
    marked_.reserve(effective.size());
    for (const auto& entry : effective) marked_.push_back(*entry.second);
}

namespace {

struct BuiltInData {
    std::vector<HolidayProblem> problems;
    HolidayTable table;
    BuiltInData() : table(HolidayTable::Parse(kBuiltInHolidays, kBuiltInHolidaysSize, "holidays.txt", &problems)) {
        table.SetSource(HolidayOrigin::BuiltIn, "");
    }
};

const BuiltInData& BuiltInOnce() {
    static const BuiltInData data;
    return data;
}

}  // namespace

const HolidayTable& HolidayTable::BuiltIn() { return BuiltInOnce().table; }

const std::vector<HolidayProblem>& HolidayTable::BuiltInProblems() { return BuiltInOnce().problems; }

HolidayTable HolidayTable::Overlay(const HolidayTable& base, const HolidayTable& overlay) {
    HolidayTable merged;
    for (const Year& y : base.years_)
        if (overlay.FindYear(y.year) == nullptr) merged.years_.push_back(y);
    for (const Year& y : overlay.years_) merged.years_.push_back(y);
    std::sort(merged.years_.begin(), merged.years_.end(), [](const Year& a, const Year& b) { return a.year < b.year; });
    merged.Rebuild();
    return merged;
}

HolidayTable HolidayTable::Combine(const HolidayTable& builtIn, const HolidayTable& user,
                                   const std::vector<HolidayTable>& fetched) {
    HolidayTable merged;
    for (const HolidayTable& f : fetched) merged = Overlay(merged, f);
    return Overlay(Overlay(merged, builtIn), user);
}

HolidayMark HolidayTable::Mark(int year, int month, int day, const char** name) const {
    if (name != nullptr) *name = "";
    const int32_t n = DayNumber(year, month, day);
    if (n == 0) return HolidayMark::None;
    const auto it = std::lower_bound(marked_.begin(), marked_.end(), n,
                                     [](const Day& d, int32_t v) { return d.dayNumber < v; });
    if (it == marked_.end() || it->dayNumber != n) return HolidayMark::None;
    if (name != nullptr) *name = it->name.c_str();
    return it->mark;
}

const std::vector<HolidayNotice>* HolidayTable::Notices(int year) const {
    const Year* y = FindYear(year);
    return y != nullptr ? &y->notices : nullptr;
}

const HolidaySource* HolidayTable::Source(int year) const {
    const Year* y = FindYear(year);
    return y != nullptr ? &y->source : nullptr;
}

void HolidayTable::SetSource(HolidayOrigin origin, const std::string& address) {
    for (Year& y : years_) y.source = HolidaySource{origin, address};
}

std::vector<int> HolidayTable::Years() const {
    std::vector<int> years;
    for (const Year& y : years_) years.push_back(y.year);
    return years;
}

std::vector<HolidayDay> HolidayTable::DaysOf(int year) const {
    std::vector<HolidayDay> days;
    for (const Day& d : marked_)
        if (d.year == year) days.push_back(HolidayDay{d.dayNumber, d.mark, d.name.c_str()});
    return days;
}

bool LooksLikeUtf8(const char* data, size_t size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return true;
    bool beyondAscii = false;
    for (size_t i = 0; i < size;) {
        const unsigned char c = p[i];
        const size_t n = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                                                                   : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (n == 0 || i + n > size) return false;
        for (size_t k = 1; k < n; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        beyondAscii = beyondAscii || n > 1;
        i += n;
    }
    return beyondAscii;
}

HolidayFileTrouble CheckHolidayFile(const char* data, size_t size) {
    if (size > kMaxHolidayFileBytes) return HolidayFileTrouble::TooLarge;
    if (LooksLikeUtf8(data, size)) return HolidayFileTrouble::Utf8;
    return HolidayFileTrouble::None;
}

std::string HolidayFileNotice(const std::string& name, HolidayFileTrouble trouble,
                              const std::vector<HolidayProblem>& shown, size_t badLines) {
    const std::string file = "假日文件“" + name + "”";
    switch (trouble) {
        case HolidayFileTrouble::TooLarge:
            return file + "大于1 MiB，没有用上（一年的安排不到2 KB）。";
        case HolidayFileTrouble::Utf8:
            return file + "是UTF-8编码的，没有用上：请用GBK编码（记事本的“ANSI”）另存。";
        case HolidayFileTrouble::BadLines: {
            std::string text = file + "有" + std::to_string(badLines) + "行有误，这些行没有用上：";
            const size_t listed = shown.size() < 3 ? shown.size() : 3;
            for (size_t i = 0; i < listed; ++i)
                text += "\r\n第" + std::to_string(shown[i].line) + "行：" + shown[i].reason + "。";
            if (badLines > listed) text += "\r\n……";
            return text;
        }
        case HolidayFileTrouble::None:
            break;
    }
    return std::string();
}

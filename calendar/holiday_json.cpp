// The holiday-cn year file: its checks, the names' conversion to GBK and the lines it becomes.
#include "calendar/holiday_json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <exception>

#include "calendar/gregorian.h"

namespace {

using Json = nlohmann::json;

constexpr size_t kMaxPaperBytes = 256;

// The characters of the holiday names the notices and holiday-cn have used (元旦, 春节, 清明节,
// 劳动节, “五一”国际劳动节, 端午节, 中秋节, 国庆节, 国庆节、中秋节, 抗日战争暨世界反法西斯战争胜利70周年纪念日, ...)
// and 除夕, by code point, with their GBK codes:
//   “”、一世中争五元利动劳十午反周国夕年庆念战抗斯日旦明春暨法清界秋端纪胜节西际除
// The GBK codes are written as numbers, not as narrow literals, so the table means the same in a
// build without -fexec-charset=GBK (the fuzz target); the test checks it against the compiler's
// GBK. A notice bringing a name with a new character needs that character added here.
struct NameChar {
    uint32_t codePoint;
    uint16_t gbk;
};
constexpr NameChar kNameChars[] = {
    {0x201C, 0xA1B0}, {0x201D, 0xA1B1}, {0x3001, 0xA1A2}, {0x4E00, 0xD2BB}, {0x4E16, 0xCAC0}, {0x4E2D, 0xD6D0},
    {0x4E89, 0xD5F9}, {0x4E94, 0xCEE5}, {0x5143, 0xD4AA}, {0x5229, 0xC0FB}, {0x52A8, 0xB6AF}, {0x52B3, 0xC0CD},
    {0x5341, 0xCAAE}, {0x5348, 0xCEE7}, {0x53CD, 0xB7B4}, {0x5468, 0xD6DC}, {0x56FD, 0xB9FA}, {0x5915, 0xCFA6},
    {0x5E74, 0xC4EA}, {0x5E86, 0xC7EC}, {0x5FF5, 0xC4EE}, {0x6218, 0xD5BD}, {0x6297, 0xBFB9}, {0x65AF, 0xCBB9},
    {0x65E5, 0xC8D5}, {0x65E6, 0xB5A9}, {0x660E, 0xC3F7}, {0x6625, 0xB4BA}, {0x66A8, 0xF4DF}, {0x6CD5, 0xB7A8},
    {0x6E05, 0xC7E5}, {0x754C, 0xBDE7}, {0x79CB, 0xC7EF}, {0x7AEF, 0xB6CB}, {0x7EAA, 0xBCCD}, {0x80DC, 0xCAA4},
    {0x8282, 0xBDDA}, {0x897F, 0xCEF7}, {0x9645, 0xBCCA}, {0x9664, 0xB3FD},
};

// The next code point of UTF-8 text at *i (advanced past it); false for a malformed, overlong or
// surrogate sequence, or one cut off at the end.
bool NextCodePoint(const std::string& s, size_t* i, uint32_t* cp) {
    const unsigned char b = static_cast<unsigned char>(s[*i]);
    const size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || *i + n > s.size()) return false;
    uint32_t v = n == 1 ? b : b & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        const unsigned char c = static_cast<unsigned char>(s[*i + k]);
        if ((c & 0xC0) != 0x80) return false;
        v = (v << 6) | (c & 0x3F);
    }
    static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kLeast[n] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
    *i += n;
    *cp = v;
    return true;
}

// Number of code points of valid UTF-8 text, or SIZE_MAX.
size_t CodePointCount(const std::string& s) {
    size_t count = 0;
    uint32_t cp;
    for (size_t i = 0; i < s.size(); ++count)
        if (!NextCodePoint(s, &i, &cp)) return SIZE_MAX;
    return count;
}

std::string DateText(int32_t dayNumber) {
    const SolarDate d = SolarFromDayNumber(dayNumber);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

// YYYY-MM-DD of a real date: its day number, else 0.
int32_t ParseDate(const std::string& s) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return 0;
    int v[3] = {0, 0, 0};
    const size_t start[3] = {0, 5, 8}, length[3] = {4, 2, 2};
    for (int f = 0; f < 3; ++f)
        for (size_t i = start[f]; i < start[f] + length[f]; ++i) {
            if (s[i] < '0' || s[i] > '9') return 0;
            v[f] = v[f] * 10 + (s[i] - '0');
        }
    return DayNumber(v[0], v[1], v[2]);
}

bool IsPaperUrl(const std::string& s) {
    if (s.size() > kMaxPaperBytes || (s.compare(0, 7, "http://") != 0 && s.compare(0, 8, "https://") != 0))
        return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x21 && c <= 0x7E; });
}

struct FileDay {
    int32_t dayNumber;
    bool off;
    std::string name;  // GBK
};

HolidayJsonResult Refuse(HolidayJsonResult r, const std::string& reason) {
    r.status = HolidayJsonStatus::Refused;
    r.reason = reason;
    r.papers.clear();
    r.table = HolidayTable();
    return r;
}

HolidayJsonResult Read(const char* data, size_t size, int wantedYear) {
    HolidayJsonResult r;
    if (size > kHolidayJsonMaxBytes) return Refuse(r, "larger than 64 KiB");
    if (size >= 3 && std::equal(data, data + 3, "\xEF\xBB\xBF"))
        return Refuse(r, "starts with a UTF-8 byte order mark");
    size_t first = 0;
    while (first < size && (data[first] == ' ' || data[first] == '\t' || data[first] == '\r' || data[first] == '\n'))
        ++first;
    if (first < size && data[first] == '<') return Refuse(r, "HTML, not JSON (a portal's or a proxy's page?)");

    const Json doc = Json::parse(data, data + size, nullptr, /*allow_exceptions=*/false);
    if (doc.is_discarded()) return Refuse(r, "not valid JSON");
    if (!doc.is_object()) return Refuse(r, "not a JSON object");
    const auto year = doc.find("year");
    if (year == doc.end() || !year->is_number_integer()) return Refuse(r, "no integer \"year\"");
    const int64_t y = year->get<int64_t>();
    if (y < kHolidayFirstYear || y > kHolidayLastYear) return Refuse(r, "\"year\" outside 1900 ... 2100");
    r.year = static_cast<int>(y);
    if (wantedYear != 0 && r.year != wantedYear)
        return Refuse(r, "\"year\" is " + std::to_string(r.year) + ", not " + std::to_string(wantedYear));
    const auto papers = doc.find("papers");
    const auto days = doc.find("days");
    if (papers == doc.end() || !papers->is_array()) return Refuse(r, "no array \"papers\"");
    if (days == doc.end() || !days->is_array()) return Refuse(r, "no array \"days\"");
    for (const Json& p : *papers) {
        if (!p.is_string() || !IsPaperUrl(p.get_ref<const std::string&>()))
            return Refuse(r, "a paper is not an http(s) URL of printable ASCII up to 256 bytes");
        r.papers.push_back(p.get<std::string>());
    }
    if (days->empty()) {
        r.status = HolidayJsonStatus::NotPublished;
        r.reason = "no days: the year's arrangement is not published yet";
        r.papers.clear();
        return r;
    }
    if (r.papers.empty()) return Refuse(r, "days without a notice address in \"papers\"");
    if (days->size() > kHolidayJsonMaxDays)
        return Refuse(r, std::to_string(days->size()) + " days, more than " + std::to_string(kHolidayJsonMaxDays));

    const int32_t lo = DayNumber(r.year - 1, 12, 1), hi = DayNumber(r.year, 12, 31);
    std::vector<FileDay> list;
    for (size_t i = 0; i < days->size(); ++i) {
        const Json& d = (*days)[i];
        const std::string at = "days[" + std::to_string(i) + "]: ";
        if (!d.is_object()) return Refuse(r, at + "not an object");
        const auto name = d.find("name"), date = d.find("date"), off = d.find("isOffDay");
        if (name == d.end() || !name->is_string()) return Refuse(r, at + "no string \"name\"");
        if (date == d.end() || !date->is_string()) return Refuse(r, at + "no string \"date\"");
        if (off == d.end() || !off->is_boolean()) return Refuse(r, at + "no boolean \"isOffDay\"");
        const int32_t n = ParseDate(date->get_ref<const std::string&>());
        if (n == 0) return Refuse(r, at + "the date is not a real date YYYY-MM-DD");
        if (n < lo || n > hi) return Refuse(r, at + DateText(n) + " lies outside the year and the December before");
        const bool isOff = off->get<bool>();
        const SolarDate s = SolarFromDayNumber(n);
        const int weekday = DayOfWeek(s.year, s.month, s.day);
        if (!isOff && weekday != 0 && weekday != 6)
            return Refuse(r, at + DateText(n) + " is a 班 day that is not a Saturday or Sunday");
        const std::string& utf8 = name->get_ref<const std::string&>();
        if (utf8.empty()) return Refuse(r, at + "an empty name");
        if (CodePointCount(utf8) > kHolidayJsonMaxNameChars)
            return Refuse(r, at + "a name longer than " + std::to_string(kHolidayJsonMaxNameChars) + " characters");
        FileDay day{n, isOff, std::string()};
        if (!HolidayNameToGbk(utf8, &day.name))
            return Refuse(r, at + "a name with a character outside the holiday names' set or a space");
        list.push_back(std::move(day));
    }
    std::sort(list.begin(), list.end(), [](const FileDay& a, const FileDay& b) { return a.dayNumber < b.dayNumber; });
    for (size_t i = 1; i < list.size(); ++i)
        if (list[i].dayNumber == list[i - 1].dayNumber) return Refuse(r, DateText(list[i].dayNumber) + " given twice");

    // The lines of calendar/holidays.txt: one notice, then each run of consecutive days off of one
    // name as a span with its length, and each 班 day.
    std::string text = "年 " + std::to_string(r.year) + " holiday-cn -\n";
    for (size_t i = 0; i < list.size();) {
        size_t end = i + 1;
        if (list[i].off)
            while (end < list.size() && list[end].off && list[end].name == list[i].name &&
                   list[end].dayNumber == list[end - 1].dayNumber + 1)
                ++end;
        if (list[i].off)
            text += "休 " + list[i].name + " " + DateText(list[i].dayNumber) + " " + DateText(list[end - 1].dayNumber) +
                    " " + std::to_string(end - i) + "\n";
        else
            text += "班 " + list[i].name + " " + DateText(list[i].dayNumber) + "\n";
        i = end;
    }
    std::vector<HolidayProblem> problems;
    r.table = HolidayTable::Parse(text.data(), text.size(), "holiday-cn", &problems);
    if (!problems.empty()) return Refuse(r, "line " + std::to_string(problems[0].line) + ": " + problems[0].reason);
    if (r.table.Years() != std::vector<int>{r.year}) return Refuse(r, "the year's lines did not read back");
    r.table.SetSource(HolidayOrigin::Fetched, r.papers.front());
    r.status = HolidayJsonStatus::Ok;
    return r;
}

}  // namespace

bool HolidayNameToGbk(const std::string& utf8, std::string* gbk) {
    std::string out;
    uint32_t cp = 0;
    for (size_t i = 0; i < utf8.size();) {
        if (!NextCodePoint(utf8, &i, &cp)) return false;
        if (cp >= 0x21 && cp <= 0x7E) {
            out += static_cast<char>(cp);
            continue;
        }
        const auto it = std::lower_bound(std::begin(kNameChars), std::end(kNameChars), cp,
                                         [](const NameChar& c, uint32_t v) { return c.codePoint < v; });
        if (it == std::end(kNameChars) || it->codePoint != cp) return false;
        out += static_cast<char>(it->gbk >> 8);
        out += static_cast<char>(it->gbk & 0xFF);
    }
    *gbk = std::move(out);
    return true;
}

HolidayJsonResult ReadHolidayJson(const char* data, size_t size, int year) {
    if (data == nullptr) size = 0;
    // The parse itself reports bad input without exceptions; what could still throw is running out
    // of memory, which is no reason to take the caller down either.
    try {
        return Read(data != nullptr ? data : "", size, year);
    } catch (const std::exception&) {
        return Refuse(HolidayJsonResult(), "could not be read (out of memory)");
    }
}

// The statutory days off (休) and adjusted workdays (班) of mainland China, as the State Council's
// yearly notices give them, read from text in the line format described at the top of
// calendar/holidays.txt. Portable: no file access here; callers hand in the bytes.
//
// All text is GBK: the built-in data (calendar/holidays.txt, UTF-8 in the source tree) is embedded
// as a narrow string literal and so compiled to GBK like every other literal; the notes folder's
// "假日.txt" is GBK as stored. A table answers per day (none, 休 or 班, with the holiday's name) and
// per year (announced or not, with its notices and where its data came from). A year without a
// notice is not announced: nothing is marked in it and nothing is guessed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The years a notice may be given for; its days may also lie in December of the year before.
constexpr int kHolidayFirstYear = 1900;
constexpr int kHolidayLastYear = 2100;

enum class HolidayMark : uint8_t { None, Off, Work };  // 休, 班

struct HolidayNotice {
    std::string number;  // as given, e.g. 国办发明电〔2025〕7号
    std::string date;    // YYYY-MM-DD, "" when the data says "-" (not known)
    bool amends;         // a later notice changing the year's arrangement (line "改")
};

// A marked day as the notices of one year decide it.
struct HolidayDay {
    int32_t dayNumber;  // DayNumber of the date
    HolidayMark mark;   // Off or Work
    const char* name;   // the holiday's name, GBK, valid while the table lives
};

// A line that was left out: the source name given to Parse, its 1-based line number, and why (GBK).
// The largest holiday file read (a year's data is under 2 KB): larger ones are refused and told.
constexpr size_t kMaxHolidayFileBytes = 1024 * 1024;
// The problems of one file kept to tell the user; the rest are only counted.
constexpr size_t kMaxHolidayProblemsKept = 20;

struct HolidayProblem {
    std::string source;
    int line;
    std::string reason;
};

// Where a year's data came from: the data compiled in (its notices say which), the user's file (the
// source name given to Parse, "假日.txt"), or a fetched holiday-cn year file (the address of its
// notice, calendar/holiday_json.h).
enum class HolidayOrigin : uint8_t { BuiltIn, UserFile, Fetched };

struct HolidaySource {
    HolidayOrigin origin;
    std::string address;  // "" for BuiltIn; the file's name for UserFile; the notice's URL for Fetched
};

class HolidayTable {
public:
    // Reads size bytes of GBK text. Every line that does not parse, or fails a check (a 班 day that
    // is not a Saturday or Sunday, a span whose length is not its stated count, a date outside the
    // notice's year and the December before it, a day given twice by one notice, a second "年" for
    // a year, a "改" without its "年" above), is left out whole and appended to *problems (when not
    // null). Safe on any bytes, including NUL and truncated GBK. Every year read gets the source
    // {UserFile, source}; SetSource changes that.
    // With problemCount, every problem is counted there and only the first kMaxHolidayProblemsKept
    // are appended (a file of a million bad lines costs no memory).
    static HolidayTable Parse(const char* text, size_t size, const std::string& source,
                              std::vector<HolidayProblem>* problems, size_t* problemCount = nullptr);

    // The data compiled in, parsed at its first use (thread-safe). Its problems, if any, are what
    // the data's own test reports; they are kept in BuiltInProblems(). Its years' source is BuiltIn.
    static const HolidayTable& BuiltIn();
    static const std::vector<HolidayProblem>& BuiltInProblems();

    // base with every year that overlay announces taken wholly from overlay (the user's file
    // replaces the built-in year; the other years stay).
    static HolidayTable Overlay(const HolidayTable& base, const HolidayTable& overlay);

    // The years of all three, each from one source: the user's file beats everything, the built-in
    // data beats a fetched year, and a fetched year only fills a year neither has. Of two fetched
    // tables announcing one year, the later in the list wins. Source(year) says which one it was.
    static HolidayTable Combine(const HolidayTable& builtIn, const HolidayTable& user,
                                const std::vector<HolidayTable>& fetched);

    // The mark of a date, and the holiday's name (GBK, valid while the table lives) when name is not
    // null; *name is "" for HolidayMark::None. Any int arguments: a non-date is None. When notices of
    // two years name one day, the later year's notice decides; within a year, the later notice does.
    HolidayMark Mark(int year, int month, int day, const char** name = nullptr) const;

    // The notices of a year, the first one before its amendments; null when the year is not announced.
    const std::vector<HolidayNotice>* Notices(int year) const;
    bool Announced(int year) const { return Notices(year) != nullptr; }
    // Where a year's data came from; null when the year is not announced.
    const HolidaySource* Source(int year) const;
    // Gives every year of the table this source.
    void SetSource(HolidayOrigin origin, const std::string& address);
    // The announced years, ascending.
    std::vector<int> Years() const;
    // The marked days whose mark the notices of year decide (Mark's answer), in date order: the
    // days it names in its own year and in the December before, less those a later year's notice
    // decides. Empty when the year is not announced.
    std::vector<HolidayDay> DaysOf(int year) const;

private:
    struct Day {
        int32_t dayNumber;  // DayNumber of the date
        HolidayMark mark;
        std::string name;
        int year;  // of the notice that names it
    };
    struct Year {
        int year;
        HolidaySource source;
        std::vector<HolidayNotice> notices;
        std::vector<std::vector<Day>> days;  // per notice, as stated
    };

    Year* FindYear(int year);
    const Year* FindYear(int year) const;
    void Rebuild();

    std::vector<Year> years_;  // ascending
    std::vector<Day> marked_;  // the effective mark of each marked day, by dayNumber
};

// A holiday file the user wrote, before it is parsed: one too large, or saved in UTF-8 (a copy of
// the project's own UTF-8 data is an easy mistake; its names would turn to nonsense as GBK), is not
// used at all.
enum class HolidayFileTrouble { None, TooLarge, Utf8, BadLines };
HolidayFileTrouble CheckHolidayFile(const char* data, size_t size);
// True when the bytes carry a UTF-8 byte-order mark, or are valid UTF-8 holding at least one
// character outside ASCII (GBK text almost never is).
bool LooksLikeUtf8(const char* data, size_t size);
// The one notice (GBK) told of a file that is not used whole: name as the user knows it; for
// BadLines, badLines of them in all and the first few in shown.
std::string HolidayFileNotice(const std::string& name, HolidayFileTrouble trouble,
                              const std::vector<HolidayProblem>& shown, size_t badLines);

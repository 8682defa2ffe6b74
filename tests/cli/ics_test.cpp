// vestrel-cal --ics through RunCli and its parts: the range's ends, notes folders that are refused,
// damaged list files, where each kind of note lands, note text, colours and term instants. The
// output is read back with libical's parser. Narrow literals are GBK (as the note files hold
// them); expected text is written as u8"" literals.
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "calendar/gregorian.h"
#include "calendar/holidays.h"
#include "calendar/lunar.h"
#include "cli/cli.h"
#include "cli/css_colors.h"
#include "cli/ics_export.h"
#include "cli/note_folder.h"
#include "cli/terminal_text.h"
#include "notes/note_codec.h"

namespace {

namespace fs = std::filesystem;

const char kListsUtf8[] = u8"日历";
const char kListsGbk[] = "\xC8\xD5\xC0\xFA";
const char kRootUtf8[] = u8"我的记事";
const char kRootGbk[] = "\xCE\xD2\xB5\xC4\xBC\xC7\xCA\xC2";
constexpr uint32_t kOwn = OwnColorFlag;

struct Result {
    int status;
    std::string out, err;
};

Result Cal(std::vector<const char*> args) {
    args.insert(args.begin(), "vestrel-cal");
    std::ostringstream out, err;
    const int status = RunCli(static_cast<int>(args.size()), args.data(), out, err, {2017, 1, 28, false});
    return {status, out.str(), err.str()};
}

int Lines(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

// A fresh folder, removed with all it holds at the end of the test.
class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/vestrel-ics-XXXXXX";
        path_ = mkdtemp(name);
    }
    ~TempDir() { fs::remove_all(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

struct Slot {
    int index;
    const char* text;  // GBK
    uint32_t colourWord;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteList(const std::string& path, const std::vector<Slot>& slots) {
    NoteEntry entries[32];
    for (const Slot& s : slots) entries[s.index].Assign(s.text, static_cast<int>(std::strlen(s.text)), s.colourWord);
    const std::vector<char> bytes = EncodeNoteList(entries, 31);
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

// dir/<root>/<lists> made, the path of <lists> returned.
std::string MakeFolders(const std::string& dir, const char* root, const char* lists) {
    const std::string path = dir + "/" + root + "/" + lists;
    fs::create_directories(path);
    return path;
}

struct Event {
    std::string uid, summary, description, color, rrule;
    int year, month, day;  // DTSTART
    int days;              // DTEND - DTSTART
    time_t stamp;          // DTSTAMP
    time_t modified;       // LAST-MODIFIED, -1 when none
    std::string timed;     // a timed event: "HH:MM +minutes", " zoned" after it unless floating; else ""
    std::string alarm;     // of its VALARM: "trigger-seconds DESCRIPTION"; "" when none
};

// The VEVENTs of an iCalendar text, by UID. ADD_FAILURE when libical cannot parse it.
std::map<std::string, Event> Parse(const std::string& ics) {
    std::map<std::string, Event> events;
    icalcomponent* cal = icalparser_parse_string(ics.c_str());
    if (cal == nullptr) {
        ADD_FAILURE() << "not an iCalendar text";
        return events;
    }
    for (icalcomponent* e = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); e != nullptr;
         e = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        Event ev;
        ev.uid = icalcomponent_get_uid(e);
        ev.summary = icalcomponent_get_summary(e) ? icalcomponent_get_summary(e) : "";
        ev.description = icalcomponent_get_description(e) ? icalcomponent_get_description(e) : "";
        if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_COLOR_PROPERTY))
            ev.color = icalproperty_get_color(p);
        if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            ev.rrule = icalrecurrencetype_as_string(&rule);
        }
        icaltimezone* utc = icaltimezone_get_utc_timezone();
        ev.stamp = icaltime_as_timet_with_zone(icalcomponent_get_dtstamp(e), utc);
        ev.modified = -1;
        if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_LASTMODIFIED_PROPERTY))
            ev.modified = icaltime_as_timet_with_zone(icalproperty_get_lastmodified(p), utc);
        const icaltimetype start = icalcomponent_get_dtstart(e);
        ev.year = start.year;
        ev.month = start.month;
        ev.day = start.day;
        const icaltimetype end = icalcomponent_get_dtend(e);
        ev.days = DayNumber(end.year, end.month, end.day) - DayNumber(start.year, start.month, start.day);
        if (!start.is_date) {
            const int minutes = ev.days * 1440 + (end.hour - start.hour) * 60 + end.minute - start.minute;
            char t[32];
            std::snprintf(t, sizeof t, "%02d:%02d +%d%s", start.hour, start.minute, minutes,
                          start.zone != nullptr || icaltime_is_utc(start) ? " zoned" : "");
            ev.timed = t;
        }
        EXPECT_LE(icalcomponent_count_components(e, ICAL_VALARM_COMPONENT), 1) << ev.uid;
        if (icalcomponent* a = icalcomponent_get_first_component(e, ICAL_VALARM_COMPONENT)) {
            const icalproperty* trigger = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
            ev.alarm = (trigger ? std::to_string(icaldurationtype_as_int(icalproperty_get_trigger(trigger).duration)) : "?") +
                       " " + (icalcomponent_get_description(a) ? icalcomponent_get_description(a) : "?");
        }
        EXPECT_EQ(events.count(ev.uid), 0u) << "UID twice: " << ev.uid;
        events[ev.uid] = ev;
    }
    icalcomponent_free(cal);
    return events;
}

std::string Date(const Event& e) {
    char s[16];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d", e.year, e.month, e.day);
    return s;
}

// The events whose summary is summary (UTF-8), as "YYYY-MM-DD" in order.
std::vector<std::string> DatesOf(const std::map<std::string, Event>& events, const std::string& summary) {
    std::vector<std::string> dates;
    for (const auto& [uid, e] : events)
        if (e.summary == summary) dates.push_back(Date(e));
    std::sort(dates.begin(), dates.end());
    return dates;
}

TEST(IcsArguments, FirstAndLastYearsOfTheCalendar) {
    const auto first = Parse(Cal({"--ics", "1900", "1900"}).out);
    ASSERT_FALSE(first.empty());
    // The calendar starts on 1900-02-01: neither 元旦 nor the two January terms of 1900.
    for (const auto& [uid, e] : first) EXPECT_GE(Date(e), "1900-02-01") << uid;
    EXPECT_EQ(DatesOf(first, u8"立春"), std::vector<std::string>{"1900-02-04"});
    const auto last = Parse(Cal({"--ics", "2100", "2100"}).out);
    EXPECT_EQ(DatesOf(last, u8"冬至"), std::vector<std::string>{"2100-12-22"});
    EXPECT_EQ(DatesOf(last, u8"元旦"), std::vector<std::string>{"2100-01-01"});
    // Festivals by their full names, Gregorian ones from their first years, stamped 2026-12-10.
    const auto early = Parse(Cal({"--ics", "1911", "1950"}).out);
    EXPECT_EQ(DatesOf(first, u8"正月初二"), std::vector<std::string>{"1900-02-01"});
    for (const auto& [name, day] : std::map<std::string, std::string>{{u8"元旦", "1912-01-01"}, {u8"劳动节", "1950-05-01"},
                                                                        {u8"儿童节", "1950-06-01"}, {u8"国庆节", "1950-10-01"},
                                                                        {u8"端午节", "1911-06-01"}, {u8"中秋节", "1911-10-06"}})
        EXPECT_EQ(DatesOf(early, name).at(0), day) << name;
    for (const char* name : {u8"初二", u8"初三", u8"端午", u8"中秋", u8"国庆"}) EXPECT_EQ(DatesOf(early, name).size(), 0u);
    EXPECT_EQ(early.at("19501001-festival@vestrel-cal").stamp, 1796860800);
}

TEST(IcsNotesFolder, MissingOrUnusableFoldersAreStatusTwo) {
    TempDir tmp;
    const std::string file = tmp.Path() + "/a-file";
    WriteBytes(file, "x");
    const std::string empty = tmp.Path() + "/empty";
    fs::create_directories(empty + "/" + kRootUtf8 + "/" + u8"备忘");
    const std::string listsIsFile = tmp.Path() + "/lists-is-a-file";
    fs::create_directories(listsIsFile);
    WriteBytes(listsIsFile + "/" + kListsUtf8, "x");
    struct { const char* what; std::string dir; } rows[] = {
        {"no such folder",                tmp.Path() + "/missing"},
        {"a file, not a folder",          file},
        {"no list folder, nor a root",    empty},
        {"the list folder is a file",     listsIsFile},
    };
    for (const auto& row : rows) {
        const Result r = Cal({"--ics", "2017", "2017", "--notes", row.dir.c_str()});
        EXPECT_EQ(r.status, 2) << row.what;
        EXPECT_EQ(r.out, "") << row.what;
        EXPECT_EQ(Lines(r.err), 1) << row.what << ": " << r.err;
        EXPECT_NE(r.err.find(row.dir), std::string::npos) << row.what << ": " << r.err;
    }
}

TEST(IcsNotesFolder, FolderNamesInUtf8OrGbkAndTheFolderAbove) {
    struct { const char* what; const char* root; const char* lists; bool giveRoot; } rows[] = {
        // what                              root       lists       --notes names the root
        {"UTF-8 names, the notes folder",    kRootUtf8, kListsUtf8, true},
        {"UTF-8 names, the folder above",    kRootUtf8, kListsUtf8, false},
        {"GBK names, the notes folder",      kRootGbk,  kListsGbk,  true},
        {"GBK names, the folder above",      kRootGbk,  kListsGbk,  false},
    };
    for (const auto& row : rows) {
        TempDir tmp;
        WriteList(MakeFolders(tmp.Path(), row.root, row.lists) + "/201703", {{8, "妇女节", 0}});
        const std::string dir = row.giveRoot ? tmp.Path() + "/" + row.root : tmp.Path();
        const Result r = Cal({"--ics", "2017", "2017", "--notes", dir.c_str()});
        ASSERT_EQ(r.status, 0) << row.what << ": " << r.err;
        EXPECT_EQ(DatesOf(Parse(r.out), u8"妇女节"), std::vector<std::string>{"2017-03-08"}) << row.what;
    }
}

TEST(IcsNotesFolder, TheUtf8NameComesBeforeTheGbkOne) {
    TempDir tmp;
    WriteList(MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8) + "/201703", {{8, "utf8", 0}});
    WriteList(MakeFolders(tmp.Path(), kRootUtf8, kListsGbk) + "/201703", {{8, "gbk", 0}});
    const auto events = Parse(Cal({"--ics", "2017", "2017", "--notes", tmp.Path().c_str()}).out);
    EXPECT_EQ(events.at("20170308-note@vestrel-cal").summary, "utf8");
}

TEST(IcsDamaged, NamedOnStderrAndNothingOnStdoutUnlessSkipped) {
    TempDir tmp;
    const std::string lists = MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
    const std::string root = tmp.Path() + "/" + kRootUtf8;
    WriteList(lists + "/201705", {{1, "good", 0}});
    // Damaged in each way: a record whose text runs past the end, a record past the last slot, a
    // folder under a list's name, a file larger than the program reads, a FIFO (never waited on).
    WriteBytes(lists + "/201703", std::string("\x64\x00\x08\x00\x09\x00\x00\x00\x00\x00" "abc", 13));
    WriteBytes(lists + "/week", std::string("\x64\x00\x08\x00\x01\x00\x00\x00\x00\x00" "x", 11));
    fs::create_directories(lists + "/006");
    WriteBytes(lists + "/101", std::string(4 * 1024 * 1024 + 1, '\0'));
    ASSERT_EQ(mkfifo((lists + "/201712").c_str(), 0600), 0);
    const std::vector<std::string> damaged = {"201703", "201712", "101", "006", "week"};  // the order read

    const Result stop = Cal({"--ics", "2017", "2017", "--notes", root.c_str()});
    EXPECT_EQ(stop.status, kCliStopped);
    EXPECT_EQ(stop.out, "");
    EXPECT_EQ(Lines(stop.err), static_cast<int>(damaged.size())) << stop.err;
    std::istringstream lines(stop.err);
    for (const std::string& name : damaged) {
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "vestrel-cal: damaged note file " + lists + "/" + name);
    }

    const Result skip = Cal({"--ics", "2017", "2017", "--skip-damaged", "--notes", root.c_str()});
    EXPECT_EQ(skip.status, 0);
    EXPECT_EQ(Lines(skip.err), static_cast<int>(damaged.size())) << skip.err;
    EXPECT_NE(skip.err.find("201703, left out\n"), std::string::npos) << skip.err;
    const auto events = Parse(skip.out);
    EXPECT_EQ(DatesOf(events, "good"), std::vector<std::string>{"2017-05-01"});
    EXPECT_EQ(events.count("20170308-note@vestrel-cal"), 0u);  // the record before the damage is left out too

    // A damaged month outside the range is never read.
    EXPECT_EQ(Cal({"--ics", "2018", "2018", "--notes", root.c_str()}).status, kCliStopped);  // 101, 006, week
    fs::remove(lists + "/101");
    fs::remove(lists + "/006");
    fs::remove(lists + "/week");
    EXPECT_EQ(Cal({"--ics", "2018", "2018", "--notes", root.c_str()}).status, 0);
}

// Each month's list is read when the walk reaches it: one damaged after Open (an edit in between)
// stops the export after the months before it, or with --skip-damaged is left out; both name it.
TEST(IcsDamaged, AListDamagedDuringTheExport) {
    for (const bool skip : {false, true}) {
        TempDir tmp;
        const std::string lists = MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
        WriteList(lists + "/201703", {{8, "march", 0}});
        WriteList(lists + "/201705", {{1, "may", 0}});
        WriteList(lists + "/201707", {{1, "july", 0}});
        NoteFolder folder(skip);
        std::string problem;
        ASSERT_TRUE(folder.Open(tmp.Path(), 2017, 2017, &problem)) << problem;
        WriteList(lists + "/201705", {{1, "may edited", 0}});  // read whole later: its new text
        WriteBytes(lists + "/201707", std::string("\x64\x00\x01\x00\x09\x00\x00\x00\x00\x00" "abc", 13));
        std::ostringstream out;
        EXPECT_EQ(WriteIcs({2017, 2017, kIcsDefaultUidDomain, ""}, folder, out), skip) << skip;
        EXPECT_EQ(folder.Damaged(), std::vector<std::string>{lists + "/201707"});
        const std::string ics = out.str();
        EXPECT_EQ(ics.find("END:VCALENDAR") != std::string::npos, skip) << skip;
        EXPECT_NE(ics.find("SUMMARY:may edited\r\n"), std::string::npos);
        EXPECT_EQ(ics.find("20170701-note@"), std::string::npos);
        EXPECT_EQ(ics.find("UID:20171001-festival@") != std::string::npos, skip) << skip;  // nothing after a stop
    }
}

TEST(IcsNotes, WhereEachKindLands) {
    TempDir tmp;
    const std::string lists = MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
    const std::string root = tmp.Path() + "/" + kRootUtf8;
    WriteList(lists + "/201704", {{0, "slot 0", 0}, {30, "april 30", 0}, {31, "april 31", 0}});
    WriteList(lists + "/201803", {{1, "next year", 0}});
    WriteList(lists + "/102", {{29, "feb 29", 0}, {30, "feb 30", 0}});
    WriteList(lists + "/101", {{1, "new year", 0}});
    WriteList(lists + "/week", {{0, "sunday", 0}, {6, "saturday", 0}, {7, "slot 7", 0}});
    WriteList(lists + "/012", {{29, "12-29", 0}, {30, "12-30", 0}});
    WriteList(lists + "/006", {{29, "6-29", 0}, {30, "6-30", 0}});
    WriteList(lists + "/201705", {{2, "", kOwn | 0xFF}, {3, " \r\n ", 0}, {4, "\r\n  x  \r\ny", 0}});
    const Result r = Cal({"--ics", "2017", "2017", "--notes", root.c_str()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto events = Parse(r.out);

    struct { const char* summary; std::vector<std::string> dates; const char* rrule; } rows[] = {
        // summary     dates                                 repeat
        {"slot 0",     {},                                   ""},  // no day 0
        {"april 30",   {"2017-04-30"},                       ""},
        {"april 31",   {},                                   ""},
        {"next year",  {},                                   ""},  // outside the range
        {"feb 29",     {},                                   ""},  // 2017 has none
        {"feb 30",     {},                                   ""},
        {"new year",   {"2017-01-01"},                       "FREQ=YEARLY;UNTIL=20171231"},
        {"sunday",     {"2017-01-01"},                       "FREQ=WEEKLY;UNTIL=20171231"},
        {"saturday",   {"2017-01-07"},                       "FREQ=WEEKLY;UNTIL=20171231"},
        {"slot 7",     {},                                   ""},
        // The 十二月 of lunar 2016 (2016-12-29 ... 2017-01-27) has 30 days; that of 2017 starts
        // in 2018.
        {"12-29",      {"2017-01-26"},                       ""},
        {"12-30",      {"2017-01-27"},                       ""},
        // 2017: 六月 has 29 days (2017-06-24 ... 07-22), 闰六月 30 (2017-07-23 ... 08-21).
        {"6-29",       {"2017-07-22", "2017-08-20"},         ""},
        {"6-30",       {"2017-07-22", "2017-08-21"},         ""},
        {"x",          {"2017-05-04"},                       ""},  // the first line with text
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DatesOf(events, row.summary), row.dates) << row.summary;
        for (const auto& [uid, e] : events)
            if (e.summary == row.summary) {
                EXPECT_EQ(e.rrule, row.rrule) << row.summary;
            }
    }
    // A colour-only mark and a note of blanks give no event.
    EXPECT_EQ(events.count("20170502-note@vestrel-cal"), 0u);
    EXPECT_EQ(events.count("20170503-note@vestrel-cal"), 0u);
    EXPECT_EQ(events.at("20170504-note@vestrel-cal").description, "\n  x  \ny");

    // Both notes on the last day of a 29-day month, each under its own UID.
    EXPECT_EQ(events.at("lunar-2017-06-29-note@vestrel-cal").summary, "6-29");
    EXPECT_EQ(events.at("lunar-2017-06-30-note@vestrel-cal").summary, "6-30");
    EXPECT_EQ(events.at("lunar-2017-06L-30-note@vestrel-cal").summary, "6-30");
    // A yearly note of 29 February starts in the first leap year of the range.
    EXPECT_EQ(events.count("yearly-0229-note@vestrel-cal"), 0u);
    const auto leap = Parse(Cal({"--ics", "2017", "2021", "--notes", root.c_str()}).out);
    EXPECT_EQ(DatesOf(leap, "feb 29"), std::vector<std::string>{"2020-02-29"});
}

// Each time a note's lines begin with is a timed event of its own at floating local time, 30 minutes
// long, with an alarm at its start, on the days its all-day event has, under a UID of the note's
// and the time; the other lines stay the all-day event, none when every line is a reminder.
TEST(IcsReminders, TimedEventsWithAnAlarmBesideTheAllDayOne) {
    TempDir tmp;
    const std::string lists = MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
    WriteList(lists + "/201703", {{8, "牙医\r\n９：３０　出发\r\n23:45 晚\r\n9:30 second", 0}, {9, "8:00\r\n18:05 x", 0},
                                  {10, "a 9:30\r\n24:00\r\n 9:30\r\n9:3", 0}});
    WriteList(lists + "/102", {{14, "20:00 情人节", 0}}), WriteList(lists + "/week", {{1, "7:00 晨跑\r\n周一", 0}});
    WriteList(lists + "/006", {{30, "6:30　农历", 0}});
    std::map<std::string, std::string> got;  // note UID -> "date time | summary | alarm"
    const auto events = Parse(Cal({"--ics", "2017", "2017", "--notes", tmp.Path().c_str()}).out);
    for (const auto& [uid, e] : events)
        if (uid.find("note") != std::string::npos) got[uid] = Date(e) + " " + e.timed + " | " + e.summary + " | " + e.alarm;
    EXPECT_EQ(got, (std::map<std::string, std::string>{
                       {"20170308-note@vestrel-cal", u8"2017-03-08  | 牙医 | "},  // the untimed line
                       {"20170308-note-0930@vestrel-cal", u8"2017-03-08 09:30 +30 | 出发; second | 0 出发; second"},
                       {"20170308-note-2345@vestrel-cal", u8"2017-03-08 23:45 +30 | 晚 | 0 晚"},  // ends the next day
                       {"20170309-note-0800@vestrel-cal", "2017-03-09 08:00 +30 | 8:00 | 0 8:00"},
                       {"20170309-note-1805@vestrel-cal", "2017-03-09 18:05 +30 | x | 0 x"},
                       {"20170310-note@vestrel-cal", "2017-03-10  | a 9:30 | "},  // no time that counts
                       {"yearly-0214-note-2000@vestrel-cal", u8"2017-02-14 20:00 +30 | 情人节 | 0 情人节"},
                       {"weekly-1-note@vestrel-cal", u8"2017-01-02  | 周一 | "},
                       {"weekly-1-note-0700@vestrel-cal", u8"2017-01-02 07:00 +30 | 晨跑 | 0 晨跑"},
                       {"lunar-2017-06-30-note-0630@vestrel-cal", u8"2017-07-22 06:30 +30 | 农历 | 0 农历"},
                       {"lunar-2017-06L-30-note-0630@vestrel-cal", u8"2017-08-21 06:30 +30 | 农历 | 0 农历"}}));
    EXPECT_EQ(events.at("yearly-0214-note-2000@vestrel-cal").rrule, "FREQ=YEARLY;UNTIL=20171231T235900");
    EXPECT_EQ(events.at("20170308-note-2345@vestrel-cal").description, u8"牙医\n９：３０　出发\n23:45 晚\n9:30 second");
}

// Whole range: a lunar-yearly note for every day number of every month lands once in each lunar
// month of its number, on a day whose own lunar date (converted afresh) is the note's, or day 29 of
// a 29-day month for day 30.
TEST(IcsNotes, LunarYearlySweepOverTheWholeRange) {
    std::vector<FolderNote> notes;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 30; ++day) notes.push_back({NoteKind::LunarYearly, 0, month, day, 0, "n", 0});
    std::ostringstream ics;
    WriteIcs({1900, 2100, kIcsDefaultUidDomain, ""}, notes, ics);
    const auto events = Parse(ics.str());
    std::map<std::string, int> perMonth;  // "YYYY-MM[L]" -> events
    int lunarEvents = 0;
    for (const auto& [uid, e] : events) {
        int year, month, day;
        char leap[2] = "";
        if (std::sscanf(uid.c_str(), "lunar-%d-%d%1[L]-%d-note", &year, &month, leap, &day) != 4 &&
            std::sscanf(uid.c_str(), "lunar-%d-%d-%d-note", &year, &month, &day) != 3)
            continue;
        ++lunarEvents;
        const LunarDate l = LunarDate::FromSolar(e.year, e.month, e.day);
        ASSERT_TRUE(l.IsValid()) << uid;
        EXPECT_EQ(l.year, year) << uid;
        EXPECT_EQ(l.month, month) << uid;
        EXPECT_EQ(l.isLeap != 0, leap[0] == 'L') << uid;
        EXPECT_TRUE(l.day == day || (day == 30 && l.day == 29 && l.monthDays == 29)) << uid << " on " << Date(e);
        ++perMonth[uid.substr(0, uid.size() - std::string("-DD-note@vestrel-cal").size())];
    }
    // Every lunar month of 1900 ... 2100 has events, and all 30 unless a range end cuts it:
    // 1900-02-01 is 正月初二, 2100-12-31 is 十二月初一.
    int months = 12 * (2100 - 1900 + 1);
    for (int year = 1900; year <= 2100; ++year) months += LeapMonth(year) != 0;
    EXPECT_EQ(static_cast<int>(perMonth.size()), months);
    for (const auto& [month, count] : perMonth) {
        const int expected = month == "lunar-1900-01" ? 29 : month == "lunar-2100-12" ? 1 : 30;
        EXPECT_EQ(count, expected) << month;
    }
    EXPECT_GT(lunarEvents, (months - 2) * 30);
}

// Notes of every length from 1 to 400 UTF-8 bytes, each of one kind of character after (length mod
// its width) letters, so that a fold falls on every position of each kind, come back whole through
// libical's parser (ics_check.py checks the lines of the same texts).
TEST(IcsLines, EveryTextLengthComesBackWhole) {
    struct { const char* gbk; const char* utf8; size_t width; } units[] = {
        {"x", "x", 1}, {";", ";", 1}, {"中", u8"中", 3}, {"α", u8"α", 2}};
    std::vector<FolderNote> notes;
    std::map<std::string, std::string> expected, got;  // UID -> text
    for (const auto& unit : units) {
        for (size_t n = 1; n <= 400; ++n) {
            std::string gbk(n % unit.width, 'a'), utf8 = gbk;
            for (size_t k = 0; k < n / unit.width; ++k) gbk += unit.gbk, utf8 += unit.utf8;
            const SolarDate d = SolarFromDayNumber(DayNumber(2001, 1, 1) + static_cast<int32_t>(notes.size()));
            notes.push_back({NoteKind::Day, d.year, d.month, d.day, 0, gbk, 0});
            char uid[40];
            std::snprintf(uid, sizeof uid, "%04d%02d%02d-note@vestrel-cal", d.year, d.month, d.day);
            expected[uid] = utf8;
        }
    }
    std::ostringstream ics;
    WriteIcs({2001, 2005, kIcsDefaultUidDomain, ""}, notes, ics);
    for (const auto& [uid, e] : Parse(ics.str()))
        if (uid.find("-note@") != std::string::npos) got[uid] = e.summary == e.description ? e.summary : "(differ)";
    EXPECT_EQ(got, expected);
}

// A note's DTSTAMP and LAST-MODIFIED are its file's time of last write whatever FROM, newer after the
// file is written again and unchanged for other files; festivals and terms have kIcsTableStamp.
// --uid-domain changes the note UIDs alone.
TEST(IcsNoteIdentity, StampsFromTheFilesAndUidsOfTheDomain) {
    TempDir tmp;
    const std::string lists = MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
    const time_t written = 1700000000;  // 2023-11-14 22:13:20 UTC
    auto write = [&](const char* name, int slot, const char* text, time_t t) {
        WriteList(lists + "/" + name, {{slot, text, 0}});
        const timespec times[2] = {{t, 0}, {t, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, (lists + "/" + name).c_str(), times, 0), 0) << name;
    };
    write("201703", 8, "dated", written), write("102", 14, "yearly", written), write("week", 1, "weekly", written);
    for (const int edited : {0, 60}) {
        write("006", 15, edited ? "lunar, edited" : "lunar", written + edited);
        const Result r = Cal({"--ics", "2017", "2018", "--notes", tmp.Path().c_str()});
        EXPECT_EQ(Cal({"--ics", "2017", "2018", "--notes", tmp.Path().c_str()}).out, r.out);  // same bytes
        for (const char* from : {"1900", "2017"}) {
            for (const auto& [uid, e] : Parse(Cal({"--ics", from, "2018", "--notes", tmp.Path().c_str()}).out)) {
                const bool note = uid.find("-note@") != std::string::npos;
                const time_t stamp = !note ? kIcsTableStamp : uid.rfind("lunar-", 0) == 0 ? written + edited : written;
                EXPECT_EQ(e.stamp, stamp) << uid;
                EXPECT_EQ(e.modified, note ? stamp : -1) << uid;
            }
        }
    }
    for (const char* domain : {"alice.example.org", "bob_2.example-org"}) {
        int notes = 0;
        for (const auto& [uid, e] :
             Parse(Cal({"--ics", "2017", "2017", "--notes", tmp.Path().c_str(), "--uid-domain", domain}).out)) {
            const bool note = uid.find("-note@") != std::string::npos;
            notes += note;
            EXPECT_EQ(uid.substr(uid.find('@') + 1), note ? domain : "vestrel-cal") << uid;
        }
        EXPECT_EQ(notes, 5);  // dated, 六月十五, 闰六月十五, the weekly and the yearly series
    }
}

// The 休 and 班 events of 2007 ... 2026 cover exactly the days the table marks, the summary naming
// each day's holiday, the UID its first day; no 休 event continues another (one per span). The
// count of 2026's is checked by ics_check.py.
TEST(IcsHolidays, EveryMarkedDayOfTheNoticesAndOneEventPerSpan) {
    const Result r = Cal({"--ics", "2007", "2026", "--holidays"});
    ASSERT_EQ(std::make_pair(r.status, r.err), std::make_pair(0, std::string()));
    const auto events = Parse(r.out);
    std::map<int32_t, std::string> got, expected;  // day -> summary
    for (const auto& [uid, e] : events) {
        const bool off = uid.find("-holiday@") != std::string::npos;
        if (!off && uid.find("-workday@") == std::string::npos) continue;
        const int32_t first = DayNumber(e.year, e.month, e.day);
        EXPECT_EQ(uid, Date(e).erase(7, 1).erase(4, 1) + (off ? "-holiday@vestrel-cal" : "-workday@vestrel-cal"));
        EXPECT_FALSE(off && got.count(first - 1) && got[first - 1] == e.summary) << uid;
        for (int32_t n = first; n < first + e.days; ++n) EXPECT_TRUE(got.emplace(n, e.summary).second) << uid;
        EXPECT_EQ(std::make_pair(e.stamp, e.modified), std::make_pair(time_t{kIcsTableStamp}, time_t{-1})) << uid;
    }
    for (int32_t n = DayNumber(2006, 12, 1); n <= DayNumber(2026, 12, 31); ++n) {
        const SolarDate d = SolarFromDayNumber(n);
        const char* name;
        const HolidayMark mark = HolidayTable::BuiltIn().Mark(d.year, d.month, d.day, &name);
        const std::string utf8 = GbkToUtf8(name);
        if (mark != HolidayMark::None) expected[n] = mark == HolidayMark::Off ? utf8 + u8"放假" : u8"调休上班（" + utf8 + u8"）";
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(events.at("20200124-holiday@vestrel-cal").description,  // 春节 to 02-02 by the amendment
              u8"放假安排：国办发明电〔2019〕16号，2019-11-21\n调整：国办发明电〔2020〕1号，2020-01-26");
}

// 假日.txt replaces its years, stamped with its time of last write; years without a notice are named
// on stderr (a run of them once) and add nothing.
TEST(IcsHolidays, TheNotesFoldersFileAndUnannouncedYears) {
    TempDir tmp;
    MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
    const std::string file = tmp.Path() + "/" + kRootUtf8 + "/" + u8"假日.txt";
    WriteBytes(file, "年 2026 自定 -\n休 中秋节 2026-09-30\n休 国庆节 2026-10-01 2026-10-09 9\n班 国庆节 2026-10-10\n"
                     "年 2027 另 -\n休 元旦 2027-01-01\n");
    const timespec times[2] = {{1800000000, 0}, {1800000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    const Result r = Cal({"--ics", "2026", "2100", "--holidays", "--notes", tmp.Path().c_str()});
    EXPECT_EQ(std::make_pair(r.status, r.err),
              std::make_pair(0, std::string(u8"vestrel-cal: 2028 ... 2100: 未公布, no holidays exported\n")));
    std::map<std::string, std::string> got;  // UID -> "days summary DTSTAMP LAST-MODIFIED"
    for (const auto& [uid, e] : Parse(r.out))
        if (uid.find("day@") != std::string::npos)
            got[uid] = std::to_string(e.days) + " " + e.summary + " " + std::to_string(e.stamp) + " " +
                       std::to_string(e.modified);
    EXPECT_EQ(got, (std::map<std::string, std::string>{
                       {"20260930-holiday@vestrel-cal", u8"1 中秋节放假 1800000000 1800000000"},
                       {"20261001-holiday@vestrel-cal", u8"9 国庆节放假 1800000000 1800000000"},
                       {"20261010-workday@vestrel-cal", u8"1 调休上班（国庆节） 1800000000 1800000000"},
                       {"20270101-holiday@vestrel-cal", u8"1 元旦放假 1800000000 1800000000"}}));
}

// 假日.txt's years carry the later of its time of last write and the built-in data's stamp, so a
// file written before the table was revised never makes an app keep the built-in year's events.
TEST(IcsHolidays, TheFilesStampNeverGoesBehindTheTables) {
    TempDir tmp;
    MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
    const std::string file = tmp.Path() + "/" + kRootUtf8 + "/" + u8"假日.txt";
    WriteBytes(file, "年 2026 自定 -\n休 国庆节 2026-10-01 2026-10-09 9\n年 2027 另 -\n休 元旦 2027-01-01\n");
    struct { time_t written, stamp; } rows[] = {
        // file's time of last write          DTSTAMP and LAST-MODIFIED of both years
        {1780272000 /* 2026-06-01 */,         kIcsTableStamp},  // once 20260601T000000Z
        {kIcsTableStamp - 1,                  kIcsTableStamp},
        {1800000000 /* 2027-01-15 08:00 */,   1800000000},
    };
    for (const auto& row : rows) {
        const timespec times[2] = {{row.written, 0}, {row.written, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        std::set<std::pair<time_t, time_t>> stamps;
        int events = 0;
        for (const auto& [uid, e] : Parse(Cal({"--ics", "2026", "2027", "--holidays", "--notes", tmp.Path().c_str()}).out))
            if (uid.find("-holiday@") != std::string::npos) stamps.emplace(e.stamp, e.modified), ++events;
        EXPECT_EQ(events, 2) << row.written;
        EXPECT_EQ(stamps, (std::set<std::pair<time_t, time_t>>{{row.stamp, row.stamp}})) << row.written;
    }
}

// A 假日.txt year 1900 may name days from 1899-12-01 on; neither --holidays nor --ics names a day
// before the calendar's first, 1900-02-01, and a span across it starts there.
TEST(IcsHolidays, NoDayBeforeTheCalendarsFirst) {
    TempDir tmp;
    MakeFolders(tmp.Path(), kRootUtf8, kListsUtf8);
    WriteBytes(tmp.Path() + "/" + kRootUtf8 + "/" + u8"假日.txt",
               "年 1900 自定 -\n休 元旦 1899-12-30 1900-01-06 8\n班 元旦 1899-12-24\n休 春节 1900-01-30 1900-02-03 5\n"
               "班 春节 1900-02-04\n");
    const Result days = Cal({"--holidays", "1900", "1900", "--notes", tmp.Path().c_str()});
    EXPECT_EQ(days.err, "");
    EXPECT_EQ(std::make_pair(days.status, days.out),
              std::make_pair(0, std::string(u8"1900-02-01\t休\t春节\n1900-02-02\t休\t春节\n1900-02-03\t休\t春节\n"
                                            u8"1900-02-04\t班\t春节\n")));
    const Result ics = Cal({"--ics", "1900", "1901", "--holidays", "--notes", tmp.Path().c_str()});
    std::map<std::string, std::string> got;  // UID -> "first day, days"
    for (const auto& [uid, e] : Parse(ics.out))
        if (uid.find("day@") != std::string::npos) got[uid] = Date(e) + ", " + std::to_string(e.days);
    EXPECT_EQ(got, (std::map<std::string, std::string>{{"19000201-holiday@vestrel-cal", "1900-02-01, 3"},
                                                       {"19000204-workday@vestrel-cal", "1900-02-04, 1"}}));
}

TEST(IcsCalendar, FeedPropertiesAndCheckedOptions) {
    const std::string url = "https://calendars.example.org/" + std::string(100, 'p') + "/v.ics?a=1&b=%2F";
    for (const char* source : {"", url.c_str()}) {
        const Result r = *source ? Cal({"--ics", "2017", "2017", "--source", source}) : Cal({"--ics", "2017", "2017"});
        const std::string head = r.out.substr(0, r.out.find("BEGIN:VEVENT"));
        for (const char* line : {u8"\r\nNAME:Vestrel 农历\r\n", u8"\r\nX-WR-CALNAME:Vestrel 农历\r\n",
                                 "\r\nREFRESH-INTERVAL;VALUE=DURATION:P1D\r\n"})
            EXPECT_NE(head.find(line), std::string::npos) << head;
        icalcomponent* cal = icalparser_parse_string(r.out.c_str());
        ASSERT_NE(cal, nullptr);
        icalproperty* p = icalcomponent_get_first_property(cal, ICAL_SOURCE_PROPERTY);
        EXPECT_EQ(std::string(p ? icalproperty_get_source(p) : ""), source);
        icalcomponent_free(cal);
    }
    const std::string longName(254, 'a');
    const std::vector<std::vector<const char*>> bad = {
        {"--uid-domain"}, {"--uid-domain", ""}, {"--uid-domain", "a b"}, {"--uid-domain", "a\r\nb"},
        {"--uid-domain", "a;b"}, {"--uid-domain", "a@b"}, {"--uid-domain", u8"例子"},
        {"--uid-domain", longName.c_str()}, {"--uid-domain", "a", "--uid-domain", "b"}, {"--source"},
        {"--source", "example.org/a.ics"}, {"--source", "http://a b"}, {"--source", "http://a/%2"},
        {"--source", "1http://a"}, {"--source", "http:"}, {"--source", "http://a\r\nX:y"},
        {"--source", u8"http://例子"}, {"--source", "http://a\"b"}, {"--source", "http://a", "--source", "http://b"},
    };
    for (const auto& options : bad) {
        std::vector<const char*> args = {"--ics", "2017", "2017"};
        args.insert(args.end(), options.begin(), options.end());
        const Result r = Cal(args);
        EXPECT_EQ(std::make_tuple(r.status, r.out, Lines(r.err)), std::make_tuple(2, std::string(), 1)) << options.back();
    }
}

TEST(IcsText, NoteTextBecomesUtf8WithLfLineBreaks) {
    struct { std::string gbk; std::string utf8; } rows[] = {
        // GBK note text                     iCalendar text
        {"日历",                              u8"日历"},
        {"a\r\nb",                            "a\nb"},
        {"a\rb\nc",                           "a\nb\nc"},   // a lone CR or LF is a break too
        {"a\r\n\r\nb",                        "a\n\nb"},
        {"tab\tkept",                         "tab\tkept"},
        {"bell\a, esc\x1b, del\x7f gone",     "bell, esc, del gone"},
        {std::string("cut\0here", 8),         "cut"},
        {"bad \xFF byte",                     "bad \xEF\xBF\xBD byte"},
        {"\xC8",                              "\xEF\xBF\xBD"},  // a lead byte without its trail
        {"\x81\x5C\r\n",                      u8"乗\n"},  // a trail byte 0x5C is no backslash
    };
    for (const auto& row : rows) EXPECT_EQ(NoteText(row.gbk), row.utf8) << row.utf8;
}

TEST(IcsText, SolarTermInstantShowsMinute60AsTheNextMinute) {
    struct { int year, month; SolarTermTime t; const char* instant; } rows[] = {
        // year  month  day hour minute   instant
        {2021,   12,    {21, 23, 59},     "2021-12-21 23:59"},
        {2021,   1,     {5, 11, 23},      "2021-01-05 11:23"},
        {1914,   6,     {6, 21, 60},      "1914-06-06 22:00"},
        {1923,   2,     {19, 23, 60},     "1923-02-20 00:00"},
        {2023,   2,     {28, 23, 60},     "2023-03-01 00:00"},
        {2024,   2,     {28, 23, 60},     "2024-02-29 00:00"},
        {2017,   12,    {31, 23, 60},     "2018-01-01 00:00"},
    };
    for (const auto& row : rows) EXPECT_EQ(SolarTermInstant(row.year, row.month, row.t), row.instant) << row.instant;
}

TEST(IcsText, NearestCssColour) {
    struct { uint32_t rgb; const char* name; } rows[] = {
        // 0xRRGGBB    name
        {0xFF0000,     "red"},
        {0xFE0101,     "red"},
        {0x01FF0000,   "red"},             // bits above 23 do not count
        {0x87CEFA,     "lightskyblue"},    // the program's dated-note colour
        {0x8000FF,     "darkviolet"},      // its lunar-yearly colour (148, 0, 211 is nearest)
        {0x00FFFF,     "aqua"},            // not cyan: the first of two names
        {0x808080,     "gray"},            // not grey
        {0x000001,     "black"},
        {0xFFFFFE,     "white"},
        {0x7F7F00,     "olive"},
        {0x2E8B57,     "seagreen"},
    };
    for (const auto& row : rows) EXPECT_STREQ(NearestCssColor(row.rgb), row.name) << std::hex << row.rgb;
}

}  // namespace

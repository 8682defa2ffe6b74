// vestrel-cal --ics: festivals, solar terms and the user's notes as one RFC 5545 calendar. Each
// event is built and escaped by libical and written as soon as it is made, so memory stays the same
// whatever the range; the lines are folded here (FoldIcsLines), not by libical.
//
// Every event is an all-day event (or a yearly or weekly series of them), but for a note's reminders,
// and its UID says what it is, so importing a new export updates the events of an earlier one
// instead of adding copies:
//   festival   YYYYMMDD-festival@vestrel-cal           a Gregorian festival
//              YYYYMMDD-lunar-festival@vestrel-cal     a lunar one (both may fall on one day)
//   term       YYYYMMDD-term@vestrel-cal
//   dated      YYYYMMDD-note@D                         D: the UID domain, vestrel-cal by default
//   yearly     yearly-MMDD-note@D                      by Gregorian date
//   lunar      lunar-YYYY-MM[L]-DD-note@D              lunar year, month (L: the leap month), the
//                                                      note's lunar day (its slot, 30 also where
//                                                      it lands on 29)
//   weekly     weekly-W-note@D                         W = weekday, 0 = Sunday
//   reminder   the note's UID with -HHMM before the @    a timed event for the note's lines that
//              (20170308-note-0930@D)                  begin with HH:MM (ReminderUidSuffix)
//   days off   YYYYMMDD-holiday@vestrel-cal            a 休 span, by its first day
//   workday    YYYYMMDD-workday@vestrel-cal            a 班 day
// A note's DTSTAMP and LAST-MODIFIED are the time of last write of its list file, so an edited
// note's events look newer to a calendar app and the others keep their bytes. Festivals and terms
// carry kIcsTableStamp; 休 and 班 events carry it too, or the date of their year's newest built-in
// notice when that is later; for the years the notes folder's 假日.txt gives, the later of that and
// the file's time of last write, as DTSTAMP and LAST-MODIFIED (a stamp never goes back).
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "calendar/gregorian.h"
#include "calendar/holidays.h"
#include "calendar/labels.h"
#include "cli/note_folder.h"

// The Gregorian years an export may cover: those of the calendar, whose first day is 1900-02-01.
constexpr int kIcsFirstYear = 1900;
constexpr int kIcsLastYear = 2100;

// Whether a day (DayNumber) is one the tool may name: the calendar's, 1900-02-01 ... 2100-12-31.
// A notice's days before 1900-02-01 (its December before, its January of 1900) are left out.
bool DayOnOffer(int32_t dayNumber);

// DTSTAMP of the festival and term events (seconds since 1970, UTC): 2026-12-10 00:00:00, when their
// tables or names were last revised (festivals by full name, Gregorian ones from their first year).
// Raise it with any change of those tables, of the names or of calendar/holidays.txt so that apps
// take the events of a new export as updates.
constexpr int64_t kIcsTableStamp = 1796860800;

// The domain of note UIDs without --uid-domain.
constexpr char kIcsDefaultUidDomain[] = "vestrel-cal";

// The holiday data of an export: the built-in table, the notes folder's 假日.txt and holiday-cn year
// files, combined (HolidayTable::Combine).
struct IcsHolidays {
    HolidayTable table = HolidayTable::BuiltIn();
    std::vector<int> fileYears;  // the years 假日.txt gives, ascending
    int64_t fileStamp = 0;       // its time of last write (seconds since 1970, UTC)
    std::map<int, int64_t> jsonStamps;  // year -> time of last write of the holiday-cn file giving it
};

struct IcsOptions {
    int fromYear = kIcsFirstYear;
    int toYear = kIcsFirstYear;
    std::string uidDomain = kIcsDefaultUidDomain;  // after the @ of every note UID (IsUidDomain)
    std::string source;                            // the calendar's SOURCE (IsSourceUri); none when empty
    const IcsHolidays* holidays = nullptr;         // 休 and 班 events of these data; none when null
};

// Writes the calendar of the Gregorian years fromYear ... toYear (kIcsFirstYear <= fromYear <=
// toYear <= kIcsLastYear; other years give a calendar without events), days before 1900-02-01 left out:
//   - each festival and solar term as an all-day event; festivals by their full names
//     (FestivalFullName), a Gregorian one from its first year on; a term's description gives its instant;
//   - dated notes on their day; Gregorian-yearly notes as one yearly series and weekly notes as
//     one weekly series, from the first day on which they fall to the end of toYear;
//   - lunar-yearly notes on every day of the years whose lunar month number and day are theirs,
//     the leap month of that number included; a note of day 30 falls on day 29 of a 29-day month.
//   - with holidays, the 休 and 班 days that the notices of fromYear ... toYear decide
//     (HolidayTable::DaysOf), those in the December before a notice's year included, days not
//     DayOnOffer left out: each run of
//     consecutive 休 days of one holiday as one event "NAME放假", each 班 day as one event
//     "调休上班（NAME）", the year's notices (number, date, amendments) as their description, for
//     a year from a holiday-cn file its notice's address. A year
//     without a notice gives none (the caller says so), though a later year's notice may name days in it.
// A note's summary is its first line, its description the whole text, and its own colour (never
// the kind's default) becomes a COLOR. A note's lines that begin with a time (ParseReminders) are
// its reminders: for each time, on every day (or series) its all-day event has, one timed event at
// floating local time (no Z, no TZID), 30 minutes long, with a display alarm at its start,
// summary and alarm the lines' text after the time (the line itself when nothing follows; lines of
// one time joined by "; "), description the whole note; the all-day event then holds only the
// other lines (UntimedText), and there is none when they show nothing. Notes without visible text
// (colour-only marks) and slots no day has (day 0, 31 April, weekday 7) give no event.
// Output goes out in whole events, each write flushed; it stops at the first failed write, and
// END:VCALENDAR comes last, so a cut-off file never ends like a whole one. The notes come from
// source: its repeating notes before the first event, each month's dated notes when the walk reaches
// the month, so only one month of them is held at a time. False when source.Month stopped the export
// (the output then ends after the last whole event, without END:VCALENDAR), or nothing is written
// because the libical module cannot be loaded (LoadIcal; RunIcs checks before).
bool WriteIcs(const IcsOptions& options, NoteSource& source, std::ostream& out);
// The same for notes at hand (NotesAtHand).
void WriteIcs(const IcsOptions& options, const std::vector<FolderNote>& notes, std::ostream& out);

// Content lines as RFC 5545 wants them on the wire. text is CR LF separated lines, possibly folded
// already (CR LF and a space or tab inside a line are taken out first); each line goes to out folded
// at 75 octets, never inside a UTF-8 character, and ends in CR LF. A CR or LF that is not part of
// a CR LF is left out. Appends to out.
void FoldIcsLines(const char* text, std::string* out);

// Whether name can stand after the @ of a UID: 1 ... 253 letters, digits, '.', '-' and '_'.
bool IsUidDomain(const std::string& name);
// Whether uri is an absolute URI (RFC 3986: a scheme, ':', then only URI characters, each '%'
// followed by two hex digits), at most 2000 characters.
bool IsSourceUri(const std::string& uri);

// "YYYY-MM-DD HH:MM" of a solar term of (year, month) in China Standard Time. The table's minute 60
// (seconds rounded up without a carry) is the next minute: 23:60 on the 31st of December is 00:00
// on the 1st of January.
std::string SolarTermInstant(int year, int month, const SolarTermTime& t);

// A note's GBK text as iCalendar text: UTF-8, each line break (CR LF, a lone CR or LF) one LF, the
// other control characters but tab left out, bytes that are not GBK as U+FFFD, a NUL ending it.
std::string NoteText(const std::string& gbk);

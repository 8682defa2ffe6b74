// vestrel-cal --ics: festivals, solar terms and the user's notes as one RFC 5545 calendar, built
// and written by libical.
//
// Every event is an all-day event (or a yearly or weekly series of them) whose UID says what it is,
// and whose DTSTAMP is fixed by the range, so the same input gives the same bytes and importing a
// new export updates the events of an earlier one instead of adding copies:
//   festival   YYYYMMDD-festival@vestrel-cal           a Gregorian festival
//              YYYYMMDD-lunar-festival@vestrel-cal     a lunar one (both may fall on one day)
//   term       YYYYMMDD-term@vestrel-cal
//   dated      YYYYMMDD-note@vestrel-cal
//   yearly     yearly-MMDD-note@vestrel-cal            by Gregorian date
//   lunar      lunar-YYYY-MM[L]-DD-note@vestrel-cal    lunar year, month (L: the leap month), the
//                                                      note's lunar day (its slot, 30 also where
//                                                      it lands on 29)
//   weekly     weekly-W-note@vestrel-cal               W = weekday, 0 = Sunday
#pragma once

#include <string>
#include <vector>

#include "calendar/labels.h"
#include "cli/note_folder.h"

// The Gregorian years an export may cover: those of the calendar, whose first day is 1900-02-01.
constexpr int kIcsFirstYear = 1900;
constexpr int kIcsLastYear = 2100;

// The calendar of the Gregorian years fromYear ... toYear (kIcsFirstYear <= fromYear <= toYear <=
// kIcsLastYear; other arguments give a calendar without events), days before 1900-02-01 left out:
//   - each festival and solar term as an all-day event; a term's description gives its instant;
//   - dated notes on their day; Gregorian-yearly notes as one yearly series and weekly notes as
//     one weekly series, from the first day on which they fall to the end of toYear;
//   - lunar-yearly notes on every day of the years whose lunar month number and day are theirs,
//     the leap month of that number included; a note of day 30 falls on day 29 of a 29-day month.
// A note's summary is its first line, its description the whole text, and its own colour (never
// the kind's default) becomes a COLOR. Notes without visible text (colour-only marks) and slots no
// day has (day 0, 31 April, weekday 7) give no event.
std::string ExportIcs(int fromYear, int toYear, const std::vector<FolderNote>& notes);

// "YYYY-MM-DD HH:MM" of a solar term of (year, month) in China Standard Time. The table's minute 60
// (seconds rounded up without a carry) is the next minute: 23:60 on the 31st of December is 00:00
// on the 1st of January.
std::string SolarTermInstant(int year, int month, const SolarTermTime& t);

// A note's GBK text as iCalendar text: UTF-8, each line break (CR LF, a lone CR or LF) one LF, the
// other control characters but tab left out, bytes that are not GBK as U+FFFD, a NUL ending it.
std::string NoteText(const std::string& gbk);

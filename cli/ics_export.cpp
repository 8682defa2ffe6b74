// The iCalendar export.
#include "cli/ics_export.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "calendar/lunar.h"
#include "cli/css_colors.h"
#include "cli/ical_loader.h"
#include "cli/terminal_text.h"
#include "notes/reminders.h"

namespace {

// The calendar starts on the 1st of February 1900.
constexpr int kFirstMonthOf1900 = 2;

constexpr size_t kLineOctets = 75;          // the longest line RFC 5545 allows, CR LF not counted
constexpr size_t kWriteChunk = 64 * 1024;   // bytes of whole events gathered before each write
constexpr int kReminderMinutes = 30;        // the length of a reminder's timed event

const char kCalendarName[] = u8"Vestrel 农历";

VestrelIcalDate IcalDate(const SolarDate& d) { return {d.year, d.month, d.day}; }

std::string Utf8(const char* gbk) { return GbkToUtf8(gbk); }

// "YYYYMMDD"
std::string Compact(const SolarDate& d) {
    char s[16];
    std::snprintf(s, sizeof s, "%04d%02d%02d", d.year, d.month, d.day);
    return s;
}

// The first line of a note that shows anything, without blanks around it; "" when none does.
std::string SummaryOf(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t a = start, b = end;
        while (a < b && (text[a] == ' ' || text[a] == '\t')) ++a;
        while (b > a && (text[b - 1] == ' ' || text[b - 1] == '\t')) --b;
        if (a < b) return text.substr(a, b - a);
        start = end + 1;
    }
    return std::string();
}

// A line that begins with a time (ParseReminderTime says it does) without that time and the blanks
// after it. Each digit and the colon is one byte, or two in GBK's full width (0xA3 0xB0 ... 0xBA);
// a blank is a space, a tab or the full-width space 0xA1 0xA1.
std::string AfterTime(const std::string& line) {
    const auto byte = [&line](size_t i) { return i < line.size() ? static_cast<unsigned char>(line[i]) : 0u; };
    const auto next = [&](size_t i) { return byte(i) == 0xA3 ? i + 2 : i + 1; };
    size_t i = 0;
    for (bool colon = false; i < line.size() && !colon; i = next(i))
        colon = byte(i) == ':' || (byte(i) == 0xA3 && byte(i + 1) == 0xBA);
    i = next(next(i));  // the minute's two digits
    while (i < line.size()) {
        if (byte(i) == ' ' || byte(i) == '\t') ++i;
        else if (byte(i) == 0xA1 && byte(i + 1) == 0xA1) i += 2;
        else break;
    }
    return i < line.size() ? line.substr(i) : std::string();
}

// One time of a note: a timed event for all the note's lines that begin with it.
struct TimedPart {
    int hour, minute;
    std::string summary;  // the lines' text after the time (the whole line when none follows), "; " between
};

// A note as its events show it, worked out once however many events it gives. A note whose lines
// begin with a time gives a timed event for each time, and an all-day event of its other lines.
struct NoteEvent {
    std::string summary;      // of the all-day event; "" for a note without visible text there: none
    std::string description;  // its lines that begin with no time
    std::string text;         // the whole note: the description of its timed events
    const char* color;        // CSS name of its own colour, or null
    int64_t stamp;            // its list file's time of last write
    std::vector<TimedPart> timed;  // by time
};

NoteEvent EventOf(const FolderNote& note) {
    NoteEvent e;
    const std::vector<Reminder> reminders = ParseReminders(note.text);
    e.description = NoteText(reminders.empty() ? note.text : UntimedText(note.text));
    e.summary = SummaryOf(e.description);
    const uint32_t w = note.colourWord;  // own colour 0x00BBGGRR
    e.color = (w & OwnColorFlag) ? NearestCssColor(((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF)) : nullptr;
    e.stamp = note.modified;
    if (reminders.empty()) return e;
    e.text = NoteText(note.text);
    for (const Reminder& r : reminders) {
        std::string text = SummaryOf(NoteText(AfterTime(r.line)));
        if (text.empty()) text = SummaryOf(NoteText(r.line));
        auto part = std::find_if(e.timed.begin(), e.timed.end(),
                                 [&r](const TimedPart& t) { return t.hour == r.hour && t.minute == r.minute; });
        if (part == e.timed.end()) e.timed.push_back({r.hour, r.minute, std::move(text)});
        else part->summary += "; " + text;
    }
    std::stable_sort(e.timed.begin(), e.timed.end(), [](const TimedPart& a, const TimedPart& b) {
        return a.hour * 60 + a.minute < b.hour * 60 + b.minute;
    });
    return e;
}

// One all-day event, or a yearly or weekly series of them.
struct AllDay {
    std::string uid;
    SolarDate first;
    int days;                                   // from first on
    const std::string& summary;
    const std::string& description;             // none when empty
    int64_t stamp = kIcsTableStamp;             // DTSTAMP
    bool lastModified = false;                  // LAST-MODIFIED too, the same time
    const char* color = nullptr;                // COLOR
    VestrelIcalRepeat repeat = VESTREL_ICAL_ONCE;
};

// Writes the VCALENDAR as it goes: the calendar's own lines at once, each event (Write) when made,
// END:VCALENDAR at Finish. Writing stops at the first failed write.
class IcsWriter {
public:
    IcsWriter(const IcsOptions& options, const VestrelIcal& ical, std::ostream& out)
        : ical_(ical), out_(out), toYear_(options.toYear) {
        // Everything before its END line.
        Append(ical_.calendar(kCalendarName, options.source.c_str()));
        const size_t end = chunk_.rfind("END:VCALENDAR\r\n");
        if (end != std::string::npos) chunk_.resize(end);
    }

    void Write(const AllDay& e) {
        if (!out_) return;
        const SolarDate end = SolarFromDayNumber(DayNumber(e.first.year, e.first.month, e.first.day) + e.days);
        const VestrelIcalEvent event{e.uid.c_str(),     IcalDate(e.first),
                                     IcalDate(end),     e.stamp,
                                     e.lastModified,    e.repeat,
                                     {toYear_, 12, 31}, e.summary.c_str(),
                                     e.description.c_str(), e.color};
        Append(ical_.event(&event));
        if (chunk_.size() >= kWriteChunk) Send();
    }

    // A note's events on day: the all-day one unless it has no visible text, then one timed event
    // for each time its lines begin with, its UID the note's with ReminderUidSuffix before the '@'.
    void WriteNote(const std::string& uid, const SolarDate& day, const NoteEvent& note,
                   VestrelIcalRepeat repeat = VESTREL_ICAL_ONCE) {
        if (!note.summary.empty())
            Write({uid, day, 1, note.summary, note.description, note.stamp, true, note.color, repeat});
        const size_t at = uid.find('@');
        for (const TimedPart& t : note.timed) {
            if (!out_) return;
            const std::string timedUid = std::string(uid).insert(at, ReminderUidSuffix(t.hour, t.minute));
            const int end = t.hour * 60 + t.minute + kReminderMinutes;
            const SolarDate endDay = end < kMinutesPerDay ? day : NextDate(day);
            const VestrelIcalTimedEvent event{timedUid.c_str(),
                                              {day.year, day.month, day.day, t.hour, t.minute},
                                              {endDay.year, endDay.month, endDay.day, end / 60 % 24, end % 60},
                                              note.stamp,
                                              true,
                                              repeat,
                                              {toYear_, 12, 31, 23, 59},
                                              t.summary.c_str(),
                                              note.text.c_str(),
                                              note.color,
                                              t.summary.c_str()};
            Append(ical_.timedEvent(&event));
            if (chunk_.size() >= kWriteChunk) Send();
        }
    }

    void Finish() {
        chunk_ += "END:VCALENDAR\r\n";
        Send();
    }

    // The events so far out, without END:VCALENDAR: the file ends cut off.
    void Stop() { Send(); }

private:
    // A component's text as libical writes it, folded afresh, and freed.
    void Append(char* text) {
        if (text != nullptr) FoldIcsLines(text, &chunk_);
        std::free(text);
    }

    // The gathered events out and flushed: whatever happens next, the file holds whole events.
    void Send() {
        if (out_ && !chunk_.empty()) {
            out_.write(chunk_.data(), static_cast<std::streamsize>(chunk_.size()));
            out_.flush();
        }
        chunk_.clear();
    }

    const VestrelIcal& ical_;
    std::ostream& out_;
    int toYear_;
    std::string chunk_;
};

// The notes of one kind, each list in its file's slot order.
std::vector<const FolderNote*> NotesOf(const std::vector<FolderNote>& notes, NoteKind kind) {
    std::vector<const FolderNote*> out;
    for (const FolderNote& n : notes)
        if (n.kind == kind) out.push_back(&n);
    return out;
}

// Seconds since 1970 of 00:00 UTC of a YYYY-MM-DD date; 0 for anything else.
int64_t StampOfDate(const std::string& date) {
    int y, m, d;
    char rest;
    if (std::sscanf(date.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &rest) != 3 || !IsValidDate(y, m, d)) return 0;
    return int64_t{DayNumber(y, m, d) - DayNumber(1970, 1, 1)} * 86400;
}

// The stamp of a year's 休 and 班 events from the built-in data: kIcsTableStamp, or the date of the
// year's newest notice when that is later.
int64_t BuiltInStamp(int year) {
    int64_t stamp = kIcsTableStamp;
    if (const std::vector<HolidayNotice>* notices = HolidayTable::BuiltIn().Notices(year))
        for (const HolidayNotice& n : *notices) stamp = std::max(stamp, StampOfDate(n.date));
    return stamp;
}

// The 休 spans and 班 days that the notices of the range's years decide, year by year. A year that
// 假日.txt or a holiday-cn file gives is stamped with that file's time of last write, but never
// earlier than the built-in data would stamp it: an app that has the built-in year's events takes
// these as the newer.
void WriteHolidays(const IcsOptions& options, IcsWriter& ics) {
    const IcsHolidays& h = *options.holidays;
    for (int year = options.fromYear; year <= options.toYear; ++year) {
        const std::vector<HolidayNotice>* notices = h.table.Notices(year);
        if (notices == nullptr) continue;
        const HolidaySource* source = h.table.Source(year);
        const bool fetched = source != nullptr && source->origin == HolidayOrigin::Fetched;
        const bool fromFile = fetched || std::binary_search(h.fileYears.begin(), h.fileYears.end(), year);
        const auto json = h.jsonStamps.find(year);
        const int64_t written = fetched && json != h.jsonStamps.end() ? json->second : h.fileStamp;
        const int64_t stamp = fromFile ? std::max(written, BuiltInStamp(year)) : BuiltInStamp(year);
        std::string description = fetched ? u8"放假安排：" + source->address : std::string();
        for (const HolidayNotice& n : fetched ? std::vector<HolidayNotice>() : *notices) {
            if (!description.empty()) description += '\n';
            description += n.amends ? u8"调整：" : u8"放假安排：";
            description += Utf8(n.number.c_str()) + u8"，" + (n.date.empty() ? std::string(u8"日期不详") : n.date);
        }
        std::vector<HolidayDay> days = h.table.DaysOf(year);
        days.erase(std::remove_if(days.begin(), days.end(), [](const HolidayDay& d) { return !DayOnOffer(d.dayNumber); }),
                   days.end());
        for (size_t i = 0, end; i < days.size(); i = end) {
            const HolidayDay& day = days[i];
            const bool off = day.mark == HolidayMark::Off;
            for (end = i + 1; off && end < days.size(); ++end) {
                const HolidayDay& next = days[end];
                if (next.mark != day.mark || next.dayNumber != days[end - 1].dayNumber + 1 ||
                    std::strcmp(next.name, day.name) != 0)
                    break;
            }
            const SolarDate first = SolarFromDayNumber(day.dayNumber);
            const std::string name = Utf8(day.name);
            ics.Write({Compact(first) + (off ? "-holiday@vestrel-cal" : "-workday@vestrel-cal"), first,
                       static_cast<int>(end - i), off ? name + u8"放假" : u8"调休上班（" + name + u8"）", description,
                       stamp, fromFile});
        }
    }
}

bool IsAsciiAlnum(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

}  // namespace

bool DayOnOffer(int32_t dayNumber) {
    return dayNumber >= DayNumber(kIcsFirstYear, kFirstMonthOf1900, 1) && dayNumber <= DayNumber(kIcsLastYear, 12, 31);
}

void FoldIcsLines(const char* text, std::string* out) {
    // libical may fold inside a line's CR LF (CR, CR LF space, LF): its folds come out before
    // anything else is looked at.
    std::string lines;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '\r' && p[1] == '\n' && (p[2] == ' ' || p[2] == '\t')) {
            p += 2;
            continue;
        }
        lines.push_back(*p);
    }
    size_t width = 0;  // octets on the current line
    for (size_t i = 0; i < lines.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(lines[i]);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < lines.size() && lines[i + 1] == '\n') {
                out->append("\r\n");
                width = 0;
                ++i;
            }
            continue;  // a lone CR or LF
        }
        // A fold goes before a character that would pass the limit; the bytes after a lead byte
        // follow it onto its line.
        const size_t octets = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;  // a stray continuation byte: 1
        if (width + octets > kLineOctets) {
            out->append("\r\n ");
            width = 1;
        }
        out->push_back(static_cast<char>(c));
        ++width;
    }
}

bool IsUidDomain(const std::string& name) {
    if (name.empty() || name.size() > 253) return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return IsAsciiAlnum(c) || c == '.' || c == '-' || c == '_'; });
}

bool IsSourceUri(const std::string& uri) {
    const size_t colon = uri.find(':');
    if (colon == 0 || colon == std::string::npos || colon + 1 == uri.size() || uri.size() > 2000) return false;
    if (!IsAsciiAlnum(uri[0]) || (uri[0] >= '0' && uri[0] <= '9')) return false;
    for (size_t i = 1; i < colon; ++i)
        if (!IsAsciiAlnum(uri[i]) && uri[i] != '+' && uri[i] != '-' && uri[i] != '.') return false;
    static const char kUriMarks[] = "-._~:/?#[]@!$&'()*+,;=";  // unreserved and reserved but letters, digits
    for (size_t i = colon + 1; i < uri.size(); ++i) {
        const char c = uri[i];
        if (c == '%') {
            if (i + 2 >= uri.size() || !IsHex(uri[i + 1]) || !IsHex(uri[i + 2])) return false;
            i += 2;
        } else if (!IsAsciiAlnum(c) && std::strchr(kUriMarks, c) == nullptr) {
            return false;
        }
    }
    return true;
}

std::string SolarTermInstant(int year, int month, const SolarTermTime& t) {
    SolarDate d{static_cast<uint16_t>(year), static_cast<uint16_t>(month), t.day};
    int hour = t.hour, minute = t.minute;
    if (minute == 60) {
        minute = 0;
        if (++hour == 24) {
            hour = 0;
            d = NextDate(d);
        }
    }
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day, hour, minute);
    return s;
}

std::string NoteText(const std::string& gbk) {
    // No byte of a two-byte GBK character is a control byte (a lead byte is 0x81 ... 0xFE, a trail
    // byte 0x40 ... 0xFE but not 0x7F), so line breaks and controls are dealt with before converting.
    std::string clean;
    clean.reserve(gbk.size());
    for (size_t i = 0; i < gbk.size(); ++i) {
        const char c = gbk[i];
        if (c == '\0') break;
        if (c == '\r') {
            clean.push_back('\n');
            if (i + 1 < gbk.size() && gbk[i + 1] == '\n') ++i;
        } else if (c == '\n' || c == '\t' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)) {
            clean.push_back(c);
        }
    }
    return GbkToUtf8(clean);
}

void WriteIcs(const IcsOptions& options, const std::vector<FolderNote>& notes, std::ostream& out) {
    NotesAtHand source(notes);
    WriteIcs(options, source, out);
}

bool WriteIcs(const IcsOptions& options, NoteSource& source, std::ostream& out) {
    const int fromYear = options.fromYear, toYear = options.toYear;
    std::string problem;
    const VestrelIcal* ical = LoadIcal(&problem);
    if (ical == nullptr) return false;
    IcsWriter ics(options, *ical, out);
    if (fromYear < kIcsFirstYear || toYear > kIcsLastYear || fromYear > toYear) {
        ics.Finish();
        return true;
    }
    const std::vector<FolderNote>& notes = source.Repeating();
    const SolarDate first{static_cast<uint16_t>(fromYear),
                          static_cast<uint16_t>(fromYear == kIcsFirstYear ? kFirstMonthOf1900 : 1), 1};
    const int32_t firstDay = DayNumber(first.year, first.month, first.day);
    const int32_t lastDay = DayNumber(toYear, 12, 31);
    const std::string at = "-note@" + options.uidDomain;
    const std::string none;
    char uid[64];

    // Series first: each starts on the first day of the range on which it falls.
    for (const FolderNote* n : NotesOf(notes, NoteKind::SolarYearly)) {
        for (int year = first.year; year <= toYear; ++year) {
            if (!IsValidDate(year, n->month, n->slot) || DayNumber(year, n->month, n->slot) < firstDay) continue;
            std::snprintf(uid, sizeof uid, "yearly-%02d%02d", n->month, n->slot);
            ics.WriteNote(uid + at,
                          SolarDate{static_cast<uint16_t>(year), static_cast<uint16_t>(n->month),
                                    static_cast<uint16_t>(n->slot)},
                          EventOf(*n), VESTREL_ICAL_YEARLY);
            break;
        }
    }
    for (const FolderNote* n : NotesOf(notes, NoteKind::Weekly)) {
        if (n->slot > 6) continue;  // slot 7 is no weekday the program shows
        const int shift = (n->slot - DayOfWeek(first.year, first.month, first.day) + 7) % 7;  // [0, 6]
        std::snprintf(uid, sizeof uid, "weekly-%d", n->slot);
        ics.WriteNote(uid + at, SolarFromDayNumber(firstDay + shift), EventOf(*n), VESTREL_ICAL_WEEKLY);
    }

    if (options.holidays != nullptr) WriteHolidays(options, ics);

    // Lunar-yearly notes by lunar month number and day (1 ... 30), each converted once for all its
    // events; dated notes a month at a time, read when the walk reaches the month.
    std::vector<NoteEvent> lunar[13][31];
    for (const FolderNote* n : NotesOf(notes, NoteKind::LunarYearly))
        if (n->month >= 1 && n->month <= 12 && n->slot >= 1 && n->slot <= 30) lunar[n->month][n->slot].push_back(EventOf(*n));

    // One walk over the days: festivals, terms, dated notes, lunar-yearly notes.
    std::vector<FolderNote> dated;  // the month's, by slot
    size_t nextDated = 0;
    SolarDate d = first;
    LunarDate l = LunarDate::FromSolar(d.year, d.month, d.day);
    SolarTermTime terms[2] = {};
    for (int32_t n = firstDay; n <= lastDay && out; ++n) {
        if (d.day == 1 || n == firstDay) {
            SolarTermDays(d.year, d.month, &terms[0], &terms[1]);
            if (!source.Month(d.year, d.month, &dated)) {
                ics.Stop();
                return false;
            }
            nextDated = 0;
        }
        const std::string date = Compact(d);
        // Events stand alone in an app's list: festivals by their full names ("正月初二", "国庆节"), a
        // Gregorian one only from the year it was first kept.
        if (const char* name = l.FestivalName())
            ics.Write({date + "-lunar-festival@vestrel-cal", d, 1, Utf8(FestivalFullName(name)), none});
        if (const char* name = SolarFestivalName(d.year, d.month, d.day))
            ics.Write({date + "-festival@vestrel-cal", d, 1, Utf8(FestivalFullName(name)), none});
        for (int which = 1; which <= 2; ++which) {
            if (terms[which - 1].day != d.day) continue;
            ics.Write({date + "-term@vestrel-cal", d, 1, Utf8(SolarTermName(d.month, which)),
                       u8"交节时刻 " + SolarTermInstant(d.year, d.month, terms[which - 1]) + " (UTC+8)"});
        }

        // Slots no day has (0, 31 April) come before the next day that exists and are passed over.
        while (nextDated < dated.size() && dated[nextDated].slot <= d.day) {
            const FolderNote& note = dated[nextDated++];
            if (note.slot == d.day) ics.WriteNote(date + at, d, EventOf(note));
        }

        if (l.IsValid()) {
            // Day 29 of a 29-day month also takes the notes of day 30.
            const int lastSlot = l.day == 29 && l.monthDays == 29 ? 30 : l.day;
            for (int slot = l.day; slot <= lastSlot; ++slot) {
                for (const NoteEvent& note : lunar[l.month][slot]) {
                    std::snprintf(uid, sizeof uid, "lunar-%04d-%02d%s-%02d", l.year, l.month, l.isLeap ? "L" : "", slot);
                    ics.WriteNote(uid + at, d, note);
                }
            }
        }

        d = NextDate(d);
        l.NextDay();
    }
    ics.Finish();
    return true;
}

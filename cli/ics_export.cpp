// The iCalendar export.
#include "cli/ics_export.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "cli/cli.h"
#include "cli/css_colors.h"

namespace {

// The calendar starts on the 1st of February 1900.
constexpr int kFirstMonthOf1900 = 2;

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype DateOf(const SolarDate& d) {
    icaltimetype t = icaltime_null_date();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    return t;
}

SolarDate NextDate(const SolarDate& d) {
    SolarDate n = d;
    if (n.day < DaysInMonth(n.year, n.month)) {
        ++n.day;
    } else {
        n.day = 1;
        if (++n.month > 12) {
            n.month = 1;
            ++n.year;
        }
    }
    return n;
}

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

// Builds the VCALENDAR: each Add... makes one VEVENT.
class IcsBuilder {
public:
    IcsBuilder(int fromYear, int toYear)
        : calendar_(icalcomponent_new(ICAL_VCALENDAR_COMPONENT)), toYear_(toYear) {
        icalcomponent_add_property(calendar_.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(calendar_.get(), icalproperty_new_prodid("-//Vestrel//vestrel-cal//ZH"));
        icalcomponent_add_property(calendar_.get(), icalproperty_new_calscale("GREGORIAN"));
        char name[32];
        if (fromYear == toYear) {
            std::snprintf(name, sizeof name, "Vestrel %d", fromYear);
        } else {
            std::snprintf(name, sizeof name, "Vestrel %d-%d", fromYear, toYear);
        }
        icalcomponent_add_property(calendar_.get(), icalproperty_new_name(name));
        // The stamp of every event: the export's first day, so a later range's export is the newer.
        stamp_ = icaltime_null_time();
        stamp_.year = fromYear;
        stamp_.month = 1;
        stamp_.day = 1;
        stamp_ = icaltime_set_timezone(&stamp_, icaltimezone_get_utc_timezone());
    }

    // An all-day event on day; a yearly or weekly series of them when freq says so.
    void Add(const std::string& uid, const SolarDate& day, const std::string& summary,
             const std::string& description = std::string(), const char* color = nullptr,
             icalrecurrencetype_frequency freq = ICAL_NO_RECURRENCE) {
        icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp_));
        icalcomponent_add_property(event, icalproperty_new_dtstart(DateOf(day)));
        icalcomponent_add_property(event, icalproperty_new_dtend(DateOf(NextDate(day))));
        if (freq != ICAL_NO_RECURRENCE) {
            icalrecurrencetype rule;
            icalrecurrencetype_clear(&rule);
            rule.freq = freq;
            rule.until = DateOf(SolarDate{static_cast<uint16_t>(toYear_), 12, 31});
            icalcomponent_add_property(event, icalproperty_new_rrule(rule));
        }
        icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
        if (!description.empty())
            icalcomponent_add_property(event, icalproperty_new_description(description.c_str()));
        if (color != nullptr) icalcomponent_add_property(event, icalproperty_new_color(color));
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(calendar_.get(), event);
    }

    // A note's event; nothing for a note without visible text.
    void AddNote(const std::string& uid, const SolarDate& day, const FolderNote& note,
                 icalrecurrencetype_frequency freq = ICAL_NO_RECURRENCE) {
        const std::string text = NoteText(note.text);
        const std::string summary = SummaryOf(text);
        if (summary.empty()) return;
        const uint32_t w = note.colourWord;  // own colour 0x00BBGGRR
        const char* color = (w & OwnColorFlag)
                                ? NearestCssColor(((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF))
                                : nullptr;
        Add(uid, day, summary, text, color, freq);
    }

    std::string Text() {
        char* text = icalcomponent_as_ical_string_r(calendar_.get());
        std::string out = text != nullptr ? text : "";
        std::free(text);
        return out;
    }

private:
    Component calendar_;
    icaltimetype stamp_;
    int toYear_;
};

// The notes of one kind, each list in its file's slot order.
std::vector<const FolderNote*> NotesOf(const std::vector<FolderNote>& notes, NoteKind kind) {
    std::vector<const FolderNote*> out;
    for (const FolderNote& n : notes)
        if (n.kind == kind) out.push_back(&n);
    return out;
}

}  // namespace

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

std::string ExportIcs(int fromYear, int toYear, const std::vector<FolderNote>& notes) {
    IcsBuilder ics(fromYear, toYear);
    if (fromYear < kIcsFirstYear || toYear > kIcsLastYear || fromYear > toYear) return ics.Text();
    const SolarDate first{static_cast<uint16_t>(fromYear),
                          static_cast<uint16_t>(fromYear == kIcsFirstYear ? kFirstMonthOf1900 : 1), 1};
    const int32_t firstDay = DayNumber(first.year, first.month, first.day);
    const int32_t lastDay = DayNumber(toYear, 12, 31);
    char uid[64];

    // Series first: each starts on the first day of the range on which it falls.
    for (const FolderNote* n : NotesOf(notes, NoteKind::SolarYearly)) {
        for (int year = first.year; year <= toYear; ++year) {
            if (!IsValidDate(year, n->month, n->slot) || DayNumber(year, n->month, n->slot) < firstDay) continue;
            std::snprintf(uid, sizeof uid, "yearly-%02d%02d-note@vestrel-cal", n->month, n->slot);
            ics.AddNote(uid, SolarDate{static_cast<uint16_t>(year), static_cast<uint16_t>(n->month),
                                       static_cast<uint16_t>(n->slot)},
                        *n, ICAL_YEARLY_RECURRENCE);
            break;
        }
    }
    for (const FolderNote* n : NotesOf(notes, NoteKind::Weekly)) {
        if (n->slot > 6) continue;  // slot 7 is no weekday the program shows
        const int shift = (n->slot - DayOfWeek(first.year, first.month, first.day) + 7) % 7;  // [0, 6]
        std::snprintf(uid, sizeof uid, "weekly-%d-note@vestrel-cal", n->slot);
        ics.AddNote(uid, SolarFromDayNumber(firstDay + shift), *n, ICAL_WEEKLY_RECURRENCE);
    }

    // Dated notes by date; lunar-yearly notes by lunar month number and day (1 ... 30).
    std::vector<const FolderNote*> dated = NotesOf(notes, NoteKind::Day);
    std::stable_sort(dated.begin(), dated.end(), [](const FolderNote* a, const FolderNote* b) {
        return (a->year * 100 + a->month) * 100 + a->slot < (b->year * 100 + b->month) * 100 + b->slot;
    });
    std::vector<const FolderNote*> lunar[13][31];
    for (const FolderNote* n : NotesOf(notes, NoteKind::LunarYearly))
        if (n->month >= 1 && n->month <= 12 && n->slot >= 1 && n->slot <= 30) lunar[n->month][n->slot].push_back(n);

    // One walk over the days: festivals, terms, dated notes, lunar-yearly notes.
    size_t nextDated = 0;
    SolarDate d = first;
    LunarDate l = LunarDate::FromSolar(d.year, d.month, d.day);
    SolarTermTime terms[2] = {};
    for (int32_t n = firstDay; n <= lastDay; ++n) {
        if (d.day == 1 || n == firstDay) SolarTermDays(d.year, d.month, &terms[0], &terms[1]);
        const std::string date = Compact(d);
        if (const char* name = l.FestivalName()) ics.Add(date + "-lunar-festival@vestrel-cal", d, Utf8(name));
        if (const char* name = SolarFestivalName(d.month, d.day))
            ics.Add(date + "-festival@vestrel-cal", d, Utf8(name));
        for (int which = 1; which <= 2; ++which) {
            if (terms[which - 1].day != d.day) continue;
            ics.Add(date + "-term@vestrel-cal", d, Utf8(SolarTermName(d.month, which)),
                    u8"交节时刻 " + SolarTermInstant(d.year, d.month, terms[which - 1]) + " (UTC+8)");
        }

        const int key = (d.year * 100 + d.month) * 100 + d.day;
        // Slots no day has (0, 31 April) sort before the next day that exists and are passed over.
        while (nextDated < dated.size() &&
               (dated[nextDated]->year * 100 + dated[nextDated]->month) * 100 + dated[nextDated]->slot <= key) {
            const FolderNote* note = dated[nextDated++];
            if (note->slot == d.day && note->month == d.month && note->year == d.year)
                ics.AddNote(date + "-note@vestrel-cal", d, *note);
        }

        if (l.IsValid()) {
            // Day 29 of a 29-day month also takes the notes of day 30.
            const int lastSlot = l.day == 29 && l.monthDays == 29 ? 30 : l.day;
            for (int slot = l.day; slot <= lastSlot; ++slot) {
                for (const FolderNote* note : lunar[l.month][slot]) {
                    std::snprintf(uid, sizeof uid, "lunar-%04d-%02d%s-%02d-note@vestrel-cal", l.year, l.month,
                                  l.isLeap ? "L" : "", slot);
                    ics.AddNote(uid, d, *note);
                }
            }
        }

        d = NextDate(d);
        l.NextDay();
    }
    return ics.Text();
}

// vestrel-cal --days, --details and --terms: tab-separated lines for scripts.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "calendar/day_details.h"
#include "calendar/labels.h"
#include "calendar/month_layout.h"
#include "cli/modes.h"
#include "cli/terminal_text.h"

namespace {

constexpr size_t kDumpChunk = 64 * 1024;  // bytes gathered before each write
constexpr size_t kLongestLine = 128;      // a --days line: 10 + 7 fields of at most 5 + two labels of 30

// "00" ... "99", made by the compiler.
struct TwoDigits {
    char text[100][2];
    constexpr TwoDigits() : text() {
        for (int i = 0; i < 100; ++i) {
            text[i][0] = static_cast<char>('0' + i / 10);
            text[i][1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr TwoDigits kTwoDigits;

// v (0 ... 9999) with two digits at p; returns the end.
char* PutTwo(char* p, unsigned v) {
    p[0] = kTwoDigits.text[v][0];
    p[1] = kTwoDigits.text[v][1];
    return p + 2;
}

// The decimal digits of v (0 ... 9999) at p, no padding (what %u writes); returns the end.
char* PutNumber(char* p, unsigned v) {
    if (v >= 100) return PutTwo(PutNumber(p, v / 100), v % 100);
    if (v >= 10) return PutTwo(p, v);
    *p = static_cast<char>('0' + v);
    return p + 1;
}

char* PutText(char* p, const std::string& text) {
    text.copy(p, text.size());
    return p + text.size();
}

// The UTF-8 of the labels and festivals of a dump, each converted at its first sight. A label is
// found by what it is, never by hashing its text: it is the festival, else the month's first or
// second solar term, else the lunar month's name on day 1, else the lunar day's name (LayOutMonth),
// so its kind and numbers pick a slot. A slot keeps the GBK it was made from and is made again when
// the label differs from it (a few bytes compared), so a label outside that rule still comes out right.
class Utf8Labels {
public:
    // The day's label; month is the Gregorian month of the cell.
    const std::string& Label(const DayCell& c, int month) {
        const LunarDate& l = c.lunar;
        if (c.festival != nullptr) return Of(FestivalSlot(c.festival), c.label);
        if (c.solarTerm >= 1 && c.solarTerm <= 2 && month >= 1 && month <= 12)
            return Of(terms_[(month - 1) * 2 + c.solarTerm - 1], c.label);
        if (l.IsValid() && l.month >= 1 && l.month <= 12 && l.day >= 1 && l.day <= 30) {
            if (c.labelIsMonthName) return Of(months_[(l.month - 1) * 4 + (l.isLeap ? 2 : 0) + (l.monthDays == 30)], c.label);
            return Of(days_[l.day - 1], c.label);
        }
        return Of(other_, c.label);
    }

    const std::string& Festival(const char* name) { return Of(FestivalSlot(name), name); }

private:
    struct Slot {
        std::string gbk, utf8;
    };

    static const std::string& Of(Slot& slot, const char* gbk) {
        if (std::strcmp(slot.gbk.c_str(), gbk) != 0 || slot.utf8.empty()) {
            slot.gbk = gbk;
            slot.utf8 = GbkToUtf8(slot.gbk);
        }
        return slot.utf8;
    }

    // Festival names are pointers into constant tables: a few dozen, looked for only on their days.
    Slot& FestivalSlot(const char* name) {
        for (auto& [key, slot] : festivals_)
            if (key == name) return slot;
        festivals_.emplace_back(name, Slot());
        return festivals_.back().second;
    }

    Slot terms_[24], months_[48], days_[30], other_;
    std::vector<std::pair<const char*, Slot>> festivals_;
};

}  // namespace

// A closed pipe need not take the rest of the range.
void PrintDays(const SolarDate& from, const SolarDate& to, std::ostream& out) {
    const int32_t first = DayNumber(from.year, from.month, from.day);
    const int32_t last = DayNumber(to.year, to.month, to.day);
    MonthLayout m{};
    Utf8Labels labels;
    std::vector<char> buffer(kDumpChunk + kLongestLine);
    char* const start = buffer.data();
    char* p = start;
    SolarDate d = from;
    for (int32_t n = first; n <= last;) {
        LayOutMonth(d.year, d.month, &m);  // each month laid out once
        for (int day = d.day; day <= m.daysInMonth && n <= last; ++day, ++n) {
            const DayCell& c = m.cells[day];
            // %04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s\t%d\n
            p = PutTwo(PutTwo(p, d.year / 100), d.year % 100);
            *p++ = '-';
            p = PutTwo(p, d.month);
            *p++ = '-';
            p = PutTwo(p, static_cast<unsigned>(day));
            for (int32_t v : {int32_t{c.weekday}, c.lunar.year, c.lunar.month, int32_t{c.lunar.isLeap}, c.lunar.day,
                              c.lunar.monthDays}) {
                *p++ = '\t';
                p = PutNumber(p, static_cast<unsigned>(v));  // 0 ... 2100
            }
            *p++ = '\t';
            p = PutText(p, labels.Label(c, d.month));
            *p++ = '\t';
            if (c.festival != nullptr) p = PutText(p, labels.Festival(c.festival));
            *p++ = '\t';
            p = PutNumber(p, c.solarTerm);
            *p++ = '\n';
            if (static_cast<size_t>(p - start) >= kDumpChunk) {
                if (!out.write(start, p - start)) return;
                p = start;
            }
        }
        d = NextDate(SolarDate{d.year, d.month, m.daysInMonth});
    }
    out.write(start, p - start);
}

// Each row is made in GBK by FormatDetailsRow and converted as a whole: its names are few, but a
// row is only a few dozen bytes, and iconv takes the chunk's rows at one call each.
void PrintDetails(const SolarDate& from, const SolarDate& to, std::ostream& out) {
    const int32_t last = DayNumber(to.year, to.month, to.day);
    std::string chunk;
    chunk.reserve(kDumpChunk + 2 * kDetailsLineSize);
    DayDetails details;
    char row[kDetailsLineSize];
    for (int32_t n = DayNumber(from.year, from.month, from.day); n <= last; ++n) {
        const SolarDate d = SolarFromDayNumber(n);
        ComputeDayDetails(d.year, d.month, d.day, &details);
        AppendGbkAsUtf8(row, FormatDetailsRow(details, row, sizeof row), &chunk);
        if (chunk.size() >= kDumpChunk) {
            if (!out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) return;
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

void PrintTerms(int from, int to, std::ostream& out) {
    for (int y = from; y <= to && out; ++y) {
        for (int m = 1; m <= 12; ++m) {
            SolarTermTime t[2];
            SolarTermDays(y, m, &t[0], &t[1]);
            for (int which = 1; which <= 2; ++which) {
                const SolarTermTime& r = t[which - 1];
                char line[96];
                std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\t%d\t%d\t%s\n", y, m, which, r.day, r.hour, r.minute,
                              SolarTermName(m, which));
                out << GbkToUtf8(line);
            }
        }
    }
}

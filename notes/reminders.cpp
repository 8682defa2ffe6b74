// Reminder lines, where they fall, the checks of the clock and the shown record.
#include "notes/reminders.h"

#include <algorithm>
#include <cstdio>

#include "calendar/lunar.h"

namespace {

// Every second of the years 1 ... kLastYear is below 2^40: sums and differences of two never overflow.
static_assert(int64_t{kLastDayNumber} * kMinutesPerDay * 60 < (int64_t{1} << 40), "second numbers span 40 bits");

constexpr unsigned char kWideLead = 0xA3;          // full-width digits and colon: A3B0 ... A3B9, A3BA
constexpr unsigned char kWideDigitZero = 0xB0;
constexpr unsigned char kWideColon = 0xBA;

// The digit at text[*i], half- or full-width, with *i moved past it; -1 (and *i kept) for any other
// character.
int DigitAt(std::string_view text, size_t* i) {
    if (*i >= text.size()) return -1;
    const unsigned char c = static_cast<unsigned char>(text[*i]);
    if (c >= '0' && c <= '9') {
        ++*i;
        return c - '0';
    }
    if (c == kWideLead && *i + 1 < text.size()) {
        const unsigned char t = static_cast<unsigned char>(text[*i + 1]);
        if (t >= kWideDigitZero && t <= kWideDigitZero + 9) {
            *i += 2;
            return t - kWideDigitZero;
        }
    }
    return -1;
}

bool ColonAt(std::string_view text, size_t* i) {
    if (*i < text.size() && text[*i] == ':') {
        ++*i;
        return true;
    }
    if (*i + 1 < text.size() && static_cast<unsigned char>(text[*i]) == kWideLead &&
        static_cast<unsigned char>(text[*i + 1]) == kWideColon) {
        *i += 2;
        return true;
    }
    return false;
}

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// Calls f(line, lineEnd) for each line of text: the line without its end, and its end ("\n",
// "\r\n" or "" for the last line).
template <typename F>
void ForEachLine(std::string_view text, F f) {
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            f(text.substr(start), std::string_view());
            return;
        }
        const size_t end = lf > start && text[lf - 1] == '\r' ? lf - 1 : lf;
        f(text.substr(start, end - start), text.substr(end, lf + 1 - end));
        start = lf + 1;
    }
}

int64_t DayStartMinute(int32_t dayNumber) { return int64_t{dayNumber - 1} * kMinutesPerDay; }

// The day number of the day a minute number lies in; minutes before 0001-01-01 are day 0.
int32_t DayOfMinute(int64_t minute) {
    return minute < 0 ? 0 : static_cast<int32_t>(std::min<int64_t>(minute / kMinutesPerDay + 1, kLastDayNumber + 1));
}

// The day numbers of 1900-02-01 and 2100-12-31.
constexpr int32_t kFirstDay = static_cast<int32_t>(kFirstReminderMinute / kMinutesPerDay + 1);
constexpr int32_t kLastDay = static_cast<int32_t>(kEndReminderMinute / kMinutesPerDay);
// Seconds of the clock are taken within 0001-01-01 00:00:00 ... the end of kLastYear.
constexpr int64_t kEndSecond = (int64_t{kLastDayNumber} * kMinutesPerDay) * 60;

bool FallsOn(const NoteKey& key, const SolarDate& d, const LunarDate& l) {
    switch (key.kind) {
    case NoteKind::Day:
        return key.year == d.year && key.month == d.month && key.slot == d.day;
    case NoteKind::SolarYearly:
        return key.month == d.month && key.slot == d.day;
    case NoteKind::LunarYearly:
        return l.IsValid() && key.month == l.month &&
               (key.slot == l.day || (key.slot == 30 && l.day == 29 && l.monthDays == 29));
    case NoteKind::Weekly:
        return key.slot == DayOfWeek(d.year, d.month, d.day);
    }
    return false;
}

// Calls f(dayNumber, date, lunar date) for each day of the reminder range that [from, to) touches.
template <typename F>
void ForEachDay(int64_t from, int64_t to, F f) {
    if (from >= to) return;
    const int32_t first = std::max(DayOfMinute(from), kFirstDay);
    const int32_t last = std::min(DayOfMinute(to - 1), kLastDay);
    if (first > last) return;
    SolarDate d = SolarFromDayNumber(first);
    LunarDate l = LunarDate::FromSolar(d.year, d.month, d.day);
    for (int32_t n = first; n <= last; ++n) {
        f(n, d, l);
        d = NextDate(d);
        l.NextDay();
    }
}

}  // namespace

int64_t MinuteNumber(int year, int month, int day, int hour, int minute) {
    if (!IsValidDate(year, month, day) || hour < 0 || hour > 23 || minute < 0 || minute > 59) return -1;
    return DayStartMinute(DayNumber(year, month, day)) + hour * 60 + minute;
}

int64_t SecondNumber(int year, int month, int day, int hour, int minute, int second) {
    const int64_t m = MinuteNumber(year, month, day, hour, minute);
    return m < 0 || second < 0 || second > 59 ? -1 : m * 60 + second;
}

LocalMinute LocalMinuteOf(int64_t minuteNumber) {
    if (minuteNumber < 0 || minuteNumber >= DayStartMinute(kLastDayNumber + 1)) return LocalMinute{{0, 0, 0}, 0, 0};
    const int inDay = static_cast<int>(minuteNumber % kMinutesPerDay);  // [0, 1439]
    return LocalMinute{SolarFromDayNumber(DayOfMinute(minuteNumber)), inDay / 60, inDay % 60};
}

bool ParseReminderTime(std::string_view line, int* hour, int* minute) {
    size_t i = 0;
    int h = DigitAt(line, &i);
    if (h < 0) return false;
    const int h2 = DigitAt(line, &i);
    if (h2 >= 0) h = h * 10 + h2;
    if (h > 23 || !ColonAt(line, &i)) return false;
    const int m1 = DigitAt(line, &i);
    const int m2 = m1 < 0 ? -1 : DigitAt(line, &i);
    if (m2 < 0 || m1 > 5 || DigitAt(line, &i) >= 0) return false;
    *hour = h;
    *minute = m1 * 10 + m2;
    return true;
}

std::vector<Reminder> ParseReminders(std::string_view text) {
    std::vector<Reminder> out;
    ForEachLine(UpToNul(text), [&](std::string_view line, std::string_view) {
        int h, m;
        if (ParseReminderTime(line, &h, &m)) out.push_back(Reminder{h, m, std::string(line)});
    });
    return out;
}

std::string UntimedText(std::string_view text) {
    std::string out;
    bool lastWasReminder = false;
    ForEachLine(UpToNul(text), [&](std::string_view line, std::string_view end) {
        int h, m;
        lastWasReminder = ParseReminderTime(line, &h, &m);
        if (lastWasReminder) return;
        out.append(line);
        out.append(end);
    });
    if (lastWasReminder && !out.empty() && out.back() == '\n') {
        out.pop_back();
        if (!out.empty() && out.back() == '\r') out.pop_back();
    }
    return out;
}

std::string ReminderUidSuffix(int hour, int minute) {
    char s[16];
    std::snprintf(s, sizeof s, "-%02d%02d", std::clamp(hour, 0, 23), std::clamp(minute, 0, 59));
    return s;
}

bool NoteFallsOn(const NoteKey& key, const SolarDate& day) {
    const int32_t n = DayNumber(day.year, day.month, day.day);
    if (n < kFirstDay || n > kLastDay) return false;
    return FallsOn(key, day, LunarDate::FromSolar(day.year, day.month, day.day));
}

std::vector<NoteKey> NoteKeysBetween(int64_t from, int64_t to) {
    std::vector<NoteKey> keys;
    auto add = [&keys](const NoteKey& k) {
        if (std::find(keys.begin(), keys.end(), k) == keys.end()) keys.push_back(k);
    };
    ForEachDay(from, to, [&](int32_t, const SolarDate& d, const LunarDate& l) {
        add({NoteKind::Day, d.year, d.month, d.day});
        add({NoteKind::SolarYearly, 0, d.month, d.day});
        if (l.IsValid()) {
            add({NoteKind::LunarYearly, 0, l.month, l.day});
            if (l.day == 29 && l.monthDays == 29) add({NoteKind::LunarYearly, 0, l.month, 30});
        }
        add({NoteKind::Weekly, 0, 0, DayOfWeek(d.year, d.month, d.day)});
    });
    return keys;
}

std::vector<Occurrence> ReminderOccurrences(const NoteKey& key, const std::vector<Reminder>& reminders,
                                            int64_t from, int64_t to) {
    std::vector<Occurrence> out;
    if (reminders.empty()) return out;
    ForEachDay(from, to, [&](int32_t n, const SolarDate& d, const LunarDate& l) {
        if (!FallsOn(key, d, l)) return;
        for (size_t i = 0; i < reminders.size(); ++i) {
            const int64_t at = DayStartMinute(n) + reminders[i].hour * 60 + reminders[i].minute;
            if (at >= from && at < to) out.push_back({at, i});
        }
    });
    std::stable_sort(out.begin(), out.end(), [](const Occurrence& a, const Occurrence& b) { return a.minute < b.minute; });
    return out;
}

CheckWindow ReminderCheckWindow(int64_t lastSecond, int64_t nowSecond) {
    nowSecond = std::clamp<int64_t>(nowSecond, 0, kEndSecond);
    const int64_t now = nowSecond / 60;
    if (lastSecond == kNotChecked) return {now - kMissedMinutes, now, now + 1};
    lastSecond = std::clamp<int64_t>(lastSecond, 0, kEndSecond);
    const int64_t last = lastSecond / 60;
    if (nowSecond < lastSecond || now <= last) return {now, now, now};
    if (nowSecond - lastSecond <= kLateCheckSeconds) return {last + 1, last + 1, now + 1};
    return {std::max(last + 1, now - kMissedMinutes), now, now + 1};
}

uint64_t ReminderLineHash(std::string_view line) {
    uint64_t h = 0xcbf29ce484222325ULL;  // FNV-1a 64 offset basis
    for (const char c : line) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;  // FNV 64 prime
    }
    return h;
}

void ShownReminders::Add(int64_t minute, uint64_t hash) {
    entries_.insert({minute, hash});
    while (entries_.size() > kMaxEntries) entries_.erase(entries_.begin());
}

void ShownReminders::Prune(int64_t nowMinute) {
    entries_.erase(entries_.begin(), entries_.lower_bound({nowMinute - kKeepMinutes, 0}));
}

std::string ShownReminders::Serialise() const {
    std::string out;
    char s[48];
    for (const auto& [minute, hash] : entries_) {
        const LocalMinute t = LocalMinuteOf(minute);
        if (t.date.year == 0) continue;
        std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d %016llx\n", t.date.year, t.date.month, t.date.day, t.hour,
                      t.minute, static_cast<unsigned long long>(hash));
        out += s;
    }
    return out;
}

ShownReminders ShownReminders::Parse(std::string_view bytes) {
    ShownReminders record;
    bytes = bytes.substr(0, kMaxBytes);  // a line the cap cuts is too short for the shape below
    ForEachLine(bytes, [&record](std::string_view line, std::string_view) {
        // "YYYY-MM-DD HH:MM " then 16 hex digits: 33 bytes.
        static const char kShape[] = "dddd-dd-dd dd:dd xxxxxxxxxxxxxxxx";
        if (line.size() != sizeof kShape - 1) return;
        int digits[12], n = 0;
        uint64_t hash = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (kShape[i] == 'd') {
                if (c < '0' || c > '9') return;
                digits[n++] = c - '0';
            } else if (kShape[i] == 'x') {
                const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                            : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
                if (v < 0) return;
                hash = hash << 4 | static_cast<uint64_t>(v);
            } else if (c != kShape[i]) {
                return;
            }
        }
        const int year = ((digits[0] * 10 + digits[1]) * 10 + digits[2]) * 10 + digits[3];
        const int64_t minute = MinuteNumber(year, digits[4] * 10 + digits[5], digits[6] * 10 + digits[7],
                                            digits[8] * 10 + digits[9], digits[10] * 10 + digits[11]);
        if (minute >= 0) record.Add(minute, hash);
    });
    return record;
}

std::vector<DueReminder> DueReminders(const std::vector<NoteReminders>& notes, const CheckWindow& window,
                                      const ShownReminders& shown) {
    std::vector<DueReminder> out;
    if (window.Empty()) return out;
    for (const NoteReminders& note : notes) {
        const std::vector<Reminder> reminders = ParseReminders(note.text);
        for (const Occurrence& o : ReminderOccurrences(note.key, reminders, window.missedFrom, window.to)) {
            const std::string& line = reminders[o.reminder].line;
            const uint64_t hash = ReminderLineHash(line);
            if (shown.Contains(o.minute, hash)) continue;
            const bool twice = std::any_of(out.begin(), out.end(), [&](const DueReminder& r) {
                return r.minute == o.minute && r.hash == hash && r.line == line;
            });
            if (!twice) out.push_back({o.minute, line, hash, o.minute < window.dueFrom});
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const DueReminder& a, const DueReminder& b) { return a.minute < b.minute; });
    return out;
}

void SnoozedReminders::Snooze(const std::vector<DueReminder>& reminders, int64_t nowSecond, int64_t seconds) {
    nowSecond = std::clamp<int64_t>(nowSecond, 0, kEndSecond);
    const int64_t backAt = nowSecond + std::clamp<int64_t>(seconds, 1, kMaxSnoozeSeconds);
    for (const DueReminder& r : reminders) entries_.push_back({nowSecond, backAt, r});
}

std::vector<DueReminder> SnoozedReminders::TakeDue(int64_t nowSecond) {
    std::vector<DueReminder> out;
    std::vector<Entry> keep;
    for (Entry& e : entries_) {
        if (nowSecond >= e.backAt || nowSecond < e.snoozedAt)
            out.push_back(std::move(e.reminder));
        else
            keep.push_back(std::move(e));
    }
    entries_ = std::move(keep);
    return out;
}

bool HoldsReminder(const std::vector<DueReminder>& reminders, const DueReminder& r) {
    return std::any_of(reminders.begin(), reminders.end(),
                       [&r](const DueReminder& o) { return o.minute == r.minute && o.hash == r.hash; });
}

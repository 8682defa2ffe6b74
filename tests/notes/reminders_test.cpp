// Reminders: timed lines, where they fall, the check window with an injected clock, snoozes and the
// shown record (portable). Literals are GBK, as note text is.
#include "notes/reminders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "calendar/lunar.h"

namespace {

// "YYYY-MM-DD HH:MM[:SS]" in seconds; Min: its minute number.
int64_t Sec(const char* s) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    std::sscanf(s, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &sec);
    return SecondNumber(y, mo, d, h, mi, sec);
}
int64_t Min(const char* s) { return Sec(s) / 60; }
std::string Text(int64_t minute) {
    const LocalMinute t = LocalMinuteOf(minute);
    char s[32];  // "YYYY-MM-DD HH:MM"
    return std::string(s, std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d", t.date.year, t.date.month, t.date.day, t.hour, t.minute));
}

TEST(ReminderTime, LinesThatAreAndAreNotReminders) {
    struct { const char* line; int hhmm; } rows[] = {  // -1: no reminder
        {"9:30 开会", 930}, {"09:30", 930}, {"9：30\t牙医", 930}, {"９：３０会", 930}, {"１２:０5", 1205}, {"0:00", 0},
        {"23:59　晚", 2359}, {"9:30-10:00 课", 930}, {"12:30:45", 1230}, {"24:00", -1}, {"9:3", -1}, {"9:3 x", -1},
        {"25:10", -1}, {"9:60", -1}, {"9:300", -1}, {"9:30５", -1}, {"009:30", -1}, {" 9:30", -1}, {"　9:30", -1},
        {"会 9:30", -1}, {"9.30", -1}, {"9:", -1}, {":30", -1}, {"", -1}, {"9:3\xA3", -1}, {"\xA3", -1},
    };
    for (const auto& r : rows) {
        int h = 0, m = 0;
        const bool ok = ParseReminderTime(r.line, &h, &m);
        EXPECT_EQ(ok ? h * 100 + m : -1, r.hhmm) << r.line;
    }
}

TEST(ReminderLines, LinesEndsUntimedRemainderAndUid) {
    const std::string text = std::string("9:30 看牙\r\n记得 10:00\r\n10:00 开会\n\r\n8:05") + '\0' + "9:00 after NUL";
    std::string lines;
    for (const Reminder& r : ParseReminders(text)) lines += std::to_string(r.hour * 100 + r.minute) + " " + r.line + "|";
    EXPECT_EQ(lines, "930 9:30 看牙|1000 10:00 开会|805 8:05|");
    struct { const char* text; const char* untimed; } rows[] = {
        {"9:30 a\r\nb\r\n10:00 c", "b"}, {"a\r\n9:30 b\r\n", "a\r\n"}, {"a\n9:30 b\nc", "a\nc"},
        {"9:30 x", ""}, {"plain\r\n", "plain\r\n"}, {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(UntimedText(row.text), row.untimed) << row.text;
    EXPECT_EQ(ReminderUidSuffix(9, 30) + ReminderUidSuffix(0, 0) + ReminderUidSuffix(23, 59), "-0930-0000-2359");
}

TEST(ReminderOccurrences, EachKindAcrossLeapMonthsDayThirtyAndTheRangeEnds) {
    using K = NoteKind;
    struct { NoteKey key; const char* from; const char* to; const char* want; } rows[] = {
        {{K::Day, 2024, 2, 29}, "2024-01-01", "2025-01-01", "2024-02-29 09:30 "},
        {{K::Day, 1900, 1, 31}, "1900-01-01", "1900-03-01", ""},  // before the calendar
        {{K::Day, 1900, 2, 1}, "1900-01-01", "1900-03-01", "1900-02-01 09:30 "},
        {{K::SolarYearly, 0, 2, 29}, "2023-01-01", "2029-01-01", "2024-02-29 09:30 2028-02-29 09:30 "},
        {{K::SolarYearly, 0, 12, 31}, "2099-12-31 09:31", "2199-01-01", "2100-12-31 09:30 "},
        // Lunar: 2023 has a leap 2nd month (2nd month 30 days, leap 29): 15th and 30th fall twice.
        {{K::LunarYearly, 0, 2, 15}, "2023-01-01", "2024-01-01", "2023-03-06 09:30 2023-04-05 09:30 "},
        {{K::LunarYearly, 0, 2, 30}, "2023-01-01", "2024-01-01", "2023-03-21 09:30 2023-04-19 09:30 "},
        {{K::LunarYearly, 0, 6, 30}, "2025-06-01", "2025-09-01", "2025-07-24 09:30 2025-08-22 09:30 "},
        {{K::LunarYearly, 0, 12, 30}, "2025-01-01", "2025-02-01", "2025-01-28 09:30 "},  // 除夕 on 29th
        {{K::LunarYearly, 0, 12, 1}, "2100-12-01", "2101-02-01", "2100-12-31 09:30 "},
        {{K::LunarYearly, 0, 12, 29}, "2100-12-01", "2101-02-01", ""},  // 2101-01-28: past the end
        {{K::LunarYearly, 0, 1, 1}, "1900-01-01", "1900-03-01", ""},    // 1900-01-31: before
        {{K::LunarYearly, 0, 1, 2}, "1900-01-01", "1900-03-01", "1900-02-01 09:30 "},
        {{K::Weekly, 0, 0, 1}, "2024-01-01 09:30", "2024-01-15 09:30", "2024-01-01 09:30 2024-01-08 09:30 "},
        {{K::Weekly, 0, 0, 1}, "2024-01-01 09:31", "2024-01-08 09:31", "2024-01-08 09:30 "},
        {{K::Weekly, 0, 0, 7}, "2024-01-01", "2024-02-01", ""},
    };
    const std::vector<Reminder> at930 = ParseReminders("9:30 x");
    for (const auto& r : rows) {
        std::string got;
        for (const Occurrence& o : ReminderOccurrences(r.key, at930, Min(r.from), Min(r.to))) got += Text(o.minute) + " ";
        EXPECT_EQ(got, r.want) << int(r.key.kind) << " " << r.key.month << "/" << r.key.slot << " from " << r.from;
    }
    const auto two = ReminderOccurrences({K::Day, 2024, 3, 1}, ParseReminders("9:30 b\n8:00 a"), 0, kEndReminderMinute);
    EXPECT_EQ(two.size() == 2 ? Text(two[0].minute) + Text(two[1].minute) + std::to_string(two[0].reminder) : "",
              "2024-03-01 08:002024-03-01 09:301");  // by time, not by line
    EXPECT_EQ(std::pair(kFirstReminderMinute, kEndReminderMinute), std::pair(Min("1900-02-01"), Min("2101-01-01")));
}

// Over the whole range: a lunar day falls once a lunar year, twice in a year whose leap month has its
// number; 29 February in the 49 leap years 1904 ... 2096. Every day has its dated, yearly, lunar and
// weekly keys, and the lunar key of day 30 too on day 29 of a 29-day month; none outside the range.
TEST(ReminderOccurrences, WholeRangeSweep) {
    const std::vector<Reminder> r = ParseReminders("0:00");
    for (int month = 1; month <= 12; ++month) {
        for (int slot : {1, 29, 30}) {
            int perYear[kLastLunarYear + 1] = {};
            for (const Occurrence& o : ReminderOccurrences({NoteKind::LunarYearly, 0, month, slot}, r, 0, kEndReminderMinute)) {
                const SolarDate d = LocalMinuteOf(o.minute).date;
                ++perYear[LunarDate::FromSolar(d.year, d.month, d.day).year];
            }
            for (int y = 1901; y < kLastLunarYear; ++y)
                ASSERT_EQ(perYear[y], 1 + (LeapMonth(y) == month)) << y << " " << month << "/" << slot;
        }
    }
    EXPECT_EQ(ReminderOccurrences({NoteKind::SolarYearly, 0, 2, 29}, r, 0, kEndReminderMinute).size(), 49u);
    for (int64_t day = kFirstReminderMinute; day < kEndReminderMinute; day += kMinutesPerDay) {
        const std::vector<NoteKey> keys = NoteKeysBetween(day + 600, day + 601);
        const SolarDate d = LocalMinuteOf(day).date;
        const LunarDate l = LunarDate::FromSolar(d.year, d.month, d.day);
        ASSERT_EQ(keys.size(), 4u + (l.day == 29 && l.monthDays == 29)) << Text(day);
        for (const NoteKey& k : keys) ASSERT_TRUE(NoteFallsOn(k, d)) << Text(day) << " " << int(k.kind);
    }
    EXPECT_EQ(NoteKeysBetween(0, kFirstReminderMinute).size() + NoteKeysBetween(kEndReminderMinute, 1LL << 40).size(), 0u);
    EXPECT_FALSE(NoteFallsOn({NoteKind::Weekly, 0, 0, 3}, {1900, 1, 31}) || NoteFallsOn({NoteKind::Weekly, 0, 0, 6}, {2101, 1, 1}));
}

TEST(ReminderCheck, WindowOfEachKindOfGap) {
    struct { const char* last; const char* now; const char* missedDueTo; } rows[] = {  // dates of March 2024
        {nullptr, "2024-03-10 10:00:30", "09 10:00 10 10:00 10 10:01"},  // first check
        {"2024-03-10 10:00:50", "2024-03-10 10:02:50", "10 10:01 10 10:01 10 10:03"},  // late by 120 s: due
        {"2024-03-10 09:00:10", "2024-03-10 10:00:20", "10 09:01 10 10:00 10 10:01"},  // asleep 1 h
        {"2024-03-09 04:00:00", "2024-03-10 10:00:00", "09 10:00 10 10:00 10 10:01"},  // 30 h: the last 24
        {"2024-03-10 10:01:00", "2024-03-10 10:01:59", "10 10:01 10 10:01 10 10:01"},  // same minute
        {"2024-03-10 10:00:00", "2024-03-10 09:00:00", "10 09:00 10 09:00 10 09:00"},  // clock set back
    };
    for (const auto& r : rows) {
        const CheckWindow w = ReminderCheckWindow(r.last ? Sec(r.last) : kNotChecked, Sec(r.now));
        EXPECT_EQ(Text(w.missedFrom).substr(8) + " " + Text(w.dueFrom).substr(8) + " " + Text(w.to).substr(8),
                  r.missedDueTo) << r.now;
    }
}

// The caller's round: the keys the window touches, their notes, the due ones shown and recorded.
TEST(ReminderCheck, DueAndMissedWithTheClockSeam) {
    const std::vector<NoteReminders> notes = {
        {{NoteKind::Day, 2024, 3, 9}, "8:00 昨早\n20:00 昨晚"},
        {{NoteKind::Day, 2024, 3, 10}, "9:30 看牙\r\n会后 11:00 不算\r\n10:00 开会"},
        {{NoteKind::Weekly, 0, 0, 0}, "9:30 看牙\n21:00 周日晚"},  // 2024-03-10 is a Sunday
    };
    ShownReminders shown;
    auto check = [&](const char* last, const char* now) {
        const CheckWindow w = ReminderCheckWindow(last ? Sec(last) : kNotChecked, Sec(now));
        std::vector<NoteReminders> load;
        for (const NoteKey& k : NoteKeysBetween(w.missedFrom, w.to))
            for (const NoteReminders& n : notes) if (n.key == k) load.push_back(n);
        std::string out;
        for (const DueReminder& r : DueReminders(load, w, shown)) {
            out += (r.missed ? "missed " : "due ") + Text(r.minute) + " " + r.line + "|";
            shown.Add(r);
        }
        return out;
    };
    EXPECT_EQ(check(nullptr, "2024-03-10 10:00:30"),
              "missed 2024-03-09 20:00 20:00 昨晚|missed 2024-03-10 09:30 9:30 看牙|due 2024-03-10 10:00 10:00 开会|");
    EXPECT_EQ(check("2024-03-10 10:00:30", "2024-03-10 10:01:01"), "");
    shown = ShownReminders::Parse(shown.Serialise());  // a restart an hour later: all shown
    shown.Prune(Min("2024-03-10 11:00"));
    EXPECT_EQ(check(nullptr, "2024-03-10 11:00:00"), "");
    EXPECT_EQ(check("2024-03-10 11:00:00", "2024-03-10 22:00:05"), "missed 2024-03-10 21:00 21:00 周日晚|");
    EXPECT_EQ(check("2024-03-10 20:59:10", "2024-03-10 21:00:00"), "");  // clock set back: shown once
    shown = ShownReminders();  // another PC, awake again after 30 h: the last 24 hours only
    EXPECT_EQ(check("2024-03-09 16:00:00", "2024-03-10 22:00:00"),
              "missed 2024-03-10 09:30 9:30 看牙|missed 2024-03-10 10:00 10:00 开会|missed 2024-03-10 21:00 21:00 周日晚|");

    SnoozedReminders snoozed;
    const int64_t t = Sec("2024-03-10 22:00:00");
    snoozed.Snooze(DueReminders(notes, ReminderCheckWindow(kNotChecked, t), ShownReminders()), t);
    snoozed.Snooze({{0, "x", 0, false}}, t, 5);  // the test seam's interval
    for (auto [at, n] : {std::pair{t + 4, 0u}, {t + 5, 1u}, {t + 599, 0u}, {t + 600, 3u}}) EXPECT_EQ(snoozed.TakeDue(at).size(), n);
    snoozed.Snooze({{0, "x", 0, false}}, t, 600);
    EXPECT_EQ(snoozed.TakeDue(t - 3600).size(), 1u);  // the clock went back: shown at once
    EXPECT_TRUE(snoozed.Empty());
}

TEST(ShownRecord, HashRoundTripGarbagePruneAndCaps) {
    EXPECT_EQ((std::vector{ReminderLineHash(""), ReminderLineHash("a"), ReminderLineHash("foobar")}),  // FNV-1a 64 vectors
              (std::vector<uint64_t>{0xcbf29ce484222325, 0xaf63dc4c8601ec8c, 0x85944171f73967e8}));
    ShownReminders r;
    r.Add(Min("2024-03-10 09:30"), 0xfedcba9876543210ULL);
    r.Add(Min("2024-03-09 20:00"), 0xff);
    const std::string bytes = "2024-03-09 20:00 00000000000000ff\n2024-03-10 09:30 fedcba9876543210\n";
    EXPECT_EQ(r.Serialise(), bytes);
    EXPECT_EQ(ShownReminders::Parse(bytes).Serialise(), bytes);
    const std::string garbage = std::string("junk\n\n2024-02-30 09:30 00000000000000ff\n2024-03-10 24:00 00000000000000ff\n"
        "2024-03-10 09:30 0000000000000g0f\n2024-03-10 09:30 00000000000000ff x\n2024-3-10 09:30 00000000000000ff\n"
        ) + '\0' + "\xff\xfe\n2024-03-10 09:30 FEDCBA9876543210\r\n2024-03-09 20:00 00000000000000ff";
    EXPECT_EQ(ShownReminders::Parse(garbage).Serialise(), bytes);
    r.Prune(Min("2024-03-12 09:30"));  // two days after 09:30 keeps it; 20:00 the day before goes
    EXPECT_EQ(r.Serialise(), "2024-03-10 09:30 fedcba9876543210\n");

    std::string big;  // 10000 lines, 340 000 bytes: only the first 256 KiB read, the newest 4096 kept
    const int64_t t0 = Min("2024-01-01");
    for (uint64_t i = 0; i < 10000; ++i) big += (r = ShownReminders(), r.Add(t0 + i, i), r.Serialise());
    const ShownReminders capped = ShownReminders::Parse(big);
    const uint64_t lastRead = ShownReminders::kMaxBytes / 34 - 1;  // 34 bytes a line
    EXPECT_EQ(capped.Size(), ShownReminders::kMaxEntries);
    EXPECT_TRUE(capped.Contains(t0 + lastRead, lastRead));
    EXPECT_FALSE(capped.Contains(t0 + lastRead + 1, lastRead + 1) || capped.Contains(t0 + lastRead - 4096, lastRead - 4096));
}

}  // namespace

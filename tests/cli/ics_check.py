"""vestrel-cal --ics read back by the icalendar package: the calendar loads, the terms, festivals,
notes and their reminders (timed events with a VALARM) are where and what they should be, every text length comes back whole from lines within
the limit, and two runs give the same bytes. Given the program's test build (whose allocations fail
after VESTREL_FAIL_ALLOCATIONS_AFTER), also what an allocation failure leaves.

Run with Debian's interpreter, which is the one python3-icalendar serves:
    /usr/bin/python3 tests/cli/ics_check.py build/native/vestrel-cal [build/native/tests/cli/vestrel-cal-alloc-fail]
"""
import datetime
import os
import struct
import subprocess
import sys
import tempfile
import unittest

import icalendar

TOOL = None  # the vestrel-cal binary, from the command line
ALLOC_FAIL_TOOL = None  # its test build, when given

D = datetime.date

# Own colour words: OwnColorFlag (bit 24) and the colour as 0x00BBGGRR.
OWN_RED = 0x01000000 | 0x0000FF        # RGB(255, 0, 0)
NOTE_WITH_BREAKS = "Lunch, 3pm; bring 书\r\n第二行, and; \\ the end"
LONG_NOTE = "农历六月十五，" * 20  # 140 characters: folded over several lines


def list_file(entries):
    """The bytes of a note list file: tag 100, then index, length, colour word and GBK text."""
    data = struct.pack("<H", 100)
    for slot in sorted(entries):
        text, colour = entries[slot]
        raw = text.encode("gbk")
        data += struct.pack("<HHI", slot, len(raw), colour) + raw
    return data


def make_notes(root, files, list_folder="日历"):
    """root/我的记事/<list_folder>/<name> for each file; returns the notes folder."""
    notes = os.path.join(root, "我的记事")
    lists = os.path.join(notes, list_folder)
    os.makedirs(lists)
    os.makedirs(os.path.join(notes, "备忘"))
    for name, entries in files.items():
        with open(os.path.join(lists, name), "wb") as f:
            f.write(entries if isinstance(entries, bytes) else list_file(entries))
    return notes


def run(*args):
    r = subprocess.run([TOOL, "--ics", *args], capture_output=True)
    if r.returncode != 0:
        raise AssertionError(f"vestrel-cal --ics {' '.join(args)}: status {r.returncode}, {r.stderr!r}")
    return r.stdout


def events(ics):
    return list(icalendar.Calendar.from_ical(ics).walk("VEVENT"))


def check_lines(test, ics):
    """Every line ends in CR LF, holds no other CR or LF, is at most 75 octets and whole UTF-8."""
    lines = ics.split(b"\r\n")
    test.assertEqual(lines[-1], b"")  # the last line ends in CR LF too
    for line in lines[:-1]:
        test.assertNotIn(b"\n", line)
        test.assertNotIn(b"\r", line)
        test.assertLessEqual(len(line), 75, line)
        line.decode("utf-8")  # a fold never splits a character


def by_summary(evs):
    out = {}
    for e in evs:
        out.setdefault(str(e["SUMMARY"]), []).append(e.decoded("DTSTART"))
    return out


class Terms(unittest.TestCase):
    # The terms of 2021 as published for China Standard Time (day of each), and the instants of
    # the first and the last.
    TERMS_2021 = [
        ("小寒", D(2021, 1, 5)), ("大寒", D(2021, 1, 20)), ("立春", D(2021, 2, 3)), ("雨水", D(2021, 2, 18)),
        ("惊蛰", D(2021, 3, 5)), ("春分", D(2021, 3, 20)), ("清明", D(2021, 4, 4)), ("谷雨", D(2021, 4, 20)),
        ("立夏", D(2021, 5, 5)), ("小满", D(2021, 5, 21)), ("芒种", D(2021, 6, 5)), ("夏至", D(2021, 6, 21)),
        ("小暑", D(2021, 7, 7)), ("大暑", D(2021, 7, 22)), ("立秋", D(2021, 8, 7)), ("处暑", D(2021, 8, 23)),
        ("白露", D(2021, 9, 7)), ("秋分", D(2021, 9, 23)), ("寒露", D(2021, 10, 8)), ("霜降", D(2021, 10, 23)),
        ("立冬", D(2021, 11, 7)), ("小雪", D(2021, 11, 22)), ("大雪", D(2021, 12, 7)), ("冬至", D(2021, 12, 21)),
    ]

    def test_the_24_terms_of_2021_on_their_days(self):
        evs = [e for e in events(run("2021", "2021")) if str(e["UID"]).endswith("-term@vestrel-cal")]
        got = sorted((e.decoded("DTSTART"), str(e["SUMMARY"])) for e in evs)
        self.assertEqual(got, sorted((day, name) for name, day in self.TERMS_2021))
        for e in evs:
            self.assertIsInstance(e.decoded("DTSTART"), datetime.date)
            self.assertNotIsInstance(e.decoded("DTSTART"), datetime.datetime)  # all-day
        instants = {str(e["SUMMARY"]): str(e["DESCRIPTION"]) for e in evs}
        self.assertIn("2021-01-05 11:23", instants["小寒"])
        self.assertIn("2021-12-21 23:59", instants["冬至"])  # 23:59:09 UTC+8


class Festivals(unittest.TestCase):
    def test_the_festivals_of_2017(self):
        # Gregorian festivals and the lunar ones (2017: lunar new year on 28 January).
        expected = {
            "元旦": [D(2017, 1, 1)], "除夕": [D(2017, 1, 27)], "春节": [D(2017, 1, 28)], "正月初二": [D(2017, 1, 29)],
            "正月初三": [D(2017, 1, 30)], "元宵节": [D(2017, 2, 11)], "劳动节": [D(2017, 5, 1)],
            "端午节": [D(2017, 5, 30)], "儿童节": [D(2017, 6, 1)], "七夕节": [D(2017, 8, 28)],
            "国庆节": [D(2017, 10, 1)], "中秋节": [D(2017, 10, 4)], "重阳节": [D(2017, 10, 28)],
        }
        evs = [e for e in events(run("2017", "2017")) if "festival@" in str(e["UID"])]
        self.assertEqual(by_summary(evs), expected)

    def test_a_lunar_and_a_gregorian_festival_on_one_day_are_two_events(self):
        # 2020-10-01 is both 国庆 and 中秋.
        evs = [e for e in events(run("2020", "2020")) if e.decoded("DTSTART") == D(2020, 10, 1)]
        self.assertEqual(sorted(str(e["SUMMARY"]) for e in evs), ["中秋节", "国庆节"])



class Notes(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.notes = make_notes(cls.tmp.name, {
            "006": {15: ("六月十五", 0)},  # lunar-yearly, sixth month
            "201703": {8: (NOTE_WITH_BREAKS, OWN_RED), 9: (LONG_NOTE, 0), 10: ("", OWN_RED)},  # 10: colour only
            "102": {14: ("情人节", 0)},  # Gregorian-yearly
            "week": {1: ("周一例会", 0)},
            "201703.new": {11: ("not yet saved", 0)},
            "201703.damaged": {12: ("kept aside", 0)},
        })
        cls.ics = run("2016", "2018", "--notes", cls.notes)
        cls.events = events(cls.ics)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def notes_titled(self, title):
        return [e for e in self.events if str(e["SUMMARY"]) == title]

    def test_every_line_ends_in_crlf_and_is_folded(self):
        check_lines(self, self.ics)
        self.assertIn(b"\r\n ", self.ics)  # the long note was folded

    def test_a_lunar_yearly_note_falls_on_every_sixth_month_leap_month_included(self):
        # Gregorian     lunar
        # 2016-07-18    2016 六月十五
        # 2017-07-08    2017 六月十五
        # 2017-08-06    2017 闰六月十五
        # 2018-07-27    2018 六月十五
        days = sorted(e.decoded("DTSTART") for e in self.notes_titled("六月十五"))
        self.assertEqual(days, [D(2016, 7, 18), D(2017, 7, 8), D(2017, 8, 6), D(2018, 7, 27)])

    def test_text_with_a_line_break_commas_and_semicolons_comes_back_whole(self):
        [e] = [e for e in self.events if e.decoded("DTSTART") == D(2017, 3, 8)]
        self.assertEqual(str(e["DESCRIPTION"]), "Lunch, 3pm; bring 书\n第二行, and; \\ the end")
        self.assertEqual(str(e["SUMMARY"]), "Lunch, 3pm; bring 书")
        self.assertEqual(str(e["COLOR"]), "red")
        self.assertEqual(str(e["UID"]), "20170308-note@vestrel-cal")
        self.assertNotIn("COLOR", self.notes_titled(LONG_NOTE)[0])  # no own colour, no COLOR
        self.assertEqual(str(self.notes_titled(LONG_NOTE)[0]["DESCRIPTION"]), LONG_NOTE)

    def test_only_list_files_count(self):
        titles = {str(e["SUMMARY"]) for e in self.events}
        self.assertNotIn("not yet saved", titles)  # 201703.new
        self.assertNotIn("kept aside", titles)     # 201703.damaged
        self.assertEqual([e for e in self.events if e.decoded("DTSTART") == D(2017, 3, 10)], [])  # colour only

    def test_every_uid_once(self):
        uids = [str(e["UID"]) for e in self.events]
        self.assertEqual(len(uids), len(set(uids)))

    def test_two_runs_give_the_same_bytes(self):
        self.assertEqual(run("2016", "2018", "--notes", self.notes), self.ics)


class Reminders(unittest.TestCase):
    def test_timed_events_at_floating_time_with_a_display_alarm_and_the_same_uids_again(self):
        with tempfile.TemporaryDirectory() as tmp:
            notes = make_notes(tmp, {"201703": {8: ("牙医\r\n9:30 出发\r\n２３：４５ 睡", 0)}, "week": {1: ("7:00 晨跑", 0)}})
            ics = run("2017", "2017", "--notes", notes)
            self.assertEqual(run("2017", "2017", "--notes", notes), ics)
        by_uid = {str(e["UID"]): e for e in events(ics)}
        for uid, start, summary in [("20170308-note-0930", datetime.datetime(2017, 3, 8, 9, 30), "出发"),
                                    ("20170308-note-2345", datetime.datetime(2017, 3, 8, 23, 45), "睡"),
                                    ("weekly-1-note-0700", datetime.datetime(2017, 1, 2, 7, 0), "晨跑")]:
            e = by_uid[uid + "@vestrel-cal"]
            self.assertEqual((e.decoded("DTSTART"), e.decoded("DTEND") - start, "TZID" in e["DTSTART"].params),
                             (start, datetime.timedelta(minutes=30), False), uid)  # naive: floating
            [alarm] = [c for c in e.subcomponents if c.name == "VALARM"]
            self.assertEqual((str(alarm["ACTION"]), alarm.decoded("TRIGGER"), str(alarm["DESCRIPTION"])),
                             ("DISPLAY", datetime.timedelta(0), summary), uid)
        self.assertEqual(str(by_uid["20170308-note@vestrel-cal"]["SUMMARY"]), "牙医")  # the untimed line
        self.assertNotIn("weekly-1-note@vestrel-cal", by_uid)  # every line timed: no all-day event


class TextLengths(unittest.TestCase):
    def test_every_length_from_1_to_400_bytes_comes_back_whole(self):
        # Dated notes of n UTF-8 bytes, (n mod width) letters and then characters of one width, 28 a
        # month from January 2001; a long SOURCE folds the calendar's own lines too.
        texts = ["a" * (n % len(c.encode())) + c * (n // len(c.encode())) for c in "x;中α" for n in range(1, 401)]
        files, expected = {}, {}
        for i, text in enumerate(texts):
            year, month, day = 2001 + i // (28 * 12), i // 28 % 12 + 1, i % 28 + 1
            files.setdefault("%d%02d" % (year, month), {})[day] = (text, 0)
            expected["%d%02d%02d-note@vestrel-cal" % (year, month, day)] = (text, text)
        with tempfile.TemporaryDirectory() as tmp:
            ics = run("2001", "2005", "--notes", make_notes(tmp, files), "--source", "https://h/" + "%E4%B8%AD" * 30)
        check_lines(self, ics)
        self.assertEqual({str(e["UID"]): (str(e["SUMMARY"]), str(e["DESCRIPTION"])) for e in events(ics)
                          if str(e["UID"]).endswith("-note@vestrel-cal")}, expected)


class OutOfMemory(unittest.TestCase):
    def test_status_1_one_line_and_whole_events_without_the_end(self):
        if ALLOC_FAIL_TOOL is None:
            self.skipTest("no test build of vestrel-cal given (none under AddressSanitizer)")
        with tempfile.TemporaryDirectory() as tmp:
            notes = make_notes(tmp, {"008": {15: ("农历八月十五，" * 2000, 0)}, "200105": {1: ("劳动节", 0)}})
            # Allocation budgets from 0 up by a tenth each time (-1: none fails), until the export gets through.
            whole, cut_after, allocations = None, set(), -1
            while True:
                env = dict(os.environ, VESTREL_FAIL_ALLOCATIONS_AFTER=str(allocations))
                r = subprocess.run([ALLOC_FAIL_TOOL, "--ics", "2000", "2007", "--notes", notes], capture_output=True,
                                   env=env)
                if r.returncode == 0:
                    self.assertEqual((r.stderr, r.stdout[-15:]), (b"", b"END:VCALENDAR\r\n"))
                    self.assertEqual(r.stdout, whole or r.stdout)
                    if whole is not None:
                        break
                    whole = r.stdout
                else:
                    self.assertEqual((r.returncode, r.stderr), (1, b"vestrel-cal: out of memory\n"), allocations)
                    # The start of the whole calendar, cut after an event or before the first.
                    self.assertTrue(whole.startswith(r.stdout) and b"END:VCALENDAR" not in r.stdout, allocations)
                    if b"BEGIN:VEVENT" in r.stdout:
                        self.assertTrue(r.stdout.endswith(b"END:VEVENT\r\n"), allocations)
                        cut_after.add(r.stdout.count(b"BEGIN:VEVENT"))
                allocations = allocations * 11 // 10 + 1 if allocations >= 0 else 0
            self.assertGreater(len(cut_after), 3, "cut off after several different events")


class Holidays(unittest.TestCase):
    def test_the_days_off_and_workdays_of_2026(self):
        ics = run("2026", "2026", "--holidays")
        check_lines(self, ics)
        uids = [str(e["UID"]).split("@")[0][9:] for e in events(ics)]
        self.assertEqual((uids.count("holiday"), uids.count("workday")), (7, 6))  # spans and workdays


class Refused(unittest.TestCase):
    def test_exit_status_and_nothing_on_stdout(self):
        with tempfile.TemporaryDirectory() as tmp:
            # 201703: a record of 9 text bytes with only 3 left in the file.
            cut_short = struct.pack("<HHHI", 100, 8, 9, 0) + b"abc"
            notes = make_notes(tmp, {"201703": cut_short, "201704": {1: ("好", 0)}})
            damaged = os.path.join(notes, "日历", "201703")
            for args, status, stderr in [
                (["2017", "2017", "--notes", notes], 1, f"vestrel-cal: damaged note file {damaged}\n"),
                (["2017", "2017", "--notes", os.path.join(tmp, "missing")], 2, None),
                (["2018", "2017"], 2, None),
            ]:
                r = subprocess.run([TOOL, "--ics", *args], capture_output=True)
                self.assertEqual((r.returncode, r.stdout), (status, b""), args)
                self.assertEqual(r.stderr.count(b"\n"), 1, args)
                if stderr:
                    self.assertEqual(r.stderr.decode(), stderr)
            skipped = subprocess.run([TOOL, "--ics", "2017", "2017", "--notes", notes, "--skip-damaged"],
                                     capture_output=True)
            self.assertEqual(skipped.returncode, 0)
            self.assertEqual(skipped.stderr.decode(), f"vestrel-cal: damaged note file {damaged}, left out\n")
            self.assertEqual(by_summary(events(skipped.stdout))["好"], [D(2017, 4, 1)])


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    if len(sys.argv) > 1 and os.path.isfile(sys.argv[1]):
        ALLOC_FAIL_TOOL = sys.argv.pop(1)
    unittest.main(verbosity=2)

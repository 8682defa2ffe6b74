#!/usr/bin/env bash
# Whole-process time of vestrel-cal (make bench): --days over every day on offer (also per day), and
# --ics over 1900 ... 2100 with a notes folder of a few hundred notes made for the run. Prints the
# fastest and the median of several runs, start-up included, output to /dev/null. Then the large
# export: four lunar-yearly notes of 65,535 bytes each over 1900 ... 2100, its wall time and peak
# resident memory as /usr/bin/time -v reports them; the same for the largest notes folder, a dated
# note of 530 bytes on every day of 1900 ... 2100.
#   bash bench/cli_bench.sh build/native/vestrel-cal
set -euo pipefail
tool=${1:?usage: cli_bench.sh PATH/TO/vestrel-cal}
runs=${VESTREL_CLI_BENCH_RUNS:-21}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A notes folder as the program writes it: 120 lunar-yearly notes (every third day of each lunar
# month), 48 Gregorian-yearly, 300 dated (two a year), 3 weekly; some with own colours and line breaks.
notes=$(/usr/bin/python3 - "$work" <<'EOF'
import os, struct, sys

lists = os.path.join(sys.argv[1], "我的记事", "日历")
os.makedirs(lists)
os.makedirs(os.path.join(sys.argv[1], "我的记事", "备忘"))

count = 0

def write(name, entries):
    global count
    count += len(entries)
    data = struct.pack("<H", 100)
    for slot in sorted(entries):
        text, colour = entries[slot]
        raw = text.encode("gbk")
        data += struct.pack("<HHI", slot, len(raw), colour) + raw
    with open(os.path.join(lists, name), "wb") as f:
        f.write(data)

for m in range(1, 13):
    write("0%02d" % m, {d: ("农历%d月%d日 生日\r\n记得打电话, 买蛋糕; 订餐厅" % (m, d), 0x01000000 | (d * 70001))
                        for d in range(1, 31, 3)})
    write("1%02d" % m, {d: ("纪念日 %d月%d日" % (m, d), 0) for d in (1, 8, 15, 22)})
for y in range(1900, 2101):
    write("%d%02d" % (y, 3 if y > 1900 else 4), {5: ("会议, 文件; 第%d年" % y, 0)})
    write("%d%02d" % (y, 10), {20: ("体检\r\n空腹", 0x010000FF)})
write("week", {1: ("例会", 0), 3: ("游泳", 0), 5: ("周报", 0x0100FF00)})

# The large export's folder: four lunar-yearly notes of 65,535 GBK bytes (32,767 characters and a
# letter), each one line, so summary and description are the whole text.
big = os.path.join(sys.argv[1], "big", "日历")
os.makedirs(big)
note = ("农历" * 16384)[:32767] + "a"
assert len(note.encode("gbk")) == 65535
for name, slots in (("001", (1, 15)), ("008", (10, 15))):
    with open(os.path.join(big, name), "wb") as f:
        f.write(struct.pack("<H", 100) + b"".join(
            struct.pack("<HHI", slot, 65535, 0) + note.encode("gbk") for slot in slots))

# The largest folder: a dated note of 530 GBK bytes (265 characters) on every day from February
# 1900 to the end of 2100, one list file a month.
import datetime
full = os.path.join(sys.argv[1], "full", "日历")
os.makedirs(full)
day = datetime.date(1900, 2, 1)
while day.year <= 2100:
    year, month = day.year, day.month
    data = struct.pack("<H", 100)
    while day.month == month:
        raw = ("%04d年%02d月%02d日" % (day.year, day.month, day.day) + "记事" * 129).encode("gbk")
        assert len(raw) == 530
        data += struct.pack("<HHI", day.day, len(raw), 0) + raw
        day += datetime.timedelta(days=1)
    with open(os.path.join(full, "%d%02d" % (year, month)), "wb") as f:
        f.write(data)
print(count)
EOF
)

# Fastest and median wall time of $runs runs of the command, in milliseconds; with per_line=1 in
# the environment also the fastest time per line of output (a day of --days), in microseconds.
measure() {
    local label=$1; shift
    local times=() start end
    "$@" >/dev/null  # once before, so every timed run finds the files cached
    for ((i = 0; i < runs; i++)); do
        start=$EPOCHREALTIME
        "$@" >/dev/null
        end=$EPOCHREALTIME
        times+=($(( ${end/./} - ${start/./} )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk -v label="$label" -v bytes="$("$@" | wc -c)" \
        -v lines="$("$@" | wc -l)" -v per_line="${per_line:-0}" \
        '{t[NR] = $1} END {printf "%-52s fastest %7.1f ms   median %7.1f ms   %9d bytes", label, t[1] / 1000, t[int((NR + 1) / 2)] / 1000, bytes
                          if (per_line) printf "   %.3f us per day", t[1] / lines
                          printf "\n"}'
}

echo "vestrel-cal, whole process ($runs runs each)"
per_line=1 measure "--days 1900-02-01 2100-12-31" "$tool" --days 1900-02-01 2100-12-31
measure "--ics 1900 2100 (no notes)" "$tool" --ics 1900 2100
files=$(find "$work/我的记事" -type f | wc -l)
measure "--ics 1900 2100 --notes ($notes notes in $files files)" "$tool" --ics 1900 2100 --notes "$work/我的记事"

# Wall time and peak resident memory of one run of a large export.
peak() {
    local label=$1; shift
    local report
    report=$( { /usr/bin/time -v "$tool" "$@" | wc -c; } 2>&1)
    awk -v label="$label" '/^[0-9]+$/ {bytes = $1} /Elapsed \(wall clock\)/ {wall = $NF}
        /Maximum resident set size/ {rss = $NF}
        END {printf "%-52s wall %s   peak memory %.1f MB   %d bytes\n", label, wall, rss / 1024, bytes}' <<<"$report"
}
peak "--ics 1900 2100, four 65,535-byte lunar notes" --ics 1900 2100 --notes "$work/big"
peak "--ics 1900 2100, a 530-byte note every day ($(du -sm "$work/full" | cut -f1) MB)" --ics 1900 2100 --notes "$work/full"

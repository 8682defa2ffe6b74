// vestrel-cal --days and --terms: tab-separated lines for scripts.
#include <cstdio>
#include <string>
#include <unordered_map>

#include "calendar/labels.h"
#include "calendar/month_layout.h"
#include "cli/modes.h"
#include "cli/terminal_text.h"

namespace {


// Decimal digits of v, at least width of them, zero-padded: what %0*u writes. Every field of a
// dump is a non-negative count or date part.
void AppendNumber(std::string* out, unsigned v, int width = 1) {
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    for (int i = n; i < width; ++i) out->push_back('0');
    while (n > 0) out->push_back(digits[--n]);
}

// The UTF-8 form of each label seen, converted once: a dump shows a few hundred distinct labels
// over tens of thousands of lines.
class Utf8Labels {
public:
    const std::string& Of(const char* gbk) {
        key_.assign(gbk);
        auto it = known_.find(key_);
        if (it == known_.end()) it = known_.emplace(key_, GbkToUtf8(key_)).first;
        return it->second;
    }

private:
    std::unordered_map<std::string, std::string> known_;
    std::string key_;  // reused, so a lookup allocates nothing
};

constexpr size_t kDumpChunk = 64 * 1024;  // bytes gathered before each write

}  // namespace

// A closed pipe need not take the rest of the range.
void PrintDays(const SolarDate& from, const SolarDate& to, std::ostream& out) {
    const int32_t first = DayNumber(from.year, from.month, from.day);
    const int32_t last = DayNumber(to.year, to.month, to.day);
    MonthLayout m{};
    Utf8Labels labels;
    std::string chunk;
    chunk.reserve(kDumpChunk + 256);
    SolarDate d = from;
    for (int32_t n = first; n <= last; ++n) {
        if (d.day == 1 || n == first) LayOutMonth(d.year, d.month, &m);  // each month laid out once
        const DayCell& c = m.cells[d.day];
        // %04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s\t%d\n
        AppendNumber(&chunk, d.year, 4);
        chunk.push_back('-');
        AppendNumber(&chunk, d.month, 2);
        chunk.push_back('-');
        AppendNumber(&chunk, d.day, 2);
        for (int32_t v : {int32_t{c.weekday}, c.lunar.year, c.lunar.month, int32_t{c.lunar.isLeap}, c.lunar.day,
                          c.lunar.monthDays}) {
            chunk.push_back('\t');
            AppendNumber(&chunk, static_cast<unsigned>(v));  // 0 ... 2100
        }
        chunk.push_back('\t');
        chunk += labels.Of(c.label);
        chunk.push_back('\t');
        if (c.festival) chunk += labels.Of(c.festival);
        chunk.push_back('\t');
        AppendNumber(&chunk, c.solarTerm);
        chunk.push_back('\n');
        if (chunk.size() >= kDumpChunk) {
            if (!out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) return;
            chunk.clear();
        }
        d = NextDate(d);
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

// The note index, its search and the reading of a notes folder into it.
#include "notes/note_search.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

#include "calendar/labels.h"
#include "calendar/lunar.h"
#include "notes/note_codec.h"

namespace {

constexpr int kLastMonthSlot = 31;  // slots of a dated or yearly list: 0 ... 31
constexpr int kLastWeekSlot = 7;    // slots of "week": 0 ... 7

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Bytes of the GBK character at p (1 or 2); a lead byte without a trail byte after it stands alone,
// so a line break is never taken into a character.
size_t CharBytes(const char* p, const char* end) {
    return IsLead(static_cast<unsigned char>(p[0])) && p + 1 < end && IsTrail(static_cast<unsigned char>(p[1])) ? 2 : 1;
}

// Appends text with its single-byte ASCII capitals made small; double-byte characters unchanged.
void AppendFolded(const char* text, size_t size, std::string* out) {
    const char* end = text + size;
    for (const char* p = text; p < end;) {
        const size_t n = CharBytes(p, end);
        if (n == 1 && *p >= 'A' && *p <= 'Z')
            out->push_back(static_cast<char>(*p - 'A' + 'a'));
        else
            out->append(p, n);
        p += n;
    }
}

// The first place at or after from where the bytes of pattern (not empty) start; null when none.
// memchr for its first byte: the C library's scan is faster than a skip table for the few bytes
// typed, and the bytes of a GBK text are too evenly spread for skips to gain much.
const char* Find(const char* from, const char* end, const std::string& pattern) {
    const size_t n = pattern.size();
    const char first = pattern[0];
    while (static_cast<size_t>(end - from) >= n) {
        const char* at = static_cast<const char*>(std::memchr(from, first, static_cast<size_t>(end - from) - n + 1));
        if (at == nullptr) return nullptr;
        if (std::memcmp(at + 1, pattern.data() + 1, n - 1) == 0) return at;
        from = at + 1;
    }
    return nullptr;
}

// "%d年%d月%d日" and the others, in GBK.
std::string Format(const char* format, int a, int b = 0, int c = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string WhenOf(FoundKind kind, int year, int month, int day) {
    switch (kind) {
        case FoundKind::Dated: return Format("%d年%d月%d日", year, month, day);
        case FoundKind::SolarYearly: return Format("每年%d月%d日", month, day);
        case FoundKind::LunarYearly:  // the twelfth month by its everyday name, as in 腊八
            return std::string("农历每年") + (month == 12 ? "腊" : LunarMonthName(month, 0)) + "月" + LunarDayName(day);
        case FoundKind::Weekly: return std::string("每周") + WeekdayName(day);
        case FoundKind::Memo: break;
    }
    return "记事小本";
}

// The next day on or after today (a valid date) on which each lunar-yearly slot falls: month
// number 1 ... 12, lunar day 1 ... 30. Every month number comes round within a lunar year (at most
// 385 days), so 420 days from today reach each slot once whatever day today is.
struct LunarNext {
    SolarDate date[13][31] = {};
    bool leap[13][31] = {};

    explicit LunarNext(const SolarDate& today) {
        SolarDate d = today;
        LunarDate l = LunarDate::FromSolar(d.year, d.month, d.day);
        for (int i = 0; i < 420 && l.IsValid() && d.year != 0; ++i) {
            const int lastSlot = l.day == 29 && l.monthDays == 29 ? 30 : l.day;  // day 30 on day 29 of a short month
            for (int slot = l.day; slot <= lastSlot; ++slot) {
                if (date[l.month][slot].year != 0) continue;
                date[l.month][slot] = d;
                leap[l.month][slot] = l.isLeap != 0;
            }
            d = NextDate(d);
            if (l.NextDay() != 0) break;
        }
    }
};

// The next day on or after today on which a Gregorian-yearly (month, day) falls; {0, 0, 0} when
// none does within the years after today's (a 29 February comes within 8 years).
SolarDate NextYearly(const SolarDate& today, int32_t todayNumber, int month, int day) {
    for (int year = today.year; year <= today.year + 8 && year <= kLastYear; ++year) {
        if (IsValidDate(year, month, day) && DayNumber(year, month, day) >= todayNumber)
            return SolarDate{static_cast<uint16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day)};
    }
    return SolarDate{0, 0, 0};
}

// Where a row goes: the group of the order (0 upcoming ... 3 memo), then its day within the group,
// then the kind, the note and the line.
struct SortKey {
    int group;
    int32_t day;
    int kind;
    size_t note;
    int line;
    bool operator<(const SortKey& o) const {
        if (group != o.group) return group < o.group;
        if (day != o.day) return day < o.day;
        if (kind != o.kind) return kind < o.kind;
        if (note != o.note) return note < o.note;
        return line < o.line;
    }
};

}  // namespace

const char* FoundKindName(FoundKind kind) {
    switch (kind) {
        case FoundKind::Dated: return "dated";
        case FoundKind::SolarYearly: return "yearly";
        case FoundKind::LunarYearly: return "lunar-yearly";
        case FoundKind::Weekly: return "weekly";
        case FoundKind::Memo: break;
    }
    return "memo";
}

NoteIndex::ListName NoteIndex::NameOfList(const std::string& name) {
    const auto digits = [&name](size_t from, size_t count, int* value) {
        *value = 0;
        for (size_t i = from; i < from + count; ++i) {
            if (name[i] < '0' || name[i] > '9') return false;
            *value = *value * 10 + (name[i] - '0');
        }
        return true;
    };
    int year = 0, month = 0, prefix = 0;
    if (name.size() == 4) {
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return lower == "week" ? ListName::Weekly : ListName::None;
    }
    if (name.size() == 3 && digits(0, 1, &prefix) && prefix <= 1 && digits(1, 2, &month) && month >= 1 && month <= 12)
        return prefix == 1 ? ListName::SolarYearly : ListName::LunarYearly;
    if (name.size() == 6 && digits(0, 4, &year) && year >= 1000 && digits(4, 2, &month) && month >= 1 && month <= 12)
        return ListName::Dated;
    return ListName::None;
}

void NoteIndex::AddNote(FoundKind kind, int year, int month, int day, const char* text, size_t size) {
    const size_t begin = m_raw.size();
    m_raw.append(text, size);
    m_raw.push_back('\n');
    AppendFolded(text, size, &m_folded);
    m_folded.push_back('\n');
    m_notes.push_back(Note{kind, year, month, day, begin, begin + size, WhenOf(kind, year, month, day),
                           kind == FoundKind::Dated ? Format("%04d-%02d-%02d", year, month, day) : std::string()});
}

bool NoteIndex::AddList(const std::string& fileName, const char* data, size_t size, const std::filesystem::path& path) {
    const ListName list = NameOfList(fileName);
    if (list == ListName::None) return false;
    const int lastIndex = list == ListName::Weekly ? kLastWeekSlot : kLastMonthSlot;
    NoteEntry entries[kLastMonthSlot + 1];
    if (DecodeNoteList(data, size, entries, lastIndex) != 0) AddDamaged("日历\\" + fileName, path);

    const int number = list == ListName::Weekly ? 0 : std::atoi(fileName.c_str());
    const int year = list == ListName::Dated ? number / 100 : 0;
    const int month = number % 100;
    for (int slot = 0; slot <= lastIndex; ++slot) {
        const NoteEntry& e = entries[slot];
        if (!e.Present() || e.length == 0) continue;
        FoundKind kind = FoundKind::Weekly;
        bool shown = false;  // some day of the calendar has this slot
        switch (list) {
            case ListName::Dated:
                kind = FoundKind::Dated;
                shown = IsValidDate(year, month, slot);
                break;
            case ListName::SolarYearly:
                kind = FoundKind::SolarYearly;
                shown = IsValidDate(2000, month, slot);  // a leap year: 29 February is shown
                break;
            case ListName::LunarYearly:
                kind = FoundKind::LunarYearly;
                shown = slot >= 1 && slot <= 30;
                break;
            case ListName::Weekly: shown = slot <= 6; break;
            case ListName::None: break;
        }
        if (shown) AddNote(kind, year, list == ListName::Weekly ? 0 : month, slot, e.text.get(), e.length);
    }
    return true;
}

void NoteIndex::AddMemo(const char* data, size_t size, const std::filesystem::path& path) {
    if (size == 0) return;
    if (std::memchr(data, '\0', size) != nullptr) AddDamaged("备忘\\default", path);
    AddNote(FoundKind::Memo, 0, 0, 0, data, size);
}

void NoteIndex::AddDamaged(const std::string& name, const std::filesystem::path& path) {
    m_damaged.push_back(DamagedFile{name, path});
}

std::vector<FoundRow> NoteIndex::Search(const std::string& query, const SolarDate& today) const {
    if (query.empty() || query.find_first_of("\r\n") != std::string::npos || m_notes.empty()) return {};
    std::string folded;
    AppendFolded(query.data(), query.size(), &folded);

    const bool todayValid = IsValidDate(today.year, today.month, today.day);
    const int32_t todayNumber = todayValid ? DayNumber(today.year, today.month, today.day) : 0;
    std::unique_ptr<LunarNext> lunar;  // made at the first lunar-yearly note found

    // The matching lines, found in the order of the text; the rows are made after the sort.
    struct Hit {
        SortKey key;
        size_t line;       // its first byte in m_raw
        size_t lineBytes;  // without the line break
        SolarDate next;
        bool leap;
    };
    std::vector<Hit> hits;

    const char* const base = m_folded.data();
    const char* const end = base + m_folded.size();
    const char* from = base;      // where the next search starts
    const char* boundary = base;  // a known character boundary, never after from
    size_t note = m_notes.size();  // the note of the last hit (none yet) ...
    const char* counted = base;   // ... the line start up to which its lines were counted
    int lineNumber = 0;           // ... that line's number
    Hit noteHit{};                // ... and its key and next day
    while (from < end) {
        const char* at = Find(from, end, folded);
        if (at == nullptr) break;

        // The line's start (or the last boundary after it), then whole characters up to the hit.
        const char* lineStart = at;
        while (lineStart > boundary && lineStart[-1] != '\n') --lineStart;
        const char* p = lineStart;
        while (p < at) p += CharBytes(p, end);
        if (p != at) {  // the hit starts on a trail byte: go on after the character it lies in
            from = boundary = p;
            continue;
        }
        while (p < at + folded.size()) p += CharBytes(p, end);
        if (p != at + folded.size()) {  // it ends inside a character
            boundary = at;
            from = at + 1;
            continue;
        }
        while (lineStart > base && lineStart[-1] != '\n') --lineStart;
        const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
        from = boundary = lineEnd + 1;  // one row per line

        // The note holding the line (hits come in the order of the text, so the notes are walked
        // forwards): its place in the order, when it is not the last hit's note.
        const size_t offset = static_cast<size_t>(lineStart - base);
        if (note == m_notes.size() || offset > m_notes[note].end) {
            if (note == m_notes.size()) note = 0;
            while (offset > m_notes[note].end) ++note;  // the text's end is the note's LF: always found
            counted = base + m_notes[note].begin;
            lineNumber = 0;
            const Note& n = m_notes[note];
            noteHit = Hit{SortKey{3, 0, static_cast<int>(n.kind), note, 0}, 0, 0, SolarDate{0, 0, 0}, false};
            SolarDate& next = noteHit.next;
            switch (n.kind) {
                case FoundKind::Dated:
                    next = SolarDate{static_cast<uint16_t>(n.year), static_cast<uint16_t>(n.month), static_cast<uint16_t>(n.day)};
                    break;
                case FoundKind::SolarYearly:
                    if (todayValid) next = NextYearly(today, todayNumber, n.month, n.day);
                    break;
                case FoundKind::LunarYearly:
                    if (!todayValid) break;
                    if (!lunar) lunar.reset(new LunarNext(today));
                    next = lunar->date[n.month][n.day];
                    noteHit.leap = lunar->leap[n.month][n.day];
                    break;
                case FoundKind::Weekly:
                    if (todayValid)
                        next = SolarFromDayNumber(todayNumber + (n.day - DayOfWeek(today.year, today.month, today.day) + 7) % 7);
                    break;
                case FoundKind::Memo: break;
            }
            const int32_t day = next.year != 0 ? DayNumber(next.year, next.month, next.day) : 0;
            if (n.kind == FoundKind::Dated) {
                noteHit.key.group = todayValid && day >= todayNumber ? 0 : 1;
                noteHit.key.day = noteHit.key.group == 0 ? day : -day;  // the past newest first
            } else if (n.kind != FoundKind::Memo) {
                noteHit.key.group = next.year != 0 ? 0 : 2;
                noteHit.key.day = day;
            }
        }
        for (; counted < lineStart; ++counted)
            if (*counted == '\n') ++lineNumber;

        Hit hit = noteHit;
        hit.key.line = lineNumber;
        hit.line = offset;
        hit.lineBytes = static_cast<size_t>(lineEnd - lineStart);
        if (hit.lineBytes > 0 && lineStart[hit.lineBytes - 1] == '\r') --hit.lineBytes;
        hits.push_back(hit);
    }

    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.key < b.key; });
    std::vector<FoundRow> rows(hits.size());
    for (size_t i = 0; i < hits.size(); ++i) {
        const Hit& hit = hits[i];
        const Note& n = m_notes[hit.key.note];
        FoundRow& row = rows[i];
        row.kind = n.kind;
        row.year = n.year;
        row.month = n.month;
        row.day = n.day;
        row.lineNumber = hit.key.line;
        row.line.assign(m_raw, hit.line, hit.lineBytes);
        row.when = n.when;
        row.isoDate = n.isoDate;
        row.next = hit.next;
        row.nextInLeapMonth = hit.leap;
    }
    return rows;
}

namespace {

namespace fs = std::filesystem;

// Folder names in UTF-8 and as GBK bytes. Escapes: narrow literals compile to GBK, and the UTF-8
// names must stay UTF-8.
const char kListFolderUtf8[] = "\xE6\x97\xA5\xE5\x8E\x86";  // 日历
const char kListFolderGbk[] = "\xC8\xD5\xC0\xFA";
const char kNotesRootUtf8[] = "\xE6\x88\x91\xE7\x9A\x84\xE8\xAE\xB0\xE4\xBA\x8B";  // 我的记事
const char kNotesRootGbk[] = "\xCE\xD2\xB5\xC4\xBC\xC7\xCA\xC2";
const char kMemoFolderUtf8[] = "\xE5\xA4\x87\xE5\xBF\x98";  // 备忘
const char kMemoFolderGbk[] = "\xB1\xB8\xCD\xFC";

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// parent/utf8 or parent/gbk, whichever is a folder first; empty when neither is.
fs::path ChildFolder(const fs::path& parent, const char* utf8, const char* gbk) {
    const fs::path named = parent / fs::u8path(utf8);
    if (IsFolder(named)) return named;
    const fs::path bytes = parent / fs::path(gbk);  // on Windows the ANSI code page's reading of the bytes
    if (IsFolder(bytes)) return bytes;
    return fs::path();
}

// The file name when it is plain ASCII (every list name is); else "".
std::string AsciiName(const fs::path& path) {
    const fs::path file = path.filename();
    std::string name;
    for (const auto c : file.native()) {
        const long code = static_cast<long>(c);  // char or wchar_t
        if (code < 0x20 || code > 0x7E) return std::string();
        name.push_back(static_cast<char>(code));
    }
    return name;
}

enum class FileRead { Missing, Loaded, Damaged };

// The whole of path into *data: Damaged when it is not a regular file (a FIFO is never opened), is
// larger than kMaxSearchedFileBytes or cannot be read whole.
FileRead ReadWhole(const fs::path& path, std::string* data) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return FileRead::Missing;
    if (error || status.type() != fs::file_type::regular) return FileRead::Damaged;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > kMaxSearchedFileBytes) return FileRead::Damaged;
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileRead::Damaged;
    data->assign(static_cast<size_t>(size), '\0');
    in.read(&(*data)[0], static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) return FileRead::Damaged;
    in.peek();  // a file that grew since its size was taken is read again next time, whole
    return in.eof() ? FileRead::Loaded : FileRead::Damaged;
}

}  // namespace

fs::path NotesFolderPathOf(const fs::path& dir) {
    if (!ChildFolder(dir, kListFolderUtf8, kListFolderGbk).empty()) return dir;
    const fs::path root = ChildFolder(dir, kNotesRootUtf8, kNotesRootGbk);
    return root.empty() ? dir : root;
}

FolderRead LoadNoteIndex(const fs::path& dir, NoteIndex* index) {
    if (!IsFolder(dir)) return FolderRead::Missing;
    const fs::path notes = NotesFolderPathOf(dir);
    const fs::path lists = ChildFolder(notes, kListFolderUtf8, kListFolderGbk);
    if (lists.empty()) return FolderRead::NoListFolder;

    std::vector<std::pair<std::string, fs::path>> files;  // list name, path
    std::error_code error;
    for (fs::directory_iterator it(lists, error), last; !error && it != last; it.increment(error)) {
        const std::string name = AsciiName(it->path());
        if (NoteIndex::NameOfList(name) != NoteIndex::ListName::None) files.emplace_back(name, it->path());
    }
    if (error) return FolderRead::Unreadable;
    std::sort(files.begin(), files.end());

    std::string data;
    for (const auto& file : files) {
        switch (ReadWhole(file.second, &data)) {
            case FileRead::Missing: break;  // removed since the listing
            case FileRead::Damaged: index->AddDamaged("日历\\" + file.first, file.second); break;
            case FileRead::Loaded: index->AddList(file.first, data.data(), data.size(), file.second); break;
        }
    }

    const fs::path memos = ChildFolder(notes, kMemoFolderUtf8, kMemoFolderGbk);
    if (!memos.empty()) {
        const fs::path memo = memos / "default";
        switch (ReadWhole(memo, &data)) {
            case FileRead::Missing: break;
            case FileRead::Damaged: index->AddDamaged("备忘\\default", memo); break;
            case FileRead::Loaded: index->AddMemo(data.data(), data.size(), memo); break;
        }
    }
    return FolderRead::Ok;
}

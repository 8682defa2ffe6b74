// Reading a notes folder for the export.
#include "cli/note_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "calendar/holidays.h"

namespace {

// Folder names, in UTF-8 and as GBK bytes. Written as escapes: narrow literals are compiled to GBK,
// and the UTF-8 names must stay UTF-8.
const char kListFolderUtf8[] = "\xE6\x97\xA5\xE5\x8E\x86";  // 日历
const char kListFolderGbk[] = "\xC8\xD5\xC0\xFA";
const char kNotesRootUtf8[] = "\xE6\x88\x91\xE7\x9A\x84\xE8\xAE\xB0\xE4\xBA\x8B";  // 我的记事
const char kNotesRootGbk[] = "\xCE\xD2\xB5\xC4\xBC\xC7\xCA\xC2";
const char kHolidayFileUtf8[] = "\xE5\x81\x87\xE6\x97\xA5.txt";  // 假日.txt
const char kHolidayFileGbk[] = "\xBC\xD9\xC8\xD5.txt";

// The largest list file the program reads (kMaxNoteFileBytes of notes/note_files.h).
constexpr off_t kMaxListFileBytes = 4 * 1024 * 1024;

constexpr int kLastMonthSlot = 31;  // slots of a month or yearly list: 0 ... 31
constexpr int kLastWeekSlot = 7;    // slots of "week": 0 ... 7

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// parent/utf8 or parent/gbk, whichever is a folder first; "" when neither is.
std::string ChildFolder(const std::string& parent, const char* utf8, const char* gbk) {
    for (const char* name : {utf8, gbk}) {
        const std::string path = parent + "/" + name;
        if (IsFolder(path)) return path;
    }
    return std::string();
}

// Whether the folder can be listed; errno tells why not.
// The folder can be listed and its files opened (read and search permission).
bool CanRead(const std::string& folder) {
    if (access(folder.c_str(), R_OK | X_OK) != 0) return false;
    DIR* d = opendir(folder.c_str());
    if (d == nullptr) return false;
    closedir(d);
    return true;
}

enum class ListRead { Missing, Loaded, Damaged };

// The whole of path into *data, and its time of last write into *modified: Damaged when it is not a
// regular file, is larger than maxBytes or cannot be read whole.
ListRead ReadWhole(const std::string& path, off_t maxBytes, std::string* data, int64_t* modified) {
    // O_NONBLOCK: a FIFO under a file's name must not hold the tool up; regular files ignore it.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? ListRead::Missing : ListRead::Damaged;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        close(fd);
        return ListRead::Damaged;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    *modified = st.st_mtime;
    data->assign(size, '\0');
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fd, &(*data)[got], size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // an error, or the file shrank under us
        got += static_cast<size_t>(n);
    }
    close(fd);
    return got == size ? ListRead::Loaded : ListRead::Damaged;
}

// The whole of path, decoded into entries[0 ... lastIndex]; *modified its time of last write.
ListRead ReadList(const std::string& path, NoteEntry* entries, int lastIndex, int64_t* modified) {
    std::string data;
    const ListRead read = ReadWhole(path, kMaxListFileBytes, &data, modified);
    if (read != ListRead::Loaded) return read;
    return DecodeNoteList(data.data(), data.size(), entries, lastIndex) == 0 ? ListRead::Loaded : ListRead::Damaged;
}

// Reads path; when it loads and notes is not null, appends its present entries to *notes as notes
// of the given kind and key.
ListRead ReadListInto(const std::string& path, NoteKind kind, int year, int month, std::vector<FolderNote>* notes) {
    const int lastIndex = kind == NoteKind::Weekly ? kLastWeekSlot : kLastMonthSlot;
    NoteEntry entries[kLastMonthSlot + 1];
    int64_t modified = 0;
    const ListRead read = ReadList(path, entries, lastIndex, &modified);
    if (read != ListRead::Loaded || notes == nullptr) return read;
    for (int slot = 0; slot <= lastIndex; ++slot) {
        const NoteEntry& e = entries[slot];
        if (!e.Present()) continue;
        notes->push_back(FolderNote{kind, year, month, slot, e.colourWord, std::string(e.text.get(), e.length),
                                    modified});
    }
    return read;
}

// The file name of a month's dated list, "YYYYMM".
std::string MonthListName(int year, int month) {
    char name[16];
    std::snprintf(name, sizeof name, "%d%02d", year, month);
    return name;
}

}  // namespace

std::string NotesFolderOf(const std::string& dir) {
    if (!ChildFolder(dir, kListFolderUtf8, kListFolderGbk).empty()) return dir;
    const std::string root = ChildFolder(dir, kNotesRootUtf8, kNotesRootGbk);
    return root.empty() ? dir : root;
}

std::string FindListFolder(const std::string& dir) {
    return ChildFolder(NotesFolderOf(dir), kListFolderUtf8, kListFolderGbk);
}

namespace {

// dir exists, is a folder and can be read; else one line in *problem.
bool CheckNotesDir(const std::string& dir, std::string* problem) {
    struct stat st;
    if (stat(dir.c_str(), &st) != 0) {
        *problem = "notes folder " + dir + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *problem = "notes folder " + dir + ": not a folder";
        return false;
    }
    if (!CanRead(dir)) {
        *problem = "notes folder " + dir + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

namespace {

bool SameLook(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// One read of path to its end between two looks at its size and time of last write.
HolidayFileRead ReadOnce(const std::string& path, std::string* data, int64_t* modified, const HolidayFileSeam& seam) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);  // O_NONBLOCK as in ReadWhole
    if (fd < 0) return errno == ENOENT ? HolidayFileRead::Missing : HolidayFileRead::Unusable;
    struct stat before, after;
    HolidayFileRead result = HolidayFileRead::Unusable;
    if (fstat(fd, &before) == 0 && S_ISREG(before.st_mode) && 
        before.st_size <= static_cast<off_t>(kMaxHolidayFileBytes)) {
        data->clear();
        char buffer[16 * 1024];
        ssize_t n = 0;
        while (data->size() <= static_cast<size_t>(kMaxHolidayFileBytes)) {
            n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            if (seam && data->empty()) seam(path);  // once, with the first bytes in hand
            data->append(buffer, static_cast<size_t>(n));
        }
        if (n < 0) {
            result = HolidayFileRead::Unusable;
        } else if (fstat(fd, &after) == 0 && SameLook(before, after) &&
                   data->size() == static_cast<size_t>(before.st_size)) {
            *modified = before.st_mtim.tv_sec;
            result = HolidayFileRead::Loaded;
        } else {
            result = HolidayFileRead::Changing;
        }
    }
    close(fd);
    return result;
}

}  // namespace

HolidayFileRead ReadHolidayFile(const std::string& dir, std::string* path, std::string* text, int64_t* modified,
                                std::string* problem, const HolidayFileSeam& seam) {
    path->clear();
    text->clear();
    if (!CheckNotesDir(dir, problem)) return HolidayFileRead::Unusable;
    const std::string folder = NotesFolderOf(dir);
    for (const char* name : {kHolidayFileUtf8, kHolidayFileGbk}) {
        const std::string candidate = folder + "/" + name;
        HolidayFileRead read = HolidayFileRead::Changing;
        for (int attempt = 1; attempt <= kHolidayFileTries && read == HolidayFileRead::Changing; ++attempt) {
            if (attempt > 1) std::this_thread::sleep_for(std::chrono::milliseconds(10 * (attempt - 1)));
            read = ReadOnce(candidate, text, modified, seam);
        }
        switch (read) {
            case HolidayFileRead::Missing: continue;
            case HolidayFileRead::Loaded: *path = candidate; break;
            case HolidayFileRead::Unusable:
                *problem = "holiday file " + candidate + ": not a regular file of at most 1 MiB that can be read";
                break;
            case HolidayFileRead::Changing:
                *problem = "holiday file " + candidate + ": changing while read (" + std::to_string(kHolidayFileTries) +
                           " tries); run again once it is saved";
                break;
        }
        if (read != HolidayFileRead::Loaded) text->clear();
        return read;
    }
    return HolidayFileRead::Missing;
}

NotesAtHand::NotesAtHand(const std::vector<FolderNote>& notes) {
    for (const FolderNote& n : notes) {
        if (n.kind == NoteKind::Day) dated_[n.year * 100 + n.month].push_back(n);
        else repeating_.push_back(n);
    }
    for (auto& [month, list] : dated_)
        std::stable_sort(list.begin(), list.end(), [](const FolderNote& a, const FolderNote& b) { return a.slot < b.slot; });
}

bool NotesAtHand::Month(int year, int month, std::vector<FolderNote>* notes) {
    notes->clear();
    const auto it = dated_.find(year * 100 + month);
    if (it != dated_.end()) *notes = it->second;
    return true;
}

bool NoteFolder::Open(const std::string& dir, int fromYear, int toYear, std::string* problem) {
    repeating_.clear();
    damaged_.clear();
    damagedMonths_.clear();
    lists_.clear();
    if (!CheckNotesDir(dir, problem)) return false;
    const std::string lists = FindListFolder(dir);
    if (lists.empty()) {
        *problem = "notes folder " + dir + ": no \xE6\x97\xA5\xE5\x8E\x86 folder in it or in its "
                   "\xE6\x88\x91\xE7\x9A\x84\xE8\xAE\xB0\xE4\xBA\x8B folder";  // 日历, 我的记事
        return false;
    }
    if (!CanRead(lists)) {
        *problem = "notes folder " + lists + ": " + std::strerror(errno);
        return false;
    }

    lists_ = lists;

    // Every dated list read through and let go: only whether it is damaged is kept.
    for (int year = fromYear; year <= toYear; ++year) {
        for (int month = year == 1900 ? 2 : 1; month <= 12; ++month) {  // the calendar starts in February 1900
            const std::string path = lists + "/" + MonthListName(year, month);
            if (ReadListInto(path, NoteKind::Day, year, month, nullptr) == ListRead::Damaged) {
                damaged_.push_back(path);
                damagedMonths_.insert(year * 100 + month);
            }
        }
    }
    char name[16];
    for (const char* pattern : {"1%02d", "0%02d"}) {
        for (int month = 1; month <= 12; ++month) {
            std::snprintf(name, sizeof name, pattern, month);
            const NoteKind kind = pattern[0] == '1' ? NoteKind::SolarYearly : NoteKind::LunarYearly;
            if (ReadListInto(lists + "/" + name, kind, 0, month, &repeating_) == ListRead::Damaged)
                damaged_.push_back(lists + "/" + name);
        }
    }
    if (ReadListInto(lists + "/week", NoteKind::Weekly, 0, 0, &repeating_) == ListRead::Damaged)
        damaged_.push_back(lists + "/week");
    return true;
}

bool NoteFolder::Month(int year, int month, std::vector<FolderNote>* notes) {
    notes->clear();
    if (damagedMonths_.count(year * 100 + month) != 0) return true;  // named at Open, left out
    const std::string path = lists_ + "/" + MonthListName(year, month);
    if (ReadListInto(path, NoteKind::Day, year, month, notes) != ListRead::Damaged) return true;
    notes->clear();
    damaged_.push_back(path);
    damagedMonths_.insert(year * 100 + month);
    lateDamage_ = true;
    return skipDamaged_;
}

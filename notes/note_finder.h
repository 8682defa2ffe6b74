// NoteFinder: the search of a find window, off the window's thread. One worker thread reads the
// notes folder into a NoteIndex (again whenever it is told the folder changed) and searches it
// for the text asked last; a text asked while a search runs waits for it, and texts asked in
// between are never searched. Each finished search is kept until it is taken, and the owner is
// told (from the worker thread) that one is ready. Portable: the standard library and the index.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "notes/note_search.h"

class NoteFinder {
public:
    // Fills an empty index from the notes folder (LoadNoteIndex of the folder, as a rule).
    using Loader = std::function<FolderRead(NoteIndex* index)>;

    // ready is called on the worker thread after each search; it must not call back into the
    // finder but to Take from another thread (a window posts itself a message).
    NoteFinder(Loader load, std::function<void()> ready);
    // Stops the worker after the search it runs and waits for it.
    ~NoteFinder();
    NoteFinder(const NoteFinder&) = delete;
    NoteFinder& operator=(const NoteFinder&) = delete;

    // Searches for query (GBK) with today for the order (see NoteIndex::Search); the folder is
    // read first when it never was or Reload asked for it.
    void Find(const std::string& query, const SolarDate& today);
    // The folder changed: it is read again and the last text searched again.
    void Reload();

    struct Result {
        uint64_t asked = 0;  // which Find this answers: 1 for the first, and so on
        std::string query;
        std::vector<FoundRow> rows;
        FolderRead read = FolderRead::Ok;
        std::vector<DamagedFile> damaged;  // of the index searched
        size_t notes = 0;                  // notes in it
    };
    // The newest search that finished since the last Take, into *out; false when there is none.
    bool Take(Result* out);

private:
    void Work();

    Loader m_load;
    std::function<void()> m_ready;
    std::mutex m_lock;
    std::condition_variable m_wake;
    // Guarded by m_lock.
    std::string m_query;
    SolarDate m_today{0, 0, 0};
    uint64_t m_asked = 0, m_searched = 0;
    bool m_reload = true, m_stop = false;
    bool m_haveResult = false;
    Result m_result;
    // The worker's own.
    std::unique_ptr<NoteIndex> m_index;
    FolderRead m_read = FolderRead::Ok;
    std::thread m_worker;  // last: started once everything above exists
};

// The line under a find window's rows, GBK: the files that could not be read or are damaged
// ("无法读取或已损坏：日历\202704", "... 等3个文件"), a notes folder that could not be read, and
// rows past the shown limit ("只列出前1000条，共2345条"), joined by "；"; "" when all is well.
std::string FindStatusLine(const NoteFinder::Result& result, size_t shownLimit);

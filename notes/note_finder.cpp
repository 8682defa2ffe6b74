// NoteFinder.
#include "notes/note_finder.h"

#include <utility>

NoteFinder::NoteFinder(Loader load, std::function<void()> ready)
    : m_load(std::move(load)), m_ready(std::move(ready)), m_worker([this] { Work(); }) {}

NoteFinder::~NoteFinder() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

void NoteFinder::Find(const std::string& query, const SolarDate& today) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_query = query;
        m_today = today;
        ++m_asked;
    }
    m_wake.notify_all();
}

void NoteFinder::Reload() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_reload = true;
    }
    m_wake.notify_all();
}

bool NoteFinder::Take(Result* out) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_haveResult) return false;
    *out = std::move(m_result);
    m_result = Result();
    m_haveResult = false;
    return true;
}

void NoteFinder::Work() {
    for (;;) {
        std::string query;
        SolarDate today{0, 0, 0};
        uint64_t asked = 0;
        bool reload = false;
        {
            std::unique_lock<std::mutex> hold(m_lock);
            // Nothing to do before the first text, nor while the last text was searched in the
            // folder as it is.
            m_wake.wait(hold, [this] { return m_stop || (m_asked != 0 && (m_asked != m_searched || m_reload)); });
            if (m_stop) return;
            query = m_query;
            today = m_today;
            asked = m_searched = m_asked;
            reload = m_reload;
            m_reload = false;
        }
        if (reload || !m_index) {
            auto fresh = std::make_unique<NoteIndex>();
            m_read = m_load ? m_load(fresh.get()) : FolderRead::Missing;
            m_index = std::move(fresh);
        }
        Result result;
        result.asked = asked;
        result.query = query;
        result.rows = m_index->Search(query, today);
        result.read = m_read;
        result.damaged = m_index->Damaged();
        result.notes = m_index->NoteCount();
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_result = std::move(result);
            m_haveResult = true;
        }
        if (m_ready) m_ready();
    }
}

std::string FindStatusLine(const NoteFinder::Result& result, size_t shownLimit) {
    std::string line;
    const auto add = [&line](const std::string& part) {
        if (!line.empty()) line += "；";
        line += part;
    };
    switch (result.read) {
        case FolderRead::Ok: break;
        case FolderRead::Missing: add("找不到记事文件夹"); break;
        case FolderRead::NoListFolder: add("记事文件夹里没有“日历”文件夹"); break;
        case FolderRead::Unreadable: add("“日历”文件夹无法读取"); break;
    }
    if (!result.damaged.empty()) {
        std::string part = "无法读取或已损坏：" + result.damaged.front().name;
        if (result.damaged.size() > 1) part += " 等" + std::to_string(result.damaged.size()) + "个文件";
        add(part);
    }
    if (result.rows.size() > shownLimit)
        add("只列出前" + std::to_string(shownLimit) + "条，共" + std::to_string(result.rows.size()) + "条");
    return line;
}

// The fetched holiday years' decisions.
#include "app/holiday_years.h"

#include <cstring>

#include "grid/month_model.h"

namespace {

constexpr char kYearField[] = "{year}";
constexpr size_t kMaxUrlBytes = 512;

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, std::strlen(prefix), prefix) == 0; }

// Whether a host (as the URL gives it, without its port) is this machine's loopback address.
bool IsLoopbackHost(const std::string& host) {
    if (host == "localhost" || host == "[::1]") return true;
    // 127.a.b.c, each part 0 ... 255 in decimal.
    int parts = 0, value = -1;
    for (size_t i = 0; i <= host.size(); ++i) {
        if (i == host.size() || host[i] == '.') {
            if (value < 0 || value > 255 || (parts == 0 && value != 127)) return false;
            ++parts;
            value = -1;
        } else if (host[i] >= '0' && host[i] <= '9' && value < 1000) {
            value = (value < 0 ? 0 : value * 10) + (host[i] - '0');
        } else {
            return false;
        }
    }
    return parts == 4;
}

}  // namespace

std::string HolidayUrlOf(const std::string& urlTemplate, int year) {
    std::string url = urlTemplate;
    size_t at = url.find(kYearField);
    if (at == std::string::npos) return "";
    for (; at != std::string::npos; at = url.find(kYearField, at))
        url.replace(at, sizeof kYearField - 1, std::to_string(year));
    return url;
}

bool HolidayUrlAllowed(const std::string& url) {
    if (url.size() > kMaxUrlBytes) return false;
    for (char c : url)
        if (c <= ' ' || c > '~') return false;
    const bool secure = StartsWith(url, "https://");
    if (!secure && !StartsWith(url, "http://")) return false;
    const size_t start = secure ? 8 : 7;
    const size_t end = url.find_first_of("/?#", start);
    std::string host = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (host.find('@') != std::string::npos) return false;  // no user names in the address
    // The port, when there is one: after the last ':' outside the brackets of an IPv6 address.
    const size_t colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']', colon) == std::string::npos) {
        const std::string port = host.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return false;
        host.resize(colon);
    }
    if (host.empty()) return false;
    return secure || IsLoopbackHost(host);
}

std::vector<int> HolidayYears::Due(int64_t now, int year, const HolidayTable& builtIn, const HolidayTable& user) const {
    const auto recent = [now](int64_t at, int64_t within) { return at <= now && now - at < within; };
    std::vector<int> due;
    if (hadRound_ && recent(lastRound_, times_.roundEvery)) return due;
    for (int y = year; y <= year + 1; ++y) {
        if (y < kFirstNoticeYear || y > kHolidayLastYear || builtIn.Announced(y) || user.Announced(y)) continue;
        const auto kept = kept_.find(y);
        if (kept != kept_.end() && recent(kept->second.fetchedAt, times_.refetchAfter)) continue;
        due.push_back(y);
    }
    return due;
}

HolidayJsonResult HolidayYears::Take(int year, const char* data, size_t size, int64_t at) {
    HolidayJsonResult r = ReadHolidayJson(data, size, year);
    if (r.status != HolidayJsonStatus::Ok) return r;
    kept_[year] = Kept{r.table, at};
    tables_.clear();
    for (const auto& k : kept_) tables_.push_back(k.second.table);
    return r;
}

std::string UnpublishedLine(const HolidayTable& table, int shownYear, int currentYear) {
    if (!ArrangementAwaited(table, shownYear, currentYear)) return "";
    return std::to_string(shownYear) + "年放假安排未公布";
}

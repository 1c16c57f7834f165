#include "platform/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace avelin {

namespace {
std::tm localNow(double* fraction) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    if (fraction) {
        const auto sinceEpoch = now.time_since_epoch();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
        *fraction = static_cast<double>(ms) / 1000.0;
    }
    return tm;
}
} // namespace

DateTime SystemClock::now() const {
    const std::tm tm = localNow(nullptr);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

double SystemClock::secondsSinceMidnight() const {
    double fraction = 0;
    const std::tm tm = localNow(&fraction);
    return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + fraction;
}

std::string FormatDate(const DateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.day, t.month, t.year);
    return buf;
}

std::string FormatTime(const DateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

} // namespace avelin

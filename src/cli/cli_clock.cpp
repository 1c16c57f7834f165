#include "cli/cli_clock.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/errors.h"

namespace avelin::cli {

namespace {

class PinnedClock : public Clock {
  public:
    explicit PinnedClock(DateTime t) : time_(t) {}
    DateTime now() const override { return time_; }
    double secondsSinceMidnight() const override {
        return time_.hour * 3600.0 + time_.minute * 60.0 + time_.second;
    }

  private:
    DateTime time_;
};

bool inRange(int v, int low, int high) {
    return v >= low && v <= high;
}

} // namespace

std::unique_ptr<Clock> CliClock() {
    const char* fixed = std::getenv("AVELIN_FIXED_NOW");
    if (!fixed || !*fixed)
        return std::make_unique<SystemClock>();
    DateTime t;
    char rest = 0;
    const int read = std::sscanf(fixed, "%d-%d-%d %d:%d:%d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                                 &t.second, &rest);
    if (read != 6 || !inRange(t.year, 1, 9999) || !inRange(t.month, 1, 12) || !inRange(t.day, 1, 31) ||
        !inRange(t.hour, 0, 23) || !inRange(t.minute, 0, 59) || !inRange(t.second, 0, 59))
        throw UsageError(std::string("AVELIN_FIXED_NOW \"") + fixed +
                         "\" is not of the form yyyy-mm-dd hh:nn:ss");
    return std::make_unique<PinnedClock>(t);
}

} // namespace avelin::cli

#pragma once
// Every "now" of the program comes from here, so tests can pin it.
#include <string>

namespace avelin {

struct DateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    // Seconds since midnight, with fractions; restarts at 0 at midnight.
    virtual double secondsSinceMidnight() const = 0;
};

class SystemClock : public Clock {
public:
    DateTime now() const override;
    double secondsSinceMidnight() const override;
};

// "dd/mm/yyyy" and "hh:nn:ss".
std::string FormatDate(const DateTime& t);
std::string FormatTime(const DateTime& t);

} // namespace avelin

#include "startup/rounding.h"

#include <cmath>

namespace avelin {

double RoundHalfEven(double x) {
    // Spelled out rather than left to std::nearbyint, whose result depends on
    // the floating-point environment's rounding mode.
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

} // namespace avelin

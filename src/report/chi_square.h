#pragma once
// Pearson's chi-square test of independence and the distribution it needs.
#include <cstdint>
#include <optional>
#include <vector>

namespace avelin {

// Q(a, x) = Γ(a, x) / Γ(a), for a > 0 and x >= 0.
double RegularizedUpperGamma(double a, double x);
// P(X >= x) for a chi-square distribution with `degrees` degrees of freedom.
double ChiSquareSurvival(double x, double degrees);

struct IndependenceTest {
    double statistic = 0;
    int degrees = 0;
    double p = 1;
    int cells = 0;         // the cells of the table tested
    int smallExpected = 0; // cells whose expected count is below 5
    // More than a fifth of the expected counts below 5: the approximation
    // of the distribution is poor.
    bool FewExpected() const { return smallExpected * 5 > cells; }
};

// The test over the rows and columns of `table` with a non-zero total,
// without continuity correction; none with fewer than two of either.
std::optional<IndependenceTest> TestIndependence(const std::vector<std::vector<std::int64_t>>& table);

} // namespace avelin

#include "report/chi_square.h"

#include <algorithm>
#include <cmath>

namespace avelin {

double RegularizedUpperGamma(double a, double x) {
    if (!(x > 0))
        return 1.0;
    const double front = std::exp(a * std::log(x) - x - std::lgamma(a));
    constexpr double kEpsilon = 1e-15;
    constexpr int kMaxTerms = 10000;
    if (x < a + 1) {
        // The series of the lower function P = 1 - Q, which converges
        // quickly here: sum of x^n / (a (a+1) ... (a+n)).
        double term = 1.0 / a;
        double sum = term;
        for (int n = 1; n < kMaxTerms; ++n) {
            term *= x / (a + n);
            sum += term;
            if (std::fabs(term) < std::fabs(sum) * kEpsilon)
                break;
        }
        return std::max(0.0, 1.0 - sum * front);
    }
    // The continued fraction of Q, evaluated by the modified Lentz method:
    // 1 / (x + 1 - a - 1 (1 - a) / (x + 3 - a - 2 (2 - a) / (x + 5 - a - ...))).
    constexpr double kTiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < kMaxTerms; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < kTiny)
            d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny)
            c = kTiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < kEpsilon)
            break;
    }
    return front * h;
}

double ChiSquareSurvival(double x, double degrees) {
    return RegularizedUpperGamma(degrees / 2, x / 2);
}

std::optional<IndependenceTest> TestIndependence(const std::vector<std::vector<std::int64_t>>& table) {
    std::vector<double> rowTotals;
    std::vector<std::size_t> rows;
    std::vector<double> columnTotals;
    for (std::size_t r = 0; r < table.size(); ++r) {
        double total = 0;
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            total += static_cast<double>(table[r][c]);
            if (columnTotals.size() <= c)
                columnTotals.resize(c + 1, 0.0);
            columnTotals[c] += static_cast<double>(table[r][c]);
        }
        if (total > 0) {
            rows.push_back(r);
            rowTotals.push_back(total);
        }
    }
    std::vector<std::size_t> columns;
    double n = 0;
    for (std::size_t c = 0; c < columnTotals.size(); ++c)
        if (columnTotals[c] > 0) {
            columns.push_back(c);
            n += columnTotals[c];
        }
    if (rows.size() < 2 || columns.size() < 2)
        return std::nullopt;
    IndependenceTest test;
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t c : columns) {
            const double expected = rowTotals[i] * columnTotals[c] / n;
            const auto& row = table[rows[i]];
            const double observed = c < row.size() ? static_cast<double>(row[c]) : 0.0;
            test.statistic += (observed - expected) * (observed - expected) / expected;
            ++test.cells;
            test.smallExpected += expected < 5;
        }
    test.degrees = static_cast<int>((rows.size() - 1) * (columns.size() - 1));
    test.p = ChiSquareSurvival(test.statistic, test.degrees);
    return test;
}

} // namespace avelin

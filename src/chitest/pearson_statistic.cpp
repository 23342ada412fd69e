#include "chitest/pearson_statistic.h"

#include <cstddef>

namespace vesk {

double pearson_statistic(const std::vector<double>& central, const std::vector<double>& other) {
    double t1 = 0;
    double t2 = 0;
    for (std::size_t k = 0; k < central.size(); ++k) {
        t1 += central[k];
        t2 += other[k];
    }
    const double t = t1 + t2;
    double x = 0;
    for (std::size_t k = 0; k < central.size(); ++k) {
        const double both = central[k] + other[k];
        if (both == 0) {
            continue;
        }
        x += pearson_term(central[k], t1 * both / t) + pearson_term(other[k], t2 * both / t);
    }
    return x;
}

double chisqval(std::vector<double> central, std::vector<double> other) {
    double t1 = 0;
    double t2 = 0;
    for (std::size_t k = 0; k < central.size(); ++k) {
        central[k] = central[k] == 0 ? 1 : central[k];
        other[k] = other[k] == 0 ? 1 : other[k];
        t1 += central[k];
        t2 += other[k];
    }
    const double t = t1 + t2;
    // Term by term, not class by class as pearson_statistic: the last digit of the result file's
    // figure stays what it has always been.
    double x = 0;
    for (std::size_t k = 0; k < central.size(); ++k) {
        const double both = central[k] + other[k];
        x += pearson_term(central[k], t1 * both / t);
        x += pearson_term(other[k], t2 * both / t);
    }
    return x;
}

}  // namespace vesk

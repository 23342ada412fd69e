#include "chitest/pearson_statistic.h"

#include <cstddef>

namespace vesk {

double chi_square(std::vector<double> central, std::vector<double> other) {
    const std::size_t m = central.size();
    std::vector<double> both(m);
    double t1 = 0;
    double t2 = 0;
    for (std::size_t k = 0; k < m; ++k) {
        if (central[k] == 0) {
            central[k] = 1;
        }
        if (other[k] == 0) {
            other[k] = 1;
        }
        both[k] = central[k] + other[k];
        t1 += central[k];
        t2 += other[k];
    }
    const double t = t1 + t2;
    double x = 0;
    for (std::size_t k = 0; k < m; ++k) {
        const double e1 = t1 * both[k] / t;
        x += (central[k] - e1) * (central[k] - e1) / e1;
        const double e2 = t2 * both[k] / t;
        x += (other[k] - e2) * (other[k] - e2) / e2;
    }
    return x;
}

}  // namespace vesk

namespace vesk {

double raw_chi_square(const std::vector<double>& central, const std::vector<double>& other) {
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
        const double e1 = t1 * both / t;
        const double e2 = t2 * both / t;
        x += (central[k] - e1) * (central[k] - e1) / e1 + (other[k] - e2) * (other[k] - e2) / e2;
    }
    return x;
}

}  // namespace vesk

#include "core/chart_layout.h"

#include <cmath>
#include <initializer_list>

namespace vesk {

double tick_step(double reach) {
    const double rough = reach / 4;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10 * power;
}

}  // namespace vesk

#include "report/report_data.h"

#include <cmath>
#include <cstdio>

namespace vesk {

std::string adjustment_full_name(Adjustment adjustment) {
    return adjustment == Adjustment::holm ? "Holm" : "Benjamini\u2013Hochberg";
}

std::string report_p_text(const std::optional<double>& p) {
    if (!p || std::isnan(*p)) {
        return {};
    }
    if (*p == 0) {
        return "< 1e-300";  // below what a double holds
    }
    char text[32];
    std::snprintf(text, sizeof text, "%#.4g", *p);
    return text;
}

}  // namespace vesk

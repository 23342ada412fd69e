#include "chitest/chi_report.h"

namespace vesk {

std::vector<std::string> chi_statistic_names(std::int64_t class_count) {
    std::vector<std::string> names = {"cfrq_tot", "sfrq_tot", "pfrq_tot"};
    for (const char* kind : {"cfrq_cl", "sfrq_cl", "pfrq_cl"}) {
        for (std::int64_t k = 1; k <= class_count; ++k) {
            names.push_back(kind + std::to_string(k));
        }
    }
    names.insert(names.end(), {"df", "chisqval"});
    return names;
}

ResultFile chi_report(AppState& state) {
    return write_result_file(state, "data_chitable", TestKind::chi_square,
                             chi_statistic_names(state.class_count()));
}

}  // namespace vesk

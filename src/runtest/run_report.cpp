#include "runtest/run_report.h"

namespace vesk {

ResultFile run_report(AppState& state) {
    return write_result_file(
        state, "data_run", TestKind::runs,
        {"cent_run", "state_run", "total_run", "n", "m", "erun", "vrun", "zvalue"});
}

}  // namespace vesk

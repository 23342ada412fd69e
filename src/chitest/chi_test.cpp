#include "chitest/chi_test.h"

#include "chitest/chi_classify.h"
#include "chitest/chi_report.h"
#include "chitest/chi_table.h"

namespace vesk {

ResultFile run_chi_test(AppState& state) {
    refuse_what_chi_tables_cannot_hold(state);
    Transaction transaction(state.db_conn, Transaction::Lock::immediate);
    chi_classify(state);
    chi_table(state);
    transaction.commit();
    return chi_report(state);
}

}  // namespace vesk

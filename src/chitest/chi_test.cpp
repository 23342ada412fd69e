#include "chitest/chi_test.h"

#include "chitest/chi_classify.h"
#include "chitest/chi_report.h"
#include "chitest/chi_table.h"
#include "core/sample_rule.h"

namespace vesk {

namespace {

// Over every record, those outside the classes too: data_chi keeps them in rows without a class.
SampleTotals sample_totals(Database& db) {
    Statement query = db.prepare("select sum(frq1), sum(frq2) from data_chi");
    SampleTotals totals;
    if (query.step()) {
        totals.central = query.integer(0);
        totals.state = query.integer(1);
    }
    return totals;
}

}  // namespace

ResultFile run_chi_test(AppState& state) {
    refuse_what_chi_tables_cannot_hold(state);
    Transaction transaction(state.db_conn, Transaction::Lock::immediate);
    chi_classify(state);
    chi_table(state);
    transaction.commit();
    ResultFile result = chi_report(state);
    result.note = sample_rule_note(state.db_conn, state.sample_var, sample_totals(state.db_conn));
    return result;
}

}  // namespace vesk

#include "core/sample_rule.h"

#include "core/text.h"

namespace vesk {

namespace {

constexpr int values_shown = 5;

const std::string rule_text = "The rule is central = the value 1: a record whose ";

// "01, 02, (blank)" and "..." when there are more.
std::string some_values(Database& db, const std::string& sample_var) {
    Statement query = db.prepare("select distinct " + sample_var + " from data limit " +
                                 std::to_string(values_shown + 1));
    std::vector<std::string> values;
    while (query.step()) {
        if (values.size() == values_shown) {
            values.push_back("...");
            break;
        }
        const std::string text = query.text(0);
        values.push_back(text.empty() ? "(blank)" : text);
    }
    return join(values, ", ");
}

}  // namespace

std::string sample_rule_note(Database& db, const std::string& sample_var,
                             const SampleTotals& totals) {
    if (totals.central == 0 && totals.state > 0) {
        return "No record of the sample variable " + sample_var +
               " reads 1, so every group lacks its central sample and has no p-value. " +
               rule_text + sample_var +
               " reads exactly 1 is central, any other value is state. Its values here: " +
               some_values(db, sample_var) + ".";
    }
    if (totals.state == 0 && totals.central > 0) {
        return "Every record of the sample variable " + sample_var +
               " reads 1, so every group lacks its state sample and has no p-value. " + rule_text +
               sample_var + " reads exactly 1 is central, any other value is state.";
    }
    return {};
}

}  // namespace vesk

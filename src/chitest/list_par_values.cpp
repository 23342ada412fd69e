#include "chitest/list_par_values.h"

#include <algorithm>
#include <numeric>

#include "chitest/value_texts.h"
#include "core/error.h"
#include "core/find_variable.h"
#include "core/identifier.h"

namespace vesk {

// Counted in one scan rather than by a grouped query, which sorts every record: values that read
// alike (numbers with more than 15 significant digits) then make one line, not two lines of one
// text.
void list_par_values(AppState& state) {
    state.par_vals.clear();
    const VarDef* def = find_variable(state, state.param_var);
    if (def == nullptr || !is_valid_variable_name(state.param_var)) {
        throw Error("The parameter " + state.param_var + " is not a defined variable");
    }
    auto query = state.db_conn.prepare("select " + state.param_var + " from data");
    TextIds texts;
    std::vector<std::int64_t> counts;
    while (query.step()) {
        const std::size_t id = texts.id(cell_of(query, 0));
        if (id >= counts.size()) {
            counts.resize(id + 1, 0);
        }
        ++counts[id];
    }
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&texts](std::size_t a, std::size_t b) { return texts.before(a, b); });
    std::vector<ParValue> values;
    values.reserve(order.size());
    for (const std::size_t id : order) {
        values.push_back({texts.text(id), counts[id], def->length, def->type});
    }
    state.par_vals = std::move(values);
}

}  // namespace vesk

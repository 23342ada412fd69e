#include "chitest/suggest_classes.h"

#include <algorithm>
#include <unordered_map>

#include "chitest/chi_table.h"
#include "chitest/value_texts.h"
#include "core/error.h"
#include "core/groups.h"
#include "core/identifier.h"
#include "core/number_text.h"
#include "core/sql_step.h"
#include "core/text.h"

namespace vesk {

bool meets_expected(std::int64_t records, std::int64_t central, std::int64_t other,
                    double min_expected) {
    const auto fewer = static_cast<double>(std::min(central, other));
    return static_cast<double>(records) * fewer >=
           min_expected * static_cast<double>(central + other);
}

// Cutting as soon as every group meets the condition is optimal: adding values never lowers a
// class's counts, so by induction greedy's i-th cut comes no later than any valid partition's.
ClassPartition suggest_partition(const std::vector<GroupValueCounts>& groups,
                                 std::size_t value_count, double min_expected) {
    ClassPartition partition;
    struct Included {
        std::int64_t central = 0;
        std::int64_t other = 0;
    };
    std::vector<Included> included;
    // Per value, the included groups that have records there and how many.
    std::vector<std::vector<std::pair<std::size_t, std::int64_t>>> at_value(value_count);
    for (const GroupValueCounts& group : groups) {
        Included totals;
        for (const SampleCounts& counts : group.by_value) {
            totals.central += counts.central;
            totals.other += counts.other;
        }
        if (totals.central == 0 || totals.other == 0) {
            continue;  // nothing to compare in this group
        }
        if (!meets_expected(totals.central + totals.other, totals.central, totals.other,
                            min_expected)) {
            partition.left_out.push_back({group.name, totals.central, totals.other});
            continue;
        }
        for (std::size_t v = 0; v < group.by_value.size() && v < value_count; ++v) {
            const std::int64_t records = group.by_value[v].central + group.by_value[v].other;
            if (records > 0) {
                at_value[v].emplace_back(included.size(), records);
            }
        }
        included.push_back(totals);
    }
    if (value_count == 0) {
        return partition;
    }
    if (included.empty()) {
        partition.ends.push_back(value_count);
        return partition;
    }

    std::vector<std::int64_t> in_class(included.size(), 0);
    std::size_t unmet = included.size();
    for (std::size_t v = 0; v < value_count; ++v) {
        for (const auto& [g, records] : at_value[v]) {
            const auto meets = [&] {
                return meets_expected(in_class[g], included[g].central, included[g].other,
                                      min_expected);
            };
            const bool before = meets();
            in_class[g] += records;
            if (!before && meets()) {
                --unmet;
            }
        }
        if (unmet == 0) {
            partition.ends.push_back(v + 1);
            std::fill(in_class.begin(), in_class.end(), 0);
            unmet = included.size();
        }
    }
    // The values after the last cut do not make a class of their own: they join the last one.
    if (partition.ends.empty()) {
        partition.ends.push_back(value_count);
    } else {
        partition.ends.back() = value_count;
    }
    return partition;
}

ClassSuggestion suggest_classes(AppState& state, double min_expected) {
    if (!(min_expected > 0)) {
        throw Error("The smallest expected count must be a number above 0");
    }
    require_plain_name(state.param_var, "parameter");
    require_plain_name(state.sample_var, "sample variable");
    const std::vector<GroupColumn> columns = checked_group_columns(state);

    std::unordered_map<std::string, std::size_t> position;
    for (std::size_t i = 0; i < state.par_vals.size(); ++i) {
        position.try_emplace(state.par_vals[i].value, i);
    }
    std::string select = "select " + state.param_var + ", " + state.sample_var;
    for (const GroupColumn& column : columns) {
        select += ", " + column.name;
    }
    Statement query =
        prepare_step(state.db_conn, select + " from data", "The classes could not be suggested");
    TextIds values;
    std::vector<std::size_t> position_of_id;
    SampleTally tally(columns.size());
    std::vector<Cell> group_values(columns.size());
    constexpr auto absent = static_cast<std::size_t>(-1);
    while (query.step()) {
        const std::size_t id = values.id(cell_of(query, 0));
        if (id >= position_of_id.size()) {
            const auto found = position.find(values.text(id));
            position_of_id.push_back(found == position.end() ? absent : found->second);
        }
        if (position_of_id[id] == absent) {
            continue;  // a value added after the listing; the listing decides the classes
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            group_values[i] = cell_of(query, static_cast<int>(i) + 2);
        }
        tally.add(tally.group(group_values), position_of_id[id], is_central(cell_of(query, 1)));
    }

    std::vector<GroupValueCounts> groups;
    for (const std::size_t group : tally.ordered_groups()) {
        groups.push_back({join(tally.group_texts(group), ", "), tally.counts(group)});
    }
    ClassPartition partition = suggest_partition(groups, state.par_vals.size(), min_expected);
    ClassSuggestion suggestion{ClassScheme(state.par_vals.size()), {}, 0};
    const auto most = static_cast<std::size_t>(
        std::max<std::int64_t>(1, most_chi_classes(state.db_conn, columns.size())));
    if (partition.ends.size() > most) {
        suggestion.joined_from = partition.ends.size();
        partition.ends = join_classes(partition.ends, most);
    }
    std::size_t begin = 0;
    for (const std::size_t end : partition.ends) {
        std::vector<std::size_t> members;
        for (std::size_t v = begin; v < end; ++v) {
            members.push_back(v);
        }
        suggestion.scheme.add_class(std::move(members));
        begin = end;
    }
    suggestion.left_out = partition.left_out;
    return suggestion;
}

std::vector<std::size_t> join_classes(const std::vector<std::size_t>& ends, std::size_t most) {
    if (ends.size() <= most) {
        return ends;
    }
    std::vector<std::size_t> joined;
    for (std::size_t j = 1; j <= most; ++j) {
        joined.push_back(ends[j * ends.size() / most - 1]);
    }
    return joined;
}

std::string joined_text(const ClassSuggestion& suggestion) {
    const std::string most = std::to_string(suggestion.scheme.classes().size());
    return std::to_string(suggestion.joined_from) +
           " classes meet the smallest expected count, but a test takes at most " + most +
           ": neighbouring classes are joined into " + most + ".";
}

std::string left_out_text(const LeftOutGroup& group, double min_expected) {
    return "group " + group.name + " is left out: " + std::to_string(group.central) +
           " central and " + std::to_string(group.other) + " state records cannot expect " +
           general_form(min_expected) + " of each sample";
}

}  // namespace vesk

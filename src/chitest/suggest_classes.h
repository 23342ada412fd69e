#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chitest/class_scheme.h"
#include "chitest/sample_tally.h"
#include "core/app_state.h"

namespace vesk {

inline constexpr double default_min_expected = 5;

// True when a class holding `records` records of a group with `central` and `other` records
// expects at least min_expected records of each sample: records * min(n, m) >= E * (n + m).
bool meets_expected(std::int64_t records, std::int64_t central, std::int64_t other,
                    double min_expected);

// A group's records at each value of the parameter, values in listing order (a shorter vector
// means no records at the values after its end).
struct GroupValueCounts {
    std::string name;  // the group's values, for messages
    std::vector<SampleCounts> by_value;
};

// A group that holds both samples but too few records of one of them to meet the condition
// even with a single class.
struct LeftOutGroup {
    std::string name;
    std::int64_t central = 0;
    std::int64_t other = 0;
};

struct ClassPartition {
    // Each class's end: class i holds the values from ends[i-1] (0 for the first) up to, not
    // including, ends[i]. Empty when there are no values.
    std::vector<std::size_t> ends;
    std::vector<LeftOutGroup> left_out;
};

// The finest partition of the values into classes of adjacent values in which every class meets
// the condition in every group that holds both samples and can meet it at all. Groups that
// cannot are left out; when no group is left in, all values make one class.
ClassPartition suggest_partition(const std::vector<GroupValueCounts>& groups,
                                 std::size_t value_count, double min_expected);

// The suggestion for the loaded data: par_vals (listed first by the caller) split by the sample
// variable and grouped by grp_vars. When more classes meet the condition than the test's tables can
// hold, neighbouring classes are joined (which keeps the condition) down to the most they hold, and
// joined_from says how many there were.
struct ClassSuggestion {
    ClassScheme scheme;
    std::vector<LeftOutGroup> left_out;
    std::size_t joined_from = 0;  // 0: nothing joined
};
ClassSuggestion suggest_classes(AppState& state, double min_expected);

// The ends of a partition (see ClassPartition) with its classes joined into `most`, as evenly as
// whole classes allow, in order.
std::vector<std::size_t> join_classes(const std::vector<std::size_t>& ends, std::size_t most);

// "1500 classes meet the smallest expected count, but a test takes at most 664: neighbouring
// classes are joined into 664."
std::string joined_text(const ClassSuggestion& suggestion);

// "group 03, 2 is left out: 2 central and 40 state records cannot expect 5 of each sample".
std::string left_out_text(const LeftOutGroup& group, double min_expected);

}  // namespace vesk

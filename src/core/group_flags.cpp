#include "core/group_flags.h"

#include <cstdio>

#include "core/number_text.h"

namespace vesk {

namespace {

const std::string one_sample_missing = "one sample missing";

// "p = 0.01"; a p-value below what a double holds is "p < 1e-300", not 0.
std::string p_words(const std::optional<double>& p) {
    if (p && *p == 0) {
        return "p < 1e-300";
    }
    char text[32];
    std::snprintf(text, sizeof text, "p = %.4g", p.value_or(no_value));
    return text;
}

}  // namespace

std::vector<GroupFlag> group_flags(const RunGroupStats& group, double level) {
    std::vector<GroupFlag> flags;
    if (!group.missing.empty()) {
        flags.push_back({one_sample_missing, group.missing});
    }
    if (group.ties_decide(level)) {
        flags.push_back(
            {"ties decide",
             "the order within tied parameter values decides the verdict: at the fewest runs (" +
                 std::to_string(group.fewest_runs) + ") " + p_words(group.p_fewest) +
                 " is below the level " + general_form(level) + ", at the most runs (" +
                 std::to_string(group.most_runs) + ") " + p_words(group.p_most) +
                 " is not; the p-value taken is the one at the most runs"});
    }
    return flags;
}

std::vector<GroupFlag> group_flags(const ChiGroupStats& group) {
    std::vector<GroupFlag> flags;
    if (group.n == 0 || group.m == 0) {
        flags.push_back({one_sample_missing, group.missing});
    } else if (!group.missing.empty()) {
        flags.push_back({"one class", group.missing});
    }
    if (!group.small_expected.empty()) {
        flags.push_back({"small expected counts",
                         group.small_expected +
                             ": the p-value is a Monte Carlo p-value over random tables with the "
                             "group's totals"});
    }
    return flags;
}

std::string flag_names(const std::vector<GroupFlag>& flags) {
    std::string names;
    for (const GroupFlag& flag : flags) {
        names += (names.empty() ? "" : ", ") + flag.name;
    }
    return names;
}

std::string flag_reasons(const std::vector<GroupFlag>& flags) {
    std::string reasons;
    for (const GroupFlag& flag : flags) {
        reasons += (reasons.empty() ? "" : "; ") + flag.reason;
    }
    return reasons;
}

}  // namespace vesk

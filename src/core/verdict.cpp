#include "core/verdict.h"

#include <algorithm>
#include <cmath>
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

// The verdict at level depends on the order within ties: significant at the fewest runs, not at
// the most.
bool ties_decide(const RunGroupStats& group, double level) {
    return group.fewest_runs < group.most_runs && group.p_fewest && group.p_most &&
           *group.p_fewest < level && !(*group.p_most < level);
}

std::vector<GroupFlag> run_flags(const RunGroupStats& group, double level) {
    std::vector<GroupFlag> flags;
    if (!group.missing.empty()) {
        flags.push_back({one_sample_missing, group.missing});
    }
    if (ties_decide(group, level)) {
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

std::vector<GroupFlag> chi_flags(const ChiGroupStats& group) {
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

std::optional<double> finite(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> drawn_p(const std::optional<double>& p) {
    return p ? std::optional<double>(std::max(*p, smallest_drawn_p)) : std::nullopt;
}

// What every test shares: the adjusted p-value, significance and the mark.
template <typename Stats>
Verdict judged(const Stats& group, const Choices& choices, std::vector<GroupFlag> flags) {
    Verdict verdict;
    verdict.p = group.p_primary();
    verdict.p_adjusted = choices.adjustment == Adjustment::holm ? group.p_holm : group.p_bh;
    verdict.significant = verdict.p_adjusted && *verdict.p_adjusted < choices.level;
    verdict.flags = std::move(flags);
    verdict.mark = verdict.significant                              ? Mark::significant
                   : verdict.flags.empty() && verdict.p.has_value() ? Mark::plain
                                                                    : Mark::flagged;
    return verdict;
}

}  // namespace

Verdict judge(const RunGroupStats& group, const Choices& choices) {
    Verdict verdict = judged(group, choices, run_flags(group, choices.level));
    if (group.fewest_runs < group.most_runs) {
        // The p-value is the one at the most runs: so is the point.
        verdict.point = finite(group.z_most);
        verdict.beside = finite(group.z);
    } else {
        verdict.point = finite(group.z);
    }
    return verdict;
}

Verdict judge(const ChiGroupStats& group, const Choices& choices) {
    Verdict verdict = judged(group, choices, chi_flags(group));
    verdict.point = drawn_p(verdict.p_adjusted);
    verdict.beside = drawn_p(verdict.p);
    return verdict;
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

std::string adjustment_name(Adjustment adjustment) {
    return adjustment == Adjustment::holm ? "Holm" : "Benjamini\u2013Hochberg";
}

std::string adjustment_short_name(Adjustment adjustment) {
    return adjustment == Adjustment::holm ? "Holm" : "BH";
}

std::string p_text(const std::optional<double>& p) {
    if (!p || std::isnan(*p)) {
        return {};
    }
    if (*p == 0) {
        return "< 1e-300";  // below what a double holds
    }
    // Rounding in a sum may pass 1 by a hair; a p-value cannot.
    char text[32];
    std::snprintf(text, sizeof text, "%#.4g", std::min(*p, 1.0));
    return text;
}

std::string p_field(const std::optional<double>& p) {
    return p && std::isfinite(*p) ? general_form(*p) : "";
}

std::string range_text(const std::string& low, const std::string& high) {
    return low == high ? low : low + "\u2013" + high;
}

std::string result_base(const std::string& out_file, TestKind kind) {
    return out_file + (kind == TestKind::runs ? "_run" : "_chi");
}

std::string result_file_name(const std::string& out_file, TestKind kind) {
    return result_base(out_file, kind) + ".csv";
}

}  // namespace vesk

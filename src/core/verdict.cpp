#include "core/verdict.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/number_text.h"

namespace vesk {

namespace {

const std::string one_sample_missing = "one sample missing";

std::vector<GroupFlag> run_flags(const RunGroupStats& group) {
    std::vector<GroupFlag> flags;
    if (!group.missing.empty()) {
        flags.push_back({one_sample_missing, group.missing});
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

std::optional<double> drawn_p(const std::optional<Probability>& p) {
    return p ? std::optional<double>(std::max(p->value(), smallest_drawn_p)) : std::nullopt;
}

// What every test shares: the adjusted p-value, significance and the mark.
template <typename Stats>
Verdict judged(const Stats& group, const Choices& choices, std::vector<GroupFlag> flags) {
    Verdict verdict;
    verdict.p = group.p_primary();
    verdict.p_adjusted = choices.adjustment == Adjustment::holm ? group.p_holm : group.p_bh;
    verdict.significant = verdict.p_adjusted && verdict.p_adjusted->value() < choices.level;
    verdict.flags = std::move(flags);
    verdict.mark = verdict.significant                              ? Mark::significant
                   : verdict.flags.empty() && verdict.p.has_value() ? Mark::plain
                                                                    : Mark::flagged;
    return verdict;
}

}  // namespace

Verdict judge(const RunGroupStats& group, const Choices& choices) {
    Verdict verdict = judged(group, choices, run_flags(group));
    // The point is z of T, the statistic the p-value is of; where ties make the runs as sorted
    // differ from T, their z stands beside it.
    verdict.point = finite(group.z_t);
    if (group.has_ties()) {
        verdict.beside = finite(group.z);
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

std::string p_text(const std::optional<Probability>& p) {
    if (!p) {
        return {};
    }
    if (p->value() < smallest_drawn_p) {
        return "< 1e-300";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%#.4g", p->value());
    return text;
}

std::string p_field(const std::optional<Probability>& p) {
    return p ? probability_text(*p) : "";
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

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/result_stats.h"

namespace vesk {

// How the groups of a run are judged. The one place that decides, from a group's statistics and
// the user's choices, its adjusted p-value, whether it is significant, its flags and the point
// its chart draws; how a p-value reads; and the names of the files a run writes. The results
// panel, its chart, the report and the detail files all ask here.

enum class TestKind { runs, chi_square };

// Which adjusted p-value decides whether a group counts as significant.
enum class Adjustment { benjamini_hochberg, holm };

// The significance level the windows start with and vesk-batch judges at.
inline constexpr double default_level = 0.05;

// What the user judges the groups by.
struct Choices {
    double level = default_level;
    Adjustment adjustment = Adjustment::benjamini_hochberg;
};

// Why a group's verdict is missing or needs care: a short name for the table ("one class") and
// the reason in a sentence, for the hover text and the detail files.
struct GroupFlag {
    std::string name;
    std::string reason;
};

// How a chart marks a group: significant, plain, or flagged (or without a p-value).
enum class Mark { significant, plain, flagged };

// A log axis cannot show 0: a p-value below what a double holds is drawn here.
inline constexpr double smallest_drawn_p = 1e-300;

// One group under the user's choices.
struct Verdict {
    std::optional<Probability> p;           // the primary p-value
    std::optional<Probability> p_adjusted;  // by the chosen adjustment
    bool significant = false;               // p_adjusted below the level
    std::vector<GroupFlag> flags;
    Mark mark = Mark::plain;
    // What the chart draws. Runs test: z of T, the statistic the p-value is of, and beside it z
    // of the runs as the result file counts them, where ties make the two differ. Chi-square
    // test: the adjusted p-value, and beside it the p-value, both at least smallest_drawn_p.
    // Nothing where there is nothing to draw.
    std::optional<double> point;
    std::optional<double> beside;
};

Verdict judge(const RunGroupStats& group, const Choices& choices);
Verdict judge(const ChiGroupStats& group, const Choices& choices);

// The names joined by ", "; the reasons joined by "; ".
std::string flag_names(const std::vector<GroupFlag>& flags);
std::string flag_reasons(const std::vector<GroupFlag>& flags);

// "Benjamini–Hochberg" or "Holm"; "BH" or "Holm" where room is short.
std::string adjustment_name(Adjustment adjustment);
std::string adjustment_short_name(Adjustment adjustment);

// A p-value as the tables show it: four significant digits with trailing zeros kept, in
// scientific form below 0.0001, "< 1e-300" below that; empty when there is none.
std::string p_text(const std::optional<Probability>& p);
// A p-value as the detail files write it: the general form, with its exponent also below the
// double range (4.94728e-360); empty when there is none.
std::string p_field(const std::optional<Probability>& p);
// "low–high", or the one text when both are the same.
std::string range_text(const std::string& low, const std::string& high);

// NAME_run or NAME_chi: the result file's name without ".csv", which the files written beside
// it begin with.
std::string result_base(const std::string& out_file, TestKind kind);
// NAME_run.csv or NAME_chi.csv.
std::string result_file_name(const std::string& out_file, TestKind kind);

}  // namespace vesk

#include "report/report_from_state.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "core/number_text.h"
#include "core/sha256.h"
#include "core/text.h"
#include "load/load_report.h"

namespace vesk {

namespace {

std::string utc_text(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

std::string absolute_path(const std::string& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::string fixed_text(double value, int decimals) {
    if (!std::isfinite(value)) {
        return {};
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// "low–high", or the one value when both are the same.
std::string range_text(std::int64_t low, std::int64_t high) {
    return low == high ? std::to_string(low)
                       : std::to_string(low) + "\u2013" + std::to_string(high);
}

// The user's condition inside filter_cond (" WHERE not(" + condition + ")").
std::string user_filter(const std::string& filter_cond) {
    const std::string head = " WHERE not(";
    if (filter_cond.starts_with(head) && filter_cond.ends_with(")")) {
        return filter_cond.substr(head.size(), filter_cond.size() - head.size() - 1);
    }
    return std::string(trim(filter_cond));
}

// The import that built table data is known only when it ran in this session.
ReportOrigin origin_of(const AppState& state) {
    ReportOrigin origin;
    origin.layout = state.var_defs;
    const LoadSummary& load = state.last_load;
    origin.known = !state.inp_file.empty() && load.lines_read > 0;
    if (!origin.known) {
        return origin;
    }
    origin.input = describe_file(state.inp_file);
    origin.lines_read = load.lines_read;
    origin.lines_loaded = load.lines_loaded;
    origin.lines_rejected = load.lines_rejected;
    for (const RejectedLine& rejected : load.first_rejected) {
        origin.first_rejections.push_back("line " + std::to_string(rejected.line_number) + ": " +
                                          reject_reason_text(rejected));
    }
    origin.filter = load.filter_applied ? user_filter(state.filter_cond) : std::string();
    origin.rows_filtered_out = load.rows_filtered_out;
    return origin;
}

// Records per class as the classification left them in table data.
std::vector<ReportClass> classes_of(AppState& state) {
    std::vector<ReportClass> classes;
    for (std::size_t i = 0; i < state.class_defs.size(); ++i) {
        classes.push_back({static_cast<std::int64_t>(i) + 1, state.class_defs[i].values, 0});
    }
    try {
        auto counts = state.db_conn.prepare(
            "select CLASS, count(*) from data where CLASS is not null group by CLASS");
        while (counts.step()) {
            const auto number = static_cast<std::int64_t>(counts.number(0));
            if (number >= 1 && number <= static_cast<std::int64_t>(classes.size())) {
                classes[static_cast<std::size_t>(number - 1)].records = counts.integer(1);
            }
        }
    } catch (const Error&) {
        // No classified data: the classes are listed without their records.
    }
    return classes;
}

template <typename Stats>
ReportRow common_row(const Stats& group, const ReportChoices& choices) {
    ReportRow row;
    row.groups = group.groups;
    row.p = group.p_primary();
    row.p_holm = group.p_holm;
    row.p_bh = group.p_bh;
    if (!group.flag.empty()) {
        row.flags.push_back(group.flag);
    }
    const std::optional<double> adjusted =
        choices.adjustment == Adjustment::holm ? group.p_holm : group.p_bh;
    row.significant = adjusted && *adjusted < choices.level;
    return row;
}

void add_run_rows(ReportData& report, const std::vector<RunGroupStats>& groups,
                  const ReportChoices& choices) {
    report.measures = {"n", "m", "runs", "runs over ties", "z"};
    for (const RunGroupStats& group : groups) {
        ReportRow row = common_row(group, choices);
        row.measures = {std::to_string(group.n), std::to_string(group.m),
                        std::to_string(group.runs), range_text(group.fewest_runs, group.most_runs),
                        fixed_text(group.z, 3)};
        row.p_source = group.p_exact ? "exact" : group.p_normal ? "normal approximation" : "";
        if (std::isfinite(group.z)) {
            row.z = group.z;
        }
        report.rows.push_back(std::move(row));
    }
}

void add_chi_rows(ReportData& report, const std::vector<ChiGroupStats>& groups,
                  const ReportChoices& choices) {
    report.measures = {"chi-square", "df", "expected below 5"};
    for (const ChiGroupStats& group : groups) {
        ReportRow row = common_row(group, choices);
        row.measures = {fixed_text(group.chival, 3), std::to_string(group.df),
                        std::to_string(group.below_five) + " of " + std::to_string(group.cells)};
        row.p_source = group.p ? "chi-square approximation" : "";
        report.rows.push_back(std::move(row));
    }
}

std::string percent_text(double level) {
    return general_form(level * 100) + "%";
}

std::string summary_of(const ReportData& report) {
    const std::size_t groups = report.rows.size();
    if (groups == 0) {
        return "The run found no groups.";
    }
    std::size_t significant = 0;
    std::size_t flagged = 0;
    for (const ReportRow& row : report.rows) {
        significant += row.significant ? 1 : 0;
        flagged += row.flags.empty() ? 0 : 1;
    }
    std::string text = std::to_string(significant) + " of " + std::to_string(groups) +
                       (groups == 1 ? " group" : " groups") +
                       (significant == 1 ? " differs" : " differ") + " at the " +
                       percent_text(report.level) + " level after " +
                       adjustment_full_name(report.adjustment) + " adjustment; ";
    if (flagged == 0) {
        return text + "no group flagged.";
    }
    return text + std::to_string(flagged) + (flagged == 1 ? " group" : " groups") + " flagged.";
}

std::vector<std::string> run_reading(const ReportData& report) {
    const std::string& param = report.question.parameter;
    const std::string& sample = report.question.sample_variable;
    return {
        "The Wald\u2013Wolfowitz runs test puts each group's records in order of " + param +
            " and counts the runs: stretches of consecutive records from the same sample, the "
            "central sample (" +
            sample +
            " = 1) or the state sample (every other value). When both samples come "
            "from one distribution they interleave and give many runs; too few runs say "
            "that they differ. z is the number of runs less the number expected, in "
            "standard deviations.",
        "The p-value is the chance of as few runs as counted, or fewer, if the samples did not "
        "differ. It is exact, from the distribution of the number of runs, where the group is "
        "small enough; otherwise it comes from the normal approximation of z. The column "
        "\u201cp from\u201d says which.",
        "Records with the same value of " + param +
            " (ties) have no order among themselves. The count above orders them by sample, "
            "which joins each sample's tied records into one run. \u201cRuns over ties\u201d "
            "gives the fewest and the most runs any order within the ties could give: where the "
            "range is wide, the verdict may depend on how ties are ordered rather than on the "
            "data, and the group should be read with care.",
    };
}

std::vector<std::string> chi_reading(const ReportData& report) {
    return {
        "The chi-square test of homogeneity asks, group by group, whether the central sample (" +
            report.question.sample_variable +
            " = 1) and the state sample spread over the classes of " + report.question.parameter +
            " in the same shares. Pearson's statistic adds up, over the classes, the squared "
            "differences between the counts and the counts expected if both samples shared "
            "one spread.",
        "The p-value is the upper tail of the chi-square distribution with the degrees of "
        "freedom shown (classes less one). This is an approximation that is reliable when "
        "the expected counts are not small; \u201cexpected below 5\u201d counts the cells "
        "where they are, and such groups are flagged.",
    };
}

std::string adjustment_reading(const ReportData& report) {
    return "Among many groups some small p-values come by chance alone, so each p-value is "
           "also adjusted for the number of groups. Benjamini\u2013Hochberg keeps the expected "
           "share of false findings among the groups found below the level; Holm keeps the "
           "chance of even one false finding below the level, and is stricter. Here a group "
           "is marked significant (\u2605 and bold) when its " +
           adjustment_full_name(report.adjustment) + "-adjusted p-value is below " +
           general_form(report.level) +
           ". A flagged group's result should not be taken at "
           "face value; the flag says why.";
}

}  // namespace

ReportFile describe_file(const std::string& path) {
    ReportFile file;
    file.path = absolute_path(path);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        return file;
    }
    const auto modified = std::filesystem::last_write_time(path, ec);
    if (!ec) {
        file.modified = utc_text(std::chrono::file_clock::to_sys(modified));
    }
    try {
        file.sha256 = sha256_of_file(path);
        file.size = static_cast<std::int64_t>(size);
    } catch (const Error&) {
        file.sha256.clear();
    }
    return file;
}

ReportData report_data(AppState& state, TestKind kind, const ReportChoices& choices,
                       const std::vector<std::string>& result_files) {
    const bool runs = kind == TestKind::runs;
    ReportData report;
    report.kind = kind;
    report.title = (runs ? "Runs test of " : "Chi-square test of ") + state.param_var;
    report.created = utc_text(std::chrono::system_clock::now());
    report.version = VESK_VERSION;
    report.origin = origin_of(state);
    report.question.group_variables = state.grp_names;
    report.question.sample_variable = state.sample_var;
    report.question.parameter = state.param_var;
    if (!runs) {
        report.question.classes = classes_of(state);
    }
    report.level = choices.level;
    report.adjustment = choices.adjustment;
    if (runs) {
        add_run_rows(report, state.run_stats, choices);
        report.reading = run_reading(report);
    } else {
        add_chi_rows(report, state.chi_stats, choices);
        report.reading = chi_reading(report);
    }
    report.reading.push_back(adjustment_reading(report));
    report.summary = summary_of(report);
    for (const std::string& path : result_files) {
        report.result_files.push_back(describe_file(path));
    }
    return report;
}

}  // namespace vesk

#include "report/report_from_state.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "chitest/class_cells.h"
#include "core/load_provenance.h"
#include "core/number_text.h"
#include "core/sha256.h"
#include "core/text.h"
#include "core/utc_time.h"
#include "core/verdict.h"

namespace vesk {

namespace {

// 2024-05-01 12:00:00 UTC.
std::string report_time(std::chrono::system_clock::time_point time) {
    return readable_utc(utc_text(std::chrono::system_clock::to_time_t(time)));
}

std::string fixed_text(double value, int decimals) {
    if (!std::isfinite(value)) {
        return {};
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // A small negative value rounds to zero, which has no sign.
    const std::string digits(text);
    return digits.find_first_not_of("-0.") == std::string::npos && digits[0] == '-'
               ? digits.substr(1)
               : digits;
}

// The import that built table data, as the database recorded it: also for a run on data loaded
// earlier, by this program or another.
ReportOrigin origin_of(AppState& state) {
    ReportOrigin origin;
    origin.layout = state.var_defs;
    std::optional<LoadProvenance> loaded;
    try {
        loaded = read_load_provenance(state.db_conn);
    } catch (const Error&) {
        // An unreadable record reads as none: the report says the origin is not recorded.
    }
    if (!loaded) {
        return origin;
    }
    origin.known = true;
    origin.input.path = loaded->input_path == "-" ? "standard input" : loaded->input_path;
    origin.input.size = loaded->input_size;
    origin.input.sha256 = loaded->input_sha256;
    origin.input.modified = readable_utc(loaded->input_modified.value_or(""));
    origin.loaded_at = readable_utc(loaded->loaded_at);
    origin.lines_read = loaded->lines_read;
    origin.lines_loaded = loaded->lines_loaded;
    origin.lines_rejected = loaded->lines_rejected;
    origin.first_rejections = loaded->first_rejected;
    origin.filter = loaded->filter.value_or("");
    origin.rows_filtered_out = loaded->rows_filtered_out;
    origin.record_type = loaded->record_type.value_or("");
    origin.lines_other_type = loaded->lines_other_type;
    origin.line_key = loaded->line_key;
    origin.byte_order_mark = loaded->byte_order_mark;
    origin.layout = loaded->layout;
    return origin;
}

// Records per class and sample, over the groups of the run.
std::vector<ReportClass> classes_of(const AppState& state) {
    std::vector<ReportClass> classes;
    for (std::size_t i = 0; i < state.class_defs.size(); ++i) {
        classes.push_back({static_cast<std::int64_t>(i) + 1, state.class_defs[i].values});
    }
    for (const ChiGroupStats& group : state.chi_stats) {
        for (std::size_t k = 0; k < group.classes.size() && k < classes.size(); ++k) {
            classes[k].central += group.classes[k].central;
            classes[k].state += group.classes[k].state;
            classes[k].records += group.classes[k].central + group.classes[k].state;
        }
    }
    return classes;
}

// "0.084 negligible": V and how large it is.
std::string effect_text(double v) {
    const std::string figure = fixed_text(v, 3);
    return figure.empty() ? figure : figure + " " + effect_size_words(v);
}

template <typename Stats>
ReportRow common_row(const Stats& group, const Choices& choices) {
    const Verdict verdict = judge(group, choices);
    ReportRow row;
    row.groups = group.groups;
    row.n = group.n;
    row.m = group.m;
    row.p = verdict.p;
    row.p_source = group.p_source;
    row.p_holm = group.p_holm;
    row.p_bh = group.p_bh;
    for (const GroupFlag& flag : verdict.flags) {
        row.flags.push_back(flag.reason.empty() ? flag.name : flag.name + ": " + flag.reason);
    }
    row.significant = verdict.significant;
    row.mark = verdict.mark;
    row.point = verdict.point;
    row.beside = verdict.beside;
    return row;
}

void add_run_rows(ReportData& report, const std::vector<RunGroupStats>& groups,
                  const Choices& choices) {
    report.effect = "runs missing (effect)";
    report.measures = {"T", "z of T", "runs as sorted", "z as sorted"};
    for (const RunGroupStats& group : groups) {
        ReportRow row = common_row(group, choices);
        row.effect = fixed_text(group.missing_runs_share, 3);
        row.measures = {fixed_text(group.t, 2), fixed_text(group.z_t, 3),
                        std::to_string(group.runs), fixed_text(group.z, 3)};
        report.rows.push_back(std::move(row));
    }
}

void add_chi_rows(ReportData& report, const std::vector<ChiGroupStats>& groups,
                  const Choices& choices) {
    report.effect = "V (effect)";
    // Small expected counts are told in the flag's line: A4 has no room for a column of them.
    report.measures = {"chisqval (file)", "chi-square", "df"};
    for (const ChiGroupStats& group : groups) {
        ReportRow row = common_row(group, choices);
        row.effect = effect_text(group.cramers_v);
        row.measures = {fixed_text(group.chival, 3), fixed_text(group.statistic, 3),
                        std::to_string(group.df)};
        report.rows.push_back(std::move(row));
    }
}

// Beyond this many lines of classes over all groups only the significant groups show theirs, so
// the report stays one to read: the cells file holds them all.
constexpr std::size_t class_lines_shown_whole = 64;

void add_group_classes(ReportData& report, const std::vector<ChiGroupStats>& groups) {
    const std::size_t classes = report.question.classes.size();
    const bool all = groups.size() * classes <= class_lines_shown_whole;
    report.group_classes_scope =
        all ? "every group"
            : "the significant groups only, as the run has " + std::to_string(groups.size()) +
                  " groups of " + std::to_string(classes) +
                  " classes (the cells file written with the details holds them all)";
    for (std::size_t i = 0; i < groups.size() && i < report.rows.size(); ++i) {
        if (all || report.rows[i].significant) {
            report.group_classes.push_back({groups[i].groups, report.rows[i].significant,
                                            report.rows[i].effect, groups[i].classes});
        }
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
                       percent_text(report.choices.level) + " level after " +
                       adjustment_name(report.choices.adjustment) + " adjustment; ";
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
            " = 1) or the state sample (every other value). When both samples come from one "
            "distribution they interleave and give many runs; too few runs say that they "
            "differ. \u201cruns missing (effect)\u201d is the share of the runs "
            "expected of alike samples that is missing: near 0 when they mix as expected, near 1 "
            "when they lie apart.",
        "Records with the same value of " + param +
            " (ties) have no order among themselves; the result file counts them ordered by "
            "sample code (\u201cruns as sorted\u201d, with its \u201cz as sorted\u201d), an "
            "order the data do not give. So the test is of T, the number of runs expected over "
            "random orders within the ties, which is the number of runs where there are none. "
            "The p-value is the chance of a T this low or lower when the sample labels are "
            "shuffled over the group's records, the block sizes kept: valid whatever the ties, "
            "since that shuffling is what \u201cthe samples do not differ\u201d means. It is "
            "exact without ties (\u201cexact\u201d) and, where few enough ways exist for the "
            "samples to fall into the tied values, by counting every one (\u201cexact over "
            "ties\u201d); else it is the share of 10,000 random ways (\u201cMonte Carlo over "
            "ties\u201d, each group drawing from a seed made of its group values, so the same "
            "data always give the same p-value), or with more than 1,000 values the normal "
            "approximation with T's exact mean and variance (\u201cnormal over ties\u201d). "
            "The chart shows z of T.",
    };
}

std::vector<std::string> chi_reading(const ReportData& report) {
    return {
        "The chi-square test of homogeneity asks, group by group, whether the central sample (" +
            report.question.sample_variable +
            " = 1) and the state sample spread over the classes of " + report.question.parameter +
            " in the same shares. Pearson's statistic (\u201cchi-square\u201d) adds up, over "
            "the classes that hold records of the group, the squared differences between the "
            "counts and the counts expected if both samples shared one spread; df is the number "
            "of those classes less one. \u201cchisqval (file)\u201d is the result file's "
            "figure, which counts empty cells as 1; it is shown for reference and gives no "
            "p-value.",
        "The p-value is the upper tail of the chi-square distribution (\u201cp from\u201d: "
        "chi-square) where the expected counts are large enough. Where they are small (any "
        "below 1, or more than a fifth below 5) that distribution is a poor guide, and the "
        "p-value is the share of 10,000 random tables with the group's totals whose statistic "
        "is at least the group's own (\u201cMonte Carlo\u201d), drawn from a seed made of the "
        "group's values so the same data always give the same p-value; such a group is "
        "flagged. A group without records of one sample, or with every record in one class "
        "(\u201cone class\u201d), has nothing to compare: it gets no p-value and is "
        "flagged.",
        "A p-value says whether the samples differ, not by how much: in a group of tens of "
        "thousands of records a trifling difference is significant. Cram\u00e9r's V, the "
        "square root of the statistic over the group's records, says how much, from 0 (the "
        "same shares) to 1: below 0.1 the difference is negligible, from 0.1 small, from 0.3 "
        "medium, from 0.5 large. Where they differ is in the class shares: the adjusted "
        "residual of a class is its central count less the count expected if both samples "
        "shared one spread, in standard errors; a class whose residual reaches 2 either way "
        "(\u25B2 more of the central sample, \u25BC less) is one that drives the difference.",
    };
}

std::string adjustment_reading(const ReportData& report) {
    return "Among many groups some small p-values come by chance alone, so each p-value is "
           "also adjusted for the number of groups. Benjamini\u2013Hochberg keeps the expected "
           "share of false findings among the groups found below the level; Holm keeps the "
           "chance of even one false finding below the level, and is stricter. Here a group "
           "is marked significant (\u2605 and bold) when its " +
           adjustment_name(report.choices.adjustment) + "-adjusted p-value is below " +
           general_form(report.choices.level) +
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
        file.modified = report_time(std::chrono::file_clock::to_sys(modified));
    }
    try {
        file.sha256 = sha256_of_file(path);
        file.size = static_cast<std::int64_t>(size);
    } catch (const Error&) {
        file.sha256.clear();
    }
    return file;
}

ReportData report_data(AppState& state, TestKind kind, const Choices& choices,
                       const std::vector<std::string>& result_files) {
    const bool runs = kind == TestKind::runs;
    ReportData report;
    report.kind = kind;
    report.title = (runs ? "Runs test of " : "Chi-square test of ") + state.param_var;
    report.created = report_time(std::chrono::system_clock::now());
    report.version = VESK_VERSION;
    report.origin = origin_of(state);
    report.question.group_variables = state.grp_names;
    report.question.sample_variable = state.sample_var;
    report.question.parameter = state.param_var;
    if (!runs) {
        report.question.classes = classes_of(state);
    }
    report.choices = choices;
    if (runs) {
        add_run_rows(report, state.run_stats, choices);
        report.reading = run_reading(report);
    } else {
        add_chi_rows(report, state.chi_stats, choices);
        add_group_classes(report, state.chi_stats);
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

#include "core/result_details.h"

#include <filesystem>
#include <functional>

#include "core/atomic_file.h"
#include "core/csv.h"
#include "core/json_writer.h"
#include "core/load_provenance.h"
#include "core/number_text.h"
#include "core/sha256.h"
#include "core/text.h"
#include "core/utc_time.h"
#include "core/verdict.h"

namespace vesk {

namespace {

std::string number_field(double value) {
    return std::isfinite(value) ? general_form(value) : "";
}

std::string count_field(std::int64_t value) {
    return std::to_string(value);
}

using Fields = std::vector<std::string>;

// The group columns, then the header's; each group's lines begin with its values.
template <typename Stats>
void write_group_lines(AppState& state, const std::string& path, const Fields& columns,
                       const std::vector<Stats>& groups,
                       const std::function<std::vector<Fields>(const Stats&)>& lines_of) {
    AtomicFile file(path);
    std::string line;
    for (const std::string& name : state.grp_names) {
        line += csv_field(name) + ",";
    }
    line += join(columns, ",");
    file.stream() << line << '\n';
    for (const Stats& group : groups) {
        std::string values;
        for (const std::string& value : group.groups) {
            values += csv_field(value) + ",";
        }
        for (const Fields& fields : lines_of(group)) {
            line = values;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (i > 0) {
                    line += ',';
                }
                line += csv_field(fields[i]);
            }
            file.stream() << line << '\n';
        }
    }
    file.commit();
}

std::string standard_error_field(const std::optional<double>& se) {
    return se ? number_field(*se) : "";
}

std::vector<std::string> run_fields(const RunGroupStats& g, const Choices& choices) {
    const std::vector<GroupFlag> flags = judge(g, choices).flags;
    return {count_field(g.n),
            count_field(g.m),
            count_field(g.runs),
            number_field(g.z),
            p_field(g.p_normal),
            p_field(g.p_exact),
            count_field(g.blocks),
            count_field(g.tied_values),
            count_field(g.fewest_runs),
            count_field(g.most_runs),
            number_field(g.t),
            number_field(g.expected_runs),
            number_field(g.sd_t),
            number_field(g.z_t),
            p_field(g.p),
            g.p_source,
            standard_error_field(g.p_standard_error),
            p_field(g.p_holm),
            p_field(g.p_bh),
            number_field(g.missing_runs_share),
            flag_names(flags),
            flag_reasons(flags)};
}

std::vector<std::string> chi_fields(const ChiGroupStats& g, const Choices& choices) {
    const std::vector<GroupFlag> flags = judge(g, choices).flags;
    return {count_field(g.n),
            count_field(g.m),
            number_field(g.chival),
            count_field(g.zero_cells_set_to_one),
            number_field(g.statistic),
            count_field(g.df),
            number_field(g.cramers_v),
            p_field(g.p_chi_square),
            p_field(g.p_monte_carlo),
            standard_error_field(g.p_monte_carlo_standard_error),
            p_field(g.p),
            g.p_source,
            count_field(g.cells),
            count_field(g.below_five),
            number_field(g.smallest_expected),
            p_field(g.p_holm),
            p_field(g.p_bh),
            flag_names(flags),
            flag_reasons(flags)};
}

// One line per class: its counts and shares, the counts expected under homogeneity and the
// residuals of both cells.
std::vector<Fields> chi_cell_lines(const ChiGroupStats& g, const std::vector<ClassDef>& classes) {
    std::vector<Fields> lines;
    for (std::size_t k = 0; k < g.classes.size(); ++k) {
        const ChiClassCell& cell = g.classes[k];
        const bool residual = std::isfinite(cell.residual);
        lines.push_back({count_field(static_cast<std::int64_t>(k) + 1),
                         k < classes.size() ? classes[k].values : "", count_field(cell.central),
                         number_field(cell.central_share), count_field(cell.state),
                         number_field(cell.state_share), number_field(cell.expected_central),
                         number_field(cell.expected_state), number_field(cell.residual),
                         residual ? number_field(-cell.residual) : "",
                         residual ? (cell.marked ? "yes" : "no") : ""});
    }
    return lines;
}

void write_file_entry(JsonWriter& json, std::string_view key, const std::string& path) {
    json.begin_object(key);
    json.value("path", absolute_path(path));
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        json.null("size");
        json.null("sha256");
    } else {
        json.value("size", static_cast<std::int64_t>(size));
        json.value("sha256", sha256_of_file(path));
    }
    json.end_object();
}

void write_layout(JsonWriter& json, const std::vector<VarDef>& layout) {
    json.begin_array("layout");
    for (const VarDef& def : layout) {
        json.begin_object();
        json.value("name", def.name);
        json.value("start", def.start);
        json.value("length", def.length);
        json.value("type", def.type);
        json.value("key", def.key);
        json.value("decimals", std::int64_t{def.decimals});
        json.end_object();
    }
    json.end_array();
}

// The input and the import as the database recorded them when the data were loaded, by this run
// or an earlier one; null where the data carry no record.
void write_load(JsonWriter& json, const std::optional<LoadProvenance>& load,
                const std::vector<VarDef>& var_defs) {
    if (!load) {
        json.null("input");
        json.null("load");
        write_layout(json, var_defs);
        json.null("filter");
        return;
    }
    json.begin_object("input");
    json.value("path", load->input_path);
    json.value("size", load->input_size);
    json.value("sha256", load->input_sha256);
    if (load->input_modified) {
        json.value("modified", *load->input_modified);
    } else {
        json.null("modified");
    }
    json.end_object();
    json.begin_object("load");
    json.value("loaded", load->loaded_at);
    json.value("program_version", load->program_version);
    json.value("lines_read", load->lines_read);
    json.value("lines_loaded", load->lines_loaded);
    json.value("lines_rejected", load->lines_rejected);
    json.begin_array("first_rejected");
    for (const std::string& rejected : load->first_rejected) {
        json.element(rejected);
    }
    json.end_array();
    json.value("rows_removed_by_filter", load->rows_filtered_out);
    if (load->record_type) {
        json.value("record_type", *load->record_type);
    } else {
        json.null("record_type");
    }
    json.value("lines_of_other_record_types", load->lines_other_type);
    json.boolean("line_number_key", load->line_key);
    json.boolean("byte_order_mark_skipped", load->byte_order_mark);
    json.end_object();
    write_layout(json, load->layout);
    if (load->filter) {
        json.value("filter", *load->filter);
    } else {
        json.null("filter");
    }
}

std::string provenance(AppState& state, TestKind kind, const std::string& result_path,
                       const DetailFiles& files) {
    JsonWriter json;
    json.begin_object();
    json.value("program", "vesk");
    json.value("version", VESK_VERSION);
    json.value("created", utc_now_text());
    json.value("test", kind == TestKind::runs ? "runs" : "chi-square");
    json.value("database", absolute_path(state.db_conn.path()));
    write_load(json, read_load_provenance(state.db_conn), state.var_defs);
    json.begin_array("group_variables");
    for (const std::string& name : state.grp_names) {
        json.element(name);
    }
    json.end_array();
    json.value("sample_variable", state.sample_var);
    json.value("parameter_variable", state.param_var);
    if (kind == TestKind::chi_square) {
        json.begin_array("classes");
        for (const ClassDef& class_def : state.class_defs) {
            json.begin_array();
            for (const std::string& member : class_def.members) {
                json.element(member);
            }
            json.end_array();
        }
        json.end_array();
    }
    write_file_entry(json, "result_file", result_path);
    write_file_entry(json, "statistics_file", files.stats_path);
    if (!files.cells_path.empty()) {
        write_file_entry(json, "cells_file", files.cells_path);
    }
    json.end_object();
    return json.text();
}

}  // namespace

std::vector<std::string> run_stats_columns() {
    // The runs, z and p-values as sorted are those of the result file's order, which the data do
    // not fix where parameter values tie; T, its z and p are the primary statistic.
    return {"n",
            "m",
            "runs_as_sorted",
            "z_as_sorted",
            "p_normal_as_sorted",
            "p_exact_as_sorted",
            "blocks",
            "tied_values",
            "fewest_runs",
            "most_runs",
            "T",
            "expected_runs",
            "sd_T",
            "z_T",
            "p",
            "p_source",
            "p_monte_carlo_se",
            "p_holm",
            "p_bh",
            "missing_runs_share",
            "flag",
            "reason"};
}

std::vector<std::string> chi_stats_columns() {
    return {"n",
            "m",
            "chisqval",
            "zero_cells_set_to_1",
            "statistic",
            "df",
            "cramers_v",
            "p_chi_square",
            "p_monte_carlo",
            "p_monte_carlo_se",
            "p",
            "p_source",
            "cells",
            "expected_below_5",
            "smallest_expected",
            "p_holm",
            "p_bh",
            "flag",
            "reason"};
}

std::vector<std::string> chi_cells_columns() {
    return {
        "class",       "values",           "central",        "central_share",    "state",
        "state_share", "expected_central", "expected_state", "residual_central", "residual_state",
        "marked"};
}

DetailFiles default_detail_files(const AppState& state, TestKind kind) {
    return detail_files_for(result_base(state.out_file, kind) + "_stats.csv", kind);
}

DetailFiles detail_files_for(const std::string& stats_path, TestKind kind) {
    const std::filesystem::path path(stats_path);
    std::string stem = path.filename().string();
    const std::string suffix = "_stats.csv";
    if (stem.size() > suffix.size() && stem.ends_with(suffix)) {
        stem.resize(stem.size() - suffix.size());
    } else if (path.has_extension()) {
        stem = path.stem().string();
    }
    const std::filesystem::path folder = path.parent_path();
    return {stats_path, (folder / (stem + ".provenance.json")).string(),
            kind == TestKind::chi_square ? (folder / (stem + "_cells.csv")).string() : ""};
}

DetailFiles write_result_details(AppState& state, TestKind kind, const Choices& choices) {
    return write_result_details(state, kind, choices, default_detail_files(state, kind));
}

DetailFiles write_result_details(AppState& state, TestKind kind, const Choices& choices,
                                 const DetailFiles& files) {
    if (kind == TestKind::runs) {
        write_group_lines<RunGroupStats>(
            state, files.stats_path, run_stats_columns(), state.run_stats,
            [&](const RunGroupStats& g) { return std::vector<Fields>{run_fields(g, choices)}; });
    } else {
        write_group_lines<ChiGroupStats>(
            state, files.stats_path, chi_stats_columns(), state.chi_stats,
            [&](const ChiGroupStats& g) { return std::vector<Fields>{chi_fields(g, choices)}; });
        write_group_lines<ChiGroupStats>(
            state, files.cells_path, chi_cells_columns(), state.chi_stats,
            [&](const ChiGroupStats& g) { return chi_cell_lines(g, state.class_defs); });
    }
    AtomicFile file(files.provenance_path);
    file.stream() << provenance(state, kind, result_file_name(state.out_file, kind), files);
    file.commit();
    return files;
}

}  // namespace vesk

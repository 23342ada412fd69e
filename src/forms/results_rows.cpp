#include "forms/results_rows.h"

#include <QStringList>

#include <cmath>
#include <initializer_list>
#include <limits>

#include "chitest/class_cells.h"

namespace vesk {

namespace {

constexpr double missing_sorts_last = std::numeric_limits<double>::infinity();

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

const QString group_separator = QStringLiteral(" / ");

QString groups_heading(const std::vector<std::string>& group_names) {
    QStringList names;
    for (const std::string& name : group_names) {
        names.append(qtext(name));
    }
    return names.join(group_separator);
}

ResultCell count_cell(std::int64_t value) {
    return {QString::number(value), QVariant::fromValue<qlonglong>(value), {}};
}

ResultCell fixed_cell(double value, int decimals) {
    if (!std::isfinite(value)) {
        return {{}, missing_sorts_last, {}};
    }
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(u'-') && text.count(u'0') + 2 == text.size()) {
        text.remove(0, 1);  // a small negative value rounds to zero, which has no sign
    }
    return {text, value, {}};
}

// Sorted by the logarithm, so p-values below the double range keep their order.
ResultCell p_cell(const std::optional<Probability>& p) {
    return {qtext(p_text(p)), p ? p->log() : missing_sorts_last, {}};
}

std::vector<ResultColumn> group_columns(const std::vector<std::string>& group_names) {
    std::vector<ResultColumn> columns;
    for (const std::string& name : group_names) {
        columns.push_back({qtext(name), QStringLiteral("Group variable"), false});
    }
    return columns;
}

const QString holm_tip = QStringLiteral(
    "Holm-adjusted across the groups of this run: controls the chance of any false alarm");
const QString bh_tip = QStringLiteral(
    "Benjamini\u2013Hochberg-adjusted across the groups of this run: controls the expected "
    "share of false alarms among the groups found significant");
const QString chosen_tip = QStringLiteral(" (the adjustment chosen: it decides the shading)");

// A table of either test: the group columns, the deciding ones, the test's effect size, the
// rest of the test's own, the other adjusted p-value.
ResultTable group_table(const std::vector<std::string>& group_names, const QString& p_tip,
                        std::initializer_list<ResultColumn> effect_columns,
                        std::initializer_list<ResultColumn> rest_columns) {
    ResultTable table;
    table.groups_heading = groups_heading(group_names);
    table.columns = group_columns(group_names);
    table.columns.insert(
        table.columns.end(),
        {
            {QStringLiteral("n (central)"), QStringLiteral("Records of the central sample")},
            {QStringLiteral("m (state)"), QStringLiteral("Records of the state sample")},
            {QStringLiteral("p"), p_tip},
        });
    // Headings and tips of the adjusted columns follow the choices (judge_rows).
    table.adjusted_column = table.columns.size();
    table.columns.push_back({});
    table.flag_column = table.columns.size();
    table.columns.push_back(
        {QStringLiteral("flag"),
         QStringLiteral("Why a group's verdict is missing or needs care; hover for the reason"),
         false});
    table.columns.insert(table.columns.end(), effect_columns);
    table.deciding_columns = table.columns.size();
    table.columns.insert(table.columns.end(), rest_columns);
    table.other_adjusted_column = table.columns.size();
    table.columns.push_back({});
    return table;
}

// A group's row in the columns of group_table; the cells that follow the choices are filled by
// judge_rows.
template <typename Stats>
ResultRow group_row(const Stats& group, std::initializer_list<ResultCell> effect_cells,
                    std::initializer_list<ResultCell> rest_cells) {
    ResultRow row;
    QStringList values;
    for (const std::string& value : group.groups) {
        values.append(qtext(value));
        row.cells.push_back({qtext(value), qtext(value), {}});
    }
    row.label = values.join(group_separator);
    row.judge = [group](const Choices& choices) { return judge(group, choices); };
    row.p_holm = group.p_holm;
    row.p_bh = group.p_bh;
    row.cells.insert(row.cells.end(),
                     {count_cell(group.n), count_cell(group.m), p_cell(group.p), {}, {}});
    row.cells.insert(row.cells.end(), effect_cells);
    row.cells.insert(row.cells.end(), rest_cells);
    row.cells.push_back({});
    return row;
}

ResultCell text_cell(const QString& text) {
    return {text, text, {}};
}

}  // namespace

ResultTable run_result_table(const std::vector<std::string>& group_names,
                             const std::vector<RunGroupStats>& groups) {
    ResultTable table = group_table(
        group_names,
        QStringLiteral("The p-value that decides: P(T \u2264 T as observed) when the sample labels "
                       "are shuffled over the group's records; without tied values the exact "
                       "P(R \u2264 runs)"),
        {
            {QStringLiteral("runs missing (effect)"),
             QStringLiteral("Effect size: (expected runs \u2212 T) / expected runs, the share of "
                            "the runs expected of alike samples that is missing; 0 when the "
                            "samples mix as expected, near 1 when they are apart")},
        },
        {
            {QStringLiteral("T"),
             QStringLiteral("The runs over the ties: the expected number of runs over random "
                            "orders within each tied parameter value; the runs themselves "
                            "without ties")},
            {QStringLiteral("z of T"),
             QStringLiteral("(T \u2212 expected runs) / its standard deviation when the sample "
                            "labels are shuffled")},
            {QStringLiteral("p from"),
             QStringLiteral("exact: the exact distribution of the runs; exact over ties: every "
                            "way the samples can fall into the tied values, counted; Monte Carlo "
                            "over ties: 10000 random ways; normal over ties: the normal "
                            "distribution with T's exact mean and variance"),
             false},
            {QStringLiteral("runs as sorted"),
             QStringLiteral("Runs in the order the result file counts (ties ordered by sample "
                            "code, an order the data do not give)")},
            {QStringLiteral("z as sorted"),
             QStringLiteral("The result file's z: (runs as sorted \u2212 expected runs) / "
                            "standard deviation")},
            {QStringLiteral("tied values"),
             QStringLiteral("Parameter values held by records of both samples")},
            {QStringLiteral("runs over ties"),
             QStringLiteral("The fewest and the most runs any order within the tied values "
                            "could give")},
        });
    for (const RunGroupStats& group : groups) {
        table.rows.push_back(group_row(group, {fixed_cell(group.missing_runs_share, 3)},
                                       {
                                           fixed_cell(group.t, 2),
                                           fixed_cell(group.z_t, 3),
                                           text_cell(qtext(group.p_source)),
                                           count_cell(group.runs),
                                           fixed_cell(group.z, 3),
                                           count_cell(group.tied_values),
                                           {qtext(range_text(std::to_string(group.fewest_runs),
                                                             std::to_string(group.most_runs))),
                                            QVariant::fromValue<qlonglong>(group.fewest_runs),
                                            {}},
                                       }));
    }
    return table;
}

ResultTable chi_result_table(const std::vector<std::string>& group_names,
                             const std::vector<ChiGroupStats>& groups) {
    ResultTable table = group_table(
        group_names,
        QStringLiteral("The p-value that decides: from the chi-square distribution, or a Monte "
                       "Carlo p-value where expected counts are small"),
        {
            {QStringLiteral("V (effect)"),
             QStringLiteral("Cram\u00e9r's V: how much the samples' shares over the classes "
                            "differ, from 0 (not at all) to 1, whatever the group's size. Below "
                            "0.1 the difference is negligible even where it is significant")},
        },
        {
            {QStringLiteral("p from"),
             QStringLiteral("chi-square: the upper tail of the chi-square distribution; Monte "
                            "Carlo: the share of 10000 random tables with the group's totals "
                            "whose statistic is at least as large"),
             false},
            {QStringLiteral("chisqval"),
             QStringLiteral("The result file's statistic: empty cells counted as 1, over every "
                            "class. For reference; the p-value does not come from it")},
            {QStringLiteral("statistic"),
             QStringLiteral("Pearson's chi-square of the counts as they are, over the classes "
                            "that hold records of this group")},
            {QStringLiteral("df"),
             QStringLiteral("Degrees of freedom: classes holding records of this group \u2212 1")},
            {QStringLiteral("p chi-square"),
             QStringLiteral("Upper tail of the chi-square distribution with df degrees of "
                            "freedom, trustworthy only with large enough expected counts")},
            {QStringLiteral("expected < 5"),
             QStringLiteral("Cells whose expected count is below 5, of all cells")},
            {QStringLiteral("smallest expected"),
             QStringLiteral("The smallest expected count of a cell")},
        });
    for (const ChiGroupStats& group : groups) {
        const std::string size = effect_size_words(group.cramers_v);
        ResultCell effect = fixed_cell(group.cramers_v, 3);
        if (!size.empty()) {
            effect.text += QStringLiteral(" ") + qtext(size);
        }
        table.rows.push_back(
            group_row(group, {effect},
                      {
                          text_cell(qtext(group.p_source)),
                          fixed_cell(group.chival, 3),
                          fixed_cell(group.statistic, 3),
                          count_cell(group.df),
                          p_cell(group.p_chi_square),
                          {QStringLiteral("%1 of %2").arg(group.below_five).arg(group.cells),
                           QVariant::fromValue<qlonglong>(group.below_five),
                           {}},
                          fixed_cell(group.smallest_expected, 2),
                      }));
    }
    return table;
}

void judge_rows(ResultTable& table, const Choices& choices) {
    if (table.columns.empty()) {
        return;
    }
    const bool holm = choices.adjustment == Adjustment::holm;
    table.columns[table.adjusted_column] = {
        QStringLiteral("p ") + qtext(adjustment_short_name(choices.adjustment)),
        (holm ? holm_tip : bh_tip) + chosen_tip};
    const Adjustment other = holm ? Adjustment::benjamini_hochberg : Adjustment::holm;
    table.columns[table.other_adjusted_column] = {
        QStringLiteral("p ") + qtext(adjustment_short_name(other)), holm ? bh_tip : holm_tip};
    for (ResultRow& row : table.rows) {
        row.verdict = row.judge ? row.judge(choices) : Verdict();
        row.flag = qtext(flag_names(row.verdict.flags));
        row.flag_reason = qtext(flag_reasons(row.verdict.flags));
        row.cells[table.flag_column] = text_cell(row.flag);
        row.cells[table.adjusted_column] = p_cell(row.verdict.p_adjusted);
        row.cells[table.other_adjusted_column] = p_cell(holm ? row.p_bh : row.p_holm);
    }
}

}  // namespace vesk

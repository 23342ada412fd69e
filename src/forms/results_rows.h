#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/adjustment.h"
#include "core/group_flags.h"
#include "core/result_stats.h"

namespace vesk {

// One cell of the results table: what it reads, the value it sorts by, and what it says on hover.
struct ResultCell {
    QString text;
    QVariant sort;
    QString tip;
};

// One group of the results table.
struct ResultRow {
    QString label;                  // the group's values, for the chart
    std::vector<ResultCell> cells;  // the group columns, then the statistics
    // The group's flags at a significance level; flag and flag_reason hold them at the level
    // last judged (judge_flags).
    std::function<std::vector<GroupFlag>(double level)> flags_at;
    QString flag;             // the flags' names; empty when there is none
    QString flag_reason;      // why: the hover text
    std::optional<double> p;  // the primary p-value
    std::optional<double> p_holm;
    std::optional<double> p_bh;
    double z = no_value;          // runs test only: z of the runs the primary p-value is of
    double z_ordered = no_value;  // z of the runs the result file counts, where that differs
};

struct ResultColumn {
    QString heading;
    QString tip;
    bool number = true;  // right-aligned
};

struct ResultTable {
    QString groups_heading;  // the group variables' names, as the labels join their values
    std::vector<ResultColumn> columns;
    std::vector<ResultRow> rows;
};

ResultTable run_result_table(const std::vector<std::string>& group_names,
                             const std::vector<RunGroupStats>& groups);
ResultTable chi_result_table(const std::vector<std::string>& group_names,
                             const std::vector<ChiGroupStats>& groups);

// Sets flag and flag_reason of every row for level.
void judge_flags(ResultTable& table, double level);

std::optional<double> adjusted_p(const ResultRow& row, Adjustment adjustment);
bool is_significant(const ResultRow& row, double level, Adjustment adjustment);

// "BH" or "Holm".
QString adjustment_name(Adjustment adjustment);

// A p-value with four significant digits, in scientific form below 0.0001; empty when none.
QString p_text(const std::optional<double>& p);

}  // namespace vesk

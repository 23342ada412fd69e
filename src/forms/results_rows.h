#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <string>
#include <vector>

#include "core/result_stats.h"

namespace vesk {

// Which adjusted p-value decides whether a group counts as significant.
enum class Adjustment { benjamini_hochberg, holm };

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
    QString flag;                   // why the group's verdict is doubtful or missing
    std::optional<double> p;        // the primary p-value
    std::optional<double> p_holm;
    std::optional<double> p_bh;
    double z = no_value;  // runs test only
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

std::optional<double> adjusted_p(const ResultRow& row, Adjustment adjustment);
bool is_significant(const ResultRow& row, double level, Adjustment adjustment);

// "BH" or "Holm".
QString adjustment_name(Adjustment adjustment);

// A p-value with four significant digits, in scientific form below 0.0001; empty when none.
QString p_text(const std::optional<double>& p);

}  // namespace vesk

#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/result_stats.h"
#include "core/verdict.h"

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
    // The group's verdict under the user's choices; verdict, flag and flag_reason hold it under
    // the choices last judged (judge_rows).
    std::function<Verdict(const Choices&)> judge;
    std::optional<Probability> p_holm;
    std::optional<Probability> p_bh;
    Verdict verdict;
    QString flag;         // the flags' names; empty when there is none
    QString flag_reason;  // why: the hover text
};

struct ResultColumn {
    QString heading;
    QString tip;
    bool number = true;  // right-aligned
};

// The columns that decide come first: the group values, n (central), m (state), p, the p-value
// of the chosen adjustment, the flag and the effect size; then the rest, the other adjustment
// last.
struct ResultTable {
    QString groups_heading;  // the group variables' names, as the labels join their values
    std::vector<ResultColumn> columns;
    std::vector<ResultRow> rows;
    // The columns judge_rows fills under the user's choices: heading and cells.
    std::size_t adjusted_column = 0;
    std::size_t flag_column = 0;
    std::size_t other_adjusted_column = 0;
    // The group values up to the effect size: the columns the panel keeps in view.
    std::size_t deciding_columns = 0;
};

ResultTable run_result_table(const std::vector<std::string>& group_names,
                             const std::vector<RunGroupStats>& groups);
ResultTable chi_result_table(const std::vector<std::string>& group_names,
                             const std::vector<ChiGroupStats>& groups);

// Judges every row under the choices: its verdict, flag and flag_reason, and the columns that
// follow the choices.
void judge_rows(ResultTable& table, const Choices& choices);

}  // namespace vesk

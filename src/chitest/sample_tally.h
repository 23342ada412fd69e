#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "chitest/value_texts.h"

namespace vesk {

// Records of one group and category (a class, or a value of the parameter) by sample.
struct SampleCounts {
    std::int64_t central = 0;
    std::int64_t other = 0;
};

// Counts records per group and category in one scan. Groups are told apart by the texts their
// values read as, so numbers that read alike make one group, as in the result files.
class SampleTally {
  public:
    explicit SampleTally(std::size_t group_columns) : columns_(group_columns) {}

    // The group of a row from its group values (one cell per group column), numbered in the
    // order first seen.
    std::size_t group(const std::vector<Cell>& values);
    void add(std::size_t group, std::size_t category, bool central);

    std::size_t group_count() const { return groups_.size(); }
    // The group's value texts, one per group column.
    std::vector<std::string> group_texts(std::size_t group) const;
    // Per group column, the number the group's value holds as stored (TextIds::number).
    std::vector<std::optional<double>> group_numbers(std::size_t group) const;
    // Its counts by category; categories never counted in the group may be missing at the end.
    const std::vector<SampleCounts>& counts(std::size_t group) const { return groups_[group]; }
    // The groups in the order of their values, as an ORDER BY over the group columns gives.
    std::vector<std::size_t> ordered_groups() const;

  private:
    std::vector<TextIds> columns_;
    std::unordered_map<std::string, std::size_t> by_key_;
    std::vector<std::vector<std::size_t>> keys_;  // per group, the text id of each column
    std::vector<std::vector<SampleCounts>> groups_;
    std::vector<std::size_t> ids_;
    std::string key_;
};

}  // namespace vesk

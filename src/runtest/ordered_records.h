#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/cell.h"
#include "core/database.h"

namespace vesk {

// What the runs test reads of table data: the group columns, the sample and the parameter.
struct RecordColumns {
    std::vector<std::string> groups;
    std::string sample;
    std::string param;
};

// Receives the records one by one: the group cells (one per group column), the sample and the
// parameter. The cells are valid for the call only.
using RecordVisitor =
    std::function<void(const std::vector<Cell>& groups, const Cell& sample, const Cell& param)>;

// Up to this many records are ordered in memory at once (12 bytes each). A larger table is read
// once into a temporary file, a group's records together, and ordered one group at a time, so
// memory stays flat at any size; a group alone larger than this is ordered by the engine, whose
// sort spills to disk.
constexpr std::int64_t records_ordered_in_memory = std::int64_t{1} << 20;

enum class RecordOrder { in_memory, in_memory_by_group, by_engine };

// Hands every record of table data to visit in the order of "order by groups, param, sample":
// in memory (all at once, or group by group when the table holds more than memory_limit records)
// where every parameter value is a number, the sample has at most 256 values and no group holds
// more than memory_limit records, else by the engine's sort; a memory_limit of 0 leaves the order
// to the engine. Every way gives the same order, so the visitor cannot tell them apart; the result
// says which one ordered them. Throws DbError when the data cannot be read.
RecordOrder visit_ordered_records(Database& db, const RecordColumns& columns,
                                  const RecordVisitor& visit,
                                  std::int64_t memory_limit = records_ordered_in_memory);

}  // namespace vesk

#include "runtest/ordered_records.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "core/error.h"
#include "core/pragma_scope.h"
#include "core/text.h"
#include "runtest/bucket_sort.h"
#include "runtest/packed_record.h"
#include "runtest/record_spill.h"

namespace vesk {

namespace {

std::string ordered_query(const RecordColumns& columns) {
    const std::string groups = join(columns.groups, ", ");
    return "select " + groups + ", " + columns.sample + ", " + columns.param +
           " from data order by " + groups + "," + columns.param + "," + columns.sample;
}

std::string unordered_query(const RecordColumns& columns) {
    return "select " + join(columns.groups, ", ") + ", " + columns.sample + ", " + columns.param +
           " from data";
}

// A cell that owns its text.
struct StoredCell {
    Cell::Kind kind = Cell::Kind::null;
    double number = 0;
    std::string text;

    explicit StoredCell(const Cell& cell) : kind(cell.kind), number(cell.number), text(cell.text) {}
    Cell view() const { return {kind, number, text}; }
};

// The engine's order of values of any kind: null, then numbers by value, then texts byte by byte.
int compare(const StoredCell& a, const StoredCell& b) {
    if (a.kind != b.kind) {
        return a.kind < b.kind ? -1 : 1;
    }
    if (a.kind == Cell::Kind::number) {
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    }
    return a.text.compare(b.text);
}

// Numbers the distinct values (or tuples of values) met in a scan, and ranks them afterwards in
// the engine's order. Values are told apart exactly: by the bits of a number, the bytes of a text.
class DistinctValues {
  public:
    std::uint32_t id(const std::vector<Cell>& cells) {
        key_.clear();
        for (const Cell& cell : cells) {
            key_.push_back(static_cast<char>(cell.kind));
            if (cell.kind == Cell::Kind::number) {
                const auto bits = std::bit_cast<std::uint64_t>(cell.number);
                key_.append(reinterpret_cast<const char*>(&bits), sizeof bits);
            } else {
                // The length first, so no text can run into the next value.
                const auto size = static_cast<std::uint32_t>(cell.text.size());
                key_.append(reinterpret_cast<const char*>(&size), sizeof size);
                key_.append(cell.text);
            }
        }
        const auto [entry, added] =
            ids_.try_emplace(key_, static_cast<std::uint32_t>(values_.size()));
        if (added) {
            std::vector<StoredCell> stored;
            stored.reserve(cells.size());
            for (const Cell& cell : cells) {
                stored.emplace_back(cell);
            }
            values_.push_back(std::move(stored));
        }
        return entry->second;
    }

    // rank[id]: the place of value id in the engine's order; and the ids in that order.
    void rank(std::vector<std::uint32_t>& rank_of_id,
              std::vector<std::uint32_t>& id_of_rank) const {
        id_of_rank.resize(values_.size());
        std::iota(id_of_rank.begin(), id_of_rank.end(), 0u);
        std::sort(id_of_rank.begin(), id_of_rank.end(), [&](std::uint32_t a, std::uint32_t b) {
            const auto& x = values_[a];
            const auto& y = values_[b];
            for (std::size_t i = 0; i < x.size(); ++i) {
                if (const int c = compare(x[i], y[i]); c != 0) {
                    return c < 0;
                }
            }
            return false;
        });
        rank_of_id.resize(values_.size());
        for (std::uint32_t r = 0; r < id_of_rank.size(); ++r) {
            rank_of_id[id_of_rank[r]] = r;
        }
    }

    const std::vector<StoredCell>& values(std::uint32_t id) const { return values_[id]; }

    std::size_t size() const { return values_.size(); }

  private:
    std::string key_;
    std::unordered_map<std::string, std::uint32_t> ids_;
    std::vector<std::vector<StoredCell>> values_;
};

// Orders the records in memory: all at once where they fit, else one group at a time, the
// records put aside in a temporary file while they are read.
class RecordsInMemory {
  public:
    explicit RecordsInMemory(std::int64_t memory_limit)
        : limit_(static_cast<std::size_t>(memory_limit)) {}

    // Reads every record; false when a parameter value is not a number, the sample has more than
    // 256 values, a group alone holds more records than memory takes, or the temporary file
    // fails: those are left to the engine's order.
    bool read(Statement& scan, std::size_t group_count, std::int64_t expected) {
        records_.reserve(std::min(static_cast<std::size_t>(expected), limit_));
        std::vector<Cell> groups(group_count);
        std::vector<Cell> sample(1);
        const int sample_column = static_cast<int>(group_count);
        while (scan.step()) {
            const Cell param = cell_of(scan, sample_column + 1);
            if (param.kind != Cell::Kind::number) {
                return false;
            }
            for (std::size_t i = 0; i < group_count; ++i) {
                groups[i] = cell_of(scan, static_cast<int>(i));
            }
            sample[0] = cell_of(scan, sample_column);
            const std::uint32_t group = groups_.id(groups);
            const std::uint32_t sample_id = samples_.id(sample);
            if (sample_id >= sample_limit || group >= group_limit) {
                return false;
            }
            if (records_.size() == limit_ && !put_aside()) {
                return false;
            }
            records_.push_back({param.number, group << sample_bits | sample_id});
        }
        if (!spill_) {
            return true;
        }
        if (!put_aside()) {
            return false;
        }
        std::vector<PackedRecord>().swap(records_);  // the memory goes back before the groups come
        return spill_->largest_group() <= limit_;
    }

    bool by_group() const { return spill_.has_value(); }

    // Hands the records to visit in the order of "order by groups, param, sample".
    void order_and_visit(const RecordVisitor& visit) {
        std::vector<std::uint32_t> group_by_rank;
        std::vector<std::uint32_t> sample_by_rank;
        groups_.rank(group_rank_, group_by_rank);
        samples_.rank(sample_rank_, sample_by_rank);
        // The cells of each group and sample, by rank, made once rather than once a record.
        for (const std::uint32_t id : group_by_rank) {
            std::vector<Cell>& cells = group_cells_.emplace_back();
            for (const StoredCell& cell : groups_.values(id)) {
                cells.push_back(cell.view());
            }
        }
        for (const std::uint32_t id : sample_by_rank) {
            sample_cells_.push_back(samples_.values(id)[0].view());
        }
        if (!spill_) {
            rank_keys();
            sort_in_buckets(
                records_, group_by_rank.size(),
                [](const PackedRecord& record) { return std::size_t{group_of(record)}; },
                by_param_then_sample);
            visit_records(visit);
            return;
        }
        for (const std::uint32_t id : group_by_rank) {
            if (!spill_->read_group(id, records_)) {
                throw Error(
                    "The runs test cannot read back the records it put aside in a temporary file");
            }
            rank_keys();
            std::sort(records_.begin(), records_.end(), by_param_then_sample);
            visit_records(visit);
        }
    }

  private:
    static bool by_param_then_sample(const PackedRecord& a, const PackedRecord& b) {
        if (a.param != b.param) {
            return a.param < b.param;
        }
        return (a.key & sample_mask) < (b.key & sample_mask);
    }

    bool put_aside() {
        if (!spill_) {
            spill_.emplace();
            if (!spill_->open()) {
                return false;
            }
        }
        return spill_->put_aside(records_, static_cast<std::uint32_t>(groups_.size()));
    }

    // The keys numbered by the engine's order of groups and of samples instead of first sight.
    void rank_keys() {
        for (PackedRecord& record : records_) {
            record.key = group_rank_[group_of(record)] << sample_bits |
                         sample_rank_[record.key & sample_mask];
        }
    }

    void visit_records(const RecordVisitor& visit) const {
        for (const PackedRecord& record : records_) {
            visit(group_cells_[group_of(record)], sample_cells_[record.key & sample_mask],
                  Cell{Cell::Kind::number, record.param, {}});
        }
    }

    std::size_t limit_;
    std::vector<PackedRecord> records_;
    std::optional<RecordSpill> spill_;
    DistinctValues groups_;
    DistinctValues samples_;
    std::vector<std::uint32_t> group_rank_;
    std::vector<std::uint32_t> sample_rank_;
    std::vector<std::vector<Cell>> group_cells_;  // views of the texts groups_ holds
    std::vector<Cell> sample_cells_;
};

// In KiB.
constexpr const char* scan_cache_size = "-256";

std::int64_t record_count(Database& db) {
    Statement count = db.prepare("select count(*) from data");
    return count.step() ? count.integer(0) : 0;
}

}  // namespace

RecordOrder visit_ordered_records(Database& db, const RecordColumns& columns,
                                  const RecordVisitor& visit, std::int64_t memory_limit) {
    // Prepared first whichever way the records are ordered, so a name the data lack is reported
    // alike.
    Statement ordered = [&] {
        try {
            return db.prepare(ordered_query(columns));
        } catch (const DbError& e) {
            throw Error("The runs test cannot read the data: " + std::string(e.what()));
        }
    }();
    // The records in memory take the memory; pages read once need no cache beyond a few.
    std::optional<PragmaScope> small_cache(std::in_place, db, "cache_size", scan_cache_size);
    const std::int64_t count = record_count(db);
    if (memory_limit > 0) {
        RecordsInMemory records(memory_limit);
        Statement scan = db.prepare(unordered_query(columns));
        if (records.read(scan, columns.groups.size(), count)) {
            records.order_and_visit(visit);
            return records.by_group() ? RecordOrder::in_memory_by_group : RecordOrder::in_memory;
        }
    }
    small_cache.reset();
    const std::size_t group_count = columns.groups.size();
    const int sample_column = static_cast<int>(group_count);
    std::vector<Cell> groups(group_count);
    while (ordered.step()) {
        for (std::size_t i = 0; i < group_count; ++i) {
            groups[i] = cell_of(ordered, static_cast<int>(i));
        }
        visit(groups, cell_of(ordered, sample_column), cell_of(ordered, sample_column + 1));
    }
    return RecordOrder::by_engine;
}

}  // namespace vesk

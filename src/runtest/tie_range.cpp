#include "runtest/tie_range.h"

#include <algorithm>
#include <iterator>

namespace vesk {

namespace {

constexpr int central = 0;
constexpr int state = 1;

// The runs a block can hold when it starts with kind first and ends with kind last; count 0
// when no order of the block does that.
struct BlockRuns {
    std::int64_t fewest = 0;
    std::int64_t most = 0;
};

BlockRuns block_runs(std::int64_t count[2], int first, int last) {
    const int other = 1 - first;
    if (count[other] == 0) {
        return first == last && count[first] > 0 ? BlockRuns{1, 1} : BlockRuns{};
    }
    if (count[first] == 0) {
        return {};
    }
    if (first != last) {
        // Alternating k runs of each kind: 2 .. 2 min(c, s).
        return {2, 2 * std::min(count[first], count[other])};
    }
    // k + 1 runs of the end kind around k of the other: needs two records of the end kind.
    if (count[first] < 2) {
        return {};
    }
    return {3, 2 * std::min(count[first] - 1, count[other]) + 1};
}

}  // namespace

void TieRange::add_block(std::int64_t central_count, std::int64_t state_count) {
    if (central_count <= 0 && state_count <= 0) {
        return;
    }
    if (central_count > 0 && state_count > 0) {
        ++tied_values_;
    }
    std::int64_t count[2] = {central_count, state_count};
    std::int64_t fewest[2] = {none, none};
    std::int64_t most[2] = {none, none};
    for (int first : {central, state}) {
        for (int last : {central, state}) {
            const BlockRuns runs = block_runs(count, first, last);
            if (runs.most == 0) {
                continue;
            }
            auto offer = [&](std::int64_t low, std::int64_t high) {
                fewest[last] = fewest[last] == none ? low : std::min(fewest[last], low);
                most[last] = std::max(most[last], high);
            };
            if (empty_) {
                offer(runs.fewest, runs.most);
                continue;
            }
            for (int before : {central, state}) {
                if (fewest_[before] == none) {
                    continue;
                }
                // A block that starts with the kind the sequence ends with continues its run.
                const std::int64_t joined = before == first ? 1 : 0;
                offer(fewest_[before] + runs.fewest - joined, most_[before] + runs.most - joined);
            }
        }
    }
    std::copy(std::begin(fewest), std::end(fewest), std::begin(fewest_));
    std::copy(std::begin(most), std::end(most), std::begin(most_));
    empty_ = false;
}

std::int64_t TieRange::fewest_runs() const {
    if (empty_) {
        return 0;
    }
    if (fewest_[central] == none) {
        return fewest_[state];
    }
    if (fewest_[state] == none) {
        return fewest_[central];
    }
    return std::min(fewest_[central], fewest_[state]);
}

std::int64_t TieRange::most_runs() const {
    return empty_ ? 0 : std::max(most_[central], most_[state]);
}

}  // namespace vesk

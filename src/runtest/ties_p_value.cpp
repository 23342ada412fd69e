#include "runtest/ties_p_value.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/random_table.h"
#include "runtest/log_space.h"
#include "runtest/runs_distribution.h"

namespace vesk {

namespace {

constexpr double tolerance = 1 + 64 * std::numeric_limits<double>::epsilon();

// T is symmetric in the two samples, so a relabelling is counted by where the records of the
// smaller sample fall: fewer vectors to visit.
struct SmallerSide {
    std::vector<std::int64_t> sizes;     // k_j
    std::vector<std::int64_t> observed;  // c_j of the data
    std::int64_t records = 0;            // sum of c_j
    std::int64_t total = 0;              // N
};

SmallerSide smaller_side(const std::vector<TieBlock>& blocks) {
    std::int64_t central = 0;
    std::int64_t state = 0;
    for (const TieBlock& block : blocks) {
        central += block.central;
        state += block.state;
    }
    SmallerSide side;
    const bool by_central = central <= state;
    side.records = by_central ? central : state;
    side.total = central + state;
    for (const TieBlock& block : blocks) {
        side.sizes.push_back(block.size());
        side.observed.push_back(by_central ? block.central : block.state);
    }
    return side;
}

int neighbours(std::size_t block, std::size_t blocks) {
    return (block > 0 ? 1 : 0) + (block + 1 < blocks ? 1 : 0);
}

// With shares x_j = c_j / k_j, T = 1 + sum_j x_j (2 k_j (1 - x_j) + e_j) - 2 sum_{j<J} x_j x_{j+1}:
// block j's part, given the share of the block before it. A block without records of the side
// adds exactly 0, so the enumeration, which skips such blocks, sums the same doubles as this.
double t_increment(std::int64_t size, int neighbours, double share, double share_before) {
    return share * (2 * static_cast<double>(size) * (1 - share) + neighbours) -
           2 * share * share_before;
}

double t_of_counts(const std::vector<std::int64_t>& sizes, const std::int64_t* counts) {
    double t = 1;
    double before = 0;
    for (std::size_t j = 0; j < sizes.size(); ++j) {
        const double share = static_cast<double>(counts[j]) / static_cast<double>(sizes[j]);
        t += t_increment(sizes[j], neighbours(j, sizes.size()), share, before);
        before = share;
    }
    return t;
}

// One choice of the enumeration: the next block that holds records of the side, and how many.
struct Choice {
    std::size_t block = 0;
    std::int64_t count = 0;
    std::int64_t left = 0;  // records still to place, this choice's among them
    double t = 1;           // T of the choices before
    double log_weight = 0;  // of the choices before
    bool after_block = false;
    std::size_t block_before = 0;
    double share_before = 0;
};

}  // namespace

std::int64_t block_count_vectors(const std::vector<std::int64_t>& sizes, std::int64_t smaller,
                                 std::int64_t limit) {
    const std::int64_t over = limit + 1;
    const auto blocks = static_cast<std::int64_t>(sizes.size());
    if (smaller < 0) {
        return 0;
    }
    // One record in each of `smaller` different blocks already makes C(J, smaller) vectors.
    if (smaller <= blocks && log_choose(blocks, smaller) > std::log(static_cast<double>(limit))) {
        return over;
    }
    // count[t]: vectors over the blocks so far that place t records, capped at over. The count
    // does not depend on the blocks' order: the largest first reach the limit soonest.
    std::vector<std::int64_t> order = sizes;
    std::sort(order.rbegin(), order.rend());
    std::int64_t unplaced_room = 0;
    for (std::int64_t k : order) {
        unplaced_room += k;
    }
    std::vector<std::int64_t> count = {1};
    std::vector<std::int64_t> prefix;
    for (std::int64_t k : order) {
        unplaced_room -= k;
        const std::size_t reach = static_cast<std::size_t>(
            std::min<std::int64_t>(smaller, static_cast<std::int64_t>(count.size()) - 1 + k));
        prefix.assign(count.size() + 1, 0);
        for (std::size_t t = 0; t < count.size(); ++t) {
            prefix[t + 1] = prefix[t] + count[t];
        }
        std::vector<std::int64_t> next(reach + 1);
        std::int64_t completable = 0;  // vectors so far that the blocks left can complete
        for (std::size_t t = 0; t <= reach; ++t) {
            const std::size_t high = std::min(t, count.size() - 1);
            const std::size_t low =
                t >= static_cast<std::size_t>(k) ? t - static_cast<std::size_t>(k) : 0;
            next[t] = low <= high ? std::min(over, prefix[high + 1] - prefix[low]) : 0;
            if (static_cast<std::int64_t>(t) + unplaced_room >= smaller) {
                completable = std::min(over, completable + next[t]);
            }
        }
        count = std::move(next);
        if (completable >= over) {
            return over;  // each completes to at least one vector
        }
    }
    return static_cast<std::size_t>(smaller) < count.size()
               ? count[static_cast<std::size_t>(smaller)]
               : 0;
}

Probability exact_p_over_ties(const std::vector<TieBlock>& blocks) {
    const SmallerSide side = smaller_side(blocks);
    const std::vector<std::int64_t>& sizes = side.sizes;
    const std::size_t count = sizes.size();
    if (side.records == 0 || count == 0) {
        return Probability::of(1);  // one relabelling only
    }
    const double bar = t_of_counts(sizes, side.observed.data()) * tolerance;
    // room[j]: records the blocks from j on can take.
    std::vector<std::int64_t> room(count + 1, 0);
    for (std::size_t j = count; j-- > 0;) {
        room[j] = room[j + 1] + sizes[j];
    }
    const std::int64_t largest = *std::max_element(sizes.begin(), sizes.end());
    std::vector<double> log_factorial(static_cast<std::size_t>(largest) + 1);
    for (std::size_t i = 0; i < log_factorial.size(); ++i) {
        log_factorial[i] = std::lgamma(static_cast<double>(i) + 1);
    }
    const auto log_ways = [&](std::int64_t k, std::int64_t c) {
        const auto at = [&](std::int64_t i) { return log_factorial[static_cast<std::size_t>(i)]; };
        return at(k) - at(c) - at(k - c);
    };
    // The first choice from block `from` on that leaves a placeable remainder.
    const auto first_choice = [&](Choice& choice, std::size_t from) {
        for (std::size_t j = from; j < count && room[j] >= choice.left; ++j) {
            choice.block = j;
            choice.count = std::max<std::int64_t>(1, choice.left - room[j + 1]);
            return true;
        }
        return false;
    };
    const auto next_choice = [&](Choice& choice) {
        if (choice.count < std::min(sizes[choice.block], choice.left)) {
            ++choice.count;
            return true;
        }
        return first_choice(choice, choice.block + 1);
    };

    LogSum extreme;
    LogSum all;
    std::vector<Choice> path;
    Choice root;
    root.left = side.records;
    first_choice(root, 0);
    path.push_back(root);
    while (!path.empty()) {
        const Choice& choice = path.back();
        const std::size_t j = choice.block;
        const double share = static_cast<double>(choice.count) / static_cast<double>(sizes[j]);
        const bool adjacent = choice.after_block && choice.block_before + 1 == j;
        const double t = choice.t + t_increment(sizes[j], neighbours(j, count), share,
                                                adjacent ? choice.share_before : 0.0);
        const double log_weight = choice.log_weight + log_ways(sizes[j], choice.count);
        const std::int64_t left = choice.left - choice.count;
        if (left > 0) {
            Choice deeper;
            deeper.left = left;
            deeper.t = t;
            deeper.log_weight = log_weight;
            deeper.after_block = true;
            deeper.block_before = j;
            deeper.share_before = share;
            first_choice(deeper, j + 1);  // room[j] >= left + count makes one
            path.push_back(deeper);
            continue;
        }
        all.add(log_weight);
        if (t <= bar) {
            extreme.add(log_weight);
        }
        while (!path.empty() && !next_choice(path.back())) {
            path.pop_back();
        }
    }
    return Probability::from_log(extreme.log() - all.log());
}

TiesPValue monte_carlo_p_over_ties(const std::vector<TieBlock>& blocks, int draws,
                                   std::uint64_t seed) {
    const SmallerSide side = smaller_side(blocks);
    const double bar = t_of_counts(side.sizes, side.observed.data()) * tolerance;
    RandomTables random({side.records, side.total - side.records}, side.sizes, seed);
    int extreme = 0;
    for (int draw = 0; draw < draws; ++draw) {
        // The first row of the table: the side's records in each block.
        if (t_of_counts(side.sizes, random.next().data()) <= bar) {
            ++extreme;
        }
    }
    const double p = (1.0 + extreme) / (draws + 1.0);
    return {Probability::of(p), "Monte Carlo over ties (" + std::to_string(draws) + ")",
            std::sqrt(p * (1 - p) / draws)};
}

TiesPValue runs_p_value(const TieBlocks& blocks, std::int64_t runs, double z_t,
                        std::uint64_t seed) {
    if (!blocks.any_tie()) {
        return {runs_cdf(blocks.central(), blocks.state(), runs), "exact", std::nullopt};
    }
    if (blocks.count() == 1) {
        return {Probability::of(1), "exact over ties", std::nullopt};  // T is the same for all
    }
    const std::vector<TieBlock>& kept = blocks.kept();
    if (!kept.empty()) {
        std::vector<std::int64_t> sizes;
        for (const TieBlock& block : kept) {
            sizes.push_back(block.size());
        }
        if (block_count_vectors(sizes, std::min(blocks.central(), blocks.state())) <=
            enumeration_limit) {
            return {exact_p_over_ties(kept), "exact over ties", std::nullopt};
        }
        if (blocks.count() <= monte_carlo_block_limit) {
            return monte_carlo_p_over_ties(kept, monte_carlo_draws, seed);
        }
    }
    return {normal_lower_tail(z_t), "normal over ties", std::nullopt};
}

}  // namespace vesk

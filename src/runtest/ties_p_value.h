#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/probability.h"
#include "runtest/tie_blocks.h"

namespace vesk {

// The p-value of T (see TieBlocks) under permutation of the sample labels over a group's
// records, n, m and every block's size fixed: P(T* <= t), few runs meaning the samples are
// separated. A relabelling counts by its block-count vector (the smaller sample's records in each
// block), weighted prod_j C(k_j, c_j) / C(N, n). T* within t (1 + 64 eps) counts as extreme, so
// rounding cannot drop the observed vector.

// Up to this many block-count vectors are enumerated.
inline constexpr std::int64_t enumeration_limit = 100000;
// Beyond the enumeration, up to this many blocks are drawn at random.
inline constexpr std::int64_t monte_carlo_block_limit = 1000;
inline constexpr int monte_carlo_draws = 10000;

struct TiesPValue {
    Probability p = Probability::of(1);
    std::string source;
    std::optional<double> standard_error;  // of a Monte Carlo p
};

// The block-count vectors of k_j = sizes[j] with sum smaller, counted up to limit + 1.
std::int64_t block_count_vectors(const std::vector<std::int64_t>& sizes, std::int64_t smaller,
                                 std::int64_t limit = enumeration_limit);

// Exact, by enumerating every block-count vector.
Probability exact_p_over_ties(const std::vector<TieBlock>& blocks);

// (1 + draws with T* <= t) / (draws + 1), the block counts drawn from their multivariate
// hypergeometric distribution, and its standard error.
TiesPValue monte_carlo_p_over_ties(const std::vector<TieBlock>& blocks, int draws,
                                   std::uint64_t seed);

// The primary p-value of a group holding both samples: without ties the exact P(R <= runs);
// one block, 1; exact while the block-count vectors are at most enumeration_limit; Monte Carlo
// (seeded with seed) while the blocks are at most monte_carlo_block_limit; else the normal
// lower tail of z_t, T's z from its exact permutation moments.
TiesPValue runs_p_value(const TieBlocks& blocks, std::int64_t runs, double z_t, std::uint64_t seed);

}  // namespace vesk

#pragma once

#include <cstdint>
#include <vector>

namespace vesk {

// The records of one parameter value: a block, in which the data give no order.
struct TieBlock {
    std::int64_t central = 0;
    std::int64_t state = 0;
    std::int64_t size() const { return central + state; }
};

// Up to this many blocks are kept for the exact and Monte Carlo p-values; a group with more
// has more block-count vectors than the enumeration takes and too many blocks to draw, so its
// p-value is the normal one, found from the sums kept here.
inline constexpr std::int64_t kept_block_limit = 100000;

// Fed the blocks of a group in parameter order, this finds T, the expected number of runs over
// uniformly random orders within every block,
//   T = 1 + sum_j 2 a_j b_j / k_j + sum_{j<J} (a_j b_{j+1} + b_j a_{j+1}) / (k_j k_{j+1})
// (a_j central and b_j state records of k_j in block j), and the sums its mean and variance
// under permutation of the sample labels need. Without ties (every k_j = 1) T is the number of
// runs.
class TieBlocks {
  public:
    void add_block(std::int64_t central, std::int64_t state);

    std::int64_t count() const { return count_; }
    std::int64_t central() const { return central_; }
    std::int64_t state() const { return state_; }
    // A block of two or more records.
    bool any_tie() const { return any_tie_; }
    double t() const;
    // E T and Var T when the sample labels of the group's records are permuted.
    double expected_t() const;
    double variance_t() const;
    // The blocks in parameter order; empty when there were more than kept_block_limit.
    const std::vector<TieBlock>& kept() const { return kept_; }

  private:
    std::int64_t count_ = 0;
    std::int64_t central_ = 0;
    std::int64_t state_ = 0;
    bool any_tie_ = false;
    std::vector<TieBlock> kept_;
    TieBlock last_;
    double t_sum_ = 0;  // T - 1
    // S1 / 4 and S2 / 4 of the variance; S2's term of the last block waits for its neighbours.
    double s1_quarter_ = 0;
    double s2_quarter_ = 0;
    bool last_has_before_ = false;
};

}  // namespace vesk

#pragma once

#include <cstdint>

namespace vesk {

// Within a stretch of equal parameter values the order of the records is arbitrary, so the
// number of runs is only known up to the order chosen there. Fed the blocks of equal values in
// parameter order, with the number of central and state records in each, this finds the fewest
// and the most runs any order within the blocks could give. It keeps, for each kind a block may
// end with, the fewest and most runs so far, so it needs no memory per record.
class TieRange {
  public:
    void add_block(std::int64_t central, std::int64_t state);

    // Blocks that hold records of both kinds: the ties that make the count depend on the order.
    std::int64_t tied_values() const { return tied_values_; }
    std::int64_t fewest_runs() const;
    std::int64_t most_runs() const;

  private:
    static constexpr std::int64_t none = -1;
    // Index 0: the sequence so far ends with a central record; 1: with a state record.
    std::int64_t fewest_[2] = {none, none};
    std::int64_t most_[2] = {none, none};
    bool empty_ = true;
    std::int64_t tied_values_ = 0;
};

}  // namespace vesk

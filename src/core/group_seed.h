#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

// Which test's Monte Carlo draws a seed is for, so the two tests of one group draw apart.
enum class DrawStream : std::uint64_t { runs = 1, chi_square = 2 };

// The seed of a group's Monte Carlo draws, from its values: the same data always give the same
// p-value, and each group draws its own numbers, so the errors of different groups are
// independent.
std::uint64_t group_seed(const std::vector<std::string>& group_values, DrawStream stream);

}  // namespace vesk

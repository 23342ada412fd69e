#pragma once

#include <cstdint>

namespace vesk {

// A record of the runs test in twelve bytes: the parameter, and the group and sample numbered in
// one key, the sample in its low byte.
#pragma pack(push, 4)
struct PackedRecord {
    double param;
    std::uint32_t key;
};
#pragma pack(pop)
static_assert(sizeof(PackedRecord) == 12);

inline constexpr int sample_bits = 8;
inline constexpr std::uint32_t sample_mask = (1u << sample_bits) - 1;
inline constexpr std::uint32_t sample_limit = 1u << sample_bits;
inline constexpr std::uint32_t group_limit = 1u << (32 - sample_bits);

inline std::uint32_t group_of(const PackedRecord& record) {
    return record.key >> sample_bits;
}

}  // namespace vesk

#include "core/group_seed.h"

namespace vesk {

namespace {

// SplitMix64's finaliser: every bit of the hash moves about half of the seed's bits.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

}  // namespace

std::uint64_t group_seed(const std::vector<std::string>& group_values, DrawStream stream) {
    // FNV-1a over each value's length and bytes, so ("ab", "c") and ("a", "bc") differ.
    std::uint64_t hash = 0xcbf29ce484222325ULL ^ static_cast<std::uint64_t>(stream);
    const auto add = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
    };
    for (const std::string& value : group_values) {
        std::uint64_t length = value.size();
        for (int i = 0; i < 8; ++i, length >>= 8) {
            add(static_cast<unsigned char>(length & 0xff));
        }
        for (const char c : value) {
            add(static_cast<unsigned char>(c));
        }
    }
    return mix(hash);
}

}  // namespace vesk

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

// SHA-256, so a provenance record can name exactly which bytes a result came from.
class Sha256 {
  public:
    Sha256();
    void update(const void* data, std::size_t size);
    void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string hex_digest();

  private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

// The digest of a whole file; throws vesk::Error naming the file when it cannot be read.
std::string sha256_of_file(const std::string& path);

}  // namespace vesk

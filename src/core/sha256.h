#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace vesk {

// SHA-256, so a provenance record can name exactly which bytes a result came from. OpenSSL does
// the hashing: it uses the processor's SHA instructions, so hashing an input while it is read
// costs little beside the import.
class Sha256 {
  public:
    Sha256();
    Sha256(Sha256&&) noexcept;
    Sha256& operator=(Sha256&&) noexcept;
    ~Sha256();

    void update(const void* data, std::size_t size);
    void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string hex_digest();

  private:
    struct Free {
        void operator()(evp_md_ctx_st* context) const;
    };
    std::unique_ptr<evp_md_ctx_st, Free> context_;
};

// The digest of a whole file; throws vesk::Error naming the file when it cannot be read.
std::string sha256_of_file(const std::string& path);

}  // namespace vesk

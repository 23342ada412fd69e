#pragma once

#include <array>
#include <streambuf>

namespace vesk {

// An output stream buffer over an open file descriptor that keeps the reason of the first write
// that failed, so a failure found only at the last flush can still be named.
class FdOutputBuffer : public std::streambuf {
  public:
    explicit FdOutputBuffer(int fd);
    FdOutputBuffer(const FdOutputBuffer&) = delete;
    FdOutputBuffer& operator=(const FdOutputBuffer&) = delete;

    // errno of the first failed write; 0 while every write succeeded.
    int error() const { return error_; }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int sync() override;

  private:
    bool drain();
    bool write_all(const char* data, std::size_t size);

    int fd_;
    int error_ = 0;
    std::array<char, 64 * 1024> buffer_;
};

}  // namespace vesk

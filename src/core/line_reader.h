#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sha256.h"

namespace vesk {

// Reads a text file line by line through a large buffer, in one pass, so a pipe or standard input
// reads as well as a regular file. A line ends with CR LF, LF or a lone CR; the line end is not
// part of the line. A last line without a line end still counts. A UTF-8 byte-order mark at the
// start is not data: it is skipped, not part of the first line. Every byte read, the mark
// included, goes into a count and a SHA-256, which say exactly what was read.
class LineReader {
  public:
    // Opens a file of any kind (a pipe blocks here until a writer opens it). Throws vesk::Error
    // naming the file and the reason when it cannot be opened or is a directory.
    explicit LineReader(const std::string& path);
    // Reads standard input; its name is "-".
    static LineReader standard_input();

    // Sets line to the next line (valid until the next call) and returns true, or returns false
    // at the end of the file. Throws vesk::Error when the file cannot be read.
    bool next(std::string_view& line);

    // The first line, read ahead without being taken: next() still returns it. Call before
    // next(). Nothing when the input holds no byte.
    struct FirstLine {
        std::size_t length = 0;
        bool ended = false;  // a line end follows it
    };
    std::optional<FirstLine> first_line();

    // The input started with a UTF-8 byte-order mark (known once a line has been looked at).
    bool byte_order_mark() const { return byte_order_mark_; }

    const std::string& path() const { return path_; }
    // A regular file; otherwise a pipe, a socket, a device or standard input.
    bool regular() const { return regular_; }
    std::uint64_t bytes_read() const { return consumed_; }
    // The size of a regular file when it was opened; 0 for a stream.
    std::uint64_t file_size() const { return file_size_; }
    // Modification time of a regular file, seconds since 1970 (UTC); nothing for a stream.
    std::optional<std::int64_t> modified() const { return modified_; }
    // After next() has returned false: the SHA-256 of every byte read. Call once.
    std::string sha256_hex() { return hash_.hex_digest(); }

  private:
    struct Closer {
        bool close = true;
        void operator()(std::FILE* f) const {
            if (close) {
                std::fclose(f);
            }
        }
    };
    LineReader(std::FILE* file, Closer closer, std::string path);
    bool fill();
    void skip_byte_order_mark();

    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // first unread byte in buffer_
    std::size_t end_ = 0;    // one past the last valid byte in buffer_
    bool eof_ = false;
    bool started_ = false;
    bool byte_order_mark_ = false;
    std::uint64_t consumed_ = 0;
    bool regular_ = false;
    std::uint64_t file_size_ = 0;
    std::optional<std::int64_t> modified_;
    Sha256 hash_;
};

}  // namespace vesk

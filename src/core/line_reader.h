#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// Reads a text file line by line through a large buffer. A line ends with CR LF, LF or a lone
// CR; the line end is not part of the line. A last line without a line end still counts.
class LineReader {
  public:
    // Throws vesk::Error naming the file and the reason when it cannot be opened.
    explicit LineReader(const std::string& path);

    // Sets line to the next line (valid until the next call) and returns true, or returns false
    // at the end of the file. Throws vesk::Error when the file cannot be read.
    bool next(std::string_view& line);

    std::uint64_t bytes_read() const { return consumed_; }
    std::uint64_t file_size() const { return file_size_; }

  private:
    bool fill();

    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // first unread byte in buffer_
    std::size_t end_ = 0;    // one past the last valid byte in buffer_
    bool eof_ = false;
    std::uint64_t consumed_ = 0;
    std::uint64_t file_size_ = 0;
};

}  // namespace vesk

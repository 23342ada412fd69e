#include "core/line_reader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "core/error.h"

namespace vesk {

namespace {
constexpr std::size_t chunk_size = 1 << 20;

std::FILE* open_for_reading(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        throw Error("cannot open input file " + path + ": it is a directory");
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw Error("cannot open input file " + path + ": " + std::strerror(errno));
    }
    return file;
}
}  // namespace

LineReader::LineReader(const std::string& path) : LineReader(open_for_reading(path), {}, path) {}

LineReader LineReader::standard_input() {
    return LineReader(stdin, Closer{false}, "-");
}

LineReader::LineReader(std::FILE* file, Closer closer, std::string path)
    : file_(file, closer), path_(std::move(path)), buffer_(chunk_size) {
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode)) {
        regular_ = true;
        file_size_ = static_cast<std::uint64_t>(info.st_size);
        modified_ = static_cast<std::int64_t>(info.st_mtime);
    }
}

// Moves the unread bytes to the front and reads more behind them; false when nothing was added.
bool LineReader::fill() {
    if (eof_) {
        return false;
    }
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
    }
    const std::size_t got =
        std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
    if (got == 0) {
        if (std::ferror(file_.get())) {
            throw Error("cannot read input file " + path_ + ": " + std::strerror(errno));
        }
        eof_ = true;
        return false;
    }
    hash_.update(buffer_.data() + end_, got);
    end_ += got;
    return true;
}

void LineReader::skip_byte_order_mark() {
    started_ = true;
    while (end_ - begin_ < 3 && fill()) {
    }
    if (end_ - begin_ >= 3 && std::memcmp(buffer_.data() + begin_, "\xEF\xBB\xBF", 3) == 0) {
        begin_ += 3;
        consumed_ += 3;
        byte_order_mark_ = true;
    }
}

std::optional<LineReader::FirstLine> LineReader::first_line() {
    if (!started_) {
        skip_byte_order_mark();
    }
    std::size_t scan = begin_;
    for (;;) {
        const char* data = buffer_.data();
        for (std::size_t i = scan; i < end_; ++i) {
            if (data[i] == '\n' || data[i] == '\r') {
                return FirstLine{i - begin_, true};
            }
        }
        scan = end_ - begin_;
        if (!fill()) {
            if (begin_ == end_) {
                return std::nullopt;
            }
            return FirstLine{end_ - begin_, false};
        }
        scan += begin_;
    }
}

bool LineReader::next(std::string_view& line) {
    if (!started_) {
        skip_byte_order_mark();
    }
    std::size_t scan = begin_;
    for (;;) {
        const char* data = buffer_.data();
        std::size_t i = scan;
        while (i < end_ && data[i] != '\n' && data[i] != '\r') {
            ++i;
        }
        if (i < end_) {
            std::size_t terminator = 1;
            if (data[i] == '\r') {
                if (i + 1 == end_ && !eof_) {
                    // The LF of a CR LF may be in the next chunk.
                    const std::size_t offset = i - begin_;
                    fill();
                    scan = begin_ + offset;
                    continue;
                }
                if (i + 1 < end_ && data[i + 1] == '\n') {
                    terminator = 2;
                }
            }
            line = std::string_view(data + begin_, i - begin_);
            consumed_ += i - begin_ + terminator;
            begin_ = i + terminator;
            return true;
        }
        const std::size_t offset = i - begin_;
        if (!fill()) {
            if (begin_ == end_) {
                return false;
            }
            line = std::string_view(buffer_.data() + begin_, end_ - begin_);
            consumed_ += end_ - begin_;
            begin_ = end_;
            return true;
        }
        scan = begin_ + offset;
    }
}

}  // namespace vesk

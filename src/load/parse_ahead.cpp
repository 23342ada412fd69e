#include "load/parse_ahead.h"

namespace vesk {

namespace {

// Runs small enough to stay in the processor's cache, large enough that handing them over costs
// nothing: a long line ends a run early.
constexpr std::size_t lines_per_run = 1024;
constexpr std::size_t text_per_run = 128 * 1024;

}  // namespace

ParseAhead::ParseAhead(LineReader& reader, LineParser& parser) : reader_(reader), parser_(parser) {
    for (ParsedLines& run : runs_) {
        free_.push_back(&run);
    }
    thread_ = std::thread([this] { read_all(); });
}

ParseAhead::~ParseAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ParseAhead::read_all() {
    std::int64_t number = 0;
    for (;;) {
        ParsedLines* run = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
            if (stopping_) {
                return;
            }
            run = free_.front();
            free_.pop_front();
        }
        const bool last = fill(*run, number);
        {
            const std::lock_guard lock(mutex_);
            filled_.push_back(run);
        }
        changed_.notify_all();
        if (last) {
            return;
        }
    }
}

// True when the input is read to its end or failed.
bool ParseAhead::fill(ParsedLines& parsed, std::int64_t& number) {
    parsed.clear();
    try {
        std::string_view line;
        while (parsed.lines.size() < lines_per_run && parsed.text.size() < text_per_run) {
            if (!reader_.next(line)) {
                parsed.last = true;
                break;
            }
            parser_.parse(line, ++number, parsed);
        }
    } catch (...) {
        parsed.error = std::current_exception();
        parsed.last = true;
    }
    parsed.bytes_read = reader_.bytes_read();
    return parsed.last;
}

const ParsedLines* ParseAhead::next() {
    std::unique_lock lock(mutex_);
    if (taken_ != nullptr) {
        finished_ = taken_->last;
        free_.push_back(taken_);
        taken_ = nullptr;
        changed_.notify_all();
    }
    if (finished_) {
        return nullptr;
    }
    changed_.wait(lock, [this] { return !filled_.empty(); });
    taken_ = filled_.front();
    filled_.pop_front();
    if (taken_->error) {
        finished_ = true;
        std::rethrow_exception(taken_->error);
    }
    return taken_;
}

}  // namespace vesk

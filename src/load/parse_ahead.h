#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "core/line_reader.h"
#include "load/line_parser.h"

namespace vesk {

// Reads and parses the input on a thread of its own, a few hundred lines ahead of the one that
// inserts them: the import then keeps two processors busy instead of one. The reader and the
// parser belong to that thread until this object is gone.
class ParseAhead {
  public:
    ParseAhead(LineReader& reader, LineParser& parser);
    // Stops the thread at its next run of lines (a pipe that sends nothing keeps it waiting) and
    // waits for it.
    ~ParseAhead();
    ParseAhead(const ParseAhead&) = delete;
    ParseAhead& operator=(const ParseAhead&) = delete;

    // The next lines, in input order, valid until the next call; nullptr after the last. Throws
    // what reading or parsing threw, where it threw it.
    const ParsedLines* next();

  private:
    void read_all();
    bool fill(ParsedLines& parsed, std::int64_t& number);

    LineReader& reader_;
    LineParser& parser_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // Each run is in turn free, filled by the reading thread, and taken by the inserting one.
    std::array<ParsedLines, 4> runs_;
    std::deque<ParsedLines*> free_;
    std::deque<ParsedLines*> filled_;
    ParsedLines* taken_ = nullptr;
    bool finished_ = false;  // the last run was taken
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vesk

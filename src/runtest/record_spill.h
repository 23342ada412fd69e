#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "runtest/packed_record.h"

namespace vesk {

// Records put aside in an unnamed temporary file (gone when closed, or when the program ends in
// any way), so that a table larger than memory can be ordered one group at a time. Each batch put
// aside is written group by group, so a group's records are read back in a few long reads.
class RecordSpill {
  public:
    // False when no temporary file can be made.
    bool open();

    // Writes the records, grouped, and empties the vector; group ids are below group_count.
    // False when the file cannot take them.
    bool put_aside(std::vector<PackedRecord>& records, std::uint32_t group_count);

    // Replaces out with the records of the group id put aside. False when they cannot be read.
    bool read_group(std::uint32_t group, std::vector<PackedRecord>& out);

    // The records of the largest group.
    std::size_t largest_group() const;

  private:
    struct Run {
        std::int64_t offset;
        std::size_t count;
    };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, std::fclose};
    std::int64_t size_ = 0;
    std::vector<std::vector<Run>> runs_;  // by group id
    std::vector<std::size_t> counts_;     // by group id
};

}  // namespace vesk

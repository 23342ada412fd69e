#include "runtest/record_spill.h"

#include <algorithm>

#include "runtest/bucket_sort.h"

namespace vesk {

bool RecordSpill::open() {
    file_.reset(std::tmpfile());
    return file_ != nullptr;
}

bool RecordSpill::put_aside(std::vector<PackedRecord>& records, std::uint32_t group_count) {
    runs_.resize(group_count);
    counts_.resize(group_count, 0);
    const BucketBounds bounds = move_into_buckets(records, group_count, group_of);
    if (std::fseek(file_.get(), 0, SEEK_END) != 0) {
        return false;
    }
    for (std::uint32_t g = 0; g < group_count; ++g) {
        const std::size_t count = bounds.end[g] - bounds.begin[g];
        if (count == 0) {
            continue;
        }
        if (std::fwrite(records.data() + bounds.begin[g], sizeof(PackedRecord), count,
                        file_.get()) != count) {
            return false;
        }
        runs_[g].push_back({size_, count});
        counts_[g] += count;
        size_ += static_cast<std::int64_t>(count * sizeof(PackedRecord));
    }
    records.clear();
    // Every write reaches the file before a read begins.
    return std::fflush(file_.get()) == 0;
}

bool RecordSpill::read_group(std::uint32_t group, std::vector<PackedRecord>& out) {
    out.clear();
    if (group >= runs_.size()) {
        return true;
    }
    out.resize(counts_[group]);
    std::size_t at = 0;
    for (const Run& run : runs_[group]) {
        if (fseeko(file_.get(), static_cast<off_t>(run.offset), SEEK_SET) != 0 ||
            std::fread(out.data() + at, sizeof(PackedRecord), run.count, file_.get()) !=
                run.count) {
            return false;
        }
        at += run.count;
    }
    return true;
}

std::size_t RecordSpill::largest_group() const {
    return counts_.empty() ? 0 : *std::max_element(counts_.begin(), counts_.end());
}

}  // namespace vesk

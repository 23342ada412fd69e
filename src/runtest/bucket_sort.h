#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace vesk {

// Fewer items are ordered by this thread alone: starting another would cost more than it saves.
inline constexpr std::size_t parallel_from = 1 << 14;

// Where each bucket's items lie once moved into place: items [begin[b], end[b]) are bucket b's.
struct BucketBounds {
    std::vector<std::size_t> begin;
    std::vector<std::size_t> end;
};

// Moves the items into their buckets (0 to bucket_count - 1) in place, in one pass; the order
// within a bucket is not kept.
template <class T, class BucketOf>
BucketBounds move_into_buckets(std::vector<T>& items, std::size_t bucket_count,
                               BucketOf bucket_of) {
    BucketBounds bounds{std::vector<std::size_t>(bucket_count, 0),
                        std::vector<std::size_t>(bucket_count, 0)};
    std::vector<std::size_t>& begin = bounds.begin;
    std::vector<std::size_t>& end = bounds.end;
    for (const T& item : items) {
        ++end[bucket_of(item)];
    }
    for (std::size_t b = 0, at = 0; b < bucket_count; ++b) {
        begin[b] = at;
        at += end[b];
        end[b] = at;
    }
    // Each bucket fills from its start: an item out of place is swapped into the next free place
    // of its own bucket, so every swap settles one item.
    std::vector<std::size_t> next = begin;
    for (std::size_t b = 0; b < bucket_count; ++b) {
        while (next[b] < end[b]) {
            const std::size_t target = bucket_of(items[next[b]]);
            if (target == b) {
                ++next[b];
            } else {
                std::swap(items[next[b]], items[next[target]++]);
            }
        }
    }
    return bounds;
}

// Orders items by their bucket (0 to bucket_count - 1), then within a bucket by less. The items
// are first moved into their buckets; the buckets are then independent, and a second thread
// orders about half of the items while this one orders the rest.
template <class T, class BucketOf, class Less>
void sort_in_buckets(std::vector<T>& items, std::size_t bucket_count, BucketOf bucket_of,
                     Less less) {
    const BucketBounds bounds = move_into_buckets(items, bucket_count, bucket_of);
    const std::vector<std::size_t>& begin = bounds.begin;
    const std::vector<std::size_t>& end = bounds.end;

    const auto sort_buckets = [&](std::size_t first, std::size_t last) {
        for (std::size_t b = first; b < last; ++b) {
            std::sort(items.begin() + static_cast<std::ptrdiff_t>(begin[b]),
                      items.begin() + static_cast<std::ptrdiff_t>(end[b]), less);
        }
    };
    // The first buckets up to half of the items go to the helper.
    std::size_t split = 0;
    while (split < bucket_count && end[split] <= items.size() / 2) {
        ++split;
    }
    if (items.size() < parallel_from || std::thread::hardware_concurrency() < 2 || split == 0) {
        sort_buckets(0, bucket_count);
        return;
    }
    std::thread helper;
    try {
        helper = std::thread(sort_buckets, 0, split);
    } catch (const std::system_error&) {
        sort_buckets(0, bucket_count);
        return;
    }
    sort_buckets(split, bucket_count);
    helper.join();
}

}  // namespace vesk

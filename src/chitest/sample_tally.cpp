#include "chitest/sample_tally.h"

#include <algorithm>
#include <numeric>

namespace vesk {

std::size_t SampleTally::group(const std::vector<Cell>& values) {
    ids_.resize(values.size());
    key_.clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
        ids_[i] = columns_[i].id(values[i]);
        key_.append(reinterpret_cast<const char*>(&ids_[i]), sizeof ids_[i]);
    }
    const auto [found, added] = by_key_.try_emplace(key_, groups_.size());
    if (added) {
        keys_.push_back(ids_);
        groups_.emplace_back();
    }
    return found->second;
}

void SampleTally::add(std::size_t group, std::size_t category, bool central) {
    std::vector<SampleCounts>& counts = groups_[group];
    if (category >= counts.size()) {
        counts.resize(category + 1);
    }
    ++(central ? counts[category].central : counts[category].other);
}

std::vector<std::string> SampleTally::group_texts(std::size_t group) const {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        texts.push_back(columns_[i].text(keys_[group][i]));
    }
    return texts;
}

std::vector<std::optional<double>> SampleTally::group_numbers(std::size_t group) const {
    std::vector<std::optional<double>> numbers;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        numbers.push_back(columns_[i].number(keys_[group][i]));
    }
    return numbers;
}

std::vector<std::size_t> SampleTally::ordered_groups() const {
    std::vector<std::size_t> order(groups_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const std::size_t x = keys_[a][i];
            const std::size_t y = keys_[b][i];
            if (x != y) {
                return columns_[i].before(x, y);
            }
        }
        return false;
    });
    return order;
}

}  // namespace vesk

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/cell.h"

namespace vesk {

// Numbers the distinct texts the values of one column read as: a number by its general form
// (15 significant digits), null and empty as "". Values that read alike share one number, so
// records are classified, listed and grouped by the text the user sees. Each distinct number is
// written as text once, not once per record.
class TextIds {
  public:
    std::size_t id(const Cell& cell);
    std::size_t size() const { return entries_.size(); }
    const std::string& text(std::size_t id) const { return entries_[id].text; }
    // The number the first value of this text held, for a text that numbers read as: what a group
    // of numbers that read alike is stored as. Nothing for null, empty or text.
    std::optional<double> number(std::size_t id) const {
        return entries_[id].rank == 1 ? std::optional<double>(entries_[id].number) : std::nullopt;
    }
    // Orders ids as the engine orders their values: null and empty first, then numbers by
    // value, then texts byte by byte.
    bool before(std::size_t a, std::size_t b) const;

  private:
    struct Entry {
        std::string text;
        int rank = 0;  // 0 null or empty, 1 number, 2 text
        double number = 0;
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::size_t text_id(std::string_view text, int rank, double number);

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> by_text_;
    std::unordered_map<std::uint64_t, std::size_t> by_number_;  // by the bits of the double
    // The last cell seen: data in key order repeat their values row after row.
    Cell::Kind last_kind_ = Cell::Kind::null;
    double last_number_ = 0;
    std::string last_text_;
    std::size_t last_id_ = static_cast<std::size_t>(-1);
};

}  // namespace vesk

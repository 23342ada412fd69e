#include "chitest/class_lines.h"

#include <algorithm>

#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

namespace {

constexpr std::int64_t frequency_width = 8;

// Blanks that bring the "#" (or the heading's "Total Frequency") to column len + 11; never more
// than 64, and at least one so a long value stays apart from the "#".
std::string gap(std::int64_t len, std::size_t text_length) {
    const std::int64_t wanted = len - static_cast<std::int64_t>(text_length) + 10;
    const auto blanks =
        std::clamp<std::int64_t>(wanted, 1, static_cast<std::int64_t>(spaces64.size()));
    return spaces64.substr(0, static_cast<std::size_t>(blanks));
}

// A count too wide for its column is written in full rather than cut.
std::string frequency_field(std::int64_t count) {
    const std::string digits = std::to_string(count);
    if (static_cast<std::int64_t>(digits.size()) > frequency_width) {
        return digits;
    }
    return pad_field(digits, frequency_width, true);
}

}  // namespace

std::string value_heading(std::string_view param_var, std::int64_t len) {
    return std::string(param_var) + gap(len, param_var.size()) + "Total Frequency";
}

std::string value_line(const ParValue& value) {
    return value.value + gap(value.len, value.value.size()) + "# " + frequency_field(value.freq);
}

std::string in_list_text(const ParValue& value) {
    if (value.type == "C") {
        std::string padded = value.value;
        padded.resize(static_cast<std::size_t>(std::max<std::int64_t>(value.len, 0)), ' ');
        return "'" + padded + "'";
    }
    return std::string(trim_right(value.value));
}

ClassDef make_class(const std::vector<ParValue>& members) {
    ClassDef class_def;
    for (const ParValue& member : members) {
        if (!class_def.members.empty()) {
            class_def.values += ',';
        }
        class_def.values += in_list_text(member);
        class_def.members.push_back(member.value);
    }
    class_def.type.assign(1, class_def.values.starts_with('\'') ? 'C' : 'N');
    return class_def;
}

std::int64_t total_frequency(const std::vector<ParValue>& members) {
    std::int64_t total = 0;
    for (const ParValue& member : members) {
        total += member.freq;
    }
    return total;
}

ClassListText class_list_text(const std::vector<ListedClass>& classes) {
    const std::string number_heading = "No.";
    const std::string values_heading = "Class values";
    const std::size_t number_width =
        std::max(number_heading.size(), std::to_string(classes.size()).size());
    std::size_t values_width = values_heading.size();
    for (const ListedClass& listed : classes) {
        values_width = std::max(values_width, listed.values.size());
    }
    // Not spaces64: a class of many values may be far wider than 64 characters.
    const auto padded = [](const std::string& text, std::size_t width, bool right) {
        const std::string fill(width - std::min(width, text.size()), ' ');
        return right ? fill + text : text + fill;
    };
    ClassListText text;
    text.heading = padded(number_heading, number_width, false) + "  " +
                   padded(values_heading, values_width, false) + "  Total Frequency";
    for (std::size_t k = 0; k < classes.size(); ++k) {
        text.lines.push_back(padded(std::to_string(k + 1), number_width, true) + "  " +
                             padded(classes[k].values, values_width, false) + "  # " +
                             frequency_field(classes[k].total));
    }
    return text;
}

}  // namespace vesk

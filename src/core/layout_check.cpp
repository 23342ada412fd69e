#include "core/layout_check.h"

#include <optional>

#include "core/error.h"
#include "core/identifier.h"
#include "core/text.h"
#include "core/variable_table.h"

namespace vesk {

namespace {

constexpr std::size_t max_name_length = 10;

CellCheck refused(std::string_view message) {
    return {false, std::string(message)};
}

// Characters, not bytes: a continuation byte of UTF-8 does not start a character.
std::size_t character_count(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

// Blank text counts as 0, as a position typed as nothing; other text must be a number, and is
// checked as the table will hold it: rounded to the nearest whole number.
std::optional<double> position_value(std::string_view text) {
    try {
        return static_cast<double>(stored_position(text).value_or(0));
    } catch (const Error&) {
        return std::nullopt;
    }
}

CellCheck check_name(std::string_view text) {
    const std::size_t length = character_count(text);
    if (length < 1 || length > max_name_length) {
        return refused(name_length_message);
    }
    if (!is_valid_variable_name(text)) {
        return refused(name_identifier_message);
    }
    return {};
}

CellCheck check_start(std::string_view text, std::int64_t rec_len) {
    const auto start = position_value(text);
    if (!start || *start < 1 || *start > static_cast<double>(rec_len)) {
        return refused(start_message);
    }
    return {};
}

CellCheck check_length(std::string_view text, const LayoutCellContext& context) {
    const auto length = position_value(text);
    const auto start =
        trim(context.stored_start).empty() ? std::nullopt : position_value(context.stored_start);
    if (!length || !start || *length < 1 ||
        *start + *length - 1 > static_cast<double>(context.rec_len)) {
        return refused(length_message);
    }
    return {};
}

CellCheck check_decimals(std::string_view text, std::string_view stored_length) {
    const auto decimals = position_value(text);
    const auto length = trim(stored_length).empty() ? std::nullopt : position_value(stored_length);
    if (decimals && *decimals >= 0 && (!length || *decimals <= *length)) {
        return {};
    }
    const std::string bound =
        length ? "the length " + std::to_string(static_cast<std::int64_t>(*length))
               : std::string("the field's length");
    return refused("Decimals: a whole number from 0 to " + bound + " please, not \"" +
                   std::string(text) + "\"");
}

bool is_one_of(std::string_view text, std::string_view a, std::string_view b) {
    const std::string upper = to_upper(text);
    return upper == a || upper == b;
}

}  // namespace

CellCheck check_layout_cell(int column, std::string_view text, const LayoutCellContext& context) {
    switch (column) {
        case column_name:
            return check_name(text);
        case column_start:
            return check_start(text, context.rec_len);
        case column_length:
            return check_length(text, context);
        case column_type:
            return is_one_of(text, "C", "N") ? CellCheck{} : refused(type_message);
        case column_key:
            if (text.empty() && context.empty_key == EmptyKey::passes) {
                return {};
            }
            return is_one_of(text, "Y", "N") ? CellCheck{} : refused(key_message);
        case column_decimals:
            return check_decimals(text, context.stored_length);
        default:
            return {false, {}};
    }
}

CellCheck check_layout_write(int column, std::string_view text) {
    switch (column) {
        case column_name:
            return check_name(text);
        case column_start:
            return position_value(text) ? CellCheck{} : refused(start_message);
        case column_length:
            return position_value(text) ? CellCheck{} : refused(length_message);
        case column_decimals:
            return position_value(text) ? CellCheck{} : check_decimals(text, {});
        default:
            return {};
    }
}

std::string corrected_layout_value(int column, std::string_view text) {
    switch (column) {
        case column_name:
            return to_upper(text);
        case column_type:
            return is_one_of(text, "C", "N") ? to_upper(text) : "C";
        case column_key:
            return text.empty() || is_one_of(text, "Y", "N") ? to_upper(text) : "N";
        default:
            return std::string(text);
    }
}

}  // namespace vesk

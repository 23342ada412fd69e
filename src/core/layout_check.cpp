#include "core/layout_check.h"

#include <optional>

#include "core/error.h"
#include "core/identifier.h"
#include "core/text.h"
#include "core/variable_table.h"

namespace vesk {

namespace {

CellCheck refused(std::string message) {
    return {false, std::move(message)};
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
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
std::optional<std::int64_t> position_value(std::string_view text) {
    try {
        return stored_position(text).value_or(0);
    } catch (const Error&) {
        return std::nullopt;
    }
}

CellCheck check_name(std::string_view text) {
    const std::size_t length = character_count(text);
    if (length < 1) {
        return refused(std::string(name_length_message) + ": the name is empty");
    }
    if (length > max_name_length) {
        return refused(std::string(name_length_message) + ": " + quoted(text) + " has " +
                       std::to_string(length) + " characters");
    }
    const NameFault fault = name_fault(text);
    if (fault != NameFault::none) {
        return refused("Name " + name_fault_text(text, fault));
    }
    return {};
}

std::string not_a_number(const char* what, std::string_view text) {
    return std::string(what) + " " + quoted(text) + " is not a number";
}

std::string beyond(const char* what, std::int64_t position, std::int64_t rec_len) {
    return std::string(what) + " " + std::to_string(position) + " is beyond the record length " +
           std::to_string(rec_len);
}

CellCheck check_start(std::string_view text, std::int64_t rec_len) {
    const auto start = position_value(text);
    if (!start) {
        return refused(not_a_number("Start", text));
    }
    if (*start < 1) {
        return refused("Start " + std::to_string(*start) + ": the first position is 1");
    }
    if (*start > rec_len) {
        return refused(beyond("Start", *start, rec_len));
    }
    return {};
}

CellCheck check_length(std::string_view text, const LayoutCellContext& context) {
    const auto length = position_value(text);
    if (!length) {
        return refused(not_a_number("Length", text));
    }
    if (*length < 1) {
        return refused("Length " + std::to_string(*length) + ": a field is at least 1 long");
    }
    const auto start =
        trim(context.stored_start).empty() ? std::nullopt : position_value(context.stored_start);
    if (!start) {
        return refused("Length " + std::to_string(*length) +
                       ": the row holds no start position to count from");
    }
    if (*start + *length - 1 > context.rec_len) {
        return refused(beyond("End", *start + *length - 1, context.rec_len));
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

CellCheck check_code(std::string_view text, std::string_view a, std::string_view b,
                     std::string_view message) {
    if (is_one_of(text, a, b)) {
        return {};
    }
    return refused(std::string(message) +
                   (text.empty() ? ": the cell is empty" : ", not " + quoted(text)));
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
            return check_code(text, "C", "N", type_message);
        case column_key:
            if (text.empty() && context.empty_key == EmptyKey::passes) {
                return {};
            }
            return check_code(text, "Y", "N", key_message);
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
            return position_value(text) ? CellCheck{} : refused(not_a_number("Start", text));
        case column_length:
            return position_value(text) ? CellCheck{} : refused(not_a_number("Length", text));
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

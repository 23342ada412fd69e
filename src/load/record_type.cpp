#include "load/record_type.h"

#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

RecordType parse_record_type(std::string_view text) {
    const std::size_t equals = text.find('=');
    const std::string_view name = trim(text.substr(0, equals));
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view{} : trim(text.substr(equals + 1));
    if (name.empty() || value.empty()) {
        throw Error(
            "--record-type needs a variable and the value its field reads in the lines "
            "to load, as NAME=VALUE (for example RECTYPE=P), not " +
            std::string(text));
    }
    return {std::string(name), std::string(value)};
}

std::string record_type_text(const RecordType& type) {
    return type.variable + " = " + type.value;
}

RecordTypeFilter::RecordTypeFilter(const std::vector<VarDef>& defs, const RecordType& type)
    : type_(type) {
    const VarDef* field = nullptr;
    for (const VarDef& def : defs) {
        if (iequals(def.name, type.variable)) {
            field = &def;
        }
    }
    if (field == nullptr) {
        throw Error("The record type variable " + type.variable +
                    " is not in the layout: its field tells the record types apart.");
    }
    type_.variable = field->name;
    offset_ = static_cast<std::size_t>(field->start - 1);
    length_ = static_cast<std::size_t>(field->length);
    numeric_ = field->type == "N";
    decimals_ = field->decimals;
    value_ = std::string(trim(type_.value));
    if (numeric_) {
        const auto number = parse_number(value_);
        if (!number) {
            throw Error("The record type " + record_type_text(type_) + " compares the numeric " +
                        "variable " + field->name + " with something that is not a number.");
        }
        number_ = *number;
    }
}

bool RecordTypeFilter::matches(std::string_view line) const {
    const std::string_view field =
        offset_ < line.size() ? line.substr(offset_, length_) : std::string_view{};
    if (numeric_) {
        const auto number = parse_number(field, decimals_);
        return number && *number == number_;
    }
    return trim(field) == value_;
}

std::optional<LineOfType> first_line_of_type(LineReader& reader, const RecordTypeFilter& filter) {
    std::string_view line;
    for (std::int64_t number = 1; reader.next(line); ++number) {
        if (filter.matches(line)) {
            return LineOfType{number, static_cast<std::int64_t>(line.size())};
        }
    }
    return std::nullopt;
}

}  // namespace vesk

#include "load/line_parser.h"

#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

std::vector<FieldSlice> field_slices(const std::vector<VarDef>& defs) {
    std::vector<FieldSlice> fields;
    fields.reserve(defs.size());
    for (const VarDef& def : defs) {
        fields.push_back(FieldSlice{static_cast<std::size_t>(def.start - 1),
                                    static_cast<std::size_t>(def.length), def.type == "N",
                                    def.decimals});
    }
    return fields;
}

void ParsedLines::clear() {
    lines.clear();
    text.clear();
    numbers.clear();
    bytes_read = 0;
    last = false;
    error = nullptr;
}

LineParser::LineParser(const std::vector<VarDef>& defs, const RecordTypeFilter* record_type)
    : fields_(field_slices(defs)), record_type_(record_type) {
    for (const VarDef& def : defs) {
        names_.push_back(def.name);
    }
    for (const FieldSlice& field : fields_) {
        any_numeric_ = any_numeric_ || field.numeric;
    }
}

void LineParser::check_fields_within(std::string_view line, std::int64_t number) const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSlice& field = fields_[i];
        if (field.offset + field.length > line.size()) {
            throw Error("Line " + std::to_string(number) + ", the first of record type " +
                        record_type_text(record_type_->type()) + ", has " +
                        std::to_string(line.size()) + " characters: " + names_[i] + " ends at " +
                        std::to_string(field.offset + field.length) +
                        ", beyond it. The layout must fit the records of the type it loads. " +
                        "Nothing was replaced; the data loaded before are kept.");
        }
    }
}

void LineParser::parse(std::string_view line, std::int64_t number, ParsedLines& parsed) {
    ParsedLines::Line& entry = parsed.lines.emplace_back();
    entry.number = number;
    if (record_type_) {
        if (!record_type_->matches(line)) {
            entry.kind = ParsedLines::Kind::other_type;
            return;
        }
        if (!type_seen_) {
            check_fields_within(line, number);
            type_seen_ = true;
        }
    }
    if (any_numeric_ && trim(line).empty()) {
        entry.kind = ParsedLines::Kind::rejected;
        entry.reason = RejectReason::blank_line;
        return;
    }
    const std::size_t numbers_before = parsed.numbers.size();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSlice& field = fields_[i];
        if (!field.numeric) {
            continue;
        }
        const std::string_view slice = slice_of(line, field);
        const auto value = parse_number(slice, field.decimals);
        if (!value) {
            parsed.numbers.resize(numbers_before);
            entry.kind = ParsedLines::Kind::rejected;
            entry.reason = field.offset >= line.size() ? RejectReason::line_too_short
                           : trim(slice).empty()       ? RejectReason::blank_number
                                                       : RejectReason::not_a_number;
            entry.field = i;
            return;
        }
        parsed.numbers.push_back(*value);
    }
    entry.text = parsed.text.size();
    entry.length = line.size();
    parsed.text.append(line);
}

}  // namespace vesk

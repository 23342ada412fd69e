#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

// One variable as a layout file describes it, before the grid's checks: its cells as text, as
// the grid takes them.
struct SourceVariable {
    std::int64_t line = 0;  // where the file defines it, for messages
    std::string name;       // as written
    std::string start;
    std::string length;
    std::string type;      // C or N
    std::string key;       // Y, N, or empty when the file says nothing of keys
    std::string decimals;  // implied decimals; empty for none
    // The record types it belongs to; empty: every record type.
    std::vector<std::string> record_types;
};

// A variable the file describes in a way a fixed-width record cannot be read by.
struct SourceRefusal {
    std::int64_t line = 0;
    std::string name;
    std::string reason;
};

// The field that tells the record types of a hierarchical file apart, with its values.
struct RecordTypeField {
    std::string variable;  // as written in the file
    std::vector<std::string> values;
};

// What a layout file describes.
struct LayoutSource {
    std::string format;  // for messages: "CSV layout", "DDI codebook", ...
    bool declares_keys = false;
    std::vector<SourceVariable> variables;
    std::vector<SourceRefusal> refusals;
    std::optional<RecordTypeField> record_type;
};

}  // namespace vesk

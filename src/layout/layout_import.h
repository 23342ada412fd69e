#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/variable_table.h"
#include "layout/layout_source.h"

namespace vesk {

// What the user takes of a layout file.
struct LayoutChoice {
    std::vector<std::string> vars;  // the variables kept; empty: every one
    std::vector<std::string>
        keys;  // the key variables; empty: as the file says (none for a codebook)
    // A record type's code: of a file that assigns variables to record types, only the variables
    // of that type (and those of every type) are kept.
    std::optional<std::string> record_type;
};

struct ImportedVariable {
    std::int64_t line = 0;
    std::string written;  // the name as the file writes it
    VariableRow row;      // as table variable holds it; its ID is left to the caller
};

struct ImportedLayout {
    std::string format;
    std::vector<ImportedVariable> variables;     // in the file's order for CSV, else by position
    std::vector<std::string> renamed;            // "ORDER is taken as ORDER_: ..."
    std::vector<SourceRefusal> refused;          // with the grid's reason
    std::optional<RecordTypeField> record_type;  // its variable as taken
};

// Takes the variables of a layout file as the grid would take them typed, against a record of
// rec_len characters: names as written (a word the database reserves with _ appended), each cell
// checked by the grid's rules, a variable failing any of them refused with the grid's message.
// Throws vesk::Error when the choice names a variable or record type the file does not have.
ImportedLayout import_layout(const LayoutSource& source, const LayoutChoice& choice,
                             std::int64_t rec_len);

// The variables of the source that the choice's record type keeps, in the order they are taken.
std::vector<SourceVariable> variables_of_type(const LayoutSource& source,
                                              const std::optional<std::string>& record_type);

// One text for the user: what was taken from the file, what was renamed and what was refused,
// with the reason.
std::string import_report(const ImportedLayout& layout, const std::string& path);

// The rows for table variable.
std::vector<VariableRow> variable_rows(const ImportedLayout& layout);

}  // namespace vesk

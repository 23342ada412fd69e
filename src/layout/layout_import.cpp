#include "layout/layout_import.h"

#include <algorithm>

#include "core/error.h"
#include "core/layout_check.h"
#include "core/text.h"
#include "layout/layout_names.h"

namespace vesk {

namespace {

bool is_csv(const LayoutSource& source) {
    return source.format == "CSV layout";
}

std::int64_t start_of(const SourceVariable& variable) {
    try {
        return stored_position(variable.start).value_or(0);
    } catch (const Error&) {
        return 0;
    }
}

template <typename Named>
bool chosen(const std::vector<std::string>& names, const Named& named) {
    return names.empty() || std::any_of(names.begin(), names.end(), [&](const std::string& typed) {
               return names_variable(typed, named.name);
           });
}

void require_known(const std::vector<std::string>& names, const std::vector<SourceVariable>& kept,
                   const std::vector<SourceRefusal>& refusals, const char* option) {
    std::vector<std::string> unknown;
    for (const std::string& typed : names) {
        const auto names_it = [&typed](const auto& v) { return names_variable(typed, v.name); };
        if (std::none_of(kept.begin(), kept.end(), names_it) &&
            std::none_of(refusals.begin(), refusals.end(), names_it)) {
            unknown.push_back(typed);
        }
    }
    if (!unknown.empty()) {
        throw Error(std::string(option) + " names " + join(unknown, ", ") +
                    ", which the layout does not define");
    }
}

}  // namespace

std::vector<SourceVariable> variables_of_type(const LayoutSource& source,
                                              const std::optional<std::string>& record_type) {
    std::vector<SourceVariable> kept;
    for (const SourceVariable& variable : source.variables) {
        const auto& types = variable.record_types;
        if (!record_type || types.empty() ||
            std::find(types.begin(), types.end(), *record_type) != types.end()) {
            kept.push_back(variable);
        }
    }
    // Codebooks list variables by subject; the grid and table data take them by position.
    if (!is_csv(source)) {
        std::stable_sort(kept.begin(), kept.end(),
                         [](const auto& a, const auto& b) { return start_of(a) < start_of(b); });
    }
    return kept;
}

ImportedLayout import_layout(const LayoutSource& source, const LayoutChoice& choice,
                             std::int64_t rec_len) {
    if (choice.record_type && source.record_type && !source.record_type->values.empty()) {
        const auto& values = source.record_type->values;
        if (std::find(values.begin(), values.end(), *choice.record_type) == values.end()) {
            throw Error("The layout knows no record type " + *choice.record_type +
                        "; its record types are " + join(values, ", "));
        }
    }
    const std::vector<SourceVariable> typed = variables_of_type(source, choice.record_type);
    require_known(choice.vars, typed, source.refusals, "--vars");

    ImportedLayout layout{source.format, {}, {}, {}, source.record_type};
    if (layout.record_type) {
        layout.record_type->variable = importable_name(layout.record_type->variable);
    }
    for (const SourceRefusal& refusal : source.refusals) {
        if (chosen(choice.vars, refusal)) {
            layout.refused.push_back(refusal);
        }
    }
    std::vector<SourceVariable> kept;
    std::copy_if(typed.begin(), typed.end(), std::back_inserter(kept),
                 [&](const SourceVariable& v) { return chosen(choice.vars, v); });
    require_known(choice.keys, kept, {}, "--keys");

    for (const SourceVariable& variable : kept) {
        std::string key = source.declares_keys ? variable.key : "N";
        if (!choice.keys.empty()) {
            key = chosen(choice.keys, variable) ? "Y" : "N";
        }
        const std::string name = importable_name(variable.name);
        const std::string cells[] = {name, variable.start,   variable.length, variable.type,
                                     key,  variable.decimals};
        const LayoutCellContext context{rec_len, variable.start, variable.length, EmptyKey::fails};
        std::string refusal;
        std::vector<std::string> kept_cells;
        for (int column = column_name; column <= column_decimals && refusal.empty(); ++column) {
            const std::string& text = cells[column - column_name];
            const CellCheck check = check_layout_cell(column, text, context);
            refusal = check.passed ? "" : check.message;
            kept_cells.push_back(corrected_layout_value(column, text));
        }
        if (!refusal.empty()) {
            layout.refused.push_back({variable.line, variable.name, refusal});
            continue;
        }
        // A character field has no decimals, whatever a codebook says; 0 is none.
        const std::int64_t decimals = stored_position(kept_cells[5]).value_or(0);
        const VariableRow row{
            0,
            kept_cells[0],
            stored_position(kept_cells[1]),
            stored_position(kept_cells[2]),
            kept_cells[3],
            kept_cells[4],
            kept_cells[3] == "N" && decimals > 0 ? std::optional(decimals) : std::nullopt};
        const auto before = std::find_if(layout.variables.begin(), layout.variables.end(),
                                         [&row](const auto& v) { return v.row.name == row.name; });
        if (before != layout.variables.end()) {
            // One field described for several record types is one variable.
            if (before->row.start != row.start || before->row.length != row.length ||
                before->row.type != row.type) {
                layout.refused.push_back({variable.line, variable.name,
                                          "the name " + *row.name +
                                              " is defined twice (also at line " +
                                              std::to_string(before->line) + ")"});
            }
            continue;
        }
        const std::string note = renaming_note(variable.name);
        if (!note.empty()) {
            layout.renamed.push_back(note);
        }
        layout.variables.push_back({variable.line, variable.name, row});
    }
    return layout;
}

std::string import_report(const ImportedLayout& layout, const std::string& path) {
    std::vector<std::string> names;
    for (const ImportedVariable& variable : layout.variables) {
        names.push_back(*variable.row.name);
    }
    std::string text = std::to_string(layout.variables.size()) + " variable" +
                       (layout.variables.size() == 1 ? "" : "s") + " taken from " + path + " (" +
                       layout.format + ")" + (names.empty() ? "." : ": " + join(names, ", ") + ".");
    for (const std::string& note : layout.renamed) {
        text += "\n" + note + ".";
    }
    if (!layout.refused.empty()) {
        text += "\n" + std::to_string(layout.refused.size()) + " refused:";
        for (const SourceRefusal& refusal : layout.refused) {
            text += "\n  " + refusal.name + " (line " + std::to_string(refusal.line) +
                    "): " + refusal.reason;
        }
    }
    return text;
}

std::vector<VariableRow> variable_rows(const ImportedLayout& layout) {
    std::vector<VariableRow> rows;
    for (const ImportedVariable& variable : layout.variables) {
        rows.push_back(variable.row);
    }
    return rows;
}

}  // namespace vesk

#include "layout/layout_names.h"

#include "core/identifier.h"
#include "core/text.h"

namespace vesk {

namespace {

bool needs_underscore(std::string_view name) {
    const NameFault fault = name_fault(name);
    return fault == NameFault::reserved || fault == NameFault::program_column;
}

}  // namespace

std::string importable_name(std::string_view written) {
    return needs_underscore(written) ? std::string(written) + "_" : std::string(written);
}

std::string renaming_note(std::string_view written) {
    if (!needs_underscore(written)) {
        return {};
    }
    return std::string(written) + " is taken as " + importable_name(written) + ": " +
           name_fault_text(written, name_fault(written));
}

bool names_variable(std::string_view typed, std::string_view written) {
    return iequals(typed, written) || iequals(typed, importable_name(written));
}

}  // namespace vesk

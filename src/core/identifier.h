#pragma once

#include <string>
#include <string_view>

namespace vesk {

// A variable name becomes a column of table data and stands in SQL text, so only plain
// identifiers are taken: letters, digits and '_', starting with a letter, not a word the engine
// reserves, and not CLASS, the column the program adds itself. Length is checked separately.
enum class NameFault { none, first_character, character, reserved, program_column };
NameFault name_fault(std::string_view name);
bool is_valid_variable_name(std::string_view name);

// The rule the name breaks, said of the name: "ORDER is a word the database reserves".
std::string name_fault_text(std::string_view name, NameFault fault);

// Throws vesk::Error "The <role> "<name>" is not a defined variable" unless name is valid.
void require_plain_name(const std::string& name, const char* role);

}  // namespace vesk

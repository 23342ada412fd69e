#pragma once

#include <string>
#include <string_view>

namespace vesk {

// A variable name becomes a column of table data and stands in SQL text, so only plain
// identifiers are taken: letters, digits and '_', starting with a letter, not a word the engine
// reserves, and not CLASS, the column the program adds itself. Length is checked separately.
bool is_valid_variable_name(std::string_view name);

// Throws vesk::Error "The <role> "<name>" is not a defined variable" unless name is valid.
void require_plain_name(const std::string& name, const char* role);

}  // namespace vesk

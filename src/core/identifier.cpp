#include "core/identifier.h"

#include <sqlite3.h>

#include "core/error.h"
#include "core/text.h"

namespace vesk {

namespace {
bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

NameFault name_fault(std::string_view name) {
    if (name.empty() || !is_letter(name.front())) {
        return NameFault::first_character;
    }
    for (const char c : name) {
        if (!is_letter(c) && !is_digit(c) && c != '_') {
            return NameFault::character;
        }
    }
    if (iequals(name, "CLASS")) {
        return NameFault::program_column;
    }
    if (sqlite3_keyword_check(name.data(), static_cast<int>(name.size())) != 0) {
        return NameFault::reserved;
    }
    return NameFault::none;
}

bool is_valid_variable_name(std::string_view name) {
    return name_fault(name) == NameFault::none;
}

std::string name_fault_text(std::string_view name, NameFault fault) {
    const std::string quoted = "\"" + std::string(name) + "\"";
    switch (fault) {
        case NameFault::none:
            break;
        case NameFault::first_character:
            return quoted + " does not start with a letter";
        case NameFault::character: {
            std::size_t at = 0;
            while (is_letter(name[at]) || is_digit(name[at]) || name[at] == '_') {
                ++at;
            }
            // A character of several bytes is named whole.
            std::size_t end = at + 1;
            while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
                ++end;
            }
            const std::string bad =
                name[at] == ' ' ? "a blank" : "\"" + std::string(name.substr(at, end - at)) + "\"";
            return quoted + " holds " + bad + ": a name has letters, digits and _ only";
        }
        case NameFault::program_column:
            return quoted + " is the column CLASS that vesk adds to the data itself";
        case NameFault::reserved:
            return quoted + " is a word the database reserves";
    }
    return {};
}

void require_plain_name(const std::string& name, const char* role) {
    if (!is_valid_variable_name(name)) {
        throw Error(std::string("The ") + role + " \"" + name + "\" is not a defined variable");
    }
}

}  // namespace vesk

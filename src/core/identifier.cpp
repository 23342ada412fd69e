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

bool is_valid_variable_name(std::string_view name) {
    if (name.empty() || !is_letter(name.front())) {
        return false;
    }
    for (const char c : name) {
        if (!is_letter(c) && !is_digit(c) && c != '_') {
            return false;
        }
    }
    if (iequals(name, "CLASS")) {
        return false;
    }
    return sqlite3_keyword_check(name.data(), static_cast<int>(name.size())) == 0;
}

void require_plain_name(const std::string& name, const char* role) {
    if (!is_valid_variable_name(name)) {
        throw Error(std::string("The ") + role + " \"" + name + "\" is not a defined variable");
    }
}

}  // namespace vesk

#include "batch/class_arguments.h"

#include <optional>

#include "chitest/class_lines.h"
#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

namespace {

bool same_value(const ParValue& value, std::string_view written) {
    if (value.type == "N") {
        const auto a = parse_number(value.value);
        const auto b = parse_number(written);
        if (a && b) {
            return *a == *b;
        }
        return trim(value.value) == trim(written);
    }
    return trim_right(value.value) == trim_right(written);
}

std::optional<std::size_t> find_value(const std::vector<ParValue>& par_vals,
                                      std::string_view written) {
    for (std::size_t i = 0; i < par_vals.size(); ++i) {
        if (same_value(par_vals[i], written)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace

ClassArguments match_class_arguments(const std::vector<std::string>& arguments,
                                     const std::vector<ParValue>& par_vals) {
    ClassArguments result;
    // Which class (1-based) each value went into; 0 while unclassified.
    std::vector<std::size_t> class_of(par_vals.size(), 0);
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        std::vector<ParValue> members;
        for (const std::string& written : split(arguments[k], ',')) {
            const auto index = find_value(par_vals, written);
            if (!index) {
                result.warnings.push_back("the parameter has no value \"" + written +
                                          "\" in this data (class " + std::to_string(k + 1) +
                                          "); it is ignored");
                continue;
            }
            if (class_of[*index] != 0) {
                throw Error("The value \"" + par_vals[*index].value + "\" is given in class " +
                            std::to_string(class_of[*index]) +
                            (class_of[*index] == k + 1 ? " twice"
                                                       : " and in class " + std::to_string(k + 1)));
            }
            class_of[*index] = k + 1;
            members.push_back(par_vals[*index]);
        }
        result.classes.push_back(make_class(members));
    }
    for (const std::size_t k : class_of) {
        if (k == 0) {
            throw Error("Some parameter values are not classified");
        }
    }
    return result;
}

}  // namespace vesk

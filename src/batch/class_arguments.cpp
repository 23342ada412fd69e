#include "batch/class_arguments.h"

#include <optional>
#include <unordered_map>

#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

namespace {

// Finds a written value among the parameter's values through hash maps, so matching takes time
// linear in the number of values: a number by its value, other text as written without the
// blanks the listing pads with.
class ValueFinder {
  public:
    explicit ValueFinder(const std::vector<ParValue>& par_vals) {
        for (std::size_t i = 0; i < par_vals.size(); ++i) {
            const ParValue& value = par_vals[i];
            if (value.type == "N") {
                if (const auto number = parse_number(value.value)) {
                    by_number_.try_emplace(*number == 0 ? 0.0 : *number, i);
                    continue;
                }
                by_text_.try_emplace(std::string(trim(value.value)), i);
            } else {
                by_text_.try_emplace(std::string(trim_right(value.value)), i);
            }
        }
        numeric_ = !par_vals.empty() && par_vals.front().type == "N";
    }
    std::optional<std::size_t> find(std::string_view written) const {
        if (numeric_) {
            if (const auto number = parse_number(written)) {
                const auto found = by_number_.find(*number == 0 ? 0.0 : *number);
                return found == by_number_.end() ? std::nullopt
                                                 : std::optional<std::size_t>(found->second);
            }
        }
        const auto found =
            by_text_.find(std::string(numeric_ ? trim(written) : trim_right(written)));
        return found == by_text_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
    }

  private:
    bool numeric_ = false;
    std::unordered_map<double, std::size_t> by_number_;
    std::unordered_map<std::string, std::size_t> by_text_;
};

}  // namespace

ClassArguments match_class_arguments(const std::vector<std::string>& arguments,
                                     const std::vector<ParValue>& par_vals) {
    ClassArguments result{ClassScheme(par_vals.size()), {}};
    // Which class (1-based) each value went into; 0 while unclassified.
    std::vector<std::size_t> class_of(par_vals.size(), 0);
    const ValueFinder finder(par_vals);
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        std::vector<std::size_t> members;
        for (const std::string& written : split(arguments[k], ',')) {
            const auto index = finder.find(written);
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
            members.push_back(*index);
        }
        result.scheme.add_class(std::move(members));
    }
    for (const std::size_t k : class_of) {
        if (k == 0) {
            throw Error("Some parameter values are not classified");
        }
    }
    return result;
}

std::string class_argument(const std::vector<ParValue>& members) {
    std::vector<std::string> values;
    for (const ParValue& member : members) {
        values.emplace_back(trim_right(member.value));
    }
    return join(values, ",");
}

}  // namespace vesk

#include "load/filter_hint.h"

#include <algorithm>
#include <regex>

#include "core/text.h"

namespace vesk {

namespace {

// The condition with the text between single quotes blanked, so a quoted value is not read as a
// name or a number.
std::string without_quoted_text(std::string_view condition) {
    std::string text(condition);
    bool quoted = false;
    for (char& c : text) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (quoted) {
            c = ' ';
        }
    }
    return text;
}

const VarDef* character_variable(const std::vector<VarDef>& defs, const std::string& name) {
    for (const VarDef& def : defs) {
        if (def.type == "C" && iequals(trim(def.name), name)) {
            return &def;
        }
    }
    return nullptr;
}

}  // namespace

std::string quoting_hint(const std::vector<VarDef>& defs, std::string_view condition) {
    // name op number, or number op name; a number must not run on into a name.
    static const std::regex comparison(
        R"((^|[^A-Za-z0-9_.])(([A-Za-z_][A-Za-z0-9_]*)\s*(==|=|<>|!=|<=|>=|<|>)\s*([-+]?[0-9.]+)|)"
        R"(([-+]?[0-9.]+)\s*(==|=|<>|!=|<=|>=|<|>)\s*([A-Za-z_][A-Za-z0-9_]*))(?![A-Za-z0-9_.]))");
    const std::string text = without_quoted_text(condition);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), comparison);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& match = *it;
        const bool name_first = match[3].matched;
        const VarDef* def = character_variable(defs, name_first ? match[3].str() : match[8].str());
        if (!def) {
            continue;
        }
        std::string example = name_first ? match[5].str() : match[6].str();
        const auto width = static_cast<std::size_t>(std::max<std::int64_t>(def->length, 0));
        if (example.size() < width &&
            example.find_first_not_of("0123456789") == std::string::npos) {
            example.insert(0, width - example.size(), '0');
        }
        const std::string name(trim(def->name));
        return name +
               " is a character variable: compare it with a value in single quotes, as it "
               "stands in the file, for example " +
               name + " = '" + example + "'.";
    }
    return {};
}

std::string empty_filter_text(std::int64_t rows_loaded, const std::vector<VarDef>& defs,
                              std::string_view condition) {
    const std::string hint = quoting_hint(defs, condition);
    return "The filter leaves no record: it removes all " + std::to_string(rows_loaded) +
           " rows loaded." + (hint.empty() ? "" : "\n" + hint);
}

}  // namespace vesk

#include "load/record_layout.h"

#include "core/error.h"
#include "core/identifier.h"
#include "core/text.h"

namespace vesk {

void check_layout(const std::vector<VarDef>& defs) {
    if (defs.empty()) {
        throw Error("No variable is defined.");
    }
    for (std::size_t i = 0; i < defs.size(); ++i) {
        const VarDef& def = defs[i];
        if (!is_valid_variable_name(def.name)) {
            throw Error("The variable name \"" + def.name +
                        "\" cannot name a column of the data: use letters, digits and _, "
                        "starting with a letter, and no word the database reserves.");
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (iequals(defs[j].name, def.name)) {
                throw Error("The variable " + def.name + " is defined twice.");
            }
        }
        if (def.type != "C" && def.type != "N") {
            throw Error("The variable " + def.name + " has the type \"" + def.type +
                        "\": the type must be C (character) or N (numeric).");
        }
        if (def.start < 1 || def.length < 1) {
            throw Error("The variable " + def.name +
                        " needs a start position and a length of at least 1.");
        }
        if (def.decimals < 0 || def.decimals > def.length) {
            throw Error("The variable " + def.name + " has " + std::to_string(def.decimals) +
                        " decimals: give a whole number from 0 to its length " +
                        std::to_string(def.length) + ".");
        }
    }
}

VarDef line_key_variable(std::int64_t lines_read) {
    return {line_key_name, 0, static_cast<std::int64_t>(std::to_string(lines_read).size()), "N",
            "Y"};
}

void check_line_key_name(const std::vector<VarDef>& defs) {
    for (const VarDef& def : defs) {
        if (iequals(def.name, line_key_name)) {
            throw Error("The layout has a variable " + def.name + ", the name of the key of line " +
                        "numbers (" + line_key_name +
                        "): rename the variable, or load without that key.");
        }
    }
}

std::string key_list_of(const std::vector<VarDef>& defs) {
    std::vector<std::string> keys;
    for (const VarDef& def : defs) {
        if (def.key == "Y") {
            keys.push_back(def.name);
        }
    }
    return join(keys, ", ");
}

std::string create_data_sql(const std::vector<VarDef>& defs, const std::string& key_list) {
    std::string sql = "create table data (";
    for (const VarDef& def : defs) {
        sql += def.name;
        sql += def.type == "C" ? " varchar(" + std::to_string(def.length) + "), " : " double, ";
    }
    sql += "CLASS double";
    if (!key_list.empty()) {
        // One b-tree ordered by the key instead of a table and a separate key index.
        sql += ", primary key (" + key_list + ")) without rowid";
    } else {
        sql += ")";
    }
    return sql;
}

std::string insert_data_sql(const std::vector<VarDef>& defs) {
    std::vector<std::string> names;
    std::vector<std::string> parameters;
    for (std::size_t i = 0; i < defs.size(); ++i) {
        names.push_back(defs[i].name);
        parameters.push_back('?' + std::to_string(i + 1));
    }
    return "insert into data (" + join(names, ", ") + ") values (" + join(parameters, ", ") + ")";
}

}  // namespace vesk

#include "core/find_variable.h"

namespace vesk {

const VarDef* find_variable(const AppState& state, const std::string& name) {
    for (const VarDef& def : state.var_defs) {
        if (def.name == name) {
            return &def;
        }
    }
    return nullptr;
}

}  // namespace vesk

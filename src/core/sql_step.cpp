#include "core/sql_step.h"

namespace vesk {

std::string placeholders(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += i == 0 ? "?" : ",?";
    }
    return text;
}

Statement prepare_step(Database& db, const std::string& sql, const std::string& what) {
    try {
        return db.prepare(sql);
    } catch (const DbError& e) {
        throw Error(what + ": " + e.what());
    }
}

}  // namespace vesk

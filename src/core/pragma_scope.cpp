#include "core/pragma_scope.h"

namespace vesk {

PragmaScope::PragmaScope(Database& db, const std::string& name, const std::string& value)
    : db_(db), name_(name) {
    auto query = db_.prepare("pragma " + name_);
    if (query.step()) {
        previous_ = query.text(0);
    }
    db_.execute("pragma " + name_ + " = " + value);
}

PragmaScope::~PragmaScope() {
    if (!previous_.empty()) {
        db_.try_execute("pragma " + name_ + " = " + previous_);
    }
}

}  // namespace vesk

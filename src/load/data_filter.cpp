#include "load/data_filter.h"

#include <sqlite3.h>

#include "core/error.h"
#include "core/text.h"

namespace vesk {

namespace {

constexpr std::string_view cond_head = " WHERE not(";
constexpr std::string_view cond_tail = ")";

[[noreturn]] void refuse(const std::string& reason) {
    throw Error("The filter condition cannot be used: " + reason +
                " Nothing was loaded; the data loaded before are kept.");
}

// True when a ")" outside quotes and comments closes more than the condition opened, which
// would end the not( around it early and leave the rest of the text outside it.
bool closes_early(std::string_view text) {
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char close = c == '[' ? ']' : c;
            const std::size_t end = text.find(close, i + 1);
            if (end == std::string_view::npos) {
                return false;  // unterminated: the engine reports it
            }
            i = end;  // a doubled quote is two quoted pieces side by side
        } else if (text.substr(i, 2) == "--") {
            i = text.find('\n', i);
            if (i == std::string_view::npos) {
                return false;
            }
        } else if (text.substr(i, 2) == "/*") {
            i = text.find("*/", i + 2);
            if (i == std::string_view::npos) {
                return false;
            }
            ++i;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth < 0) {
            return true;
        }
    }
    return false;
}

// Lets the delete statement read the columns of data and call functions; refuses the rest.
struct Authorizer {
    std::string refused;

    static int check(void* self, int action, const char* arg1, const char* arg2, const char*,
                     const char*) {
        auto& authorizer = *static_cast<Authorizer*>(self);
        const std::string_view first = arg1 ? arg1 : "";
        const std::string_view second = arg2 ? arg2 : "";
        switch (action) {
            case SQLITE_READ:
            case SQLITE_DELETE:
                if (iequals(first, "data")) {
                    return SQLITE_OK;
                }
                authorizer.note("it reads the table " + std::string(first) + ".");
                return SQLITE_DENY;
            case SQLITE_FUNCTION:
                if (!iequals(second, "load_extension")) {
                    return SQLITE_OK;
                }
                authorizer.note("it calls " + std::string(second) + ".");
                return SQLITE_DENY;
            case SQLITE_SELECT:
                authorizer.note("it holds a query; use the columns of the data only.");
                return SQLITE_DENY;
            default:
                authorizer.note("it is more than one condition on the columns of the data.");
                return SQLITE_DENY;
        }
    }

    void note(std::string reason) {
        if (refused.empty()) {
            refused = std::move(reason);
        }
    }
};

class AuthorizerScope {
  public:
    AuthorizerScope(Database& db, Authorizer& authorizer) : db_(db) {
        sqlite3_set_authorizer(db_.handle(), &Authorizer::check, &authorizer);
    }
    ~AuthorizerScope() { sqlite3_set_authorizer(db_.handle(), nullptr, nullptr); }
    AuthorizerScope(const AuthorizerScope&) = delete;
    AuthorizerScope& operator=(const AuthorizerScope&) = delete;

  private:
    Database& db_;
};

}  // namespace

std::string filter_cond_for(std::string_view condition) {
    if (trim(condition).empty()) {
        return {};
    }
    return std::string(cond_head) + std::string(condition) + std::string(cond_tail);
}

std::string filter_condition(std::string_view filter_cond) {
    if (filter_cond.starts_with(cond_head) && filter_cond.ends_with(cond_tail) &&
        filter_cond.size() >= cond_head.size() + cond_tail.size()) {
        filter_cond.remove_prefix(cond_head.size());
        filter_cond.remove_suffix(cond_tail.size());
    }
    return std::string(filter_cond);
}

std::optional<Statement> prepare_filter(Database& db, const std::string& filter_cond) {
    if (trim(filter_cond).empty()) {
        return std::nullopt;
    }
    const std::string_view text = filter_cond;
    if (!text.starts_with(cond_head) || !text.ends_with(cond_tail) ||
        text.size() < cond_head.size() + cond_tail.size()) {
        refuse("it is not in the form WHERE not(condition).");
    }
    const std::string_view condition =
        text.substr(cond_head.size(), text.size() - cond_head.size() - cond_tail.size());
    if (closes_early(condition)) {
        refuse("it closes a parenthesis it did not open.");
    }
    Authorizer authorizer;
    std::optional<Statement> statement;
    try {
        const AuthorizerScope scope(db, authorizer);
        statement = db.prepare("delete from data" + filter_cond);
    } catch (const DbError& e) {
        if (!authorizer.refused.empty()) {
            refuse(authorizer.refused);
        }
        // The engine's own words ("no such column: SEXX") say more than the statement text.
        const bool engine_refused = sqlite3_errcode(db.handle()) != SQLITE_OK;
        refuse((engine_refused ? engine_message(db.handle()) : e.what()) + ".");
    }
    if (statement->parameter_count() > 0) {
        refuse("it holds a parameter; write the value itself.");
    }
    return statement;
}

}  // namespace vesk

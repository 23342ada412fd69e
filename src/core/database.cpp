#include "core/database.h"

#include <sqlite3.h>

#include <utility>

#include "core/number_text.h"
#include "core/text.h"
#include "core/variable_table.h"

namespace vesk {

namespace {

// The text cut after its first characters: a composed statement can run to megabytes.
std::string cut(std::string_view text) {
    if (text.size() <= statement_quote_limit) {
        return std::string(text);
    }
    return std::string(text.substr(0, statement_quote_limit)) + " ...";
}

// " (in: statement)" for a message.
std::string quoted(std::string_view sql) {
    return " (in: " + cut(sql) + ")";
}

bool disk_full(sqlite3* db) {
    return (sqlite3_extended_errcode(db) & 0xff) == SQLITE_FULL;
}

constexpr int busy_timeout_ms = 5000;

// Pages of 16 KiB make the import of a large survey file cheaper than the engine's 4 KiB; a page
// size holds only for a file that has no table yet.
constexpr const char* new_file_page_size = "pragma page_size = 16384";

// The page cache, in KiB: the engine's default amount, given again once the page size is known.
// Otherwise the cache keeps the number of pages it had for pages of 4 KiB, four times the memory.
constexpr const char* page_cache_size = "pragma cache_size = -2000";

// The engine counts every allocation under a global lock unless told not to; nothing here reads
// the counts. This holds only when set before the engine starts, so before the first connection.
void stop_memory_statistics() {
    static const bool stopped = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)stopped;
}

}  // namespace

std::string engine_message(sqlite3* db) {
    std::string text = sqlite3_errmsg(db);
    if (text.size() > statement_quote_limit) {
        // The reason comes last (near "...": syntax error): the middle of a long token goes.
        constexpr std::size_t tail = 50;
        text = text.substr(0, statement_quote_limit - tail) + " ... " +
               text.substr(text.size() - tail);
    }
    return disk_full(db) ? "disk full (" + text + ")" : text;
}

void throw_engine_error(sqlite3* db, const std::string& what) {
    if (disk_full(db)) {
        throw DiskFull(what);
    }
    throw DbError(what);
}

// ---- Statement -------------------------------------------------------------------------------

Statement::Statement(sqlite3* db, sqlite3_stmt* stmt, std::string sql)
    : db_(db), stmt_(stmt), sql_(std::move(sql)) {}

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      stmt_(std::exchange(other.stmt_, nullptr)),
      sql_(std::move(other.sql_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        sql_ = std::move(other.sql_);
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::fail(const char* action) const {
    throw_engine_error(db_, std::string(action) + " failed: " + engine_message(db_) + quoted(sql_));
}

Statement& Statement::bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) {
        fail("binding a value");
    }
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) {
        fail("binding a value");
    }
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK) {
        fail("binding a value");
    }
    return *this;
}

Statement& Statement::bind_null(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) {
        fail("binding a value");
    }
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    // The statement stays usable after a failed step once it is reset.
    const std::string message =
        std::string("statement failed: ") + engine_message(db_) + quoted(sql_);
    const bool full = disk_full(db_);
    sqlite3_reset(stmt_);
    if (full) {
        throw DiskFull(message);
    }
    throw DbError(message);
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}

int Statement::parameter_count() const {
    return sqlite3_bind_parameter_count(stmt_);
}

int Statement::column_count() const {
    return sqlite3_column_count(stmt_);
}

std::string Statement::column_name(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

int Statement::column_index(std::string_view name) const {
    const int count = column_count();
    for (int i = 0; i < count; ++i) {
        if (iequals(column_name(i), name)) {
            return i;
        }
    }
    throw DbError("no column named " + std::string(name) + quoted(sql_));
}

bool Statement::is_null(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

bool Statement::is_number(int column) const {
    const int type = sqlite3_column_type(stmt_, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

bool Statement::is_null_or_empty(int column) const {
    return is_null(column) || sqlite3_column_bytes(stmt_, column) == 0;
}

std::string Statement::text(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return general_form(sqlite3_column_double(stmt_, column));
        default:
            return std::string(text_view(column));
    }
}

std::string_view Statement::text_view(int column) const {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return bytes ? std::string_view(bytes, static_cast<std::size_t>(size)) : std::string_view{};
}

double Statement::number(int column) const {
    return sqlite3_column_double(stmt_, column);
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

// ---- Database --------------------------------------------------------------------------------

Database::Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

Database Database::open(const std::string& path) {
    stop_memory_statistics();
    sqlite3* handle = nullptr;
    // One connection used by one thread at a time: the engine's own locking would only cost time.
    const int rc =
        sqlite3_open_v2(path.c_str(), &handle,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    Database db(handle, path);
    if (rc != SQLITE_OK) {
        const std::string reason = handle ? engine_message(handle) : sqlite3_errstr(rc);
        throw DbError("cannot open database " + path + ": " + reason);
    }
    sqlite3_busy_timeout(handle, busy_timeout_ms);
    sqlite3_extended_result_codes(handle, 1);
    try {
        // Reading the schema is what tells a database file from any other file.
        db.prepare("select count(*) from sqlite_master").run();
        db.execute(new_file_page_size);
        db.execute(page_cache_size);
        create_variable_table(db);
    } catch (const DbError&) {
        throw DbError("cannot open database " + path + ": " + engine_message(handle));
    }
    return db;
}

Statement Database::prepare(std::string_view sql) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, &tail);
    Statement statement(db_, stmt, std::string(sql));
    if (rc != SQLITE_OK) {
        throw_engine_error(db_,
                           std::string("statement refused: ") + engine_message(db_) + quoted(sql));
    }
    if (stmt == nullptr) {
        throw DbError("statement refused: the SQL text holds no statement");
    }
    // What follows the first statement may only be blanks, comments and semicolons.
    const std::string_view rest(tail, static_cast<std::size_t>(sql.data() + sql.size() - tail));
    sqlite3_stmt* next = nullptr;
    const int rc_next =
        sqlite3_prepare_v2(db_, rest.data(), static_cast<int>(rest.size()), &next, nullptr);
    sqlite3_finalize(next);
    if (rc_next != SQLITE_OK || next != nullptr) {
        throw DbError("statement refused: the SQL text holds more than one statement" +
                      quoted(sql));
    }
    return statement;
}

void Database::execute(std::string_view sql) {
    prepare(sql).run();
}

bool Database::try_execute(std::string_view sql) noexcept {
    try {
        execute(sql);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

bool Database::table_exists(std::string_view name) {
    auto query = prepare(
        "select 1 from sqlite_master where type = 'table' and name = ?1 "
        "collate nocase");
    query.bind(1, name);
    return query.step();
}

std::vector<std::string> Database::column_names(std::string_view table) {
    auto query = prepare("select name from pragma_table_info(?1)");
    query.bind(1, table);
    std::vector<std::string> names;
    while (query.step()) {
        names.push_back(query.text(0));
    }
    return names;
}

std::int64_t Database::changes() const {
    return sqlite3_changes64(db_);
}

// ---- Transaction -----------------------------------------------------------------------------

Transaction::Transaction(Database& db, Lock lock) : db_(db) {
    db_.execute(lock == Lock::immediate ? "begin immediate" : "begin");
}

Transaction::~Transaction() {
    if (open_) {
        db_.try_execute("rollback");
    }
}

void Transaction::commit() {
    db_.execute("commit");
    open_ = false;
}

}  // namespace vesk

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vesk {

// A statement the engine refused, with the engine's own description.
class DbError : public Error {
  public:
    explicit DbError(const std::string& what) : Error(what) {}
};

// The engine could not write for want of room: the disk or the database is full. The user's to
// mend, like a result file that cannot be written.
class DiskFull : public DbError {
  public:
    explicit DiskFull(const std::string& what) : DbError(what) {}
};

class Database;

// Messages quote at most this many characters of a statement, or of the engine's description
// (which quotes the user's text: a filter's token can be as long as the filter).
inline constexpr std::size_t statement_quote_limit = 200;

// The engine's description of its last failure on db, of which at most statement_quote_limit
// characters are kept (its start and its end, where the reason stands); a full disk begins with
// "disk full".
std::string engine_message(sqlite3* db);

// Throws DiskFull when the engine's last failure on db was a full disk, else DbError; what is
// the whole message.
[[noreturn]] void throw_engine_error(sqlite3* db, const std::string& what);

// One prepared statement. Values are bound, never pasted into the SQL text. Read forward with
// step(); fields by position (0 = first column of the select list) or by name, without regard to
// case.
class Statement {
  public:
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Parameters are numbered from 1.
    Statement& bind(int index, double value);
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    Statement& bind_null(int index);

    // Runs the statement to its next row: true while a row is there, false at the end.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // Makes the statement ready to run again; bound values are kept until rebound.
    void reset();

    int column_count() const;
    std::string column_name(int column) const;
    // Position of the column named name, compared without regard to case; throws when absent.
    int column_index(std::string_view name) const;

    bool is_null(int column) const;
    // True when the value is stored as a number (integer or real).
    bool is_number(int column) const;
    // True when the value is null or has no characters.
    bool is_null_or_empty(int column) const;
    // The value as text: text as stored, numbers in the general form, null as "".
    std::string text(int column) const;
    std::string text(std::string_view name) const { return text(column_index(name)); }
    // The bytes of a text value without a copy, valid until the next step; "" for null. For a
    // scan over many rows; numbers are better read with number().
    std::string_view text_view(int column) const;
    double number(int column) const;
    double number(std::string_view name) const { return number(column_index(name)); }
    std::int64_t integer(int column) const;
    std::int64_t integer(std::string_view name) const { return integer(column_index(name)); }

    // How many parameters the SQL text holds.
    int parameter_count() const;

    const std::string& sql() const { return sql_; }
    // The engine's statement, for loops that bind and step a million times.
    sqlite3_stmt* handle() const { return stmt_; }

  private:
    friend class Database;
    Statement(sqlite3* db, sqlite3_stmt* stmt, std::string sql);
    [[noreturn]] void fail(const char* action) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::string sql_;
};

// The connection to the database file, db_conn. Move-only; closed by the destructor.
class Database {
  public:
    // Opens (and creates when missing) the file, checks that it is a database, sets a busy
    // timeout and makes sure the table variable exists. Throws DbError with the engine's
    // description when the file cannot be opened or is not a database.
    static Database open(const std::string& path);

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // Prepares one statement; SQL text that holds more than one statement is refused.
    Statement prepare(std::string_view sql);
    // Runs one statement that returns no rows.
    void execute(std::string_view sql);
    // Runs a statement, ignoring a failure (a DROP TABLE of a missing table, for example).
    bool try_execute(std::string_view sql) noexcept;

    bool table_exists(std::string_view name);
    std::vector<std::string> column_names(std::string_view table);
    std::int64_t changes() const;

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_; }

  private:
    Database(sqlite3* db, std::string path);

    sqlite3* db_ = nullptr;
    std::string path_;
};

// Commits when commit() is called; rolls back when it goes out of scope otherwise.
class Transaction {
  public:
    enum class Lock { deferred, immediate };
    explicit Transaction(Database& db, Lock lock = Lock::deferred);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    void commit();

  private:
    Database& db_;
    bool open_ = true;
};

}  // namespace vesk

#include "load/line_loader.h"

#include <sqlite3.h>

#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"
#include "load/record_layout.h"

namespace vesk {

namespace {

std::vector<VarDef> with_line_key(std::vector<VarDef> defs, bool line_key) {
    if (line_key) {
        defs.push_back(line_key_variable(0));
    }
    return defs;
}

}  // namespace

LineLoader::LineLoader(Database& db, const std::vector<VarDef>& defs,
                       const RecordTypeFilter* record_type, bool line_key)
    : insert_(db.prepare(insert_data_sql(with_line_key(defs, line_key)))),
      record_type_(record_type),
      line_key_index_(line_key ? static_cast<int>(defs.size()) + 1 : 0) {
    fields_.reserve(defs.size());
    for (const VarDef& def : defs) {
        const bool numeric = def.type == "N";
        fields_.push_back(Field{static_cast<std::size_t>(def.start - 1),
                                static_cast<std::size_t>(def.length), numeric, def.decimals,
                                &def.name});
        any_numeric_ = any_numeric_ || numeric;
    }
}

bool LineLoader::bind(std::string_view line, RejectedLine& rejection) {
    sqlite3_stmt* stmt = insert_.handle();
    int index = 0;
    for (const Field& field : fields_) {
        ++index;
        // A field running past the end of the line holds what remains, possibly nothing.
        const std::string_view slice = field.offset < line.size()
                                           ? line.substr(field.offset, field.length)
                                           : std::string_view{};
        if (!field.numeric) {
            // The line outlives the step, so the engine need not copy the slice. An empty slice
            // past the line's end has no data pointer, which the engine would bind as null:
            // nothing left of the line is empty text.
            sqlite3_bind_text(stmt, index, slice.empty() ? "" : slice.data(),
                              static_cast<int>(slice.size()), SQLITE_STATIC);
            continue;
        }
        const auto number = parse_number(slice, field.decimals);
        if (!number) {
            rejection.reason = field.offset >= line.size() ? RejectReason::line_too_short
                               : trim(slice).empty()       ? RejectReason::blank_number
                                                           : RejectReason::not_a_number;
            rejection.variable = *field.name;
            return false;
        }
        sqlite3_bind_double(stmt, index, *number);
    }
    if (line_key_index_ > 0) {
        sqlite3_bind_double(stmt, line_key_index_, static_cast<double>(rejection.line_number));
    }
    return true;
}

void LineLoader::check_fields_within(std::string_view line, std::int64_t line_number) const {
    for (const Field& field : fields_) {
        if (field.offset + field.length > line.size()) {
            throw Error("Line " + std::to_string(line_number) + ", the first of record type " +
                        record_type_text(record_type_->type()) + ", has " +
                        std::to_string(line.size()) + " characters: " + *field.name + " ends at " +
                        std::to_string(field.offset + field.length) +
                        ", beyond it. The layout must fit the records of the type it loads. " +
                        "Nothing was replaced; the data loaded before are kept.");
        }
    }
}

void LineLoader::load(std::string_view line, LoadSummary& summary) {
    ++summary.lines_read;
    if (record_type_) {
        if (!record_type_->matches(line)) {
            ++summary.lines_other_type;
            return;
        }
        if (!type_seen_) {
            check_fields_within(line, summary.lines_read);
            type_seen_ = true;
        }
    }
    RejectedLine rejection;
    rejection.line_number = summary.lines_read;
    if (any_numeric_ && trim(line).empty()) {
        rejection.reason = RejectReason::blank_line;
        reject(std::move(rejection), summary);
        return;
    }
    if (!bind(line, rejection)) {
        reject(std::move(rejection), summary);
        return;
    }
    sqlite3_stmt* stmt = insert_.handle();
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE) {
        ++summary.lines_loaded;
        return;
    }
    // A constraint aborts only this insert; any other failure is the database's, not the line's.
    if ((rc & 0xff) != SQLITE_CONSTRAINT) {
        sqlite3* db = sqlite3_db_handle(stmt);
        throw_engine_error(db, "the import failed at line " + std::to_string(summary.lines_read) +
                                   ": " + engine_message(db));
    }
    rejection.reason =
        rc == SQLITE_CONSTRAINT_PRIMARYKEY ? RejectReason::duplicate_key : RejectReason::refused;
    reject(std::move(rejection), summary);
}

void LineLoader::reject(RejectedLine rejection, LoadSummary& summary) {
    ++summary.lines_rejected;
    if (summary.first_rejected.size() < rejected_lines_named) {
        summary.first_rejected.push_back(std::move(rejection));
    }
}

}  // namespace vesk

#include "load/line_loader.h"

#include <sqlite3.h>

#include "core/error.h"
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

LineLoader::LineLoader(Database& db, const std::vector<VarDef>& defs, bool line_key)
    : insert_(db.prepare(insert_data_sql(with_line_key(defs, line_key)))),
      fields_(field_slices(defs)),
      line_key_index_(line_key ? static_cast<int>(defs.size()) + 1 : 0) {
    for (const VarDef& def : defs) {
        names_.push_back(def.name);
    }
    for (const FieldSlice& field : fields_) {
        numeric_count_ += field.numeric ? 1 : 0;
    }
}

bool LineLoader::insert(const ParsedLines& parsed, const ParsedLines::Line& line,
                        const double* numbers, RejectedLine& rejection) {
    sqlite3_stmt* stmt = insert_.handle();
    const std::string_view text = parsed.line_text(line);
    int index = 0;
    for (const FieldSlice& field : fields_) {
        ++index;
        if (field.numeric) {
            sqlite3_bind_double(stmt, index, *numbers++);
            continue;
        }
        // The parsed lines outlive the step, so the engine need not copy the slice. An empty
        // slice past the line's end has no data pointer, which the engine would bind as null:
        // nothing left of the line is empty text.
        const std::string_view slice = slice_of(text, field);
        sqlite3_bind_text(stmt, index, slice.empty() ? "" : slice.data(),
                          static_cast<int>(slice.size()), SQLITE_STATIC);
    }
    if (line_key_index_ > 0) {
        sqlite3_bind_double(stmt, line_key_index_, static_cast<double>(line.number));
    }
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE) {
        return true;
    }
    // A constraint aborts only this insert; any other failure is the database's, not the line's.
    if ((rc & 0xff) != SQLITE_CONSTRAINT) {
        sqlite3* db = sqlite3_db_handle(stmt);
        throw_engine_error(db, "the import failed at line " + std::to_string(line.number) + ": " +
                                   engine_message(db));
    }
    rejection.reason =
        rc == SQLITE_CONSTRAINT_PRIMARYKEY ? RejectReason::duplicate_key : RejectReason::refused;
    return false;
}

void LineLoader::load(const ParsedLines& parsed, LoadSummary& summary) {
    const double* numbers = parsed.numbers.data();
    for (const ParsedLines::Line& line : parsed.lines) {
        summary.lines_read = line.number;
        RejectedLine rejection;
        rejection.line_number = line.number;
        switch (line.kind) {
            case ParsedLines::Kind::other_type:
                ++summary.lines_other_type;
                continue;
            case ParsedLines::Kind::rejected:
                rejection.reason = line.reason;
                if (line.reason != RejectReason::blank_line) {
                    rejection.variable = names_[line.field];
                }
                reject(std::move(rejection), summary);
                continue;
            case ParsedLines::Kind::record:
                break;
        }
        const double* own_numbers = numbers;
        numbers += numeric_count_;
        if (insert(parsed, line, own_numbers, rejection)) {
            ++summary.lines_loaded;
        } else {
            reject(std::move(rejection), summary);
        }
    }
}

void LineLoader::reject(RejectedLine rejection, LoadSummary& summary) {
    ++summary.lines_rejected;
    if (summary.first_rejected.size() < rejected_lines_named) {
        summary.first_rejected.push_back(std::move(rejection));
    }
}

}  // namespace vesk

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// Where the loaded data came from: stored in the database by every import, in the import's own
// transaction, so any later result (also of a run that loads nothing) can be traced to its input.
//
// Tables (one row in the first: the import that built table data; the second holds its layout):
//   load_provenance (loaded_at text, input_path text, input_size integer, input_sha256 text,
//                    input_modified text, lines_read integer, lines_loaded integer,
//                    lines_rejected integer, rows_filtered_out integer, first_rejected text,
//                    filter text, program_version text, record_type text,
//                    lines_other_type integer, line_key integer, byte_order_mark integer)
//   load_provenance_layout (position integer primary key, VN text, ST integer, LEN integer,
//                           TYPE text, PKEY text, DEC integer)
// Times are UTC, written 2024-05-01T12:00:00Z; first_rejected holds one "line N: reason" a line;
// filter, record_type and input_modified are null when there is none; line_key and
// byte_order_mark are 1 or 0. Tables written by an earlier version lack the later columns, which
// read as none.
struct LoadProvenance {
    std::string loaded_at;
    std::string input_path;                     // absolute; "-" for standard input
    std::int64_t input_size = 0;                // bytes read
    std::string input_sha256;                   // of those bytes: 64 lower-case hexadecimal digits
    std::optional<std::string> input_modified;  // a regular file's; nothing for a stream
    std::int64_t lines_read = 0;
    std::int64_t lines_loaded = 0;
    std::int64_t lines_rejected = 0;
    std::int64_t rows_filtered_out = 0;
    std::vector<std::string> first_rejected;  // "line 2: blank line", the first few in file order
    std::optional<std::string> filter;        // the user's condition, as typed
    std::vector<VarDef> layout;               // as the import used it, without LINE_NO
    std::string program_version;
    std::optional<std::string> record_type;  // "RECTYPE = P": only its lines were loaded
    std::int64_t lines_other_type = 0;       // lines of other record types, skipped
    bool line_key = false;                   // the line number was added as the key LINE_NO
    bool byte_order_mark = false;            // the input started with one, skipped
};

// Replaces the stored provenance, creating the tables when missing.
void store_load_provenance(Database& db, const LoadProvenance& provenance);

// The provenance of the import that built table data; nothing when there is no table data or
// it was loaded without a record (by an earlier version of the program).
std::optional<LoadProvenance> read_load_provenance(Database& db);

// Forgets the stored provenance, for when table data goes; database errors are ignored.
void clear_load_provenance(Database& db) noexcept;

// An absolute, normalised form of a path as given; "-" (standard input) stays as it is.
std::string absolute_path(const std::string& path);

}  // namespace vesk
